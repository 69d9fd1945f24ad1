// Slabwise: the splash, then the main window until it closes.

#include "About.h"
#include "CommandLine.h"
#include "Dialogs.h"
#include "MainWindow.h"
#include "Splash.h"
#include "VersionFoldersPlacement.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <exception>

namespace {

constexpr int ExitWrongArguments = 2;

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char** argv) {
    // --help and --version answer without a display.
    {
        QStringList raw;
        for (int i = 1; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
        const slabwise::TCommandLine early = slabwise::ParseCommandLine(raw);
        if (early.Action == slabwise::TCommandLine::TAction::Help) {
            Print(stdout, slabwise::CommandLineHelp());
            return 0;
        }
        if (early.Action == slabwise::TCommandLine::TAction::Version) {
            Print(stdout, QStringLiteral("slabwise %1\n").arg(slabwise::GetVersionText()));
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Slabwise"));
    QApplication::setOrganizationName(QStringLiteral("Kelvane"));
    QApplication::setDesktopFileName(QStringLiteral("example.kelvane.Slabwise"));

    // Qt has taken its own options (-platform, -style, ...) out by now.
    const slabwise::TCommandLine line = slabwise::ParseCommandLine(QApplication::arguments().mid(1));
    if (line.Action == slabwise::TCommandLine::TAction::Wrong) {
        Print(stderr, slabwise::CommandLineUsage());
        return ExitWrongArguments;
    }

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
        if (!line.File.isEmpty())
            QTimer::singleShot(0, &window, [&window, &line] { window.OpenFromCommandLine(line.File); });
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
