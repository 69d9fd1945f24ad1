#include "MainWindow.h"

#include "EditValues.h"
#include "FieldHints.h"
#include "RecentFiles.h"
#include "UpdateCommands.h"
#include "VersionFoldersPlacement.h"
#include "model/BarTables.h"
#include "model/DesignChecks.h"
#include "model/OpenProject.h"
#include "model/ProjectText.h"
#include "model/ResultFields.h"
#include "model/ResultTexts.h"
#include "model/Units.h"
#include "ui_MainWindow.h"
#include "views/Computations.h"
#include "views/DiagramDraw.h"
#include "views/Graphs.h"
#include "views/ImgZoom.h"
#include "views/LocaleNumber.h"
#include "views/Tables.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <exception>
#include <span>

namespace slabwise {

namespace {

const QString CaptionBase = QStringLiteral("Kelvane Slabwise");
const QString SaveQuestion = QStringLiteral("File is not saved. Do you want to save it now?");
constexpr int LogoSlot = 173;
constexpr int CheckPictureSize = 18;

// Project texts are held as the file stores them; the model converts.
QString FromModelText(const std::string& text) {
    return QString::fromStdString(ProjectTextToUtf8(text));
}
// A character the file cannot hold is noted under the box's caption.
std::string ToModelText(const QString& text, std::string_view caption, QStringList& notices) {
    TProjectText stored = ProjectTextFromUtf8(text.toStdString());
    if (stored.Replaced > 0) notices << QString::fromStdString(ProjectTextNotice(caption, stored.Replaced));
    return std::move(stored.Bytes);
}

const QDate DateEpoch(1899, 12, 30);

QDate DaysToDate(double days) {
    return DateEpoch.addDays(static_cast<qint64>(std::floor(days)));
}
double DateToDays(const QDate& date) {
    return static_cast<double>(DateEpoch.daysTo(date));
}

// A bar as the user knows it: its label and its diameter.
struct TBarChoice {
    int32_t System;
    QString Label;
    double Millimetres;
};

TBarChoice BarChoice(const TMatData& m, int32_t bar) {
    const double diameter = static_cast<double>(m.FindBar(bar).Diameter);
    return {m.BarSystem, QString::fromStdString(m.BarLabel(bar)),
            m.UnitSystem == UnitsSI ? diameter : diameter * 25.4};
}

QString UtilizationText(Real value) {
    // "N.A." is no percentage.
    return QStringLiteral("Utilization: ") + FormatLocaleFixed(value, UtilizationDecimals(value), 18) +
           (std::isnan(value) ? QString() : QStringLiteral("%"));
}

// Which unit caption each label shows: the model's unit text after an
// optional prefix.
struct TUnitCaption {
    std::initializer_list<const char*> Labels;
    TQuantity Quantity;
    const char* Prefix;
};

const TUnitCaption UnitCaptions[] = {
    {{"Label5", "Label7", "Label9", "Label105", "Label106", "Label110", "Label115", "Label78", "Label81",
      "Label85", "Label88", "Label92", "Label96", "Label99"},
     TQuantity::Length,
     ""},
    {{"Label179", "Label11", "Label19", "Label116"}, TQuantity::Strength, ""},
    {{"Label13"}, TQuantity::Subgrade, ""},
    {{"Label175", "Label95", "Label98"}, TQuantity::Pressure, ""},
    {{"Label70"}, TQuantity::Inertia, ""},
    {{"Label35"}, TQuantity::LineLoad, ""},
    {{"Label23"}, TQuantity::Length, "b, "},
    {{"Label26"}, TQuantity::LineLoad, "wb, "},
    {{"Label27"}, TQuantity::Length, "e, "},
    {{"Label28"}, TQuantity::LineLoad, "we, "},
    {{"Label37", "Label40"}, TQuantity::Length, "a, "},
    {{"Label39", "Label41"}, TQuantity::Force, "P, "},
    {{"Label60", "Label63"}, TQuantity::Length, "c, "},
    {{"Label62", "Label64"}, TQuantity::Moment, "M, "},
    {{"Label77", "Label80"}, TQuantity::Shear, ""},
    {{"Label84", "Label87"}, TQuantity::Moment, ""},
    {{"Label91", "Label124", "Label143", "Label131", "Label150", "Label133", "Label152"},
     TQuantity::DesignLength,
     ""},
    {{"Label127", "Label146", "Label135", "Label154"}, TQuantity::SteelArea, ""},
    {{"Label161", "Label162", "Label139", "Label158"}, TQuantity::Moment, ""},
    {{"Label166", "Label167"}, TQuantity::Force, ""},
    {{"Label15"}, TQuantity::Length, "Distance, "},
    {{"Label117"}, TQuantity::Shear, "Shear, "},
    {{"Label118"}, TQuantity::Moment, "Moment, "},
    {{"Label119"}, TQuantity::DesignLength, "Deflection, "},
    {{"Label120"}, TQuantity::Pressure, "Pressure, "},
};

// Reinforcement output boxes that keep the change handler but have no exit
// handler.
const char* const OutputsWithoutExit[] = {"Edit41", "Edit42", "Edit44", "Edit45", "Edit46",
                                          "Edit47", "Edit48", "Edit50", "Edit51", "Edit53",
                                          "Edit54", "Edit55", "Edit56", "Edit57"};

// Model fields shown by plain number boxes.
struct TOutputName {
    const char* Edit;
    Real TMatData::*Field;
};

// Boxes that show an input as the model holds it.
const TOutputName InputBoxes[] = {
    {"Edit1", &TMatData::StripLength},
    {"Edit2", &TMatData::StripWidth},
    {"Edit3", &TMatData::Thickness},
    {"Edit63", &TMatData::Fc},
    {"Edit5", &TMatData::SubgradeModulus},
    {"Edit62", &TMatData::AllowableBearing},
    {"Edit10", &TMatData::FullUniformLoad},
    {"Edit36", &TMatData::EffWidthPercent},
    {"Edit38", &TMatData::Fy},
    {"Edit39", &TMatData::Fc},
    {"Edit64", &TMatData::ShearLoadFactor},
    {"Edit65", &TMatData::MomentLoadFactor},
    {"Edit40", &TMatData::TopCover},
    {"Edit43", &TMatData::TopBarsOverride},
    {"Edit49", &TMatData::BottomCover},
    {"Edit52", &TMatData::BotBarsOverride},
};

// Boxes that show a derived value: each is a row of the model's result list,
// which the analysis clears first, so a failed analysis leaves N.A. in every
// one rather than the last project's number.
constexpr TOutputName ResultBoxes[] = {
    {"Edit4", &TMatData::ConcreteModulus}, {"Edit11", &TMatData::Inertia},
    {"Edit12", &TMatData::Beta},           {"Edit13", &TMatData::BetaL},
    {"Edit14", &TMatData::MaxShear},       {"Edit15", &TMatData::MaxShearX},
    {"Edit16", &TMatData::MinShear},       {"Edit17", &TMatData::MinShearX},
    {"Edit18", &TMatData::MaxMoment},      {"Edit19", &TMatData::MaxMomentX},
    {"Edit20", &TMatData::MinMoment},      {"Edit21", &TMatData::MinMomentX},
    {"Edit22", &TMatData::MaxDeflection},  {"Edit23", &TMatData::MaxDeflectionX},
    {"Edit24", &TMatData::MaxPressure},    {"Edit25", &TMatData::MaxPressureX},
    {"Edit26", &TMatData::MinPressure},    {"Edit30", &TMatData::MinPressureX},
    {"Edit31", &TMatData::BearingAreaPct}, {"Edit32", &TMatData::TMinSemiRigid},
    {"Edit34", &TMatData::TMinRigid},      {"Edit35", &TMatData::Lr},
    {"Edit37", &TMatData::BEst},           {"Edit58", &TMatData::MuNeg},
    {"Edit59", &TMatData::MuPos},          {"Edit60", &TMatData::Vu},
    {"Edit61", &TMatData::AllowShear},     {"Edit41", &TMatData::TopAsReq},
    {"Edit42", &TMatData::TopBarsMin},     {"Edit44", &TMatData::TopSpacing},
    {"Edit45", &TMatData::TopDepth},       {"Edit46", &TMatData::TopAs},
    {"Edit47", &TMatData::TopSteelPct},    {"Edit48", &TMatData::TopAllowMoment},
    {"Edit50", &TMatData::BotAsReq},       {"Edit51", &TMatData::BotBarsMin},
    {"Edit53", &TMatData::BotSpacing},     {"Edit54", &TMatData::BotDepth},
    {"Edit55", &TMatData::BotAs},          {"Edit56", &TMatData::BotSteelPct},
    {"Edit57", &TMatData::BotAllowMoment},
};
static_assert(std::ranges::all_of(ResultBoxes,
                                  [](const TOutputName& box) { return IsResultField(box.Field); }));

} // namespace

// How each input control reaches the model, in reading order.
struct TfrmMain::TInputName {
    TRead How;
    const char* Control;
    Real TMatData::*Field;
    int Index;
};

TfrmMain::TfrmMain(TDialogs& dialogs, QWidget* parent, const std::filesystem::path& exampleFolder)
    : QMainWindow(parent), ui(std::make_unique<Ui::TfrmMain>()), dialogs_(dialogs),
      document_(std::make_unique<TProjectDocument>(exampleFolder)), fileName_(document_->FileName()) {
    // The pictures (":/icons/...") are the program's, registered by linking
    // its icons.
    ui->setupUi(this);
    // Where a value that a commit had to change is reported.
    statusBar()->setSizeGripEnabled(false);
    passPicture_ = QIcon(QStringLiteral(":/icons/pass.svg")).pixmap(CheckPictureSize, CheckPictureSize);
    failPicture_ = QIcon(QStringLiteral(":/icons/fail.svg")).pixmap(CheckPictureSize, CheckPictureSize);
    // A larger desktop font may need more than the designed minimum; the
    // window never shrinks below what its pages need.
    setMinimumSize(minimumSize().expandedTo(layout()->minimumSize()));
    // A hidden bearing check keeps its place, so the columns do not move.
    QSizePolicy keep = ui->Image9->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    ui->Image9->setSizePolicy(keep);
    // Clicking a tab takes the focus first, so the field being edited is
    // committed before the page changes.
    ui->PageControl1->tabBar()->setFocusPolicy(Qt::StrongFocus);
    BindControls();
    ConnectActions();
    SetupUndo();
    SetUpUpdates();
    fieldHints_ = std::make_unique<TFieldHints>(*this);
    recentFiles_ = new TRecentFiles(
        *ui->File1, ui->ASave, [this](const QString& path) { Guarded([&] { OpenRecentFile(path); }); }, this);
    AddExportActions();

    LoadWindowPlacement(*this);
    model_ = &document_->Model();
    connect(document_.get(), &TProjectDocument::Changed, this,
            [this](TProjectDocument::TChanges what) { DocumentChanged(what); });
    // The hint of the field being edited sits in the status bar, right of the
    // notices: a bubble beside the field covered the next one and took its
    // click.
    fieldHint_ = new QLabel(statusBar());
    fieldHint_->setObjectName(QStringLiteral("FieldHint"));
    fieldHint_->setTextFormat(Qt::PlainText);
    fieldHint_->setContentsMargins(6, 0, 6, 0);
    fieldHint_->setAttribute(Qt::WA_TransparentForMouseEvents);
    statusBar()->addPermanentWidget(fieldHint_);
    fieldHint_->hide();
    statusBar()->installEventFilter(this);
    documentsFolder_ = GetProductDocumentsFolder();
    UserGuideFolder = QCoreApplication::applicationDirPath();
    SelectFirstPage();
    ANewExecute();
}

TfrmMain::~TfrmMain() {
    // The controls outlive this body; nothing they do while they go may reach
    // the model or the window's state.
    for (QWidget* control : watched_) control->removeEventFilter(this);
    QObject::disconnect(ui->PageControl1, nullptr, this, nullptr);
    SaveWindowPlacement(*this);
}

template <class F> void TfrmMain::Guarded(F&& command) {
    try {
        command();
    } catch (const std::exception& error) {
        dialogs_.ShowMessage(this, QString::fromLocal8Bit(error.what()));
    }
}

void TfrmMain::BindControls() {
    static const TInputName InputNames[] = {
        {TRead::Number, "Edit1", &TMatData::StripLength, 0},
        {TRead::Width, "Edit2", &TMatData::StripWidth, 0},
        {TRead::Number, "Edit3", &TMatData::Thickness, 0},
        {TRead::Number, "Edit63", &TMatData::Fc, 0},
        {TRead::Number, "Edit5", &TMatData::SubgradeModulus, 0},
        {TRead::Number, "Edit62", &TMatData::AllowableBearing, 0},
        {TRead::UserPoint, "Edit6", nullptr, 0},
        {TRead::UserPoint, "Edit7", nullptr, 1},
        {TRead::UserPoint, "Edit8", nullptr, 2},
        {TRead::UserPoint, "Edit9", nullptr, 3},
        {TRead::Number, "Edit10", &TMatData::FullUniformLoad, 0},
        {TRead::Loads, nullptr, nullptr, 0},
        {TRead::Number, "Edit36", &TMatData::EffWidthPercent, 0},
        {TRead::Number, "Edit38", &TMatData::Fy, 0},
        {TRead::Number, "Edit64", &TMatData::ShearLoadFactor, 0},
        {TRead::Number, "Edit65", &TMatData::MomentLoadFactor, 0},
        {TRead::Number, "Edit40", &TMatData::TopCover, 0},
        {TRead::TopBar, "ComboBox2", nullptr, 0},
        {TRead::Number, "Edit43", &TMatData::TopBarsOverride, 0},
        {TRead::Number, "Edit49", &TMatData::BottomCover, 0},
        {TRead::BottomBar, "ComboBox3", nullptr, 0},
        {TRead::Number, "Edit52", &TMatData::BotBarsOverride, 0},
    };
    for (const TInputName& input : InputNames) {
        QWidget* control = input.Control ? findChild<QWidget*>(QLatin1String(input.Control)) : nullptr;
        Q_ASSERT(!input.Control || control);
        inputs_.push_back({input.How, control, input.Field, input.Index});
    }
    for (const auto& boxes :
         {std::span<const TOutputName>(InputBoxes), std::span<const TOutputName>(ResultBoxes)})
        for (const TOutputName& output : boxes) {
            auto* edit = findChild<QLineEdit*>(QLatin1String(output.Edit));
            Q_ASSERT(edit);
            outputs_.push_back({edit, output.Field});
        }
    for (const TUnitCaption& caption : UnitCaptions)
        for (const char* name : caption.Labels) {
            auto* label = findChild<QLabel*>(QLatin1String(name));
            Q_ASSERT(label);
            unitLabels_.push_back({label, caption.Quantity, QLatin1String(caption.Prefix)});
        }
    userPointEdits_ = {ui->Edit6, ui->Edit7, ui->Edit8, ui->Edit9};
    for (int i = 0; i < UserPointCount; ++i) {
        const QString n = QString::number(i + 1);
        pointResultEdits_[static_cast<size_t>(i)] = {findChild<QLineEdit*>(QStringLiteral("EditVx") + n),
                                                     findChild<QLineEdit*>(QStringLiteral("EditMx") + n),
                                                     findChild<QLineEdit*>(QStringLiteral("EditDx") + n),
                                                     findChild<QLineEdit*>(QStringLiteral("EditQx") + n)};
    }

    QSet<QString> withoutExit{QStringLiteral("Edit27")};
    for (const char* name : OutputsWithoutExit) withoutExit.insert(QLatin1String(name));
    const QSet<QLineEdit*> texts{ui->Edit28, ui->Edit29, ui->Edit33};
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        // The date box's own inner editor is no control of the window.
        if (edit->objectName().isEmpty() || edit->objectName().startsWith(QLatin1String("qt_"))) continue;
        const bool number = ControlTag(*edit) != 0;
        if (number) numberEdits_.push_back(edit);
        if (number && !edit->isReadOnly()) editableNumbers_.insert(edit);
        // Results are read, not typed: Tab goes from input to input.
        if (number && edit->isReadOnly()) edit->setFocusPolicy(Qt::ClickFocus);
        if ((number && !edit->isReadOnly()) || texts.contains(edit))
            connect(edit, &QLineEdit::textEdited, this, [this, edit] { ComboBox1Change(edit); });
        if (!withoutExit.contains(edit->objectName())) exitControls_.insert(edit);
        // Job # has no handlers of its own; the window still turns its Enter
        // into Tab.
        edit->installEventFilter(this);
        watched_.push_back(edit);
    }
    for (QComboBox* combo : findChildren<QComboBox*>()) {
        if (combo->objectName().isEmpty() || combo->objectName().startsWith(QLatin1String("qt_"))) continue;
        exitControls_.insert(combo);
        combo->installEventFilter(this);
        watched_.push_back(combo);
        connect(combo, &QComboBox::activated, this, [this, combo] { ComboBox1Change(combo); });
    }
    exitControls_.insert(ui->DateTimePicker1);
    ui->DateTimePicker1->installEventFilter(this);
    watched_.push_back(ui->DateTimePicker1);
    connect(ui->DateTimePicker1, &QDateEdit::dateChanged, this,
            [this] { ComboBox1Change(ui->DateTimePicker1); });
    for (QWidget* watched : std::initializer_list<QWidget*>{ui->Panel7, ui->Logo, ui->Image1, ui->Image2,
                                                            ui->Image8, ui->Label74, ui->Label75}) {
        watched->installEventFilter(this);
        watched_.push_back(watched);
    }
    // Tab goes down each column of loads, not across the page.
    const auto chain = [this](QLatin1String prefix, int count, std::initializer_list<const char*> suffixes) {
        QWidget* previous = nullptr;
        for (int n = 1; n <= count; ++n)
            for (const char* suffix : suffixes) {
                auto* edit = findChild<QLineEdit*>(prefix + QString::number(n) + QLatin1String(suffix));
                if (!edit) continue;
                if (previous) setTabOrder(previous, edit);
                previous = edit;
            }
    };
    chain(QLatin1String("EditPoint"), PointLoadCount, {"a", "p"});
    chain(QLatin1String("EditMom"), MomentCount, {"c", "m"});
    connect(ui->chkUseReinforcement, &QCheckBox::clicked, this,
            [this] { Guarded([this] { chkUseReinforcementClick(); }); });
    // Unlike the reinforcement box, this one changes the analysis.
    connect(ui->chkNoTension, &QCheckBox::clicked, this, [this] {
        Guarded([this] {
            SetModified(true);
            UpdateModel();
        });
    });
    connect(ui->PageControl1, &QTabWidget::tabBarClicked, this, [this](int index) {
        if (index != ui->PageControl1->currentIndex()) Guarded([this] { PageControl1Changing(); });
    });
    connect(ui->PageControl1, &QTabWidget::currentChanged, this,
            [this] { Guarded([this] { ComboBox1Exit(ui->PageControl1); }); });
    for (QToolButton* button : {ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3})
        connect(button, &QToolButton::clicked, this,
                [this, button] { Guarded([this, button] { SpeedButton1Click(button); }); });
    connect(ui->SpeedButton4, &QToolButton::clicked, this,
            [this] { Guarded([this] { SpeedButton4Click(ui->SpeedButton4); }); });
    connect(ui->Button1, &QPushButton::clicked, this, [this] { Guarded([this] { Button1Click(); }); });
    connect(ui->Button3, &QPushButton::clicked, this, [this] { Guarded([this] { Button3Click(); }); });
}

