// Slabwise: the splash, then the main window until it closes.

#include "About.h"
#include "Dialogs.h"
#include "MainWindow.h"
#include "Splash.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <exception>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Slabwise"));
    QApplication::setOrganizationName(QStringLiteral("Kelvane"));

    auto* splash = new slabwise::TfrmSplash; // frees itself when it closes
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    slabwise::TQtDialogs dialogs([](QWidget* parent, slabwise::TDialogs& shell) {
        slabwise::TfrmAbout about(parent, shell);
        shell.RunModal(about);
    });
    try {
        slabwise::TfrmMain window(dialogs);
        QApplication::setWindowIcon(window.windowIcon());
        window.show();
        splash->raise();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
