#include "DiagramDraw.h"

#include "DiagramCanvas.h"
#include "DiagramPalette.h"
#include "DiagramPixels.h"
#include "LocaleNumber.h"
#include "model/Units.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

namespace slabwise {

namespace {

using pixels::Trunc;
using namespace palette;

// Lines of these colours are looked past when sampling what lies behind a text.
bool IsLineColour(QColor c) {
    const QRgb rgb = c.rgb() & 0xFFFFFF;
    return rgb == 0x808080 || rgb == 0x000000 || rgb == 0xC0C0C0;
}

QColor Contrasting(QColor background) {
    return background.red() + background.green() + background.blue() <= 384 ? Qt::white : Qt::black;
}

// Width of a text as TextOutSuper writes it: each "^" and the character it
// raises take the raised character's width only.
int SuperWidth(TDiagramCanvas& canvas, const QString& text) {
    QString shown = text;
    shown.remove(QLatin1Char('^'));
    return canvas.TextWidth(shown);
}

// The drawing bitmap cut to the finished picture's size. A view that runs
// past the bottom (a thick strip at the loading view's horizontal scale) drew
// nothing there, so the picture never grows beyond the bitmap.
QImage Finished(const QImage& drawn, int width, int height) {
    width = std::min(width, drawn.width());
    height = std::min(height, drawn.height());
    if (width <= 0 || height <= 0) return {};
    // The whole bitmap is shared, not copied.
    if (width == drawn.width() && height == drawn.height()) return drawn;
    return drawn.copy(0, 0, width, height);
}

} // namespace

TDiagramDraw::TDiagramDraw(const TMatData& model) : Model(model), Bitmap(600, 600, QImage::Format_RGB32) {
    Bitmap.fill(Qt::white);
}

TDiagramDraw::TDiagramDraw(const TMatData& model, QImage bitmap) : Model(model), Bitmap(std::move(bitmap)) {}

int TDiagramDraw::PenUnit() const {
    const int side = PenSide > 0 ? PenSide : std::min(Width, Height);
    return side < 600 ? 1 : 2 * (side / 600);
}

void TDiagramDraw::Draw(TDiagramKind kind) {
    switch (kind) {
    case dkPlanSection:
        DrawPlanAndSection();
        break;
    case dkLoading:
        DrawLoading();
        break;
    default:
        DrawReinforcement();
        break;
    }
}

bool TDiagramDraw::BeginView(bool drawable) {
    if (Bitmap.isNull()) return false;
    if (!drawable) {
        Bitmap.fill(Qt::white);
        return false;
    }
    Width = Bitmap.width();
    Height = FitHeight > 0 ? std::min(FitHeight, Bitmap.height()) : Bitmap.height();
    textBottom_ = 0;
    OutWidth = Width;
    OutHeight = Height;
    return true;
}

QString TDiagramDraw::FormatValue(double value, const QString& unit) {
    QString out = FormatLocaleFixed(value, 2, 8);
    // Only digits after a separator are trimmed; "N.A." and "INF" stay whole.
    if (std::isfinite(value) && out.contains(LocaleDecimalSeparator())) {
        while (out.endsWith(QLatin1Char('0'))) out.chop(1);
        if (out.endsWith(LocaleDecimalSeparator())) out.chop(1);
    }
    if (!unit.isEmpty()) out += QLatin1Char(' ') + unit;
    return out;
}

void TDiagramDraw::TextOutSuper(TDiagramCanvas& canvas, int x, int y, const QString& text) {
    // Positions along and across the text's own direction, so a rotated
    // text raises its superscripts toward its own top.
    const bool rotated = canvas.FontRotated();
    int along = 0;
    const auto write = [&](int across, const QString& part) {
        if (part.isEmpty()) return;
        if (rotated)
            canvas.TextOut(x + across, y - along, part);
        else
            canvas.TextOut(x + along, y + across, part);
        along += canvas.TextWidth(part);
    };
    const int rise = pixels::Round(canvas.TextHeight(QStringLiteral("X")) / 4.0);
    QString rest = text;
    for (qsizetype caret = rest.indexOf(QLatin1Char('^')); caret >= 0;
         caret = rest.indexOf(QLatin1Char('^'))) {
        write(0, rest.left(caret));
        write(-rise, rest.mid(caret + 1, 1));
        rest = rest.mid(caret + 2);
    }
    write(0, rest);
}

QColor TDiagramDraw::SampleBackground(const TDiagramCanvas& canvas, int x, int y) const {
    QColor c = canvas.Pixel(x, y);
    if (IsLineColour(c)) {
        c = canvas.Pixel(x - 1, y - 1);
        if (IsLineColour(c)) c = canvas.Pixel(x - 1, y + 1);
    }
    return c;
}

void TDiagramDraw::TextInBox(TDiagramCanvas& canvas, int left, int top, int right, int bottom,
                             const QString& text, TTextAlign alignment, bool haloed) {
    canvas.SetFontHeight(std::max(1, bottom - top - 2));
    const int width = SuperWidth(canvas, text);
    int offset = 1;
    if (alignment == TTextAlign::Right)
        offset = right - left - width - 1;
    else if (alignment == TTextAlign::Centre)
        offset = (right - left - width) / 2 + 1;
    canvas.SetTextOpaque(false);
    if (haloed) canvas.Blank(left + offset - 1, top, left + offset + width + 1, bottom);
    const QColor behind = SampleBackground(canvas, left + offset, top + canvas.TextHeight(text) / 2);
    canvas.SetFontColor(Contrasting(behind));
    TextOutSuper(canvas, left + offset, top, text);
}

void TDiagramDraw::DrawArrowHead(TDiagramCanvas& canvas, int x, int y, double direction, int length) {
    constexpr double pi = std::numbers::pi;
    for (const double phi : {direction + pi + pi / 14, direction + pi - pi / 14})
        canvas.Line(x, y, x + pixels::Round(std::sin(phi) * length),
                    y + pixels::Round(std::cos(phi) * length));
}

void TDiagramDraw::DrawArrow(TDiagramCanvas& canvas, int x1, int y1, int x2, int y2, int headLength,
                             bool headAtStart, bool headAtEnd) {
    canvas.Line(x1, y1, x2, y2);
    const double direction = std::atan2(double(x2 - x1), double(y2 - y1));
    if (headAtEnd) DrawArrowHead(canvas, x2, y2, direction, headLength);
    if (headAtStart) DrawArrowHead(canvas, x1, y1, direction + std::numbers::pi, headLength);
}

void TDiagramDraw::DrawDimension(TDiagramCanvas& canvas, int x1, int y1, int x2, int y2, QString text,
                                 TDimensionPlacement placement) {
    const int A = ArrowSize();
    const bool vertical = x1 == x2;
    if (!text.isEmpty()) text = QLatin1Char(' ') + text + QLatin1Char(' ');
    const int mx = x1 + (x2 - x1) / 2;
    const int my = y1 + (y2 - y1) / 2;

    const bool savedRotation = canvas.FontRotated();
    canvas.SetFontRotated(vertical);
    const int TL = SuperWidth(canvas, text);
    const int TT = canvas.TextHeight(text);
    int ax = vertical ? mx - TT / 2 : mx - TL / 2;
    int ay = vertical ? my + TL / 2 : my - TT / 2;
    const int D = vertical ? y2 - y1 : x2 - x1;

    QColor behind = SampleBackground(canvas, ax, ay);
    if ((behind.rgb() & 0xFFFFFF) == 0) behind = Qt::white;
    canvas.SetBrushColor(behind);
    canvas.SetTextOpaque(true);
    canvas.SetFontColor(Contrasting(behind));

    const bool beside = placement == TDimensionPlacement::BesideLeftOrAbove ||
                        placement == TDimensionPlacement::BesideRightOrBelow;
    if (TL < D - 3 * A || beside) {
        DrawArrow(canvas, x1, y1, x2, y2, A, true, true);
        if (TL >= D - 2 * A) {
            // Beside the line rather than over it.
            const int shift = placement == TDimensionPlacement::BesideLeftOrAbove    ? -TT
                              : placement == TDimensionPlacement::BesideRightOrBelow ? TT
                                                                                     : 0;
            if (vertical)
                ax += shift;
            else
                ay += shift;
            canvas.SetTextOpaque(false);
        }
    } else {
        // Beyond the end the placement names, unless the text would leave
        // the bitmap there while the other end has room for it.
        if (vertical) {
            DrawArrow(canvas, x1, y1 - 2 * A, x1, y1, A, false, true);
            DrawArrow(canvas, x1, y2 + 2 * A, x1, y2, A, false, true);
            const int below = y2 + A + TL, above = y1 - A;
            bool under = placement == TDimensionPlacement::OutsideBelowOrLeft;
            if (under && below > Height && above - TL >= 0) under = false;
            if (!under && above - TL < 0 && below <= Height) under = true;
            ay = under ? below : above;
            ax -= TT;
        } else {
            DrawArrow(canvas, x1 - 2 * A, y1, x1, y1, A, false, true);
            DrawArrow(canvas, x2 + 2 * A, y1, x2, y1, A, false, true);
            const int left = x1 - A - TL, right = x2 + A;
            bool before = placement == TDimensionPlacement::OutsideBelowOrLeft;
            if (before && left < 0 && right + TL <= Width) before = false;
            if (!before && right + TL > Width && left >= 0) before = true;
            ax = before ? left : right;
            ay -= TT;
        }
        canvas.SetTextOpaque(false);
    }
    TextOutSuper(canvas, ax, ay, text);
    textBottom_ = std::max(textBottom_, vertical ? ay : ay + TT);
    canvas.SetFontRotated(savedRotation);
}

void TDiagramDraw::DrawPlanAndSection() {
    const Real L = Model.StripLength, B = Model.StripWidth, T = Model.Thickness;
    if (!BeginView(pixels::Drawable(L, B, T))) return;
    TDiagramCanvas canvas(Bitmap, Vector);
    canvas.SetPatternScale(PenUnit());
    const int G = GridUnit();
    canvas.SetFontHeight(-G);

    int xL = 3 * G;
    const int xC = Width / 2;
    int xR = Width - 3 * G;
    const int yPT = 2 * G;
    const int yB = Height - 6 * G;
    Scale = (xR - xL) / double(L);
    // Plan and section together always fit the height.
    if (double(B + T) * Scale >= yB - yPT - 4 * G) Scale = (yB - yPT - 4 * G) / double(B + T);

    xL = xC - Trunc(double(L) * Scale / 2);
    xR = xC + Trunc(double(L) * Scale / 2);
    const int yPB = yPT + Trunc(double(B) * Scale);
    const int yST = yPB + 6 * G;
    const int ySB = yST + Trunc(double(T) * Scale);
    PlanBottom = yPB + 4 * G;

    const bool round = Model.Shape == 1;
    canvas.SetBrush(Qt::white);
    canvas.FillRect(0, 0, Width, Height);
    canvas.SetBrush(Soil, Qt::BDiagPattern);
    canvas.SetPenNone();
    if (round) {
        canvas.Ellipse(xL - G, yPT - G, xR + G, yPB + G);
    } else {
        // Only the band around the plan shows; hatching the plan's area
        // under its concrete costs more than the rest of the picture.
        canvas.Rectangle(xL - G, yPT - G, xR + G, yPT + G);
        canvas.Rectangle(xL - G, yPB - G, xR + G, yPB + G);
        canvas.Rectangle(xL - G, yPT - G, xL + G, yPB + G);
        canvas.Rectangle(xR - G, yPT - G, xR + G, yPB + G);
    }
    canvas.Rectangle(xL - G, ySB, xR + G, ySB + G);

    canvas.SetBrush(Silver);
    canvas.SetPen(Qt::black, PenUnit());
    canvas.Line(xL - G, ySB, xR + G, ySB);

    canvas.SetPenWidth(ThickPen());
    if (round)
        canvas.Ellipse(xL, yPT, xR, yPB);
    else
        canvas.Rectangle(xL, yPT, xR, yPB);
    canvas.Rectangle(xL, yST, xR, ySB);
    canvas.SetPenWidth(PenUnit());

    const QString unit = QString::fromStdString(UnitText(TQuantity::Length, Model.UnitSystem));
    if (!round) {
        canvas.Line(xR, yPT, xR + 3 * G, yPT);
        canvas.Line(xR, yPB, xR + 3 * G, yPB);
        DrawDimension(canvas, xR + 2 * G, yPT, xR + 2 * G, yPB, FormatValue(double(B), unit),
                      TDimensionPlacement::OutsideAboveOrRight);
    }
    canvas.Line(xL, yPB, xL, yPB + 3 * G);
    canvas.Line(xR, yPB, xR, yPB + 3 * G);
    DrawDimension(canvas, xL, yPB + 2 * G, xR, yPB + 2 * G, FormatValue(double(L), unit),
                  TDimensionPlacement::BesideRightOrBelow);

    canvas.Line(xR, yST, xR + 3 * G, yST);
    canvas.Line(xR, ySB, xR + 3 * G, ySB);
    DrawDimension(canvas, xR + 2 * G, yST, xR + 2 * G, ySB, FormatValue(double(T), unit),
                  TDimensionPlacement::OutsideBelowOrLeft);

    canvas.Line(xL, ySB, xL, ySB + 3 * G);
    canvas.Line(xR, ySB, xR, ySB + 3 * G);
    DrawDimension(canvas, xL, ySB + 2 * G, xR, ySB + 2 * G, FormatValue(double(L), unit),
                  TDimensionPlacement::BesideRightOrBelow);

    OutHeight = std::max(ySB + 4 * G, std::min(textBottom_, Height));
    canvas.SetBrush(Qt::white);
}

int SmallFontHeight() {
    // Asking the font database costs more than drawing a picture; the
    // desktop's fonts do not change while the program runs.
    static const int height =
        QFontMetrics(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont)).height();
    return height;
}

