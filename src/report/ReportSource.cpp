#include "ReportSource.h"

#include "FormTexts.h"
#include "Version.h"
#include "model/FormFields.h"
#include "model/InputFields.h"
#include "views/LocaleNumber.h"

namespace slabwise {

namespace {

QString Name(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}
QString Name(const std::string& name) {
    return QString::fromStdString(name);
}
QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TOpenReport OpenAndAnalyse(TMatData& mat, const std::filesystem::path& fileName) {
    TOpenReport report = OpenProject(mat, fileName);
    mat.PrepareBarTable();
    try {
        mat.Analyze();
    } catch (const std::exception&) {
    }
    return report;
}

TProjectReportSource::TProjectReportSource(const TMatData& mat) : mat_(mat), version_(GetVersionText()) {
    const uint8_t units = mat.UnitSystem;
    const auto unit = [&](const TUnitLabel& label) {
        texts_.insert(Name(label.Label), UnitLabelText(label, units));
    };
    for (const TFixedCaption& caption : FixedCaptions)
        texts_.insert(Name(caption.Label), FromUtf8(caption.Text));
    for (const TUnitLabel& label : ResultUnitLabels) unit(label);
    for (const TFormTextLabel& label : FormTextLabels)
        texts_.insert(Name(label.Label), FormText(mat, label.Text));
    for (const TProjectTextBox& box : ProjectTextBoxes)
        texts_.insert(Name(box.Control), ProjectTextShown(mat, box));
    texts_.insert(Name(DateControl), ProjectDateText(mat));
    for (const TChoiceBox& box : ChoiceBoxes) texts_.insert(Name(box.Control), ChoiceShown(mat, box.Choice));

    for (const TResultBox& box : ResultBoxes)
        texts_.insert(Name(box.Control), BoxValueText(mat, box.Tag, mat.*box.Member));
    for (const TPointResultRow& row : PointResultRows)
        for (int point = 1; point <= UserPointCount; ++point)
            texts_.insert(Name(PointResultControl(row, point)),
                          BoxValueText(mat, row.Tag, mat.Stations[FirstUserStation + point - 1].*row.Member));
    for (int load = 1; load <= DistLoadCount; ++load)
        texts_.insert(
            Name(DistEndIntensityControl(load)),
            BoxValueText(mat, DistEndIntensityTag, mat.DistLoads[static_cast<size_t>(load - 1)].we));

    // The inputs: every box that shows one, and the unit over it.
    for (const TInputField& field : InputFields) {
        const int count = field.Numbered() ? field.Count : 1;
        for (int n = 1; n <= count; ++n) {
            const int number = field.Numbered() ? n : 0;
            const QString value = BoxValueText(mat, field.Tag, InputValue(mat, field, number));
            for (const TInputBox* box : {&field.Box, &field.SecondBox}) {
                if (box->Empty()) continue;
                texts_.insert(Name(box->Edit.For(number)), value);
                const std::string_view label = box->UnitLabel(number, count);
                if (!label.empty() && field.Unit) unit(TUnitLabel{label, *field.Unit, box->UnitPrefix});
            }
        }
    }
}

QString TProjectReportSource::Text(const QString& control) const {
    return texts_.value(control);
}

bool TProjectReportSource::CheckFailed(const QString& picture) const {
    for (const TCheckPicture& check : CheckPictures)
        if (Name(check.Picture) == picture) return CheckFails(mat_, check.Check);
    return false;
}

QSize TProjectReportSource::LogoBoxSize() const {
    return slabwise::LogoBoxSize(mat_);
}

uint8_t TProjectReportSource::UnitSystem() const {
    return mat_.UnitSystem;
}

} // namespace slabwise
