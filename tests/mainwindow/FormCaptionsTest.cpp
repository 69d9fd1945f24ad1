// The lists of the window's controls the report prints from hold to the
// window: every listed label shows the listed caption, every listed box
// exists with its Tag, so the report cannot drift from what is on screen.

#include "WindowFixture.h"
#include "model/FormFields.h"
#include "model/InputFields.h"
#include "report/FormTexts.h"

#include <QDateEdit>

namespace slabwise::test {
namespace {

class FormCaptionsTest : public WindowTest {
protected:
    template <class T = QWidget> T& Named(std::string_view name) const {
        return Control<T>(std::string(name).c_str());
    }
    // A label's caption as the report reads it: a label that breaks its line
    // on screen keeps its sentence in "Caption".
    QString CaptionOf(std::string_view name) const {
        const auto& label = Named<QLabel>(name);
        const QVariant caption = label.property("Caption");
        return caption.isValid() ? caption.toString() : label.text();
    }
    static QString Of(std::string_view text) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
};

TEST_F(FormCaptionsTest, FixedCaptionsAreTheLabelsTexts) {
    for (const TFixedCaption& caption : FixedCaptions)
        EXPECT_EQ(CaptionOf(caption.Label), Of(caption.Text)) << caption.Label;
}

// Boxes exist, read-only, with the listed Tag; their caption and unit
// labels exist; units follow the unit system as the lists say.
TEST_F(FormCaptionsTest, ResultBoxesAndUnitsAreTheWindows) {
    for (const TResultBox& box : ResultBoxes) {
        SCOPED_TRACE(box.Control);
        const auto& edit = Named<QLineEdit>(box.Control);
        EXPECT_TRUE(edit.isReadOnly());
        EXPECT_EQ(ControlTag(edit), box.Tag);
        if (!box.Caption.empty()) Named<QLabel>(box.Caption);
        if (!box.Unit.empty()) Named<QLabel>(box.Unit);
    }
    for (const TPointResultRow& row : PointResultRows)
        for (int point = 1; point <= UserPointCount; ++point) {
            const auto& edit = Named<QLineEdit>(PointResultControl(row, point));
            EXPECT_TRUE(edit.isReadOnly());
            EXPECT_EQ(ControlTag(edit), row.Tag) << row.Prefix;
        }
    for (int load = 1; load <= DistLoadCount; ++load) {
        const auto& edit = Named<QLineEdit>(DistEndIntensityControl(load));
        EXPECT_TRUE(edit.isReadOnly());
        EXPECT_EQ(ControlTag(edit), DistEndIntensityTag);
    }
    for (const char* units : {"SI", "English"}) {
        Pick("ComboBox1", QLatin1String(units));
        for (const TUnitLabel& unit : ResultUnitLabels)
            EXPECT_EQ(CaptionOf(unit.Label), UnitLabelText(unit, window->Model().UnitSystem))
                << unit.Label << " in " << units;
        // The inputs' unit labels, which the input list names with the boxes.
        for (const TInputField& field : InputFields)
            for (const TInputBox* box : {&field.Box, &field.SecondBox})
                for (const std::string_view label : box->Units) {
                    if (label.empty() || !field.Unit) continue;
                    EXPECT_EQ(CaptionOf(label), UnitLabelText(TUnitLabel{label, *field.Unit, box->UnitPrefix},
                                                              window->Model().UnitSystem))
                        << label << " in " << units;
                }
    }
}

// The labels the project decides show what the builders make of the
// window's model, the lists show the model's choices, the project's texts
// sit in boxes of their length.
TEST_F(FormCaptionsTest, ProjectTextsChoicesAndChecksAreTheWindows) {
    dialogs.OpenFiles.push_back(QStringLiteral(SLABWISE_SOURCE_DATA "/Example SI Units.ksw"));
    window->AOpenExecute();
    const TMatData& m = window->Model();
    for (const TFormTextLabel& label : FormTextLabels)
        EXPECT_EQ(CaptionOf(label.Label), FormText(m, label.Text)) << label.Label;
    for (const TProjectTextBox& box : ProjectTextBoxes) {
        EXPECT_EQ(Named<QLineEdit>(box.Control).maxLength(), ProjectTextLength) << box.Control;
        EXPECT_EQ(Named<QLineEdit>(box.Control).text(), ProjectTextShown(m, box)) << box.Control;
        Named<QLabel>(box.Caption);
    }
    EXPECT_EQ(Named<QDateEdit>(DateControl).date(), ProjectDate(m));
    Named<QLabel>(DateCaption);
    const auto items = [](const auto& choices) {
        QStringList texts;
        for (std::string_view choice : choices) texts << Of(choice);
        return texts;
    };
    for (const TChoiceBox& box : ChoiceBoxes) {
        SCOPED_TRACE(box.Control);
        const auto& combo = Named<QComboBox>(box.Control);
        Named<QLabel>(box.Caption);
        QStringList shown;
        for (int i = 0; i < combo.count(); ++i) shown << combo.itemText(i);
        // The bar lists follow the bar table.
        QStringList fixed;
        if (box.Choice == TChoice::Units) fixed = items(UnitChoices);
        if (box.Choice == TChoice::Shape) fixed = items(ShapeChoices);
        if (box.Choice == TChoice::BarSystem) fixed = items(BarSystemChoices);
        if (!fixed.isEmpty()) {
            EXPECT_EQ(shown, fixed);
        }
        EXPECT_EQ(combo.currentText(), ChoiceShown(m, box.Choice));
    }
    for (const TCheckPicture& picture : CheckPictures) {
        const auto& box = Named<QLabel>(picture.Picture);
        EXPECT_EQ(!box.isHidden(), CheckShown(m, picture.Check)) << picture.Picture;
        EXPECT_EQ(box.property("Tag").toInt() == 1, !EvaluateCheck(m, picture.Check).Passes)
            << picture.Picture;
    }
    EXPECT_EQ(Named(std::string_view("Logo")).height(), LogoBoxHeight);
}

} // namespace
} // namespace slabwise::test