QImage DrawDiagramForScreen(QSize box, const TMatData& model, TDiagramKind kind, int minTextHeight,
                            QSize keepClear) {
    if (box.isEmpty()) return {};
    QImage shown(box, QImage::Format_RGB32);
    shown.fill(Qt::white);
    const int clearWidth = std::clamp(keepClear.width(), 0, box.width() / 4);
    const int clearHeight = std::clamp(keepClear.height(), 0, box.height() / 4);
    // Each view fits itself to the rows above the button, measuring its
    // layout first, so the picture is drawn once, straight into the box.
    TDiagramDraw draw(model, std::move(shown));
    draw.PenSide = std::min(box.width(), box.height());
    // Text boxes are one grid unit high and write their text 2 pixels
    // smaller.
    draw.MinGridUnit = minTextHeight + 2;
    draw.FitHeight = box.height() - clearHeight;
    draw.FillsHeight = true;
    draw.Draw(kind);
    shown = std::move(draw.Bitmap);
    const int bottom = std::min(draw.OutHeight, draw.FitHeight);
    if (bottom <= 0) {
        shown.fill(Qt::white);
        return shown;
    }
    const auto white = [&](int y, int from) {
        const auto* row = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
        return std::all_of(row + from, row + shown.width(),
                           [](QRgb c) { return (c & 0xFFFFFF) == 0xFFFFFF; });
    };
    int top = 0;
    while (top < bottom && white(top, 0)) ++top;
    // The lowest row drawn on under the button's columns.
    int corner = bottom - 1;
    while (corner >= top && white(corner, shown.width() - clearWidth)) --corner;
    // Centred in the box, as far as the button lets it go down.
    const int used = bottom - top;
    int shift = (box.height() - used) / 2 - top;
    if (corner >= top) shift = std::min(shift, box.height() - clearHeight - 1 - corner);
    shift = std::max(shift, -top);
    if (shift != 0 && used > 0) {
        const qsizetype line = shown.bytesPerLine();
        uchar* bits = shown.bits();
        std::memmove(bits + (top + shift) * line, bits + top * line, size_t(used * line));
        const int from = shift > 0 ? top : top + shift + used, to = shift > 0 ? top + shift : top + used;
        for (int y = std::max(0, from); y < std::min(box.height(), to); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(shown.scanLine(y)), shown.width(), QRgb(0xFFFFFFFF));
    }
    // Whatever a view drew below its bottom row (nothing, when it fits)
    // does not stay.
    for (int y = std::max(0, bottom + shift); y < box.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb*>(shown.scanLine(y)), shown.width(), QRgb(0xFFFFFFFF));
    return shown;
}

