// A committed field: every control read back into the model, one undo step.

#include "MainWindow.h"

#include "EditValues.h"
#include "FieldHints.h"
#include "HeaderFields.h"
#include "model/BarNotices.h"
#include "model/BarTables.h"
#include "model/InputHints.h"
#include "ui_MainWindow.h"
#include "views/LocaleNumber.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSignalBlocker>

#include <exception>
#include <string>
#include <string_view>

namespace slabwise {

namespace {

// What a stray box of each load array is reported as.
struct TLoadArray {
    std::string_view Array;
    const char* Message;
};

constexpr TLoadArray LoadArrays[] = {
    {"DistLoads", "Assert: Distributed loads - Variable not found"},
    {"PointLoads", "Assert: Point loads - Variable not found"},
    {"Moments", "Assert: Moments - Variable not found"},
};

// The start of the names of an array's boxes: "EditDist" of "EditDist#b".
std::string_view BoxPrefix(std::string_view array) {
    for (const TInputField& field : InputFields)
        if (field.Array == array) return field.Box.Edit.Pattern.substr(0, field.Box.Edit.Pattern.find('#'));
    return {};
}

bool IsDistEndBox(const std::string& name) {
    for (int load = 1; load <= DistLoadCount; ++load)
        if (name == DistEndIntensityControl(load)) return true;
    return false;
}

} // namespace

bool TfrmMain::Modified() const {
    return document_->Modified();
}

void TfrmMain::SetModified(bool modified) {
    document_->SetModified(modified);
    ui->Button3->setEnabled(logoPicture_.has_value());
}

void TfrmMain::FieldEdited(QObject* sender) {
    Guarded([this, sender] {
        SetModified(true);
        if (qobject_cast<QComboBox*>(sender)) CommitField(sender);
    });
}

void TfrmMain::CommitField(QObject* sender) {
    ShowFieldHint(nullptr, {});
    if (sender != ui->ComboBox1 && sender != ui->ComboBox4) {
        UpdateModel();
        RecordStep(sender);
        return;
    }
    const TMatData& m = *model_;
    const TBarChoices before = BarChoices(m);
    QStringList notices = UpdateModel();
    // English always uses US bars. A switch to SI takes European bars, but
    // US bars may be chosen in SI, where they carry their metric names.
    {
        const QSignalBlocker blocker(ui->ComboBox4);
        if (ui->ComboBox1->currentIndex() == 0)
            ui->ComboBox4->setCurrentIndex(BarSystemUS);
        else if (sender == ui->ComboBox1 && ui->ComboBox4->currentIndex() == BarSystemUS)
            ui->ComboBox4->setCurrentIndex(BarSystemEuropean);
    }
    model_->SetUnitSystem(static_cast<uint8_t>(ui->ComboBox1->currentIndex()));
    model_->BarSystem = ui->ComboBox4->currentIndex();
    UpdateDisplay();
    notices << UpdateModel();
    // A bar the new list does not hold is replaced by its first bar.
    for (const std::string& notice :
         BarReplacedNotices(before, BarChoices(m), LocaleDecimalSeparator().toLatin1()))
        notices << QString::fromStdString(notice);
    if (!notices.isEmpty()) ShowNotices(notices);
    RecordStep(sender);
}

QStringList TfrmMain::UpdateModel() {
    TMatData& m = *model_;
    QStringList notices;
    m.Organization = ToModelText(ui->Edit28->text(), "Organization", notices);
    m.AssignLogo(logoPicture_ ? &*logoPicture_ : nullptr);
    m.ProjectName = ToModelText(ui->Edit33->text(), "Project Name", notices);
    m.JobNumber = ToModelText(ui->Edit27->text(), "Job #", notices);
    m.DesignedBy = ToModelText(ui->Edit29->text(), "Design by", notices);
    m.ProjectDate = DateToDays(ui->DateTimePicker1->date());
    m.SetUnitSystem(static_cast<uint8_t>(ui->ComboBox1->currentIndex()));
    // A new unit system relabels and re-limits every box before any number
    // is read; what the new limits pull in is said like any other limit.
    if (m.UnitSystem != lastUnitSystem_) {
        fieldHints_->ReadUnderRows(m);
        // US bars chosen in SI are numbered by their metric names; back in
        // English units (which always use US bars) the same bar is kept.
        if (m.BarSystem == BarSystemUS && m.UnitSystem == UnitsEnglish)
            for (int32_t* bar : {&m.TopBarSize, &m.BottomBarSize})
                *bar = SameUSBar(*bar, lastUnitSystem_, m.UnitSystem);
        UpdateDisplay();
    }
    lastUnitSystem_ = static_cast<uint8_t>(ui->ComboBox1->currentIndex());
    m.Shape = ui->ComboBox5->currentIndex();
    m.SoilTakesNoTension = ui->chkNoTension->isChecked() ? 1 : 0;
    for (const TInputBinding& input : inputs_) {
        QLineEdit& edit = *input.Edit;
        const double length = static_cast<double>(m.StripLength);
        Real& value = InputValue(m, *input.Field, input.Number);
        switch (input.Field->Bound) {
        case TInputBound::Row:
        case TInputBound::BelowThickness:
            value = input.Field->Input == TInput::StripWidth ? fieldHints_->ReadWidth(edit, m)
                                                             : fieldHints_->Read(edit, m);
            break;
        case TInputBound::UpToWidth:
            value = fieldHints_->Read(edit, m, 0, static_cast<double>(MaxAcrossStrip(m, input.Field->Tag)));
            break;
        case TInputBound::UpToLength:
            value = fieldHints_->Read(edit, m, 0, length);
            break;
        case TInputBound::StartToLength:
            value = fieldHints_->Read(edit, m, static_cast<double>(InputValue(m, *input.Start, input.Number)),
                                      length);
            break;
        }
    }
    ReportStrayLoadBoxes();
    m.TopBarSize = GetBarSize(*ui->ComboBox2);
    m.BottomBarSize = GetBarSize(*ui->ComboBox3);
    // A value the reading changed is said where the user looks.
    notices << fieldHints_->TakeNotices();
    if (!notices.isEmpty()) ShowNotices(notices);
    try {
        m.Analyze();
    } catch (const std::exception&) {
        // A failed analysis leaves the fields it did not reach as NaN; the
        // display shows them as "N.A.".
    }
    UpdateDisplay();
    return notices;
}

void TfrmMain::ReportStrayLoadBoxes() {
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (inputBoxes_.contains(edit)) continue;
        const std::string name = edit->objectName().toStdString();
        for (const TLoadArray& loads : LoadArrays) {
            if (!name.starts_with(BoxPrefix(loads.Array))) continue;
            if (!InputOfControl(name) && !IsDistEndBox(name))
                dialogs_.ShowMessage(this, QLatin1String(loads.Message));
            break;
        }
    }
}

void TfrmMain::PageChanging() {
    UpdateDisplay();
}

void TfrmMain::UseReinforcementClicked() {
    SetModified(true);
    model_->UseReinforcement = ui->chkUseReinforcement->isChecked() ? 1 : 0;
    UpdateDisplay();
    RecordStep(ui->chkUseReinforcement, ui->chkUseReinforcement->text().remove(QLatin1Char('&')));
}

void TfrmMain::CommitBeforeAction(QAction* action) {
    // The box being typed in counts for what the action reads.
    if (action == ui->ASave || action == ui->APrint || action == ui->AExportPdf ||
        action == ui->AFindThinnestDesign)
        CommitField(QApplication::focusWidget());
}

} // namespace slabwise
