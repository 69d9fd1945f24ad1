// Undo and redo of the main window's committed inputs.

#include "UndoHistory.h"

#include "EditValues.h"
#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QUndoStack>

#include <exception>
#include <sstream>
#include <utility>

namespace slabwise {

namespace {

struct TLoadCaption {
    QLatin1String Prefix;
    const char* Load;
};

const TLoadCaption LoadCaptions[] = {
    {QLatin1String("EditDist"), "Distributed Load"},
    {QLatin1String("EditPoint"), "Point Load"},
    {QLatin1String("EditMom"), "Moment"},
};

// The grid, among the layouts under `layout`, that holds the control.
QGridLayout* GridOf(QLayout* layout, const QWidget& control) {
    if (!layout) return nullptr;
    if (auto* grid = qobject_cast<QGridLayout*>(layout); grid && grid->indexOf(&control) >= 0) return grid;
    for (int i = 0; i < layout->count(); ++i)
        if (QGridLayout* grid = GridOf(layout->itemAt(i)->layout(), control)) return grid;
    return nullptr;
}

// The label to the left of the control in its grid row, skipping unit
// captions.
QString GridCaption(const QWidget& control) {
    const QWidget* parent = control.parentWidget();
    QGridLayout* grid = parent ? GridOf(parent->layout(), control) : nullptr;
    if (!grid) return {};
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(&control), &row, &column, &rowSpan, &columnSpan);
    for (int c = column - 1; c >= 0; --c) {
        QLayoutItem* item = grid->itemAtPosition(row, c);
        auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
        if (!label || label->property("role").toString() == QLatin1String("unit")) continue;
        QString text = label->text().remove(QLatin1Char('&')).trimmed();
        if (text.endsWith(QLatin1Char(':'))) text.chop(1);
        if (!text.isEmpty()) return text;
    }
    return {};
}

// Tells whether a key is one of the window's undo or redo keys.
bool UndoKey(const QKeyEvent& key, bool& redo) {
    const QKeySequence pressed(key.keyCombination());
    redo = pressed.matches(QKeySequence::Redo) == QKeySequence::ExactMatch ||
           pressed.matches(QKeySequence(Qt::CTRL | Qt::Key_Y)) == QKeySequence::ExactMatch ||
           pressed.matches(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)) == QKeySequence::ExactMatch;
    return redo || pressed.matches(QKeySequence::Undo) == QKeySequence::ExactMatch;
}

// A box's own undo covers what is typed in it before the commit; once it has
// nothing left to undo, the keys reach the window's history.
class TUndoKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        auto* edit = qobject_cast<QLineEdit*>(watched);
        bool redo = false;
        if (!edit || !UndoKey(*static_cast<QKeyEvent*>(event), redo)) return false;
        const bool own = redo ? edit->isRedoAvailable() : edit->isUndoAvailable();
        return !own;
    }
};

} // namespace

QString CommitCaption(const QWidget& control) {
    const QString name = control.objectName();
    for (const TLoadCaption& load : LoadCaptions) {
        if (!name.startsWith(load.Prefix)) continue;
        int index = 0;
        QString suffix;
        SplitLoadControlName(name, load.Prefix, index, suffix);
        // The variables are named as in the tables' headings.
        const QString variable = suffix == QLatin1String("p")   ? QStringLiteral("P")
                                 : suffix == QLatin1String("m") ? QStringLiteral("M")
                                                                : suffix;
        return QStringLiteral("%1 %2, %3").arg(QLatin1String(load.Load)).arg(index + 1).arg(variable);
    }
    if (QString caption = GridCaption(control); !caption.isEmpty()) return caption;
    if (!control.accessibleName().isEmpty()) return control.accessibleName();
    return QStringLiteral("Edit");
}

TInputStep::TInputStep(const QString& caption, std::string before, std::string after, TApply apply)
    : QUndoCommand(caption), before_(std::move(before)), after_(std::move(after)), apply_(std::move(apply)) {}

