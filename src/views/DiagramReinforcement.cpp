// The reinforcement view: a section through the strip with both layers of
// bars, their covers and spacings.

#include "DiagramCanvas.h"
#include "DiagramDraw.h"
#include "DiagramPalette.h"
#include "DiagramPixels.h"
#include "model/Units.h"

#include <algorithm>
#include <cmath>

namespace slabwise {

using pixels::Round;
using namespace palette;

void TDiagramDraw::DrawReinforcement() {
    const Real L = Model.StripLength;
    const bool drawable = pixels::Drawable(L, Model.StripWidth, Model.Thickness) && Model.UseReinforcement &&
                          std::isfinite(Model.ThicknessIn) && Model.ThicknessIn > 0;
    if (!BeginView(drawable)) return;
    const QString mark = QString::fromStdString(DrawingMark(TDrawingMark::DesignLength, Model.UnitSystem));
    TDiagramCanvas canvas(Bitmap, Vector);
    canvas.SetPatternScale(PenUnit());
    const int G = GridUnit();
    const int PU = PenUnit();
    const int TP = ThickPen();
    canvas.SetFontHeight(-G);

    const QString topCover = FormatValue(double(Model.TopCover)) + mark;
    const QString bottomCover = FormatValue(double(Model.BottomCover)) + mark;
    const int Wc = std::max(canvas.TextWidth(topCover), canvas.TextWidth(bottomCover));

    const int xL = 2 * TP + Wc;
    const int xR = Width - 4 * G;
    const int xC = xL + (xR - xL) / 2;
    // The windows' pictures take the height they have.
    const int yT = FillsHeight ? 4 * G : 6 * G;
    const int yB = FillsHeight ? std::max(yT + G, Height - 3 * G) : Height / 2 - 6 * G;
    Scale = (yB - yT) / double(Model.ThicknessIn);
    const bool broken = (xR - xL) < double(L) * double(Model.ByUnits(12, 1000)) * Scale;

    canvas.SetBrush(Qt::white);
    canvas.FillRect(0, 0, Width, Height);
    canvas.SetFontHeight(-G);
    canvas.SetBrush(Soil, Qt::BDiagPattern);
    canvas.SetPenNone();
    canvas.Rectangle(xL - G, yB, xR + G, yB + G);
    canvas.SetBrush(Silver);
    canvas.SetPen(Qt::black, PU);
    canvas.Line(xL - G, yB, xR + G, yB);
    canvas.SetPenWidth(TP);
    canvas.Rectangle(xL, yT, xR, yB);
    canvas.SetPenWidth(PU);

    // Dots at a real pitch; one pixel at least, so a zero or absurdly small
    // spacing gives a solid row instead of an endless loop.
    const auto dots = [&](int x0, int yDot, int v, double pitch, bool up) {
        if (!std::isfinite(pitch)) return;
        const double p = std::max(pitch, 1.0);
        const int dy = up ? -v : v;
        canvas.SetPenNone();
        canvas.SetBrush(Qt::black);
        for (int j = 0; x0 + j * p < xC; ++j) {
            const int xd = x0 + Round(j * p);
            canvas.Ellipse(xd, yDot, xd + v, yDot + dy);
        }
        const int x0r = xR + xL - x0;
        for (int j = 0; x0r - j * p > xC; ++j) {
            const int xd = x0r - Round(j * p);
            canvas.Ellipse(xd, yDot, xd - v, yDot + dy);
        }
        canvas.SetPen(Qt::black, PU);
    };

    // One layer of bars against its face: s = 1 hangs the top layer below the
    // top face, s = -1 stands the bottom layer above the bottom face, which
    // also clears half the thick outline.
    const auto layer = [&](int s, int face, int barSize, Real spacing, Real cover, const QString& coverText) {
        const double d = Model.FindBar(barSize).Diameter;
        // Bars that would not lie inside the concrete are not drawn: the face
        // has no design, and its checks say why.
        if (!(cover >= 0 && double(cover) + d <= double(Model.ThicknessIn))) return;
        const double pitch = (d + double(spacing)) * Scale;
        const int v = std::max(PU, Round(d * Scale));
        const int cv = Round(double(cover) * Scale);
        const int x0 = xL + cv + v / 2;
        const int yBar = face + s * (cv + v / 2) - (s < 0 ? TP / 2 : 0);
        canvas.SetPen(Qt::black, v);
        canvas.Line(x0, yBar, xR - cv - v / 2, yBar);
        const int yDot = yBar + s * (v / 2);
        dots(x0, yDot, v, pitch, s < 0);
        const int lo = std::min(face, yDot), hi = std::max(face, yDot);
        const int yl = lo + (hi - lo - G) / 2;
        TextInBox(canvas, 0, yl, xL - 2 * TP, yl + G, coverText, TTextAlign::Right);
        const int tip = face - s * 2 * G;
        // The second leader ends on the bar: short of its end, and of the
        // break when there is one.
        int reach = std::min(6 * G, xR - cv - v / 2 - x0);
        if (broken) reach = std::min(reach, xC - G - x0);
        reach = std::max(0, reach);
        const QString label = QString::fromStdString(Model.BarLabel(barSize)) + QStringLiteral(" @ ") +
                              FormatValue(double(spacing)) + mark;
        canvas.SetFontHeight(G - 2);
        const int width = canvas.TextWidth(label);
        // The label whole inside the picture and clear of the thickness
        // dimension beyond the section's right end, its leaders meeting
        // under it.
        const int least = width / 2 + 2, most = std::max(least, xR - (width - width / 2));
        const int xTip = std::clamp(x0 + reach / 2, least, most);
        // The bar's own width may still be on the pen when no dots were drawn.
        canvas.SetPen(Red, PU);
        canvas.Line(x0 + v / 2, yDot + s * (v / 2), xTip, tip);
        if (reach > G) canvas.Line(x0 + reach, yDot - s * (v / 2), xTip, tip);
        const int boxTop = s > 0 ? tip - G : tip;
        TextInBox(canvas, xTip - width, boxTop, xTip + width, boxTop + G, label, TTextAlign::Centre);
        canvas.SetPen(Qt::black, PU);
    };
    layer(1, yT, Model.TopBarSize, Model.TopSpacing, Model.TopCover, topCover);
    layer(-1, yB, Model.BottomBarSize, Model.BotSpacing, Model.BottomCover, bottomCover);

    if (broken) {
        canvas.SetBrush(Qt::white);
        canvas.SetPenNone();
        canvas.Polygon({{xC, yT - G}, {xC + G, yT - G}, {xC, yB + G}, {xC - G, yB + G}});
        canvas.SetPen(Qt::black, PU);
        canvas.Line(xC, yT - G, xC - G, yB + G);
        canvas.Line(xC + G, yT - G, xC, yB + G);
    }

    canvas.SetPen(Qt::black, PU);
    canvas.Line(xR, yT, xR + 2 * G, yT);
    canvas.Line(xR, yB, xR + 2 * G, yB);
    DrawDimension(canvas, xR + G, yT, xR + G, yB, FormatValue(double(Model.ThicknessIn), mark),
                  TDimensionPlacement::OutsideAboveOrRight);
    OutHeight = std::max(yB + 3 * G, std::min(textBottom_, Height));
    canvas.SetBrush(Qt::white);
}

} // namespace slabwise