void TfrmMain::ConnectActions() {
    connect(ui->ANew, &QAction::triggered, this, [this] { Guarded([this] { ANewExecute(); }); });
    connect(ui->AOpen, &QAction::triggered, this, [this] { Guarded([this] { AOpenExecute(); }); });
    connect(ui->ASave, &QAction::triggered, this, [this] {
        Guarded([this] {
            ActionList1Execute(ui->ASave);
            ASaveExecute();
        });
    });
    connect(ui->APrint, &QAction::triggered, this, [this] {
        Guarded([this] {
            ActionList1Execute(ui->APrint);
            APrintExecute();
        });
    });
    connect(ui->AExportPdf, &QAction::triggered, this, [this] {
        Guarded([this] {
            ActionList1Execute(ui->AExportPdf);
            AExportPdfExecute();
        });
    });
    connect(ui->ASaveAs, &QAction::triggered, this, [this] { Guarded([this] { ASaveAsExecute(); }); });
    connect(ui->AExit, &QAction::triggered, this, [this] { Guarded([this] { AExitExecute(); }); });
    connect(ui->AWeb, &QAction::triggered, this, [this] { Guarded([this] { AWebExecute(); }); });
    connect(ui->AAbout, &QAction::triggered, this, [this] { Guarded([this] { AAboutExecute(); }); });
    connect(ui->AUserGuide, &QAction::triggered, this, [this] { Guarded([this] { AUserGuideExecute(); }); });
}

