#include "UpdateShell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QProcess>

namespace slabwise {

TQtUpdateShell::TQtUpdateShell(std::function<bool()> mayEnd, std::function<void()> terminate)
    : mayEnd_(std::move(mayEnd)), terminate_(std::move(terminate)) {}

bool TQtUpdateShell::MayEnd() {
    return !mayEnd_ || mayEnd_();
}

void TQtUpdateShell::Notify(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool TQtUpdateShell::Ask(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void TQtUpdateShell::OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

void TQtUpdateShell::RunModal(QDialog& dialog) {
    dialog.exec();
}

bool TQtUpdateShell::OpenWithDesktop(const QString& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

bool TQtUpdateShell::Run(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

void TQtUpdateShell::Terminate() {
    if (terminate_)
        terminate_();
    else
        QCoreApplication::exit(0);
}

} // namespace slabwise
