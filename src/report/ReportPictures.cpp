// The blocks of the report that are pictures: drawings, the results table
// and the graphs.

#include "Report.h"
#include "model/JpegImage.h"
#include "views/DiagramDraw.h"
#include "views/Graphs.h"
#include "views/Tables.h"

#include <QGuiApplication>
#include <QPainter>

#include <cmath>
#include <memory>

namespace slabwise {

namespace {

int Pixels(double inches) {
    return static_cast<int>(std::lround(inches * ReportPixelsPerInch));
}

// The drawings are made at the size of the image handed to them, in a
// colour image of their own; a one-bit image asks for the size without
// taking megabytes that would lie unused under the drawing's own.
QImage SizeOf(double width, double height) {
    return QImage(Pixels(width), Pixels(height), QImage::Format_Mono);
}

// The views frame their pictures; on paper the frame goes.
void EraseFrame(QImage& picture) {
    if (picture.isNull()) return;
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, picture.width() - 1, picture.height() - 1);
}

// Rows top to top + height of a picture, sharing its pixels instead of
// copying them: the band keeps the whole picture alive while any copy of the
// band is in use (a print preview keeps its pictures after the page).
QImage Band(const QImage& picture, int top, int height) {
    if (picture.isNull() || top < 0 || height <= 0 || top + height > picture.height()) return {};
    auto whole = std::make_unique<QImage>(picture);
    const QImage band(
        whole->constScanLine(top), whole->width(), height, whole->bytesPerLine(), whole->format(),
        [](void* kept) { const std::unique_ptr<QImage> owned(static_cast<QImage*>(kept)); }, whole.get());
    if (!band.isNull()) whole.release();
    return band;
}

// Places a picture from x1 to x2 at the current line, its height by its
// aspect ratio; returns the bottom, or the top when there is nothing to
// place (a view with nothing to draw).
double Place(ReportCanvas& canvas, const QImage& picture, double x1, double x2) {
    const double top = canvas.CurrentY();
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return top;
    const double bottom = top + (x2 - x1) * picture.height() / picture.width();
    canvas.DrawPicture(x1, top, x2, bottom, picture);
    return bottom;
}

void BoldCentered(ReportCanvas& canvas, const QString& text) {
    canvas.SetBold(true);
    canvas.PrintCentered(text, canvas.PageWidth() / 2);
    canvas.SetBold(false);
    canvas.NewLine();
}

// Room kept above the paper's bottom edge for the footer's rule and line.
constexpr double FooterRoom = 0.65;

// A drawing offered the rest of the page at the text width, down to the
// footer: a tall loading drawing (many lanes) is fitted above it instead of
// running under the footer's text.
void RestOfPage(ReportCanvas& canvas, const TMatData& model, TDiagramKind kind) {
    const double width = canvas.PageWidth() - canvas.MarginLeft - canvas.MarginRight;
    const double height = std::max(0.0, canvas.PageHeight() - FooterRoom - canvas.CurrentY());
    QImage picture = SizeOf(width, height);
    DrawDiagramToBitmap(picture, model, kind);
    EraseFrame(picture);
    const double bottom = Place(canvas, picture, canvas.MarginLeft, canvas.PageWidth() - canvas.MarginRight);
    canvas.SetPosition(canvas.MarginLeft, bottom);
}

void TableHeading(ReportCanvas& canvas, const QStringList& captions, const QString& title) {
    canvas.SetFont(QString::fromLatin1(ReportFontFace), 12);
    canvas.SetBold(true);
    canvas.PrintText(title);
    canvas.SetFont(QString::fromLatin1(ReportFontFace), 10);
    canvas.NewLine();
    canvas.NewLine();
    // Each caption splits at its first comma: the name above, the unit below.
    canvas.SetBold(true);
    for (int c = 1; c < captions.size(); ++c) {
        const QString& caption = captions[c];
        const qsizetype comma = caption.indexOf(QLatin1Char(','));
        canvas.PrintInTab(comma < 0 ? caption : caption.left(comma));
    }
    canvas.NewLine();
    for (int c = 1; c < captions.size(); ++c) {
        const QString& caption = captions[c];
        const qsizetype comma = caption.indexOf(QLatin1Char(','));
        canvas.PrintInTab(comma < 0 ? QString() : caption.mid(comma + 2));
    }
    canvas.SetBold(false);
    canvas.NewLine();
}

} // namespace

QImage ReportSystem1DecodeImage(const QByteArray& data, const QString& kind) {
    if (kind == QLatin1String("JPG")) {
        try {
            const TJpegImage jpeg = TJpegImage::FromJpegBytes(std::vector<uint8_t>(data.begin(), data.end()));
            const TRgbPixels pixels = jpeg.Decode();
            return QImage(pixels.Rgb.data(), pixels.Width, pixels.Height, qsizetype{pixels.Width} * 3,
                          QImage::Format_RGB888)
                .copy();
        } catch (const EJpegError&) {
            return {};
        }
    }
    if (kind == QLatin1String("BMP")) return QImage::fromData(data, "BMP");
    return {};
}