// ---------------------------------------------------------------- binding

bool TfrmMain::Modified() const {
    return document_->Modified();
}

void TfrmMain::SetModified(bool modified) {
    document_->SetModified(modified);
    ui->Button3->setEnabled(logoPicture_.has_value());
}

void TfrmMain::ComboBox1Change(QObject* sender) {
    Guarded([this, sender] {
        SetModified(true);
        if (qobject_cast<QComboBox*>(sender)) ComboBox1Exit(sender);
    });
}

void TfrmMain::ComboBox1Exit(QObject* sender) {
    ShowFieldHint(nullptr, {});
    if (sender != ui->ComboBox1 && sender != ui->ComboBox4) {
        UpdateModel();
        RecordStep(sender);
        return;
    }
    const TMatData& m = *model_;
    const std::array<TBarChoice, 2> before{BarChoice(m, m.TopBarSize), BarChoice(m, m.BottomBarSize)};
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
    const std::array<TBarChoice, 2> after{BarChoice(m, m.TopBarSize), BarChoice(m, m.BottomBarSize)};
    // A US bar keeps its diameter under either name; any other change of
    // bar is said, with the diameters where the names are alike.
    const char* const captions[] = {"Top Bar Size", "Bottom Bar Size"};
    const auto named = [this](const TBarChoice& bar, bool diameter) {
        QString text = ui->ComboBox4->itemText(bar.System) + u' ' + bar.Label;
        if (diameter) text += QStringLiteral(" (%1 mm)").arg(FormatLocaleFixed(bar.Millimetres, 2));
        return text;
    };
    for (size_t i = 0; i < before.size(); ++i) {
        if (after[i].System == before[i].System &&
            std::fabs(after[i].Millimetres - before[i].Millimetres) < 1e-6)
            continue;
        const bool alike = after[i].Label == before[i].Label;
        notices << QStringLiteral("%1: %2 replaced by %3")
                       .arg(QLatin1String(captions[i]), named(before[i], alike), named(after[i], alike));
    }
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
            m.StripWidth = m.Shape == 1 ? m.StripLength : fieldHints_->Read(*edit, m);
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

bool TfrmMain::Edit1KeyPress(const QLineEdit& edit, QChar key) const {
    return NumberKeyPasses(edit.text(), key);
}

void TfrmMain::EditEnter(QWidget* control) {
    if (!control->toolTip().isEmpty()) ShowFieldHint(control, control->toolTip());
}

void TfrmMain::ShowFieldHint(QWidget* control, const QString& text) {
    if (text.isEmpty() || !control) {
        fieldHint_->hide();
        fieldHint_->clear();
    } else {
        // One line, so the status bar keeps its height.
        fieldHint_->setText(text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QStringLiteral("; ")));
        fieldHint_->show();
    }
    statusBar()->layout()->activate();
    FitNotice();
}

