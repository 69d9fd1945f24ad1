#include "VersionFoldersPlacement.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace slabwise {

namespace {

constexpr size_t MagicSize = 16;

// The record every executable linking this library carries: a marker that
// occurs nowhere else in the file, then four little-endian 32-bit numbers.
struct TVersionRecord {
    char Magic[MagicSize];
    uint32_t Numbers[4];
};

[[gnu::used]] constinit const TVersionRecord VersionRecord{
    {'\x7f', 'S', 'L', 'A', 'B', 'W', 'I', 'S', 'E', '-', 'F', 'V', 'E', 'R', '\x01', '\x00'},
    {SLABWISE_VERSION_MAJOR, SLABWISE_VERSION_MINOR, SLABWISE_VERSION_PATCH, SLABWISE_VERSION_TWEAK}};

[[noreturn]] void NoVersion(const std::filesystem::path& path) {
    throw std::runtime_error("Can't get file version information for " + path.string());
}

uint32_t ReadLittleEndian(const char* bytes) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

QString WithSeparator(QString folder) {
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

} // namespace

std::string VersionRecordBytes(const TFileVersion& version) {
    std::string bytes(VersionRecord.Magic, MagicSize);
    for (uint32_t number : version)
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((number >> (8 * i)) & 0xff));
    return bytes;
}

TFileVersion GetFileVersion(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) NoVersion(path);
    const std::string_view magic(VersionRecord.Magic, MagicSize);
    constexpr size_t RecordSize = sizeof(TVersionRecord);
    constexpr size_t ChunkSize = size_t{1} << 20;
    // Chunks overlap by a record less one byte, so a record split across two
    // reads is still found.
    std::vector<char> buffer(ChunkSize + RecordSize);
    size_t kept = 0;
    while (in) {
        in.read(buffer.data() + kept, static_cast<std::streamsize>(ChunkSize));
        const size_t filled = kept + static_cast<size_t>(in.gcount());
        const std::string_view view(buffer.data(), filled);
        for (size_t at = view.find(magic); at != std::string_view::npos; at = view.find(magic, at + 1)) {
            if (at + RecordSize > filled) break;
            const char* numbers = buffer.data() + at + MagicSize;
            return {ReadLittleEndian(numbers), ReadLittleEndian(numbers + 4), ReadLittleEndian(numbers + 8),
                    ReadLittleEndian(numbers + 12)};
        }
        kept = std::min(filled, RecordSize - 1);
        std::memmove(buffer.data(), buffer.data() + filled - kept, kept);
    }
    NoVersion(path);
}

QString GetVersionText(const std::filesystem::path& path) {
    const TFileVersion version = GetFileVersion(path);
    return QStringLiteral("%1.%2.%3").arg(version[0]).arg(version[1]).arg(version[2]);
}

QString GetVersionText() {
    return GetVersionText(std::filesystem::path("/proc/self/exe"));
}

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
