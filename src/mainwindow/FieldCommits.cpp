// A committed field: every control read back into the model, one undo step.

#include "MainWindow.h"

#include "EditValues.h"
#include "FieldHints.h"
#include "HeaderFields.h"
#include "model/BarNotices.h"
#include "model/BarTables.h"
#include "ui_MainWindow.h"
#include "views/LocaleNumber.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSignalBlocker>

#include <exception>

namespace slabwise {

namespace {

enum class TLoadGroup { Dist, Point, Moment };

struct TLoadPrefix {
    QLatin1String Prefix;
    TLoadGroup Group;
    int Count;
    const char* Message;
};

const TLoadPrefix LoadPrefixes[] = {
    {QLatin1String("EditDist"), TLoadGroup::Dist, DistLoadCount,
     "Assert: Distributed loads - Variable not found"},
    {QLatin1String("EditPoint"), TLoadGroup::Point, PointLoadCount,
     "Assert: Point loads - Variable not found"},
    {QLatin1String("EditMom"), TLoadGroup::Moment, MomentCount, "Assert: Moments - Variable not found"},
};

// The model entry a load control shows; nullptr for a suffix or number that
// names none.
Real* LoadField(TMatData& m, TLoadGroup group, int index, const QString& suffix) {
    const auto i = static_cast<size_t>(index);
    switch (group) {
    case TLoadGroup::Dist:
        if (suffix == QLatin1String("b")) return &m.DistLoads[i].b;
        if (suffix == QLatin1String("wb")) return &m.DistLoads[i].wb;
        if (suffix == QLatin1String("e")) return &m.DistLoads[i].e;
        if (suffix == QLatin1String("we")) return &m.DistLoads[i].we;
        return nullptr;
    case TLoadGroup::Point:
        if (suffix == QLatin1String("a")) return &m.PointLoads[i].a;
        if (suffix == QLatin1String("p")) return &m.PointLoads[i].P;
        return nullptr;
    case TLoadGroup::Moment:
        if (suffix == QLatin1String("c")) return &m.Moments[i].c;
        if (suffix == QLatin1String("m")) return &m.Moments[i].M;
        return nullptr;
    }
    return nullptr;
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
        auto* edit = qobject_cast<QLineEdit*>(input.Control);
        switch (input.How) {
        case TRead::Number:
            m.*input.Field = fieldHints_->Read(*edit, m);
            break;
        case TRead::Width:
            m.StripWidth = fieldHints_->ReadWidth(*edit, m);
            break;
        case TRead::UserPoint:
            m.UserX[static_cast<size_t>(input.Index)] =
                fieldHints_->Read(*edit, m, 0, static_cast<double>(m.StripLength));
            break;
        case TRead::Loads:
            ReadLoads();
            break;
        case TRead::TopBar:
            m.TopBarSize = GetBarSize(*qobject_cast<QComboBox*>(input.Control));
            break;
        case TRead::BottomBar:
            m.BottomBarSize = GetBarSize(*qobject_cast<QComboBox*>(input.Control));
            break;
        }
    }
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

template <class F> void TfrmMain::WalkLoadControls(F&& visit) {
    // Creation order puts each load's start before its end, which the end's
    // lower bound relies on.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        const QString name = edit->objectName();
        for (const TLoadPrefix& prefix : LoadPrefixes) {
            if (!name.startsWith(prefix.Prefix)) continue;
            int index = 0;
            QString suffix;
            SplitLoadControlName(name, prefix.Prefix, index, suffix);
            Real* field = index >= 0 && index < prefix.Count ? LoadField(*model_, prefix.Group, index, suffix)
                                                             : nullptr;
            if (!field)
                dialogs_.ShowMessage(this, QLatin1String(prefix.Message));
            else
                visit(*edit, prefix.Group, index, suffix, *field);
            break;
        }
    }
}

void TfrmMain::ReadLoads() {
    TMatData& m = *model_;
    const double length = static_cast<double>(m.StripLength);
    WalkLoadControls([&](QLineEdit& edit, TLoadGroup group, int index, const QString& suffix, Real& field) {
        if (group == TLoadGroup::Dist && suffix == QLatin1String("we")) return; // Analyze sets it
        const bool position = (group == TLoadGroup::Dist && suffix == QLatin1String("b")) ||
                              (group == TLoadGroup::Point && suffix == QLatin1String("a")) ||
                              (group == TLoadGroup::Moment && suffix == QLatin1String("c"));
        if (position)
            field = fieldHints_->Read(edit, m, 0, length);
        else if (group == TLoadGroup::Dist && suffix == QLatin1String("e"))
            field = fieldHints_->Read(edit, m, static_cast<double>(m.DistLoads[static_cast<size_t>(index)].b),
                                      length);
        else
            field = fieldHints_->Read(edit, m);
    });
}

void TfrmMain::WriteLoads() {
    WalkLoadControls([this](QLineEdit& edit, TLoadGroup, int, const QString&, Real& field) {
        SetEditValue(edit, *model_, field);
    });
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
    if (action == ui->ASave || action == ui->APrint || action == ui->AExportPdf)
        CommitField(QApplication::focusWidget());
}

} // namespace slabwise
