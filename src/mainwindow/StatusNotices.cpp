// The status bar: the hint of the field being edited and the notices of a commit.

#include "MainWindow.h"

#include <QLabel>
#include <QLayout>
#include <QStatusBar>
#include <QStatusTipEvent>

#include <algorithm>

namespace slabwise {

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

} // namespace slabwise
