#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPointF>
#include <QStaticText>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace slabwise {

// A colour written as 0x00BBGGRR, the way the drawings' palette is kept.
QColor WinColor(uint32_t bgr);

// A stateful 2-D canvas on a QImage: pen, brush, font and text colour persist
// from one call to the next, as the drawing code expects. Rectangles and
// ellipses are given by their corners (left, top, right, bottom); text is
// placed by the top-left corner of its cell. Shapes are drawn aliased so
// lines stay one pen wide on the pixel grid; only text is smoothed.
// A mirror painter, when given, receives every shape and text as well, so the
// same drawing can be kept as vectors (pixels are read from the image alone).
class TDiagramCanvas {
public:
    explicit TDiagramCanvas(QImage& image, QPainter* mirror = nullptr);
    TDiagramCanvas(const TDiagramCanvas&) = delete;
    // Everything drawn from now on lands at origin + zoom x (x, y) of the
    // image, and pixels are read there too: a picture laid out for a larger
    // frame can be set into a smaller bitmap, or moved within it.
    void SetView(QPointF origin, double zoom);
    TDiagramCanvas& operator=(const TDiagramCanvas&) = delete;

    void SetPen(QColor color, int width);
    void SetPenColor(QColor color);
    void SetPenWidth(int width);
    void SetPenNone();
    bool PenVisible() const { return penVisible_; }
    void SetBrush(QColor color, Qt::BrushStyle style = Qt::SolidPattern);
    void SetBrushColor(QColor color) { brushColor_ = color; }
    QColor BrushColor() const { return brushColor_; }
    // Hatch patterns grow with the pen, so a large picture's hatch keeps the
    // weight of a small one's.
    void SetPatternScale(int scale) { patternScale_ = std::max(1, scale); }

    // Negative: the character height (em) in pixels; positive: the cell
    // height (ascent + descent) in pixels.
    void SetFontHeight(int height);
    int FontHeight() const { return fontHeight_; }
    // A font turned 90 degrees, reading bottom to top.
    void SetFontRotated(bool rotated) { rotated_ = rotated; }
    bool FontRotated() const { return rotated_; }
    void SetFontColor(QColor color) { fontColor_ = color; }
    QColor FontColor() const { return fontColor_; }
    // Opaque text fills its cell with the brush colour first.
    void SetTextOpaque(bool opaque) { textOpaque_ = opaque; }
    bool TextOpaque() const { return textOpaque_; }

    void FillRect(int left, int top, int right, int bottom);
    // White, whatever the brush.
    void Blank(int left, int top, int right, int bottom);
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    void Polygon(const std::vector<QPoint>& points);
    void MoveTo(int x, int y) { position_ = QPoint(x, y); }
    void LineTo(int x, int y);
    void Line(int x1, int y1, int x2, int y2) {
        MoveTo(x1, y1);
        LineTo(x2, y2);
    }
    // The part of the ellipse in the box from the ray through (xs, ys)
    // counter-clockwise to the ray through (xe, ye).
    void Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);

    void TextOut(int x, int y, const QString& text);
    int TextWidth(const QString& text);
    int TextHeight(const QString& text);
    // Outside the image reads as white.
    QColor Pixel(int x, int y) const;

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }

private:
    const QFont& Font();
    const QFontMetrics& Metrics();
    QPen CurrentPen() const;
    QBrush CurrentBrush() const;
    template <class F> void Paint(F&& draw) {
        draw(painter_);
        if (mirror_) draw(*mirror_);
    }

    QImage& image_;
    QPainter painter_;
    QPainter* mirror_ = nullptr;
    QString family_;

    QColor penColor_ = Qt::black;
    int penWidth_ = 1;
    bool penVisible_ = true;
    QColor brushColor_ = Qt::white;
    Qt::BrushStyle brushStyle_ = Qt::SolidPattern;
    int patternScale_ = 1;

    int fontHeight_ = -10;
    bool rotated_ = false;
    QColor fontColor_ = Qt::black;
    bool textOpaque_ = false;
    QPoint position_;

    QPointF origin_;
    double zoom_ = 1;

    // Fonts resolved per family and height, with the widths of the texts
    // measured in them, kept for the thread: every redraw measures the same
    // labels again, and shaping a text costs more than drawing it.
    struct TResolvedFont {
        QFont font;
        QFontMetrics metrics;
        QHash<QString, int> widths;
        // Texts laid out once for drawing, as labels are drawn again at
        // every redraw.
        QHash<QString, QStaticText> laidOut;
    };
    TResolvedFont* current_ = nullptr;
};

} // namespace slabwise
