// The Edit menu's undo and redo over the document's history of inputs.

#include "MainWindow.h"
#include "UndoHistory.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

#include <exception>

namespace slabwise {

void TfrmMain::SetupUndo() {
    QUndoStack& history = document_->History();
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
    connect(&history, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(&history, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(&history, &QUndoStack::undoTextChanged, undo, [undo](const QString& text) {
        undo->setText(text.isEmpty() ? QStringLiteral("Undo") : QStringLiteral("Undo ") + text);
    });
    connect(&history, &QUndoStack::redoTextChanged, redo, [redo](const QString& text) {
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

    InstallUndoKeys(*this);
}

void TfrmMain::RecordStep(QObject* sender, const QString& named) {
    document_->RecordStep([sender, &named] {
        auto* control = qobject_cast<QWidget*>(sender);
        return !named.isEmpty() ? named : control ? CommitCaption(*control) : QStringLiteral("Edit");
    });
}

void TfrmMain::StepHistory(bool redo) {
    try {
        // The field being edited is committed first, so its change is the
        // one that goes back.
        if (!redo) CommitField(QApplication::focusWidget());
        if (redo)
            document_->Redo();
        else
            document_->Undo();
    } catch (const std::exception& error) {
        dialogs_.ShowMessage(this, QString::fromLocal8Bit(error.what()));
    }
}

} // namespace slabwise
