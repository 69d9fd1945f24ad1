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

// Puts [lo, hi] into the given lane, added when missing, keeping the lane
// sorted by Lo.
void Claim(TArrayOfArrayOfRow& lanes, size_t lane, int32_t lo, int32_t hi, int32_t index) {
    if (lanes.size() <= lane) lanes.resize(lane + 1);
    TArrayOfRow& row = lanes[lane];
    row.insert(std::find_if(row.begin(), row.end(), [&](const TRowItem& item) { return item.Lo > lo; }),
               TRowItem{lo, hi, index});
}

// The loading view in its steps. The horizontal frame depends on the width
// alone, so the lanes of the loads are laid out in pixels first; the strip's
// top then follows from how many lanes stand above it, and each kind of load
// is drawn into the lanes it was given.
class TLoadingView {
public:
    TLoadingView(TDiagramDraw& draw, TDiagramCanvas& canvas);

    void LayOutLanes();
    void DrawStrip();
    void DrawDistributedLoads();
    void DrawPositionTicks();
    void DrawPointLoads();
    void DrawMoments();
    // The strip's length, dimensioned below every load; returns the lowest
    // row the dimension uses.
    int DrawLengthDimension();

private:
    int ToX(double position) const { return xL + Round(position * draw_.Scale); }
    // Lays out one load of a side and its label, which claims the lane
    // after the load's; returns the load's lane.
    int Place(bool up, int lo, int hi, int labelWidth, int labelCentre, int32_t index);
    void CountLane(bool up, int lane);

    TDiagramDraw& draw_;
    TDiagramCanvas& canvas_;
    const TMatData& model_;
    const TLoadTexts texts_;
    const int G, A, PU;

    std::vector<TDistItem> items_;
    // The full uniform load, when there is one, is item 0.
    double uniform_ = 0;
    size_t firstPartial_ = 0;

    // The strip's ends and faces in pixels; the half-width a point load or a
    // moment takes in its lane; the room kept on both sides of a label.
    int xL = 0, xR = 0;
    int yT = 0, yB = 0;
    int W4 = 0, gap = 0;

    // Each load takes its lane over its arrows and its label, and its label
    // also claims the next lane, where the label stands; so no later arrow
    // runs through an earlier label and no two labels overlap. Only lanes
    // that hold a load count for the height.
    TArrayOfArrayOfRow above_, below_;
    int loadLanesAbove_ = 0, loadLanesBelow_ = 0;
    std::vector<int> itemLane_;
    std::array<int, PointLoadCount> pointLane_{};
    std::array<int, MomentCount> momentLane_{};
};

TLoadingView::TLoadingView(TDiagramDraw& draw, TDiagramCanvas& canvas)
    : draw_(draw), canvas_(canvas), model_(draw.Model), texts_(LoadTexts(draw.Model.UnitSystem)),
      G(draw.GridUnit()), A(draw.ArrowSize()), PU(draw.PenUnit()) {
    const double L = double(model_.StripLength);
    uniform_ = double(model_.FullUniformLoad);
    if (uniform_ != 0) items_.push_back({0, L, uniform_});
    for (const TDistLoad& load : model_.DistLoads)
        if (load.wb != 0 && load.b < load.e)
            items_.push_back({double(load.b), double(load.e), double(load.wb)});
    firstPartial_ = uniform_ != 0 ? 1 : 0;

    xL = 2 * G;
    xR = draw_.Width - 4 * G;
    const int xC = xL + (xR - xL) / 2;
    draw_.Scale = (xR - xL) / L;
    xL = xC - Round(L * draw_.Scale / 2);
    xR = xL + Round(L * draw_.Scale);

    canvas_.SetPatternScale(PU);
    canvas_.SetFontHeight(G - 2);
    W4 = canvas_.TextWidth(QStringLiteral("XXXX"));
    gap = std::max(2, G / 4);
}

void TLoadingView::CountLane(bool up, int lane) {
    int& count = up ? loadLanesAbove_ : loadLanesBelow_;
    count = std::max(count, lane + 1);
}

int TLoadingView::Place(bool up, int lo, int hi, int labelWidth, int labelCentre, int32_t index) {
    TArrayOfArrayOfRow& lanes = up ? above_ : below_;
    const int labelLo = labelCentre - labelWidth / 2 - gap, labelHi = labelCentre + labelWidth / 2 + gap;
    const int k = AllocateLane(lanes, std::min(lo, labelLo), std::max(hi, labelHi), true, index);
    Claim(lanes, size_t(k) + 1, labelLo, labelHi, index);
    CountLane(up, k);
    return k;
}

