#include "DiagramCanvas.h"

#include <QGuiApplication>
#include <QPen>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace slabwise {

QColor WinColor(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

TDiagramCanvas::TDiagramCanvas(QImage& image, QPainter* mirror)
    : image_(image), mirror_(mirror), family_(QGuiApplication::font().family()) {
    painter_.begin(&image_);
    Paint([](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setBackgroundMode(Qt::TransparentMode);
    });
}

void TDiagramCanvas::SetView(QPointF origin, double zoom) {
    origin_ = origin;
    zoom_ = zoom > 0 ? zoom : 1;
    Paint([&](QPainter& painter) {
        painter.resetTransform();
        painter.translate(origin_);
        painter.scale(zoom_, zoom_);
    });
}

void TDiagramCanvas::SetPen(QColor color, int width) {
    penColor_ = color;
    penWidth_ = std::max(1, width);
    penVisible_ = true;
}

void TDiagramCanvas::SetPenColor(QColor color) {
    penColor_ = color;
    penVisible_ = true;
}

void TDiagramCanvas::SetPenWidth(int width) {
    penWidth_ = std::max(1, width);
}

void TDiagramCanvas::SetPenNone() {
    penVisible_ = false;
}

void TDiagramCanvas::SetBrush(QColor color, Qt::BrushStyle style) {
    brushColor_ = color;
    brushStyle_ = style;
}

QPen TDiagramCanvas::CurrentPen() const {
    if (!penVisible_) return QPen(Qt::NoPen);
    QPen pen(penColor_, penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

QBrush TDiagramCanvas::CurrentBrush() const {
    return QBrush(brushColor_, brushStyle_);
}

void TDiagramCanvas::FillRect(int left, int top, int right, int bottom) {
    Paint([&](QPainter& painter) {
        painter.fillRect(QRectF(left, top, right - left, bottom - top), CurrentBrush());
    });
}

void TDiagramCanvas::Blank(int left, int top, int right, int bottom) {
    Paint([&](QPainter& painter) {
        painter.fillRect(QRectF(left, top, right - left, bottom - top), Qt::white);
    });
}

void TDiagramCanvas::Rectangle(int left, int top, int right, int bottom) {
    Paint([&](QPainter& painter) {
        painter.setPen(CurrentPen());
        painter.setBrush(CurrentBrush());
        painter.drawRect(QRectF(left, top, right - left, bottom - top).normalized());
    });
}

void TDiagramCanvas::Ellipse(int left, int top, int right, int bottom) {
    // A filled ellipse of a few pixels rasterises to nothing or to a speck;
    // a bar's dot must still show, so small ones are filled squares.
    if (!penVisible_ && std::abs(right - left) <= 2 && std::abs(bottom - top) <= 2) {
        FillRect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom));
        return;
    }
    Paint([&](QPainter& painter) {
        painter.setPen(CurrentPen());
        painter.setBrush(CurrentBrush());
        painter.drawEllipse(QRectF(left, top, right - left, bottom - top).normalized());
    });
}

void TDiagramCanvas::Polygon(const std::vector<QPoint>& points) {
    Paint([&](QPainter& painter) {
        painter.setPen(CurrentPen());
        painter.setBrush(CurrentBrush());
        painter.drawPolygon(points.data(), static_cast<int>(points.size()));
    });
}

void TDiagramCanvas::LineTo(int x, int y) {
    if (penVisible_) {
        Paint([&](QPainter& painter) {
            painter.setPen(CurrentPen());
            painter.drawLine(position_, QPoint(x, y));
        });
    }
    position_ = QPoint(x, y);
}

void TDiagramCanvas::Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) {
    if (!penVisible_) return;
    const double cx = (left + right) / 2.0;
    const double cy = (top + bottom) / 2.0;
    // Screen y grows downward; angles here grow counter-clockwise on screen.
    const double degrees = 180.0 / std::numbers::pi;
    const double start = std::atan2(cy - ys, xs - cx) * degrees;
    double span = std::atan2(cy - ye, xe - cx) * degrees - start;
    while (span <= 0) span += 360;
    while (span > 360) span -= 360;
    Paint([&](QPainter& painter) {
        painter.setPen(CurrentPen());
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(left, top, right - left, bottom - top).normalized(),
                        static_cast<int>(std::lround(start * 16)), static_cast<int>(std::lround(span * 16)));
    });
}

