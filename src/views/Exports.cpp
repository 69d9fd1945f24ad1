#include "Exports.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace slabwise {

TExportPrompts QtExportPrompts() {
    return {
        [](QWidget* parent, const QString& caption, const QString& filter, QString* selectedFilter) {
            return QFileDialog::getSaveFileName(parent, caption, QString(), filter, selectedFilter);
        },
        [](QWidget* parent, const QString& text) {
            QMessageBox::warning(parent, QGuiApplication::applicationDisplayName(), text);
        },
    };
}

QString WriteWholeFile(const QString& fileName, const QByteArray& bytes) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("Cannot write %1: %2")
            .arg(QDir::toNativeSeparators(fileName), file.errorString());
    return {};
}

QByteArray PictureSvg(const QImage& bitmap, const TVectorDrawing& vector, const QString& title) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(bitmap.size());
    generator.setViewBox(QRect(QPoint(0, 0), bitmap.size()));
    // Text sized for the screen keeps its size against the picture.
    generator.setResolution(bitmap.logicalDpiX());
    generator.setTitle(title);
    QPainter painter(&generator);
    if (vector)
        vector(painter);
    else
        painter.drawImage(QPoint(0, 0), bitmap);
    painter.end();
    return buffer.data();
}

QString SavePicture(const QString& fileName, const QImage& bitmap, const TVectorDrawing& vector) {
    if (bitmap.isNull()) return QStringLiteral("There is no picture to save.");
    QByteArray bytes;
    if (QFileInfo(fileName).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        bytes = PictureSvg(bitmap, vector, QFileInfo(fileName).completeBaseName());
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!bitmap.save(&buffer, "PNG")) return QStringLiteral("The picture could not be encoded.");
    }
    return WriteWholeFile(fileName, bytes);
}

namespace {

// The name the user chose, with the extension of the chosen filter ("Name
// (*.ext)") added when it has none, or for pictures none of theirs.
QString WithExtension(const QString& fileName, const QString& filter, bool picture) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (picture ? suffix == QLatin1String("png") || suffix == QLatin1String("svg") : !suffix.isEmpty())
        return fileName;
    const qsizetype star = filter.indexOf(QLatin1String("(*."));
    const qsizetype close = filter.indexOf(QLatin1Char(')'), star);
    return fileName + QLatin1Char('.') + filter.mid(star + 3, close - star - 3);
}

} // namespace

bool SavePictureAs(QWidget* parent, const TExportPrompts& prompts, const QImage& bitmap,
                   const TVectorDrawing& vector) {
    QString filter = QString::fromLatin1(PictureFileFilter).section(QStringLiteral(";;"), 0, 0);
    const QString chosen = prompts.AskFileName(parent, QStringLiteral("Save Picture As"),
                                               QLatin1String(PictureFileFilter), &filter);
    if (chosen.isEmpty()) return false;
    const QString error = SavePicture(WithExtension(chosen, filter, true), bitmap, vector);
    if (!error.isEmpty()) prompts.ShowError(parent, error);
    return error.isEmpty();
}

bool ExportCsvAs(QWidget* parent, const TExportPrompts& prompts, const std::string& csv) {
    QString filter = QLatin1String(CsvFileFilter);
    const QString chosen =
        prompts.AskFileName(parent, QStringLiteral("Export CSV"), QLatin1String(CsvFileFilter), &filter);
    if (chosen.isEmpty()) return false;
    const QString error =
        WriteWholeFile(WithExtension(chosen, filter, false), QByteArray::fromStdString(csv));
    if (!error.isEmpty()) prompts.ShowError(parent, error);
    return error.isEmpty();
}

void CopyPictureToClipboard(const QImage& bitmap) {
    if (!bitmap.isNull()) QGuiApplication::clipboard()->setImage(bitmap);
}

} // namespace slabwise