void TLoadingView::LayOutLanes() {
    // The position labels of the partial loads stand in the second lane below.
    for (size_t i = firstPartial_; i < items_.size(); ++i)
        for (const double position : {items_[i].Start, items_[i].End}) {
            const int half =
                canvas_.TextWidth(TDiagramDraw::FormatValue(position) + texts_.LengthMark) / 2 + gap;
            Claim(below_, 1, ToX(position) - half, ToX(position) + half, -1);
        }

    itemLane_.resize(items_.size());
    for (size_t i = 0; i < items_.size(); ++i) {
        const TDistItem& item = items_[i];
        const bool up = item.Intensity > 0;
        const int x1 = ToX(item.Start), x2 = ToX(item.End);
        const int labelWidth =
            canvas_.TextWidth(TDiagramDraw::FormatValue(item.Intensity, texts_.Distributed));
        if (i < firstPartial_) {
            // Labelled at the right end, in its own lane beside the strip.
            TArrayOfArrayOfRow& lanes = up ? above_ : below_;
            itemLane_[i] = AllocateLane(lanes, x1, x2, false, int32_t(i));
            Claim(lanes, size_t(itemLane_[i]), draw_.Width - G / 2 - labelWidth - gap, draw_.Width,
                  int32_t(i));
            CountLane(up, itemLane_[i]);
        } else {
            itemLane_[i] = Place(up, x1, x2, labelWidth, x1 + (x2 - x1) / 2, int32_t(i));
        }
    }
    for (int m = 0; m < PointLoadCount; ++m) {
        const TPointLoad& p = model_.PointLoads[size_t(m)];
        if (p.P == 0) continue;
        const int x = ToX(double(p.a));
        pointLane_[size_t(m)] =
            Place(p.P > 0, x - W4, x + W4, canvas_.TextWidth(PointLabel(p, texts_)), x, m);
    }
    // Moments stand above the strip whatever their sign.
    for (int n = 0; n < MomentCount; ++n) {
        const TAppliedMoment& c = model_.Moments[size_t(n)];
        if (c.M == 0) continue;
        const int x = ToX(double(c.c));
        momentLane_[size_t(n)] = Place(true, x - W4, x + W4, canvas_.TextWidth(MomentLabel(c, texts_)), x, n);
    }

    yT = 2 * G * loadLanesAbove_ + 2 * G;
    yB = yT + Round(double(model_.Thickness) * draw_.Scale);
}

void TLoadingView::DrawStrip() {
    canvas_.SetBrush(Qt::white);
    canvas_.FillRect(0, 0, draw_.Width, draw_.Height);
    canvas_.SetBrush(Soil, Qt::BDiagPattern);
    canvas_.SetPenNone();
    if (model_.LiftsOff()) {
        // Soil that takes no tension: hatch only where the strip rests on it.
        for (const TContactZone& zone : model_.ContactZones)
            canvas_.Rectangle(zone.Start <= 0 ? xL - G : ToX(double(zone.Start)), yB,
                              zone.End >= model_.StripLength ? xR + G : ToX(double(zone.End)), yB + G);
    } else {
        canvas_.Rectangle(xL - G, yB, xR + G, yB + G);
    }
    canvas_.SetBrush(Silver);
    canvas_.SetPen(Qt::black, PU);
    canvas_.Line(xL - G, yB, xR + G, yB);
    canvas_.SetPenWidth(draw_.ThickPen());
    canvas_.Rectangle(xL, yT, xR, yB);
    canvas_.SetPen(Qt::black, PU);
}

void TLoadingView::DrawDistributedLoads() {
    for (size_t i = 0; i < items_.size(); ++i) {
        const TDistItem& item = items_[i];
        const int x1 = ToX(item.Start);
        const int x2 = ToX(item.End);
        const bool down = item.Intensity > 0;
        const int k = itemLane_[i];
        const int yN = down ? yT - 2 * G * k : yB + 2 * G * k;
        const int yF = down ? yN - 2 * G : yN + 2 * G;
        canvas_.Line(x1, yF, x2, yF);
        draw_.DrawArrow(canvas_, x1, yF, x1, yN, A, false, true);
        draw_.DrawArrow(canvas_, x2, yF, x2, yN, A, false, true);
        const int n = std::max(1, Round((x2 - x1) / (2.0 * G)));
        const double step = (x2 - x1) / double(n);
        if (step > 0)
            for (int j = 1; x1 + j * step < x2 - G; ++j) {
                const int x = Round(x1 + j * step);
                draw_.DrawArrow(canvas_, x, yF, x, yN, A, false, true);
            }
        // The full uniform load is labelled at the right end instead; a
        // partial load that happens to span the strip keeps its own label.
        if (i < firstPartial_) continue;
        const QString label = TDiagramDraw::FormatValue(item.Intensity, texts_.Distributed);
        int top = yF - G;
        if (!down) top = canvas_.TextWidth(label) + G > x2 - x1 ? yF + G : yF;
        draw_.TextInBox(canvas_, x1, top, x2, top + G, label, TTextAlign::Centre);
    }

    if (uniform_ != 0) {
        const QString label = TDiagramDraw::FormatValue(uniform_, texts_.Distributed);
        const int width = draw_.Width;
        if (uniform_ > 0)
            draw_.TextInBox(canvas_, xL, yT - 2 * G + G / 2, width - G / 2, yT - 2 * G + (3 * G) / 2, label,
                            TTextAlign::Right);
        else
            draw_.TextInBox(canvas_, xL, yB + G / 2, width - G / 2, yB + (3 * G) / 2, label,
                            TTextAlign::Right);
    }
}

