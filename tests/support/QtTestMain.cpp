// Runs a GoogleTest suite inside a QApplication. The offscreen platform and
// one installed font make text metrics, and so every layout and picture, the
// same on every machine; test mode keeps QSettings and QStandardPaths out of
// the user's real folders.

#include <QApplication>
#include <QFont>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Kelvane");
    QApplication::setApplicationName("Slabwise");
    QApplication::setFont(QFont("DejaVu Sans", 9));
    // Test cases run as parallel processes; each keeps its settings apart.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    // No test window starts the automatic update check.
    QSettings().setValue(QStringLiteral("AutoUpdates"), 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
