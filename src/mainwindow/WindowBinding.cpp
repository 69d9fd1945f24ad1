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
#include <string_view>

namespace slabwise {

namespace {

QString Name(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The row a load's end is bounded by: the start of the same load.
const TInputField* StartOf(const TInputField& field) {
    if (field.Bound != TInputBound::StartToLength) return nullptr;
    for (const TInputField& start : InputFields)
        if (start.Array == field.Array && start.Bound == TInputBound::UpToLength) return &start;
    return nullptr;
}

static_assert(std::ranges::all_of(ResultBoxes,
                                  [](const TResultBox& box) { return IsResultField(box.Member); }));

} // namespace

void TfrmMain::BindControls() {
    const auto edit = [this](std::string_view name) {
        auto* box = findChild<QLineEdit*>(Name(name));
        Q_ASSERT(box);
        return box;
    };
    const auto unitLabel = [this](std::string_view name, TQuantity quantity, std::string_view prefix) {
        auto* label = findChild<QLabel*>(Name(name));
        Q_ASSERT(label);
        unitLabels_.push_back({label, quantity, Name(prefix)});
    };
    ForEachInput([&](const TInputField& field, int number) {
        const TInputBinding input{edit(InputControl(field.Input, number)), &field, number, StartOf(field)};
        inputs_.push_back(input);
        shownInputs_.push_back(input);
        if (!field.SecondBox.Empty())
            shownInputs_.push_back({edit(field.SecondBox.Edit.For(number)), &field, number, nullptr});
    });
    for (const TInputBinding& input : shownInputs_) inputBoxes_.insert(input.Edit);
    for (const TInputField& field : InputFields) {
        if (!field.Unit) continue;
        for (const TInputBox* box : {&field.Box, &field.SecondBox})
            for (std::string_view label : box->Units)
                if (!label.empty()) unitLabel(label, *field.Unit, box->UnitPrefix);
    }
    for (const TUnitLabel& unit : ResultUnitLabels) unitLabel(unit.Label, unit.Quantity, unit.Prefix);
    // Each is a row of the model's result list, which the analysis clears
    // first, so a failed analysis leaves N.A. in every one rather than the
    // last project's number.
    QSet<QString> withoutExit{QStringLiteral("Edit27")};
    for (const TResultBox& box : ResultBoxes) {
        outputs_.push_back({edit(box.Control), box.Member});
        if (!box.Exits) withoutExit.insert(Name(box.Control));
    }
    for (const TFormTextLabel& text : FormTextLabels) {
        auto* label = findChild<QLabel*>(Name(text.Label));
        Q_ASSERT(label);
        formTexts_.emplace_back(label, text.Text);
    }
    for (int load = 1; load <= DistLoadCount; ++load)
        distEndEdits_[static_cast<size_t>(load - 1)] = edit(DistEndIntensityControl(load));
    for (const TProjectTextBox& box : ProjectTextBoxes) projectTexts_.emplace_back(edit(box.Control), &box);
    for (int point = 1; point <= UserPointCount; ++point)
        for (size_t row = 0; row < PointResultRows.size(); ++row)
            pointResultEdits_[static_cast<size_t>(point - 1)][row] =
                edit(PointResultControl(PointResultRows[row], point));
    for (size_t i = 0; i < CheckPictures.size(); ++i) {
        checkBoxes_[i] = findChild<QLabel*>(Name(CheckPictures[i].Picture));
        Q_ASSERT(checkBoxes_[i]);
    }

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
    // Tab goes down each column of loads, not across the page, and along a
    // load's row first: a point load's position and force, then its column's
    // sizes, which the list keeps as an array of their own.
    for (const std::string_view table : {"EditPoint", "EditMom"}) {
        std::vector<const TInputBinding*> row;
        for (const TInputBinding& input : inputs_)
            if (input.Field->Numbered() && input.Field->Box.Edit.Pattern.starts_with(table))
                row.push_back(&input);
        std::ranges::stable_sort(row, {}, &TInputBinding::Number);
        for (size_t i = 1; i < row.size(); ++i) setTabOrder(row[i - 1]->Edit, row[i]->Edit);
    }
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
    for (const TUnitCaption& unit : unitLabels_)
        unit.Label->setText(unit.Prefix + QString::fromStdString(UnitText(unit.Quantity, units)));
}

} // namespace slabwise