void TfrmMain::ShowNotices(const QStringList& notices) {
    notice_ = notices.join(QStringLiteral("; "));
    // The whole text, one notice a line, on hover, however narrow the window.
    statusBar()->setToolTip(notices.join(QLatin1Char('\n')));
    FitNotice();
}

void TfrmMain::ClearNotices() {
    notice_.clear();
    statusBar()->setToolTip({});
    statusBar()->clearMessage();
}

void TfrmMain::FitNotice() {
    if (notice_.isEmpty()) return;
    QStatusBar& bar = *statusBar();
    const QString shown = bar.fontMetrics().elidedText(notice_, Qt::ElideRight, std::max(NoticeRoom(), 0));
    if (bar.currentMessage() != shown) bar.showMessage(shown);
}

bool TfrmMain::event(QEvent* event) {
    // A menu's status tip borrows the bar; when it goes, the notices return.
    if (event->type() == QEvent::StatusTip && !notice_.isEmpty() &&
        static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
        statusBar()->clearMessage();
        FitNotice();
        return true;
    }
    return QMainWindow::event(event);
}

int TfrmMain::NoticeRoom() const {
    // The message is drawn from the left edge to the hint, with a margin
    // either side.
    return fieldHint_->isVisible() ? fieldHint_->geometry().left() - 12 : statusBar()->width() - 18;
}

