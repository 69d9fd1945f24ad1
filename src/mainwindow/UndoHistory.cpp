// The undo texts and keys of the main window's fields.

#include "UndoHistory.h"

#include "EditValues.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

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

void InstallUndoKeys(QWidget& window) {
    auto* keys = new TUndoKeys(&window);
    for (QLineEdit* box : window.findChildren<QLineEdit*>()) box->installEventFilter(keys);
}

} // namespace slabwise
