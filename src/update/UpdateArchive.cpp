#include "UpdateArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <zip.h>

#include <sys/stat.h>

#include <memory>

namespace slabwise {

namespace {

struct TZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct TZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

bool IsSymbolicLink(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0) return true;
    if (system != ZIP_OPSYS_UNIX) return false;
    return ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

void EmptyFolder(const QString& folder) {
    QDir dir(folder);
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(entry.absoluteFilePath());
    }
}

TUnpackOutcome Extract(zip_t* archive, zip_int64_t count, const QString& folder, const TUnpackLimits& limits,
                       TUnpackProgress* progress) {
    const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) + QLatin1Char('/');
    qint64 written = 0;
    QByteArray block(qsizetype{64} * 1024, Qt::Uninitialized);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const QString name = QString::fromUtf8(zip_get_name(archive, index, ZIP_FL_ENC_GUESS));
        const QString target = QDir::cleanPath(root + name);
        if (!(target + QLatin1Char('/')).startsWith(root) || target + QLatin1Char('/') == root)
            return {TUnpackResult::RefusedEntry, name};
        if (name.endsWith(QLatin1Char('/'))) {
            if (!QDir().mkpath(target)) return {TUnpackResult::WriteFailed, name};
            continue;
        }
        if (!QDir().mkpath(QFileInfo(target).path())) return {TUnpackResult::WriteFailed, name};
        std::unique_ptr<zip_file_t, TZipFileCloser> in(zip_fopen_index(archive, index, 0));
        QFile out(target);
        if (!in || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {TUnpackResult::WriteFailed, name};
        for (;;) {
            const zip_int64_t read =
                zip_fread(in.get(), block.data(), static_cast<zip_uint64_t>(block.size()));
            if (read < 0) return {TUnpackResult::WriteFailed, name};
            if (read == 0) break;
            if (progress && progress->Cancel) return {TUnpackResult::Cancelled, name};
            // The sizes an archive declares are not trusted; the bytes are
            // counted as they come.
            written += read;
            if (written > limits.MaxTotalBytes) return {TUnpackResult::TooLarge, name};
            if (out.write(block.constData(), read) != read) return {TUnpackResult::WriteFailed, name};
            if (progress) progress->Written = written;
        }
        out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                           QFileDevice::ReadOther);
    }
    return {};
}

} // namespace

bool SafeEntryName(const QString& name) {
    if (name.isEmpty()) return false;
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\'))) return false;
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(name).hasMatch()) return false;
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    for (const QString& segment : name.split(separators))
        if (segment == QLatin1String("..")) return false;
    return true;
}

TUnpackOutcome UnpackArchive(const QString& archiveFile, const QString& folder, const TUnpackLimits& limits,
                             TUnpackProgress* progress) {
    int error = 0;
    std::unique_ptr<zip_t, TZipCloser> archive(
        zip_open(QFile::encodeName(archiveFile).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) return {TUnpackResult::NotAnArchive, {}};
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count < 0) return {TUnpackResult::NotAnArchive, {}};
    if (count > limits.MaxEntries) return {TUnpackResult::TooManyEntries, {}};

    // Every entry is judged before the first byte is written.
    qint64 declared = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const char* raw = zip_get_name(archive.get(), index, ZIP_FL_ENC_GUESS);
        const QString name = raw ? QString::fromUtf8(raw) : QString();
        if (!raw || !SafeEntryName(name) || IsSymbolicLink(archive.get(), index))
            return {TUnpackResult::RefusedEntry, name};
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), index, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
            declared += static_cast<qint64>(std::min<zip_uint64_t>(stat.size, zip_uint64_t{1} << 62));
            if (declared > limits.MaxTotalBytes) return {TUnpackResult::TooLarge, name};
        }
    }
    if (progress) progress->Declared = declared;
    TUnpackOutcome outcome = Extract(archive.get(), count, folder, limits, progress);
    if (outcome.Result != TUnpackResult::Unpacked) EmptyFolder(folder);
    return outcome;
}

} // namespace slabwise
