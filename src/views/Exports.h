#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <string>

class QPainter;
class QWidget;

namespace slabwise {

// How an export asks for its file and reports a failure. The windows use the
// Qt dialogs; tests script both.
struct TExportPrompts {
    // An empty result means the user cancelled; selectedFilter receives the
    // filter the user left chosen.
    std::function<QString(QWidget* parent, const QString& caption, const QString& filter,
                          QString* selectedFilter)>
        AskFileName;
    std::function<void(QWidget* parent, const QString& text)> ShowError;
};
TExportPrompts QtExportPrompts();

inline const char* const CsvFileFilter = "CSV files (*.csv)";
inline const char* const PictureFileFilter = "PNG pictures (*.png);;SVG drawings (*.svg)";

// Draws a picture again as vectors, at the size of its bitmap.
using TVectorDrawing = std::function<void(QPainter& painter)>;

// Writes the bytes to the file whole or not at all: an existing file is only
// replaced once everything is written. Returns an error text, empty on success.
QString WriteWholeFile(const QString& fileName, const QByteArray& bytes);
// PNG, or SVG when the name ends in ".svg": drawn by `vector` when given, so
// lines and text stay vectors, else the bitmap embedded. An error text,
// empty on success.
QString SavePicture(const QString& fileName, const QImage& bitmap, const TVectorDrawing& vector = {});
// The SVG document of a picture, as SavePicture writes it.
QByteArray PictureSvg(const QImage& bitmap, const TVectorDrawing& vector, const QString& title);

// The commands behind "Save Picture As..." and "Export CSV...": ask for the
// file (the chosen filter's extension added when the name has none), write it,
// show any failure. Return whether a file was written.
bool SavePictureAs(QWidget* parent, const TExportPrompts& prompts, const QImage& bitmap,
                   const TVectorDrawing& vector = {});
bool ExportCsvAs(QWidget* parent, const TExportPrompts& prompts, const std::string& csv);

// Puts the picture on the clipboard as an image.
void CopyPictureToClipboard(const QImage& bitmap);

} // namespace slabwise