void PrintDrawingsPage(ReportCanvas& canvas, const TMatData& model) {
    canvas.SetFont(QString::fromLatin1(ReportFontFace), 10);
    const double width = canvas.PageWidth() - canvas.MarginLeft - canvas.MarginRight;
    const double height = ((canvas.PageHeight() - 2 * canvas.MarginTop) - 4 * canvas.LineHeight()) * 0.5;
    {
        // Let go before the loading drawing, which then reuses its memory.
        QImage p = SizeOf(width, height);
        const int planBottom = DrawPlanSectionToBitmap(p, model);
        EraseFrame(p);
        const bool drawn = !p.isNull() && planBottom > 0 && planBottom <= p.height();

        // Within the text margins, at the pixels per inch it was drawn for.
        const double x1 = canvas.MarginLeft;
        const double x2 = canvas.PageWidth() - canvas.MarginRight;
        BoldCentered(canvas, QStringLiteral("Plan"));
        const double planEnd = Place(canvas, drawn ? Band(p, 0, planBottom) : QImage(), x1, x2);
        canvas.SetPosition(x1, planEnd);
        canvas.NewLine();
        canvas.NewLine();
        BoldCentered(canvas, QStringLiteral("Cross Section"));
        const double sectionEnd =
            Place(canvas, drawn ? Band(p, planBottom, p.height() - planBottom) : QImage(), x1, x2);
        canvas.SetPosition(canvas.MarginLeft, sectionEnd);
    }
    canvas.NewLine();
    canvas.NewLine();
    canvas.NewLine();
    BoldCentered(canvas, QStringLiteral("Loading"));
    RestOfPage(canvas, model, dkLoading);
}

void PrintReinforcementDrawing(ReportCanvas& canvas, const TMatData& model) {
    BoldCentered(canvas, QStringLiteral("Reinforcement"));
    RestOfPage(canvas, model, dkReinforcement);
}

void PrintResultsTable(ReportCanvas& canvas, const TMatData& model, uint8_t unitSystem) {
    canvas.ClearTabs();
    canvas.AddTab(1.0, TJustify::Center, 0.6);
    for (int i = 0; i < 6; ++i) canvas.AddTab(ReportCanvas::AfterPrevious, TJustify::Center, 0.9);
    // The texts exactly as the table window shows them.
    const TResultsTableTexts table = ResultsTableTexts(model.Stations, unitSystem);
    TableHeading(canvas, table.Captions, QStringLiteral("Table of Results - Nodes 1 to 50"));
    const int rows = static_cast<int>(table.Rows.size());
    for (int r = 0; r < rows; ++r) {
        if (r == 50) {
            canvas.NewPage();
            TableHeading(canvas, table.Captions, QStringLiteral("Table of Results - Nodes 51 to 101"));
        }
        const QStringList& row = table.Rows[static_cast<size_t>(r)];
        for (int c = 1; c < row.size(); ++c) {
            canvas.PrintInTab(row[c], TFit::Shrink);
            canvas.SetFontColor(Qt::black);
        }
        canvas.NewLine();
    }
}

void PrintGraphsPage(ReportCanvas& canvas, const TMatData& model) {
    // The graphs in the program's font, on white, larger than on screen.
    TGraphPictures graphs(QGuiApplication::font(), Qt::white);
    graphs.KeepVectors = false;
    const double r =
        (canvas.PageWidth() - 1.0) / ((canvas.PageHeight() - 1.2 - 10 * canvas.LineHeight()) / 4);
    graphs.PrepareForPrint(r);
    // One above the other, the four distance axes line up: every plot as
    // far from the left as the one whose value labels take the most room.
    graphs.Chart1.PlotLeft = graphs.WidestPlotLeft(model);
    graphs.ShowResults(model, TGraphPictures::grAll);
    double h = 0;
    for (uint8_t k = 0; k < 4; ++k) {
        QImage g = graphs.Picture(static_cast<uint8_t>(TGraphPictures::grShear + k))
                       .convertToFormat(QImage::Format_RGB32);
        if (g.isNull() || g.width() <= 0) continue;
        // The chart frame's left edge goes.
        {
            QPainter painter(&g);
            painter.fillRect(0, 0, std::min(2, g.width()), g.height(), Qt::white);
        }
        // All four as tall as the first.
        if (h == 0) h = (canvas.PageWidth() - 1.0) * g.height() / g.width();
        canvas.DrawPicture(0.5, 0.5 + k * h, canvas.PageWidth() - 0.5, 0.5 + (k + 1) * h, g);
    }
    canvas.SetPosition(canvas.MarginLeft, 0.5 + 4 * h);
}

} // namespace slabwise