void TInputStep::undo() {
    apply_(before_);
    done_ = false;
}

void TInputStep::redo() {
    if (!done_) apply_(after_);
    done_ = true;
}

// ---------------------------------------------------------------- the window's side

void TfrmMain::SetupUndo() {
    undoStack_ = new QUndoStack(this);
    auto* undo = new QAction(QStringLiteral("Undo"), this);
    undo->setObjectName(QStringLiteral("AUndo"));
    undo->setShortcut(QKeySequence::Undo);
    auto* redo = new QAction(QStringLiteral("Redo"), this);
    redo->setObjectName(QStringLiteral("ARedo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : {undo, redo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
        addAction(action);
    }
    connect(undoStack_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::undoTextChanged, undo, [undo](const QString& text) {
        undo->setText(text.isEmpty() ? QStringLiteral("Undo") : QStringLiteral("Undo ") + text);
    });
    connect(undoStack_, &QUndoStack::redoTextChanged, redo, [redo](const QString& text) {
        redo->setText(text.isEmpty() ? QStringLiteral("Redo") : QStringLiteral("Redo ") + text);
    });
    connect(undo, &QAction::triggered, this, [this] { StepHistory(false); });
    connect(redo, &QAction::triggered, this, [this] { StepHistory(true); });

    auto* edit = new QMenu(QStringLiteral("&Edit"), menuBar());
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->addAction(undo);
    edit->addAction(redo);
    const QList<QAction*> menus = menuBar()->actions();
    menuBar()->insertMenu(menus.size() > 1 ? menus[1] : nullptr, edit);

    auto* keys = new TUndoKeys(this);
    for (QLineEdit* box : findChildren<QLineEdit*>()) box->installEventFilter(keys);
}

std::string TfrmMain::InputRecord() const {
    std::ostringstream record;
    model_->SaveToStream(record);
    return std::move(record).str();
}

void TfrmMain::RecordStep(QObject* sender, const QString& named) {
    if (restoringInputs_ || !undoStack_) return;
    std::string now = InputRecord();
    if (now == lastInputs_) return;
    auto* control = qobject_cast<QWidget*>(sender);
    const QString caption = !named.isEmpty() ? named
                            : control        ? CommitCaption(*control)
                                             : QStringLiteral("Edit");
    undoStack_->push(new TInputStep(caption, std::exchange(lastInputs_, now), now,
                                    [this](const std::string& record) { RestoreInputs(record); }));
}

void TfrmMain::ResetHistory() {
    if (!undoStack_) return;
    undoStack_->clear();
    lastInputs_ = InputRecord();
}

void TfrmMain::MarkSaved() {
    if (undoStack_) undoStack_->setClean();
}

void TfrmMain::StepHistory(bool redo) {
    try {
        // The field being edited is committed first, so its change is the
        // one that goes back.
        if (!redo) ComboBox1Exit(QApplication::focusWidget());
        if (redo ? !undoStack_->canRedo() : !undoStack_->canUndo()) return;
        if (redo)
            undoStack_->redo();
        else
            undoStack_->undo();
        // What the last commit changed is no longer what the window shows.
        ClearNotices();
        // Back at the saved (or opened, or new) inputs the project is
        // unchanged.
        SetModified(!undoStack_->isClean());
    } catch (const std::exception& error) {
        dialogs_.ShowMessage(this, QString::fromLocal8Bit(error.what()));
    }
}

void TfrmMain::RestoreInputs(const std::string& record) {
    const QScopedValueRollback restoring(restoringInputs_, true);
    const double fileVersion = model_->FileVersion;
    std::istringstream in(record);
    model_->LoadFromStream(in);
    model_->FileVersion = fileVersion;
    ShowBarSystem();
    UpdateDisplay();
    UpdateModel();
    lastInputs_ = InputRecord();
}

} // namespace slabwise
