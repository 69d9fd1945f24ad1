// The undo texts and keys of the main window's fields.

#include "UndoHistory.h"

#include "model/InputFields.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <optional>
#include <string>

namespace slabwise {

namespace {

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
    // An input is named by its caption in the input list; a load as the
    // tables head it, by its number and variable.
    if (const std::optional<TInputAt> input = InputOfControl(control.objectName().toStdString())) {
        std::string caption(InputField(input->Input).Caption);
        if (const size_t slot = caption.find("##"); slot != std::string::npos)
            caption.replace(slot, 2, std::to_string(input->Number));
        else
            caption = NumberedCaption(caption, input->Number);
        return QString::fromStdString(caption);
    }
    if (QString caption = GridCaption(control); !caption.isEmpty()) return caption;
    if (!control.accessibleName().isEmpty()) return control.accessibleName();
    return QStringLiteral("Edit");
}

void InstallUndoKeys(QWidget& window) {
    auto* keys = new TUndoKeys(&window);
    for (QLineEdit* box : window.findChildren<QLineEdit*>()) box->installEventFilter(keys);
}

} // namespace slabwise
