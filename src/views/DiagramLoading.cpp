// The loading view: the strip on its soil with every load, their labels
// stacked in lanes so none overlaps another.

#include "DiagramCanvas.h"
#include "DiagramDraw.h"
#include "DiagramPalette.h"
#include "DiagramPixels.h"
#include "model/Units.h"

#include <algorithm>
#include <array>
#include <numbers>

namespace slabwise {

namespace {

using pixels::Round;
using namespace palette;

bool Collides(const TArrayOfRow& lane, int32_t lo, int32_t hi) {
    return std::any_of(lane.begin(), lane.end(),
                       [&](const TRowItem& item) { return item.Lo <= hi && item.Hi >= lo; });
}

struct TDistItem {
    double Start, End, Intensity;
};

struct TLoadTexts {
    QString LengthMark, Distributed, Force, Moment;
};

// The units are the model's; the length mark written after a position is
// the drawing's own shorthand.
TLoadTexts LoadTexts(uint8_t unitSystem) {
    const auto unit = [unitSystem](TQuantity q) { return QString::fromStdString(UnitText(q, unitSystem)); };
    return {QString::fromStdString(DrawingMark(TDrawingMark::Length, unitSystem)), unit(TQuantity::LineLoad),
            unit(TQuantity::Force), unit(TQuantity::Moment)};
}

QString PointLabel(const TPointLoad& p, const TLoadTexts& texts) {
    return TDiagramDraw::FormatValue(double(p.P), texts.Force) + QStringLiteral(" @ ") +
           TDiagramDraw::FormatValue(double(p.a)) + texts.LengthMark;
}

QString MomentLabel(const TAppliedMoment& c, const TLoadTexts& texts) {
    return TDiagramDraw::FormatValue(double(c.M), texts.Moment) + QStringLiteral(" @ ") +
           TDiagramDraw::FormatValue(double(c.c)) + texts.LengthMark;
}

} // namespace

int AllocateLane(TArrayOfArrayOfRow& lanes, int32_t lo, int32_t hi, bool checkNext, int32_t index) {
    size_t i = 0;
    for (; i < lanes.size(); ++i) {
        if (Collides(lanes[i], lo, hi)) continue;
        if (checkNext && i + 1 < lanes.size() && Collides(lanes[i + 1], lo, hi)) continue;
        break;
    }
    if (i == lanes.size()) lanes.emplace_back();
    TArrayOfRow& lane = lanes[i];
    const auto after =
        std::find_if(lane.begin(), lane.end(), [&](const TRowItem& item) { return item.Lo > lo; });
    lane.insert(after, TRowItem{lo, hi, index});
    return static_cast<int>(i);
}

void TDiagramDraw::DrawLoading() {
    const Real L = Model.StripLength, T = Model.Thickness;
    if (!BeginView(pixels::Drawable(L, Model.StripWidth, T))) return;
    const TLoadTexts texts = LoadTexts(Model.UnitSystem);
    const int G = GridUnit();
    const int A = ArrowSize();
    const int PU = PenUnit();

    std::vector<TDistItem> items;
    const double w = double(Model.FullUniformLoad);
    if (w != 0) items.push_back({0, double(L), w});
    for (const TDistLoad& load : Model.DistLoads)
        if (load.wb != 0 && load.b < load.e)
            items.push_back({double(load.b), double(load.e), double(load.wb)});
    // The full uniform load, when there is one, is item 0.
    const size_t firstPartial = w != 0 ? 1 : 0;

    // The horizontal frame depends on the width alone, so the lanes can be
    // laid out in pixels before the strip's height is known.
    int xL = 2 * G;
    int xR = Width - 4 * G;
    const int xC = xL + (xR - xL) / 2;
    Scale = (xR - xL) / double(L);
    xL = xC - Round(double(L) * Scale / 2);
    xR = xL + Round(double(L) * Scale);
    const auto toX = [&](double position) { return xL + Round(position * Scale); };

    TDiagramCanvas canvas(Bitmap, Vector);
    canvas.SetPatternScale(PenUnit());
    canvas.SetFontHeight(G - 2);
    const int W4 = canvas.TextWidth(QStringLiteral("XXXX"));
    const int gap = std::max(2, G / 4);

    // Lanes. Each load takes its lane over its arrows and its label, and its
    // label also claims the next lane, where the label stands; so no later
    // arrow runs through an earlier label and no two labels overlap. Only
    // lanes that hold a load count for the height.
    TArrayOfArrayOfRow above, below;
    int loadLanesAbove = 0, loadLanesBelow = 0;
    const auto claim = [](TArrayOfArrayOfRow& lanes, size_t lane, int32_t lo, int32_t hi, int32_t index) {
        if (lanes.size() <= lane) lanes.resize(lane + 1);
        TArrayOfRow& row = lanes[lane];
        row.insert(std::find_if(row.begin(), row.end(), [&](const TRowItem& r) { return r.Lo > lo; }),
                   TRowItem{lo, hi, index});
    };
    const auto place = [&](bool up, int lo, int hi, int labelWidth, int labelCentre, int32_t index) {
        TArrayOfArrayOfRow& lanes = up ? above : below;
        const int labelLo = labelCentre - labelWidth / 2 - gap, labelHi = labelCentre + labelWidth / 2 + gap;
        const int k = AllocateLane(lanes, std::min(lo, labelLo), std::max(hi, labelHi), true, index);
        claim(lanes, size_t(k) + 1, labelLo, labelHi, index);
        int& count = up ? loadLanesAbove : loadLanesBelow;
        count = std::max(count, k + 1);
        return k;
    };

    // The position labels of the partial loads stand in the second lane below.
    for (size_t i = firstPartial; i < items.size(); ++i)
        for (const double position : {items[i].Start, items[i].End}) {
            const int half = canvas.TextWidth(FormatValue(position) + texts.LengthMark) / 2 + gap;
            claim(below, 1, toX(position) - half, toX(position) + half, -1);
        }

    std::vector<int> itemLane(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const TDistItem& item = items[i];
        const bool up = item.Intensity > 0;
        const int x1 = toX(item.Start), x2 = toX(item.End);
        if (i < firstPartial) {
            // Labelled at the right end, in its own lane beside the strip.
            itemLane[i] = AllocateLane(up ? above : below, x1, x2, false, int32_t(i));
            const int labelWidth = canvas.TextWidth(FormatValue(w, texts.Distributed));
            claim(up ? above : below, size_t(itemLane[i]), Width - G / 2 - labelWidth - gap, Width,
                  int32_t(i));
            (up ? loadLanesAbove : loadLanesBelow) =
                std::max(itemLane[i] + 1, up ? loadLanesAbove : loadLanesBelow);
        } else {
            const int labelWidth = canvas.TextWidth(FormatValue(item.Intensity, texts.Distributed));
            itemLane[i] = place(up, x1, x2, labelWidth, x1 + (x2 - x1) / 2, int32_t(i));
        }
    }
    std::array<int, PointLoadCount> pointLane{};
    for (int m = 0; m < PointLoadCount; ++m) {
        const TPointLoad& p = Model.PointLoads[size_t(m)];
        if (p.P == 0) continue;
        const int x = toX(double(p.a));
        const int labelWidth = canvas.TextWidth(PointLabel(p, texts));
        pointLane[size_t(m)] = place(p.P > 0, x - W4, x + W4, labelWidth, x, m);
    }
    // Moments stand above the strip whatever their sign.
    std::array<int, MomentCount> momentLane{};
    for (int n = 0; n < MomentCount; ++n) {
        const TAppliedMoment& c = Model.Moments[size_t(n)];
        if (c.M == 0) continue;
        const int x = toX(double(c.c));
        const int labelWidth = canvas.TextWidth(MomentLabel(c, texts));
        momentLane[size_t(n)] = place(true, x - W4, x + W4, labelWidth, x, n);
    }

    const int yT = 2 * G * loadLanesAbove + 2 * G;
    const int yB = yT + Round(double(T) * Scale);

    canvas.SetBrush(Qt::white);
    canvas.FillRect(0, 0, Width, Height);
    canvas.SetBrush(Soil, Qt::BDiagPattern);
    canvas.SetPenNone();
    if (Model.LiftsOff()) {
        // Soil that takes no tension: hatch only where the strip rests on it.
        for (const TContactZone& zone : Model.ContactZones)
            canvas.Rectangle(zone.Start <= 0 ? xL - G : toX(double(zone.Start)), yB,
                             zone.End >= Model.StripLength ? xR + G : toX(double(zone.End)), yB + G);
    } else {
        canvas.Rectangle(xL - G, yB, xR + G, yB + G);
    }
    canvas.SetBrush(Silver);
    canvas.SetPen(Qt::black, PU);
    canvas.Line(xL - G, yB, xR + G, yB);
    canvas.SetPenWidth(ThickPen());
    canvas.Rectangle(xL, yT, xR, yB);
    canvas.SetPen(Qt::black, PU);

    for (size_t i = 0; i < items.size(); ++i) {
        const TDistItem& item = items[i];
        const int x1 = toX(item.Start);
        const int x2 = toX(item.End);
        const bool down = item.Intensity > 0;
        const int k = itemLane[i];
        const int yN = down ? yT - 2 * G * k : yB + 2 * G * k;
        const int yF = down ? yN - 2 * G : yN + 2 * G;
        canvas.Line(x1, yF, x2, yF);
        DrawArrow(canvas, x1, yF, x1, yN, A, false, true);
        DrawArrow(canvas, x2, yF, x2, yN, A, false, true);
        const int n = std::max(1, Round((x2 - x1) / (2.0 * G)));
        const double step = (x2 - x1) / double(n);
        if (step > 0)
            for (int j = 1; x1 + j * step < x2 - G; ++j) {
                const int x = Round(x1 + j * step);
                DrawArrow(canvas, x, yF, x, yN, A, false, true);
            }
        // The full uniform load is labelled at the right end instead; a
        // partial load that happens to span the strip keeps its own label.
        if (i < firstPartial) continue;
        const QString label = FormatValue(item.Intensity, texts.Distributed);
        int top = yF - G;
        if (!down) top = canvas.TextWidth(label) + G > x2 - x1 ? yF + G : yF;
        TextInBox(canvas, x1, top, x2, top + G, label, 2);
    }

    if (w != 0) {
        const QString label = FormatValue(w, texts.Distributed);
        if (w > 0)
            TextInBox(canvas, xL, yT - 2 * G + G / 2, Width - G / 2, yT - 2 * G + (3 * G) / 2, label, 1);
        else
            TextInBox(canvas, xL, yB + G / 2, Width - G / 2, yB + (3 * G) / 2, label, 1);
    }

    for (size_t i = firstPartial; i < items.size(); ++i)
        for (const double position : {items[i].Start, items[i].End}) {
            const int x = toX(position);
            canvas.Line(x, yB, x, yB + 2 * G);
            const QString label = FormatValue(position) + texts.LengthMark;
            const int half = canvas.TextWidth(label);
            TextInBox(canvas, x - half, yB + 2 * G, x + half, yB + 3 * G, label, 2);
        }

    canvas.SetPenColor(Teal);
    for (int m = 0; m < PointLoadCount; ++m) {
        const TPointLoad& p = Model.PointLoads[size_t(m)];
        if (p.P == 0) continue;
        const int x = toX(double(p.a));
        const int k = pointLane[size_t(m)];
        int yt, yh, top;
        if (p.P > 0) {
            yt = yT - 2 * G * k - 2 * G;
            yh = yt + 2 * G;
            top = yt - G;
        } else {
            yt = yB + 2 * G * k + 2 * G;
            yh = yt - 2 * G;
            top = yt;
        }
        DrawArrow(canvas, x, yt, x, yh, A, false, true);
        const QString label = PointLabel(p, texts);
        const int half = canvas.TextWidth(label);
        TextInBox(canvas, x - half, top, x + half, top + G, label, 2);
    }

    canvas.SetPenColor(Maroon);
    for (int n = 0; n < MomentCount; ++n) {
        const TAppliedMoment& c = Model.Moments[size_t(n)];
        if (c.M == 0) continue;
        const int x = toX(double(c.c));
        const int k = momentLane[size_t(n)];
        const int yc = yT - 2 * G * k - G - G / 2;
        const int h = canvas.TextHeight(QStringLiteral("X"));
        canvas.Arc(x - h, yc - (2 * h) / 3, x + h, yc + (2 * h) / 3, x + h, yc, x - h, yc);
        const QString label = MomentLabel(c, texts);
        const int half = canvas.TextWidth(label);
        TextInBox(canvas, x - half, yc - 2 * G, x + half, yc - G, label, 2);
        if (c.M > 0)
            DrawArrowHead(canvas, x - h - PU, yc + 2 * PU, -std::numbers::pi / 9, (2 * A) / 3);
        else
            DrawArrowHead(canvas, x + h + PU / 2, yc + 2 * PU, std::numbers::pi / 9, (2 * A) / 3);
    }

    canvas.SetPenColor(Qt::black);
    int yD = yB + 2 * G * loadLanesBelow;
    // Clear of the position ticks.
    if (yD == yB && !items.empty()) yD = yB + 2 * G;
    canvas.Line(xL, yD, xL, yD + 3 * G);
    canvas.Line(xR, yD, xR, yD + 3 * G);
    DrawDimension(
        canvas, xL, yD + 2 * G, xR, yD + 2 * G,
        FormatValue(double(L), QString::fromStdString(UnitText(TQuantity::Length, Model.UnitSystem))), 4);
    OutHeight = std::max(yD + 3 * G, std::min(textBottom_, Height));
    canvas.SetBrush(Qt::white);
}

} // namespace slabwise