void TfrmMain::PageControl1Changing() {
    UpdateDisplay();
}

void TfrmMain::chkUseReinforcementClick() {
    SetModified(true);
    model_->UseReinforcement = ui->chkUseReinforcement->isChecked() ? 1 : 0;
    UpdateDisplay();
    RecordStep(ui->chkUseReinforcement, ui->chkUseReinforcement->text().remove(QLatin1Char('&')));
}

void TfrmMain::ActionList1Execute(QAction* action) {
    if (action == ui->ASave || action == ui->APrint || action == ui->AExportPdf)
        ComboBox1Exit(QApplication::focusWidget());
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (auto* edit = qobject_cast<QLineEdit*>(watched);
            (edit && ControlTag(*edit) != 0) || qobject_cast<QComboBox*>(watched))
            EditEnter(static_cast<QWidget*>(watched));
        break;
    case QEvent::FocusOut: {
        // Popups, menus and other windows borrow the focus without the user
        // leaving the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason ||
            reason == Qt::MenuBarFocusReason)
            break;
        if (!refreshing_ && exitControls_.contains(watched))
            Guarded([this, watched] { ComboBox1Exit(watched); });
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter acts as Tab.
            if (qobject_cast<QLineEdit*>(watched) || qobject_cast<QComboBox*>(watched) ||
                qobject_cast<QDateEdit*>(watched)) {
                focusNextChild();
                return true;
            }
            break;
        }
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (!edit || !editableNumbers_.contains(edit) || key->text().isEmpty()) break;
        const QChar typed = key->text().front();
        // Control characters (editing keys, shortcuts) are not typing.
        if (typed.unicode() < 32 && typed != QLatin1Char('\b')) break;
        if (typed.unicode() == 127 || (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) break;
        if (!Edit1KeyPress(*edit, typed)) return true;
        break;
    }
    case QEvent::InputMethod: {
        // Text an input method commits is typing too: it passes the same
        // filter, one character at a time.
        auto* edit = qobject_cast<QLineEdit*>(watched);
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (!edit || !editableNumbers_.contains(edit) || input->commitString().isEmpty()) break;
        QString kept;
        for (const QChar typed : input->commitString())
            if (NumberKeyPasses(edit->text() + kept, typed)) kept += typed;
        if (kept != input->commitString()) {
            QInputMethodEvent filtered(input->preeditString(), input->attributes());
            filtered.setCommitString(kept, input->replacementStart(), input->replacementLength());
            QCoreApplication::sendEvent(edit, &filtered);
            return true;
        }
        break;
    }
    case QEvent::Resize:
        if (watched == statusBar()) {
            FitNotice();
            break;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && edit->isReadOnly()) ShowWholeText(*edit);
        if (watched == ui->Panel7) LayoutLogo();
        // A page's boxes take their size when the page is first shown; the
        // picture follows its box.
        else if (!refreshing_ && model_) {
            for (const auto& [box, kind] : Pictures()) {
                if (watched != box) continue;
                try {
                    DrawDiagramToImage(*box, *model_, kind);
                } catch (const std::exception&) {
                }
            }
        }
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
        if (watched == ui->Logo)
            Guarded([this] { Button1Click(); });
        else if (watched == ui->Image1 || watched == ui->Image2 || watched == ui->Image8)
            Guarded([this, watched] { Image2Click(watched); });
        else if (watched == ui->Label74)
            Guarded([this] { Label74Click(); });
        else if (watched == ui->Label75)
            Guarded([this] { Label75Click(); });
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- units and bars

void TfrmMain::SetUnits() {
    const uint8_t units = ui->ComboBox1->currentIndex() == 0 ? UnitsEnglish : UnitsSI;
    for (const TUnitLabel& unit : unitLabels_)
        unit.Label->setText(unit.Prefix + QString::fromStdString(UnitText(unit.Quantity, units)));
}