void TLoadingView::DrawPositionTicks() {
    for (size_t i = firstPartial_; i < items_.size(); ++i)
        for (const double position : {items_[i].Start, items_[i].End}) {
            const int x = ToX(position);
            canvas_.Line(x, yB, x, yB + 2 * G);
            const QString label = TDiagramDraw::FormatValue(position) + texts_.LengthMark;
            const int half = canvas_.TextWidth(label);
            draw_.TextInBox(canvas_, x - half, yB + 2 * G, x + half, yB + 3 * G, label, TTextAlign::Centre);
        }
}

void TLoadingView::DrawPointLoads() {
    canvas_.SetPenColor(Teal);
    for (int m = 0; m < PointLoadCount; ++m) {
        const TPointLoad& p = model_.PointLoads[size_t(m)];
        if (p.P == 0) continue;
        const int x = ToX(double(p.a));
        const int k = pointLane_[size_t(m)];
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
        draw_.DrawArrow(canvas_, x, yt, x, yh, A, false, true);
        const QString label = PointLabel(p, texts_);
        const int half = canvas_.TextWidth(label);
        draw_.TextInBox(canvas_, x - half, top, x + half, top + G, label, TTextAlign::Centre);
    }
}

void TLoadingView::DrawMoments() {
    canvas_.SetPenColor(Maroon);
    for (int n = 0; n < MomentCount; ++n) {
        const TAppliedMoment& c = model_.Moments[size_t(n)];
        if (c.M == 0) continue;
        const int x = ToX(double(c.c));
        const int k = momentLane_[size_t(n)];
        const int yc = yT - 2 * G * k - G - G / 2;
        const int h = canvas_.TextHeight(QStringLiteral("X"));
        canvas_.Arc(x - h, yc - (2 * h) / 3, x + h, yc + (2 * h) / 3, x + h, yc, x - h, yc);
        const QString label = MomentLabel(c, texts_);
        const int half = canvas_.TextWidth(label);
        draw_.TextInBox(canvas_, x - half, yc - 2 * G, x + half, yc - G, label, TTextAlign::Centre);
        if (c.M > 0)
            draw_.DrawArrowHead(canvas_, x - h - PU, yc + 2 * PU, -std::numbers::pi / 9, (2 * A) / 3);
        else
            draw_.DrawArrowHead(canvas_, x + h + PU / 2, yc + 2 * PU, std::numbers::pi / 9, (2 * A) / 3);
    }
}

int TLoadingView::DrawLengthDimension() {
    canvas_.SetPenColor(Qt::black);
    int yD = yB + 2 * G * loadLanesBelow_;
    // Clear of the position ticks.
    if (yD == yB && !items_.empty()) yD = yB + 2 * G;
    canvas_.Line(xL, yD, xL, yD + 3 * G);
    canvas_.Line(xR, yD, xR, yD + 3 * G);
    const QString unit = QString::fromStdString(UnitText(TQuantity::Length, model_.UnitSystem));
    draw_.DrawDimension(canvas_, xL, yD + 2 * G, xR, yD + 2 * G,
                        TDiagramDraw::FormatValue(double(model_.StripLength), unit),
                        TDimensionPlacement::BesideRightOrBelow);
    return yD + 3 * G;
}

} // namespace

int AllocateLane(TArrayOfArrayOfRow& lanes, int32_t lo, int32_t hi, bool checkNext, int32_t index) {
    size_t i = 0;
    for (; i < lanes.size(); ++i) {
        if (Collides(lanes[i], lo, hi)) continue;
        if (checkNext && i + 1 < lanes.size() && Collides(lanes[i + 1], lo, hi)) continue;
        break;
    }
    Claim(lanes, i, lo, hi, index);
    return static_cast<int>(i);
}

void TDiagramDraw::DrawLoading() {
    if (!BeginView(pixels::Drawable(Model.StripLength, Model.StripWidth, Model.Thickness))) return;
    TDiagramCanvas canvas(Bitmap, Vector);
    TLoadingView view(*this, canvas);
    view.LayOutLanes();
    view.DrawStrip();
    view.DrawDistributedLoads();
    view.DrawPositionTicks();
    view.DrawPointLoads();
    view.DrawMoments();
    const int bottom = view.DrawLengthDimension();
    OutHeight = std::max(bottom, std::min(textBottom_, Height));
    canvas.SetBrush(Qt::white);
}

} // namespace slabwise
