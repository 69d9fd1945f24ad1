// Which control shows which part of the model: the binding tables and their walk.

#include "MainWindow.h"

#include "EditValues.h"
#include "model/ResultFields.h"
#include "model/Units.h"
#include "ui_MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <span>

namespace slabwise {

namespace {

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
            connect(edit, &QLineEdit::textEdited, this, [this, edit] { FieldEdited(edit); });
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
        connect(combo, &QComboBox::activated, this, [this, combo] { FieldEdited(combo); });
    }
    exitControls_.insert(ui->DateTimePicker1);
    ui->DateTimePicker1->installEventFilter(this);
    watched_.push_back(ui->DateTimePicker1);
    connect(ui->DateTimePicker1, &QDateEdit::dateChanged, this, [this] { FieldEdited(ui->DateTimePicker1); });
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
            [this] { Guarded([this] { UseReinforcementClicked(); }); });
    // Unlike the reinforcement box, this one changes the analysis.
    connect(ui->chkNoTension, &QCheckBox::clicked, this, [this] {
        Guarded([this] {
            SetModified(true);
            UpdateModel();
        });
    });
    connect(ui->PageControl1, &QTabWidget::tabBarClicked, this, [this](int index) {
        if (index != ui->PageControl1->currentIndex()) Guarded([this] { PageChanging(); });
    });
    connect(ui->PageControl1, &QTabWidget::currentChanged, this,
            [this] { Guarded([this] { CommitField(ui->PageControl1); }); });
    for (QToolButton* button : {ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3})
        connect(button, &QToolButton::clicked, this,
                [this, button] { Guarded([this, button] { EnlargeButtonClicked(button); }); });
    connect(ui->SpeedButton4, &QToolButton::clicked, this,
            [this] { Guarded([this] { ShowSubgradeHelp(ui->SpeedButton4); }); });
    connect(ui->Button1, &QPushButton::clicked, this, [this] { Guarded([this] { ChooseLogo(); }); });
    connect(ui->Button3, &QPushButton::clicked, this, [this] { Guarded([this] { RemoveLogo(); }); });
}

void TfrmMain::SetUnits() {
    const uint8_t units = ui->ComboBox1->currentIndex() == 0 ? UnitsEnglish : UnitsSI;
    for (const TUnitLabel& unit : unitLabels_)
        unit.Label->setText(unit.Prefix + QString::fromStdString(UnitText(unit.Quantity, units)));
}

} // namespace slabwise