void TfrmMain::FillBarSizeCombos() {
    FillBarSizeCombo(*ui->ComboBox2);
    FillBarSizeCombo(*ui->ComboBox3);
}

void TfrmMain::FillBarSizeCombo(QComboBox& combo) {
    const QSignalBlocker blocker(combo);
    const QString remembered = combo.currentIndex() >= 0 ? combo.currentText() : QString();
    combo.clear();
    for (const TBarRow& row : model_->BarTable)
        if (row.Bar != 0) combo.addItem(QString::fromStdString(model_->BarLabel(row.Bar)));
    const int found = combo.findText(remembered, Qt::MatchExactly);
    combo.setCurrentIndex(found >= 0 ? found : 0);
}

void TfrmMain::SelectBarSize(QComboBox& combo, int32_t bar) {
    const QSignalBlocker blocker(combo);
    int found = combo.findText(QStringLiteral("#%1").arg(bar), Qt::MatchExactly);
    if (found < 0) found = combo.findText(QStringLiteral("%1M").arg(bar), Qt::MatchExactly);
    combo.setCurrentIndex(found >= 0 ? found : 0);
}

int32_t TfrmMain::GetBarSize(const QComboBox& combo) const {
    QString text = combo.currentText();
    if (const qsizetype hash = text.indexOf(QLatin1Char('#')); hash >= 0) text.remove(hash, 1);
    text = text.trimmed();
    if (const qsizetype m = text.indexOf(QLatin1Char('M')); m >= 0) text.remove(m, 1);
    text = text.trimmed();
    bool ok = false;
    const int32_t bar = text.toInt(&ok);
    return ok && bar != 0 ? bar : model_->BarTable[0].Bar;
}

// ---------------------------------------------------------------- results panel

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

// The picture box of each check.
std::array<std::pair<TCheck, QLabel*>, CheckCount> TfrmMain::CheckPictures() const {
    return {{{TCheck::Bearing, ui->Image9},
             {TCheck::TopSpacing, ui->Image3},
             {TCheck::BottomSpacing, ui->Image5},
             {TCheck::TopRatio, ui->Image4},
             {TCheck::BottomRatio, ui->Image6},
             {TCheck::TopUtilization, ui->Image10},
             {TCheck::BottomUtilization, ui->Image11},
             {TCheck::Shear, ui->Image7}}};
}