void TDiagramCanvas::SetFontHeight(int height) {
    if (height != fontHeight_) current_ = nullptr;
    fontHeight_ = height;
}

const QFont& TDiagramCanvas::Font() {
    if (!current_) Metrics();
    return current_->font;
}

const QFontMetrics& TDiagramCanvas::Metrics() {
    if (current_) return current_->metrics;
    thread_local std::map<std::pair<QString, int>, TResolvedFont> resolved;
    const auto key = std::make_pair(family_, fontHeight_);
    auto found = resolved.find(key);
    if (found == resolved.end()) {
        QFont font(family_);
        if (fontHeight_ < 0) {
            font.setPixelSize(-fontHeight_);
        } else if (fontHeight_ > 0) {
            // The largest character height whose cell still fits the height
            // asked for; a first guess from the face's proportions.
            QFont probe(family_);
            probe.setPixelSize(100);
            const int cellAt100 = std::max(1, QFontMetrics(probe).height());
            int size = std::max(1, fontHeight_ * 100 / cellAt100 + 1);
            font.setPixelSize(size);
            while (size > 1 && QFontMetrics(font).height() > fontHeight_) font.setPixelSize(--size);
        }
        found = resolved.emplace(key, TResolvedFont{font, QFontMetrics(font), {}, {}}).first;
    }
    current_ = &found->second;
    return current_->metrics;
}

int TDiagramCanvas::TextWidth(const QString& text) {
    const QFontMetrics& metrics = Metrics();
    QHash<QString, int>& widths = current_->widths;
    if (const auto known = widths.constFind(text); known != widths.cend()) return *known;
    // A bound on what one font keeps, far above the labels of one project.
    if (widths.size() > 4096) widths.clear();
    const int width = metrics.horizontalAdvance(text);
    widths.insert(text, width);
    return width;
}

int TDiagramCanvas::TextHeight(const QString& text) {
    Q_UNUSED(text);
    return Metrics().height();
}

void TDiagramCanvas::TextOut(int x, int y, const QString& text) {
    const QFontMetrics& metrics = Metrics();
    const QFont& font = Font();
    const int width = TextWidth(text);
    QHash<QString, QStaticText>& laidOut = current_->laidOut;
    auto found = laidOut.find(text);
    if (found == laidOut.end()) {
        if (laidOut.size() > 4096) laidOut.clear();
        QStaticText prepared(text);
        prepared.setTextFormat(Qt::PlainText);
        prepared.prepare(QTransform(), font);
        found = laidOut.insert(text, prepared);
    }
    const QStaticText& prepared = *found;
    Paint([&](QPainter& painter) {
        painter.save();
        painter.translate(x, y);
        if (rotated_) painter.rotate(-90);
        if (textOpaque_) painter.fillRect(QRect(0, 0, width, metrics.height()), brushColor_);
        painter.setPen(fontColor_);
        painter.setFont(font);
        // The static text's position is the top of its line, where the
        // cell starts.
        painter.drawStaticText(QPointF(0, 0), prepared);
        painter.restore();
    });
}

QColor TDiagramCanvas::Pixel(int x, int y) const {
    const int ix = static_cast<int>(std::floor(origin_.x() + zoom_ * x));
    const int iy = static_cast<int>(std::floor(origin_.y() + zoom_ * y));
    if (!image_.valid(ix, iy)) return Qt::white;
    return QColor(image_.pixel(ix, iy));
}

} // namespace slabwise
