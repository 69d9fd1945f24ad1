// What the window's controls do with focus, keys, typing, resizing and clicks.

#include "MainWindow.h"

#include "EditValues.h"
#include "ui_MainWindow.h"
#include "views/DiagramDraw.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStatusBar>

#include <exception>

namespace slabwise {

bool TfrmMain::NumberKeyAccepted(const QLineEdit& edit, QChar key) const {
    return NumberKeyPasses(edit.text(), key);
}

void TfrmMain::FieldEntered(QWidget* control) {
    if (!control->toolTip().isEmpty()) ShowFieldHint(control, control->toolTip());
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (auto* edit = qobject_cast<QLineEdit*>(watched);
            (edit && ControlTag(*edit) != 0) || qobject_cast<QComboBox*>(watched))
            FieldEntered(static_cast<QWidget*>(watched));
        break;
    case QEvent::FocusOut: {
        // Popups, menus and other windows borrow the focus without the user
        // leaving the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason ||
            reason == Qt::MenuBarFocusReason)
            break;
        if (!refreshing_ && exitControls_.contains(watched))
            Guarded([this, watched] { CommitField(watched); });
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
        if (!NumberKeyAccepted(*edit, typed)) return true;
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
            Guarded([this] { ChooseLogo(); });
        else if (watched == ui->Image1 || watched == ui->Image2 || watched == ui->Image8)
            Guarded([this, watched] { EnlargePicture(watched); });
        else if (watched == ui->Label74)
            Guarded([this] { Label74Click(); });
        else if (watched == ui->Label75)
            Guarded([this] { ShowGraphs(); });
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace slabwise