void TfrmMain::SetPageEnabled(bool enabled) {
    // The check box itself stays enabled throughout, so it keeps the focus.
    for (QWidget* control : ui->Panel3->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (control != ui->chkUseReinforcement) control->setEnabled(enabled);
    ui->chkUseReinforcement->setEnabled(true);
}

QString TfrmMain::SummaryText() const {
    const TMatData& m = *model_;
    const QString unit = ui->Label131->text();
    const QString topBars = m.TopBarsOverride > 0 ? ui->Edit43->text() : ui->Edit42->text();
    const QString bottomBars = m.BotBarsOverride > 0 ? ui->Edit52->text() : ui->Edit51->text();
    return FormatLocaleFixed(m.ThicknessIn, 2, 8) + u' ' + unit + QStringLiteral(" Mat with ") + topBars +
           u' ' + ui->ComboBox2->currentText() + QStringLiteral(" bars @ ") + ui->Edit44->text() + u' ' +
           unit + QStringLiteral(" on center spacing top bars\rand ") + bottomBars + u' ' +
           ui->ComboBox3->currentText() + QStringLiteral(" bars @ ") + ui->Edit53->text() + u' ' + unit +
           QStringLiteral(" on center spacing bottom bars");
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
    SetEditText(*ui->Edit28, FromModelText(m.Organization));
    ShowLogo();
    LayoutLogo();
    SetEditText(*ui->Edit33, FromModelText(m.ProjectName));
    SetEditText(*ui->Edit27, FromModelText(m.JobNumber));
    SetEditText(*ui->Edit29, FromModelText(m.DesignedBy));
    {
        const QSignalBlocker blocker(ui->DateTimePicker1);
        ui->DateTimePicker1->setDate(DaysToDate(m.ProjectDate));
    }
    // 4 to 8 and 11: every number box.
    {
        const QSignalBlocker blocker(ui->ComboBox5);
        ui->ComboBox5->setCurrentIndex(m.Shape == 0 ? 0 : 1);
    }
    ui->Edit2->setEnabled(m.Shape == 0);
    for (const TOutputBinding& output : outputs_) SetEditValue(*output.Edit, m, m.*output.Field);
    for (size_t i = 0; i < userPointEdits_.size(); ++i) {
        SetEditValue(*userPointEdits_[i], m, m.UserX[i]);
        const TMatStation& station = m.Stations[FirstUserStation + i];
        const auto& [shear, moment, deflection, pressure] = pointResultEdits_[i];
        SetEditValue(*shear, m, station.Shear);
        SetEditValue(*moment, m, station.Moment);
        SetEditValue(*deflection, m, station.Deflection);
        SetEditValue(*pressure, m, station.Pressure);
    }
    WriteLoads();
    for (QLineEdit* edit : numberEdits_)
        if (edit->isReadOnly()) ShowWholeText(*edit);
    // A failed analysis has no class to name.
    {
        const QSignalBlocker blocker(ui->chkNoTension);
        ui->chkNoTension->setChecked(m.SoilTakesNoTension != 0);
    }
    ui->Label72->setText(std::isnan(m.BetaL) ? QString() : QString::fromStdString(RigidityText(m.BetaL)));
    ui->Label103->setText(QString::fromStdString(ValidityMessage(m)));
    // 9: bearing.
    ui->Image9->setVisible(!EqualWithTolerance(m.AllowableBearing, 0));
    const TCheckResults checks = EvaluateChecks(m);
    SetCheckImage(checks[static_cast<size_t>(TCheck::Bearing)], *ui->Image9);
    // 10: the reinforcement page follows its check box.
    {
        const QSignalBlocker blocker(ui->chkUseReinforcement);
        ui->chkUseReinforcement->setChecked(m.UseReinforcement != 0);
    }
    SetPageEnabled(m.UseReinforcement != 0);
    SelectBarSize(*ui->ComboBox2, m.TopBarSize);
    SelectBarSize(*ui->ComboBox3, m.BottomBarSize);
    // 12: utilisation and checks.
    ui->Label140->setText(UtilizationText(m.TopUtil));
    ui->Label159->setText(UtilizationText(m.BottomUtil));
    ui->Label170->setText(UtilizationText(m.ShearUtil));
    for (const auto& [check, box] : CheckPictures())
        if (check != TCheck::Bearing) SetCheckImage(checks[static_cast<size_t>(check)], *box);
    // 13: summary.
    ui->Label172->setVisible(m.UseReinforcement != 0);
    ui->Label173->setVisible(m.UseReinforcement != 0);
    // The label breaks its line at a line feed; the report takes the
    // sentence with its carriage return from the "Caption" property.
    const QString summary = SummaryText();
    ui->Label173->setProperty("Caption", summary);
    ui->Label173->setText(QString(summary).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    // 14: the drawings at their boxes' sizes; a drawing that fails leaves the
    // rest undrawn until the next refresh.
    try {
        for (const auto& [box, kind] : Pictures()) DrawDiagramToImage(*box, m, kind);
    } catch (const std::exception&) {
    }
}

// ---------------------------------------------------------------- documents

QString TfrmMain::Caption() const {
    return fileName_.isEmpty() ? CaptionBase
                               : CaptionBase + QStringLiteral(" - ") + QFileInfo(fileName_).fileName();
}

void TfrmMain::SelectFirstPage() {
    const QSignalBlocker blocker(ui->PageControl1);
    ui->PageControl1->setCurrentIndex(0);
}

void TfrmMain::FocusUnits() {
    if (ui->ComboBox1->isEnabled()) ui->ComboBox1->setFocus(Qt::OtherFocusReason);
}

void TfrmMain::ShowBarSystem() {
    const QSignalBlocker blocker(ui->ComboBox4);
    ui->ComboBox4->setCurrentIndex(std::clamp<int32_t>(model_->BarSystem, BarSystemUS, BarSystemCanadian));
}

bool TfrmMain::QuerySaveChanges() {
    if (!Modified()) return true;
    switch (dialogs_.Confirm(this, SaveQuestion)) {
    case TAnswer::Yes:
        ActionList1Execute(ui->ASave);
        ASaveExecute();
        return !Modified();
    case TAnswer::No:
        // The edits may go, but they are not gone yet: a command that stops
        // before replacing the project leaves it modified.
        return true;
    case TAnswer::Cancel:
        break;
    }
    return false;
}

void TfrmMain::ANewExecute() {
    if (!QuerySaveChanges()) return;
    document_->New();
    if (isVisible()) {
        SelectFirstPage();
        FocusUnits();
    }
}

void TfrmMain::DocumentChanged(TProjectDocument::TChanges what) {
    using enum TProjectDocument::TChange;
    // Nothing raised here may cross the document's signal.
    Guarded([this, what] {
        if (what & NewProject) {
            ShowBarSystem();
            SetEditText(*ui->Edit28, {});
            SetLogoPicture(std::nullopt);
            LayoutLogo();
            SetEditText(*ui->Edit33, {});
            SetEditText(*ui->Edit27, {});
            SetEditText(*ui->Edit29, {});
            ui->DateTimePicker1->setDate(QDate::currentDate());
            for (QLineEdit* edit : numberEdits_) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        if (what & (NewProject | OpenedProject)) {
            // What was said of the last project is not said of this one.
            ClearNotices();
            ShowBarSystem();
            UpdateDisplay();
            UpdateModel();
        }
        if (what & InputsRestored) {
            ShowBarSystem();
            UpdateDisplay();
            UpdateModel();
            // What the last commit changed is no longer what the window
            // shows.
            ClearNotices();
        }
        if (what & (NewProject | OpenedProject | FileName)) setWindowTitle(Caption());
        ui->Button3->setEnabled(logoPicture_.has_value());
    });
}

void TfrmMain::AOpenExecute() {
    if (!QuerySaveChanges()) return;
    const QString chosen = dialogs_.OpenProjectFile(
        this, documentsFolder_, fileName_.isEmpty() ? QStringLiteral("*.ksw") : fileName_);
    if (chosen.isEmpty()) return;
    OpenProjectFile(chosen);
}

void TfrmMain::OpenRecentFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        recentFiles_->Remove(path);
        dialogs_.ShowMessage(this, QStringLiteral("The project %1 no longer exists; it was removed from the "
                                                  "recent files.")
                                       .arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!QuerySaveChanges()) return;
    OpenProjectFile(path);
}

void TfrmMain::OpenProjectFile(const QString& chosen) {
    // All or nothing: a refused file leaves the project, its name, its
    // modified flag and the window as they were.
    TOpenReport report;
    try {
        report = document_->Open(chosen);
    } catch (const std::exception& error) {
        dialogs_.ShowWarning(this, OpenRefusedText(chosen, error));
        return;
    }
    SelectFirstPage();
    FocusUnits();
    if (!report.Clean()) dialogs_.ShowWarning(this, OpenReportText(chosen, report));
    recentFiles_->Add(fileName_);
}

void TfrmMain::OpenFromCommandLine(const QString& fileName) {
    OpenProjectFile(QFileInfo(fileName).absoluteFilePath());
}

void TfrmMain::ASaveExecute() {
    if (fileName_.isEmpty()) {
        ASaveAsExecute();
        return;
    }
    document_->Save();
    recentFiles_->Add(fileName_);
}

void TfrmMain::ASaveAsExecute() {
    const QString chosen = dialogs_.SaveProjectFile(
        this, documentsFolder_, fileName_.isEmpty() ? QStringLiteral("*.ksw") : fileName_);
    if (chosen.isEmpty()) return;
    ActionList1Execute(ui->ASave);
    document_->SaveAs(chosen);
    recentFiles_->Add(fileName_);
}

void TfrmMain::AExitExecute() {
    close();
}

void TfrmMain::AWebExecute() {
    OpenWebAddress(dialogs_, this, QUrl(QLatin1String(MakerHomePage)));
}

void TfrmMain::AUserGuideExecute() {
    const QString guide = FindUserGuide(UserGuideFolder);
    if (guide.isEmpty()) {
        dialogs_.ShowMessage(
            this, QStringLiteral("The user guide (%1) is not installed beside the program "
                                 "in %2 nor in its data folder.")
                      .arg(QLatin1String(UserGuideName), QDir::toNativeSeparators(UserGuideFolder)));
        return;
    }
    if (!dialogs_.OpenUrl(QUrl::fromLocalFile(guide)))
        dialogs_.ShowMessage(this, QStringLiteral("No web browser could be started. The user guide is %1")
                                       .arg(QDir::toNativeSeparators(guide)));
}

void TfrmMain::AAboutExecute() {
    dialogs_.ShowAbout(this);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    Guarded([&] { mayClose = QuerySaveChanges(); });
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The next refresh redraws whatever this one could not.
    try {
        UpdateDisplay();
    } catch (const std::exception&) {
    }
}

// ---------------------------------------------------------------- logo

void TfrmMain::SetLogoPicture(const std::optional<TJpegImage>& picture) {
    logoPicture_ = picture;
    if (!picture) {
        ui->Logo->clear();
        return;
    }
    const TRgbPixels pixels = picture->Decode();
    const QImage image(pixels.Rgb.data(), pixels.Width, pixels.Height, qsizetype{pixels.Width} * 3,
                       QImage::Format_RGB888);
    ui->Logo->setPixmap(QPixmap::fromImage(image));
}

void TfrmMain::ShowLogo() {
    const std::optional<TJpegImage>& logo = model_->Logo;
    if (logo.has_value() == logoPicture_.has_value() && (!logo || *logo == *logoPicture_)) return;
    SetLogoPicture(logo);
}

void TfrmMain::Button1Click() {
    const QString chosen = dialogs_.OpenLogoFile(this);
    if (chosen.isEmpty()) return;
    const std::filesystem::path path(QFile::encodeName(chosen).toStdString());
    SetLogoPicture(TJpegImage::FromFile(path));
    model_->LoadLogoFromFile(path);
    LayoutLogo();
    SetModified(true);
    RecordStep(ui->Logo, QStringLiteral("Logo"));
}

void TfrmMain::Button3Click() {
    model_->AssignLogo(nullptr);
    SetLogoPicture(std::nullopt);
    LayoutLogo();
    SetModified(true);
    RecordStep(ui->Logo, QStringLiteral("Logo"));
}

void TfrmMain::LayoutLogo() {
    QLabel& logo = *ui->Logo;
    int width = 0;
    if (logoPicture_ && logoPicture_->Height() > 0 && logoPicture_->Width() > 0) {
        const double exact =
            static_cast<double>(logoPicture_->Width()) * logo.height() / logoPicture_->Height();
        width = std::min(static_cast<int>(std::nearbyint(exact)), LogoSlot);
    }
    const int left = ui->Panel7->width() - width - (LogoSlot - width) / 2 - 5;
    logo.setGeometry(left, logo.y(), width, logo.height());
}

// ---------------------------------------------------------------- enlarged pictures

void TfrmMain::Image2Click(QObject* sender) {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect workArea = screen->availableGeometry();
    QImage bitmap(workArea.width() - 20, workArea.height() - 100, QImage::Format_RGB32);
    const TDiagramKind kind = sender == ui->Image1   ? dkPlanSection
                              : sender == ui->Image2 ? dkLoading
                                                     : dkReinforcement;
    const QSize size = bitmap.size();
    DrawDiagramToBitmap(bitmap, *model_, kind);
    ShowZoomedPicture(bitmap, [this, size, kind](QPainter& painter) {
        DrawDiagramToPainter(painter, size, *model_, kind);
    });
}

void TfrmMain::SpeedButton1Click(QObject* sender) {
    Image2Click(sender == ui->SpeedButton1   ? ui->Image1
                : sender == ui->SpeedButton2 ? ui->Image2
                                             : ui->Image8);
}

void TfrmMain::Label74Click() {
    // Built from the model, so it names the contact zones when the soil
    // takes no tension.
    TfrmTable table(*model_, this);
    table.Prompts = ExportPrompts;
    dialogs_.RunModal(table);
}

void TfrmMain::Label75Click() {
    TfrmGraphs graphs(*model_, this);
    graphs.Prompts = ExportPrompts;
    dialogs_.RunModal(graphs);
}

// The subgrade-modulus help only informs: nothing goes back into the model.
void TfrmMain::SpeedButton4Click(QObject* sender) {
    TfrmComputations help(this);
    help.BuildSubgradeHelp(sender->property("Tag").toInt(), *model_, lastUnitSystem_);
    dialogs_.RunModal(help);
}

void TfrmMain::ShowZoomedPicture(const QImage& bitmap, const TVectorDrawing& vector) {
    TfrmImgZoom zoom(this);
    zoom.SetPicture(bitmap);
    zoom.SetVectorDrawing(vector);
    zoom.Prompts = ExportPrompts;
    zoom.adjustSize();
    zoom.PlaceOver(*this);
    dialogs_.RunModal(zoom);
}

} // namespace slabwise
