#include "VersionFoldersPlacement.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

namespace slabwise {

namespace {

QString WithSeparator(QString folder) {
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

} // namespace

QString GetDocumentsFolder() {
    return WithSeparator(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString GetProductDocumentsFolder() {
    const QString documents = GetDocumentsFolder();
    if (documents.isEmpty()) return {};
    QString folder = documents + QLatin1String(ProductName) + QLatin1Char('/');
    QDir().mkpath(folder);
    return folder;
}

QString FindUserGuide(const QString& programFolder) {
    const QDir program(programFolder);
    const QString folders[] = {program.absolutePath(), QDir::cleanPath(program.absoluteFilePath(
                                                           QStringLiteral(SLABWISE_DATA_FROM_BIN)))};
    for (const QString& folder : folders) {
        const QFileInfo guide{QDir(folder).filePath(QLatin1String(UserGuideName))};
        if (guide.isFile()) return guide.absoluteFilePath();
    }
    return {};
}

QString GetUserDataFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) return {};
    QString folder = WithSeparator(base) + QLatin1String(ProductName) + QLatin1Char('/');
    QDir().mkpath(folder);
    return folder;
}

void LoadWindowPlacement(QWidget& window) {
    QSettings settings{QLatin1String(MakerName), QLatin1String(ProductName)};
    if (!settings.childGroups().contains(QStringLiteral("WinPos"))) return;
    settings.beginGroup(QStringLiteral("WinPos"));
    bool ok = false;
    auto value = [&](const char* key) {
        ok = settings.contains(QLatin1String(key));
        return ok ? settings.value(QLatin1String(key)).toInt(&ok) : 0;
    };
    if (const int left = value("Left"); ok) window.move(left, window.y());
    if (const int top = value("Top"); ok) window.move(window.x(), top);
    if (const int width = value("Width"); ok) window.resize(width, window.height());
    if (const int height = value("Height"); ok) window.resize(window.width(), height);
    if (const int state = value("WinState"); ok) {
        Qt::WindowStates states = window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        if (state == 1) states |= Qt::WindowMinimized;
        if (state == 2) states |= Qt::WindowMaximized;
        window.setWindowState(states);
    }
}

void SaveWindowPlacement(const QWidget& window) {
    QSettings settings{QLatin1String(MakerName), QLatin1String(ProductName)};
    settings.beginGroup(QStringLiteral("WinPos"));
    const Qt::WindowStates states = window.windowState();
    const int state = states.testFlag(Qt::WindowMinimized) ? 1 : states.testFlag(Qt::WindowMaximized) ? 2 : 0;
    settings.setValue(QStringLiteral("WinState"), state);
    if (state == 0) {
        // The frame position pairs with move(); the size is the window's own,
        // since the frame's extent is unknown before the window is shown.
        settings.setValue(QStringLiteral("Left"), window.x());
        settings.setValue(QStringLiteral("Top"), window.y());
        settings.setValue(QStringLiteral("Width"), window.width());
        settings.setValue(QStringLiteral("Height"), window.height());
    }
}

} // namespace slabwise
