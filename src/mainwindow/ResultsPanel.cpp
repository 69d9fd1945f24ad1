// Writing the model into every control: numbers, checks, summary and drawings.

#include "MainWindow.h"

#include "EditValues.h"
#include "FieldHints.h"
#include "model/DesignChecks.h"
#include "model/ResultTexts.h"
#include "report/FormTexts.h"
#include "ui_MainWindow.h"
#include "views/DiagramDraw.h"
#include "views/LocaleNumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>
#include <exception>

namespace slabwise {

void TfrmMain::SetCheckImage(const TCheckResult& result, QLabel& box) {
    box.setPixmap(result.Passes ? passPicture_ : failPicture_);
    box.setProperty("Tag", result.Passes ? 0 : 1);
    box.setToolTip(QString::fromStdString(result.Hint));
    box.update();
}

// A result too long for its box shows its leading digits, and the whole
// number on hover.
void TfrmMain::ShowWholeText(QLineEdit& edit) {
    QStyleOptionFrame frame;
    frame.initFrom(&edit);
    frame.lineWidth =
        edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, &edit) : 0;
    const QMargins margins = edit.textMargins();
    // The line edit keeps two pixels clear on either side of its text.
    const int room = edit.style()->subElementRect(QStyle::SE_LineEditContents, &frame, &edit).width() -
                     margins.left() - margins.right() - 4;
    const bool cut = edit.fontMetrics().horizontalAdvance(edit.text()) > room;
    edit.setToolTip(cut ? edit.text() : QString());
    edit.setCursorPosition(0);
}

void TfrmMain::SetPageEnabled(bool enabled) {
    // The check box itself stays enabled throughout, so it keeps the focus.
    for (QWidget* control : ui->Panel3->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (control != ui->chkUseReinforcement) control->setEnabled(enabled);
    ui->chkUseReinforcement->setEnabled(true);
}

// The three picture boxes and the drawing each shows.
std::array<std::pair<QLabel*, TDiagramKind>, 3> TfrmMain::Pictures() const {
    return {{{ui->Image1, dkPlanSection}, {ui->Image2, dkLoading}, {ui->Image8, dkReinforcement}}};
}

void TfrmMain::UpdateDisplay() {
    if (!model_) return;
    // Disabling a focused box moves the focus; that is no exit by the user.
    const QScopedValueRollback refreshing(refreshing_, true);
    TMatData& m = *model_;
    // 1, 2: bar table and units.
    m.PrepareBarTable();
    FillBarSizeCombos();
    {
        const QSignalBlocker blocker(ui->ComboBox1);
        ui->ComboBox1->setCurrentIndex(m.UnitSystem == UnitsEnglish ? 0 : 1);
    }
    lastUnitSystem_ = m.UnitSystem;
    SetUnits();
    fieldHints_->Show(m);
    // 3: project texts and logo.
    for (const auto& [edit, box] : projectTexts_) SetEditText(*edit, ProjectTextShown(m, *box));
    ShowLogo();
    LayoutLogo();
    {
        const QSignalBlocker blocker(ui->DateTimePicker1);
        ui->DateTimePicker1->setDate(ProjectDate(m));
    }
    // 4 to 8 and 11: every number box.
    {
        const QSignalBlocker blocker(ui->ComboBox5);
        ui->ComboBox5->setCurrentIndex(m.Shape == 0 ? 0 : 1);
    }
    ui->Edit2->setEnabled(m.Shape == 0);
    for (const TInputBinding& input : shownInputs_)
        SetEditValue(*input.Edit, m, InputValue(m, *input.Field, input.Number));
    for (const TOutputBinding& output : outputs_) SetEditValue(*output.Edit, m, m.*output.Field);
    for (size_t load = 0; load < distEndEdits_.size(); ++load)
        SetEditValue(*distEndEdits_[load], m, m.DistLoads[load].we);
    for (size_t i = 0; i < pointResultEdits_.size(); ++i) {
        const TMatStation& station = m.Stations[FirstUserStation + i];
        for (size_t row = 0; row < PointResultRows.size(); ++row)
            SetEditValue(*pointResultEdits_[i][row], m, station.*PointResultRows[row].Member);
    }
    for (QLineEdit* edit : numberEdits_)
        if (edit->isReadOnly()) ShowWholeText(*edit);
    {
        const QSignalBlocker blocker(ui->chkNoTension);
        ui->chkNoTension->setChecked(m.SoilTakesNoTension != 0);
    }
    // 9: bearing; a check the project does not call for is hidden (the
    // bearing check's keeps its place).
    const TCheckResults checks = EvaluateChecks(m);
    for (size_t i = 0; i < CheckPictures.size(); ++i) {
        checkBoxes_[i]->setVisible(CheckShown(m, CheckPictures[i].Check));
        if (CheckPictures[i].Check != TCheck::Bearing) continue;
        SetCheckImage(checks[static_cast<size_t>(CheckPictures[i].Check)], *checkBoxes_[i]);
    }
    // 10: the reinforcement page follows its check box.
    {
        const QSignalBlocker blocker(ui->chkUseReinforcement);
        ui->chkUseReinforcement->setChecked(m.UseReinforcement != 0);
    }
    SetPageEnabled(m.UseReinforcement != 0);
    SelectBarSize(*ui->ComboBox2, m.TopBarSize);
    SelectBarSize(*ui->ComboBox3, m.BottomBarSize);
    // 12: checks.
    for (size_t i = 0; i < CheckPictures.size(); ++i)
        if (CheckPictures[i].Check != TCheck::Bearing)
            SetCheckImage(checks[static_cast<size_t>(CheckPictures[i].Check)], *checkBoxes_[i]);
    ShowPunching(m);
    // 13: summary.
    ui->Label172->setVisible(m.UseReinforcement != 0);
    ui->Label173->setVisible(m.UseReinforcement != 0);
    // Rigidity, validity, utilisation and summary, worded as the report
    // words them. The summary's label breaks its line at a line feed; the
    // report takes the sentence with its carriage return from "Caption".
    for (const auto& [label, text] : formTexts_) {
        QString shown = FormText(m, text);
        if (text == TFormText::Summary) {
            label->setProperty("Caption", shown);
            shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        }
        label->setText(shown);
    }
    // 14: the drawings at their boxes' sizes; a drawing that fails leaves the
    // rest undrawn until the next refresh.
    try {
        for (const auto& [box, kind] : Pictures()) DrawDiagramToImage(*box, m, kind);
    } catch (const std::exception&) {
    }
}

} // namespace slabwise