void DrawDiagramToImage(QLabel& pictureBox, const TMatData& model, TDiagramKind kind) {
    const int minText = std::max(SmallFontHeight(), QFontMetrics(pictureBox.font()).height() * 4 / 5);
    // A button laid over the box's bottom right corner, as the windows
    // place their enlarge buttons.
    QSize keepClear;
    if (const QWidget* parent = pictureBox.parentWidget()) {
        const QRect box = pictureBox.geometry();
        for (const QAbstractButton* button :
             parent->findChildren<const QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
            const QRect over = button->geometry().intersected(box);
            if (!button->isHidden() && !over.isEmpty())
                keepClear =
                    keepClear.expandedTo(QSize(box.right() - over.left() + 1, box.bottom() - over.top() + 1));
        }
    }
    pictureBox.setPixmap(
        QPixmap::fromImage(DrawDiagramForScreen(pictureBox.size(), model, kind, minText, keepClear)));
}

void DrawDiagramToBitmap(QImage& bitmap, const TMatData& model, TDiagramKind kind) {
    TDiagramDraw draw(model,
                      bitmap.size().isEmpty() ? QImage() : QImage(bitmap.size(), QImage::Format_RGB32));
    draw.Draw(kind);
    bitmap = Finished(draw.Bitmap, draw.OutWidth, draw.OutHeight);
}

void DrawDiagramToPainter(QPainter& painter, QSize size, const TMatData& model, TDiagramKind kind) {
    if (size.isEmpty()) return;
    TDiagramDraw draw(model, QImage(size, QImage::Format_RGB32));
    draw.Vector = &painter;
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    draw.Draw(kind);
}

int DrawPlanSectionToBitmap(QImage& bitmap, const TMatData& model) {
    TDiagramDraw draw(model,
                      bitmap.size().isEmpty() ? QImage() : QImage(bitmap.size(), QImage::Format_RGB32));
    draw.DrawPlanAndSection();
    bitmap = Finished(draw.Bitmap, draw.OutWidth, draw.OutHeight);
    return draw.PlanBottom;
}

} // namespace slabwise
