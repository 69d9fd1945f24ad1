// The loading view: the strip on its soil with every load, their labels
// stacked in lanes so none overlaps another.

#include "DiagramCanvas.h"
#include "DiagramDraw.h"
#include "DiagramPalette.h"
#include "DiagramPixels.h"
#include "model/PunchingShear.h"
#include "model/Units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>

namespace slabwise {

namespace {

using pixels::Round;
using pixels::Trunc;
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

// The labels of one drawing, formatted once however often its layout is
// measured.
class TLoadLabels {
public:
    explicit TLoadLabels(const TMatData& model) : texts_(LoadTexts(model.UnitSystem)) {
        for (size_t m = 0; m < size_t(PointLoadCount); ++m)
            point_[m] = PointLabel(model.PointLoads[m], texts_);
        for (size_t n = 0; n < size_t(MomentCount); ++n) moment_[n] = MomentLabel(model.Moments[n], texts_);
    }
    const QString& Point(int m) const { return point_[size_t(m)]; }
    const QString& Moment(int n) const { return moment_[size_t(n)]; }
    const QString& Position(double x) {
        auto found = positions_.find(x);
        if (found == positions_.end())
            found = positions_.emplace(x, TDiagramDraw::FormatValue(x) + texts_.LengthMark).first;
        return found->second;
    }
    const QString& Intensity(double w) {
        auto found = intensities_.find(w);
        if (found == intensities_.end())
            found = intensities_.emplace(w, TDiagramDraw::FormatValue(w, texts_.Distributed)).first;
        return found->second;
    }

private:
    TLoadTexts texts_;
    std::array<QString, PointLoadCount> point_;
    std::array<QString, MomentCount> moment_;
    std::map<double, QString> positions_, intensities_;
};

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
    // grid: the lane pitch's half and the labels' height; thickness: the
    // most pixels the strip's thickness may take (below 0: its scale).
    TLoadingView(TDiagramDraw& draw, TDiagramCanvas& canvas, TLoadLabels& labels, int grid, int thickness);

    void LayOutLanes();
    // Rows the whole picture needs, the length dimension's text included;
    // the strip's drawn thickness. After LayOutLanes.
    int Need();
    int Thickness() const { return yB - yT; }
    // The first row anything is drawn on. After LayOutLanes.
    int Top() const;
    void DrawStrip();
    // The columns of the point loads, on the strip's top face as wide as
    // they are along it: in front of the distributed loads, behind the
    // point loads' arrows.
    void DrawColumns();
    void DrawDistributedLoads();
    void DrawPositionTicks();
    void DrawPointLoads();
    void DrawMoments();
    // The strip's length, dimensioned below every load; returns the lowest
    // row the dimension uses.
    int DrawLengthDimension();
    // The labels, last, over whatever arrow passes behind them.
    void DrawLabels();

private:
    int ToX(double position) const { return xL + Round(position * draw_.Scale); }
    // Tall enough to read as a column, low enough to stay in the lane
    // next to the strip, under the labels of the lane above it.
    int ColumnHeight() const { return G + G / 2; }
    // The centre of a label of the given width near x, moved in so the
    // label stays inside the picture.
    int Inside(int x, int width) const {
        const int margin = std::max(1, G / 4);
        const int lo = width / 2 + margin, hi = draw_.Width - (width - width / 2) - margin;
        return lo > hi ? draw_.Width / 2 : std::clamp(x, lo, hi);
    }
    // Where an arrow at x from lane k lands: on the band of the nearest
    // distributed load beneath it on its side, else on the strip's face.
    int Landing(bool down, size_t lane, int x) const;
    // A label centred on x, G high from top, drawn by DrawLabels.
    void Label(int x, int top, const QString& text);
    QString LengthText() const;
    // The top of the length dimension's extension lines: under the lanes
    // below, clear of the position ticks and their labels.
    int DimensionRow() const {
        int yD = yB + 2 * G * loadLanesBelow_;
        if (yD == yB && !items_.empty()) yD = yB + 2 * G;
        return tickRows_ > 0 ? std::max(yD, yB + G + G * tickRows_) : yD;
    }
    // Lays out one load of a side and its label, which claims the lane
    // after the load's; returns the load's lane.
    int Place(bool up, int lo, int hi, int labelWidth, int labelCentre, int32_t index);
    void CountLane(bool up, int lane);

    TDiagramDraw& draw_;
    TDiagramCanvas& canvas_;
    const TMatData& model_;
    TLoadLabels& texts_;
    const int G, A, PU;
    const int thicknessCap_;

    struct TLabel {
        int Left, Top, Right;
        QString Text;
        TTextAlign Align;
    };
    std::vector<TLabel> labels_;

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
    // The row of each position label, in the order of the partial loads'
    // starts and ends, and the number of rows used.
    std::vector<int> tickRow_;
    int tickRows_ = 0;
    std::array<int, PointLoadCount> pointLane_{};
    std::array<int, MomentCount> momentLane_{};
};

TLoadingView::TLoadingView(TDiagramDraw& draw, TDiagramCanvas& canvas, TLoadLabels& labels, int grid,
                           int thickness)
    : draw_(draw), canvas_(canvas), model_(draw.Model), texts_(labels), G(grid), A(draw.ArrowSize()),
      PU(draw.PenUnit()), thicknessCap_(thickness) {
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
    labelCentre = Inside(labelCentre, labelWidth);
    const int labelLo = labelCentre - labelWidth / 2 - gap, labelHi = labelCentre + labelWidth / 2 + gap;
    const int k = AllocateLane(lanes, std::min(lo, labelLo), std::max(hi, labelHi), true, index);
    Claim(lanes, size_t(k) + 1, labelLo, labelHi, index);
    CountLane(up, k);
    return k;
}

void TLoadingView::LayOutLanes() {
    // The position labels of the partial loads stand in rows G high from
    // the second lane below; a label that would touch another goes a row
    // lower, where no other label stands over its tick.
    TArrayOfArrayOfRow rows;
    for (size_t i = firstPartial_; i < items_.size(); ++i)
        for (const double position : {items_[i].Start, items_[i].End}) {
            const int x = ToX(position);
            const int width = canvas_.TextWidth(texts_.Position(position));
            const int centre = Inside(x, width);
            const int lo = centre - width / 2 - gap, hi = centre + width / 2 + gap;
            size_t r = 0;
            const auto crossed = [&](size_t row) { return Collides(rows[row], x, x); };
            for (; r < rows.size(); ++r) {
                if (Collides(rows[r], lo, hi)) continue;
                bool clear = true;
                for (size_t above = 0; above < r && clear; ++above) clear = !crossed(above);
                if (clear) break;
            }
            Claim(rows, r, lo, hi, -1);
            for (size_t above = 0; above < r; ++above) Claim(rows, above, x, x, -1);
            Claim(below_, 1 + r / 2, lo, hi, -1);
            tickRow_.push_back(int(r));
            tickRows_ = std::max(tickRows_, int(r) + 1);
        }

    itemLane_.resize(items_.size());
    for (size_t i = 0; i < items_.size(); ++i) {
        const TDistItem& item = items_[i];
        const bool up = item.Intensity > 0;
        const int x1 = ToX(item.Start), x2 = ToX(item.End);
        const int labelWidth = canvas_.TextWidth(texts_.Intensity(item.Intensity));
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
        pointLane_[size_t(m)] = Place(p.P > 0, x - W4, x + W4, canvas_.TextWidth(texts_.Point(m)), x, m);
    }
    // Moments stand above the strip whatever their sign.
    for (int n = 0; n < MomentCount; ++n) {
        const TAppliedMoment& c = model_.Moments[size_t(n)];
        if (c.M == 0) continue;
        const int x = ToX(double(c.c));
        momentLane_[size_t(n)] = Place(true, x - W4, x + W4, canvas_.TextWidth(texts_.Moment(n)), x, n);
    }

    yT = 2 * G * loadLanesAbove_ + 2 * G;
    int thickness = Round(double(model_.Thickness) * draw_.Scale);
    if (thicknessCap_ >= 0) thickness = std::min(thickness, thicknessCap_);
    yB = yT + thickness;
}

QString TLoadingView::LengthText() const {
    return TDiagramDraw::FormatValue(double(model_.StripLength),
                                     QString::fromStdString(UnitText(TQuantity::Length, model_.UnitSystem)));
}

int TLoadingView::Top() const {
    int top = yT;
    if (AnyColumn(model_)) top = std::min(top, yT - ColumnHeight());
    if (uniform_ > 0) top = std::min(top, yT - 2 * G + G / 2);
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Intensity > 0)
            top = std::min(top, yT - 2 * G * itemLane_[i] - (i < firstPartial_ ? 2 * G : 3 * G));
    for (size_t m = 0; m < size_t(PointLoadCount); ++m)
        if (model_.PointLoads[m].P > 0) top = std::min(top, yT - 2 * G * pointLane_[m] - 3 * G);
    for (size_t n = 0; n < size_t(MomentCount); ++n)
        if (model_.Moments[n].M != 0) top = std::min(top, yT - 2 * G * momentLane_[n] - G - G / 2 - 2 * G);
    return std::max(0, top);
}

int TLoadingView::Need() {
    const int yD = DimensionRow();
    // As the dimension writes its text: centred on the line, or below it
    // when the arrows leave it too little room.
    const QString text = QLatin1Char(' ') + LengthText() + QLatin1Char(' ');
    const int TT = canvas_.TextHeight(text);
    int bottom = yD + 2 * G - TT / 2 + TT;
    if (canvas_.TextWidth(text) >= xR - xL - 2 * A) bottom += TT;
    return std::max(yD + 3 * G, bottom);
}

int TLoadingView::Landing(bool down, size_t lane, int x) const {
    int best = -1;
    size_t bestLane = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        if ((items_[i].Intensity > 0) != down || size_t(itemLane_[i]) >= lane) continue;
        if (x < ToX(items_[i].Start) || x > ToX(items_[i].End)) continue;
        if (best < 0 || size_t(itemLane_[i]) >= bestLane) {
            best = int(i);
            bestLane = size_t(itemLane_[i]);
        }
    }
    if (best < 0) return down ? yT : yB;
    // The band's far edge.
    return down ? yT - 2 * G * int(bestLane) - 2 * G : yB + 2 * G * int(bestLane) + 2 * G;
}

void TLoadingView::Label(int x, int top, const QString& text) {
    const int width = canvas_.TextWidth(text);
    const int centre = Inside(x, width);
    labels_.push_back({centre - width, top, centre + width, text, TTextAlign::Centre});
}

void TLoadingView::DrawLabels() {
    for (const TLabel& label : labels_)
        draw_.TextInBox(canvas_, label.Left, label.Top, label.Right, label.Top + G, label.Text, label.Align,
                        true);
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

void TLoadingView::DrawColumns() {
    // c1 is in in or mm, the strip in ft or m.
    const double perLength = double(model_.ByUnits(12, 1000));
    for (size_t m = 0; m < size_t(PointLoadCount); ++m) {
        const TColumn& column = model_.Columns[m];
        if (!column.Given()) continue;
        const double a = double(model_.PointLoads[m].a);
        const double half = std::fabs(double(column.c1)) / perLength / 2;
        canvas_.SetBrush(Silver);
        canvas_.SetPen(Qt::black, PU);
        canvas_.Rectangle(ToX(a - half), yT - ColumnHeight(), ToX(a + half), yT);
    }
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
        // Each arrow reaches the band beneath it or the strip.
        const auto arrow = [&](int x) {
            draw_.DrawArrow(canvas_, x, yF, x, Landing(down, size_t(k), x), A, false, true);
        };
        arrow(x1);
        arrow(x2);
        const int n = std::max(1, Round((x2 - x1) / (2.0 * G)));
        const double step = (x2 - x1) / double(n);
        if (step > 0)
            for (int j = 1; x1 + j * step < x2 - G; ++j) arrow(Round(x1 + j * step));
        // The full uniform load is labelled at the right end instead; a
        // partial load that happens to span the strip keeps its own label.
        if (i < firstPartial_) continue;
        const QString label = texts_.Intensity(item.Intensity);
        int top = yF - G;
        if (!down) top = canvas_.TextWidth(label) + G > x2 - x1 ? yF + G : yF;
        Label(x1 + (x2 - x1) / 2, top, label);
    }

    if (uniform_ != 0) {
        const QString label = texts_.Intensity(uniform_);
        const int width = draw_.Width;
        const int top = uniform_ > 0 ? yT - 2 * G + G / 2 : yB + G / 2;
        labels_.push_back({xL, top, width - G / 2, label, TTextAlign::Right});
    }
}

void TLoadingView::DrawPositionTicks() {
    size_t tick = 0;
    for (size_t i = firstPartial_; i < items_.size(); ++i)
        for (const double position : {items_[i].Start, items_[i].End}) {
            const int x = ToX(position);
            const int top = yB + 2 * G + G * tickRow_[tick++];
            canvas_.Line(x, yB, x, top);
            Label(x, top, texts_.Position(position));
        }
}

void TLoadingView::DrawPointLoads() {
    canvas_.SetPenColor(Teal);
    for (int m = 0; m < PointLoadCount; ++m) {
        const TPointLoad& p = model_.PointLoads[size_t(m)];
        if (p.P == 0) continue;
        const int x = ToX(double(p.a));
        const int k = pointLane_[size_t(m)];
        const bool down = p.P > 0;
        const int yt = down ? yT - 2 * G * k - 2 * G : yB + 2 * G * k + 2 * G;
        draw_.DrawArrow(canvas_, x, yt, x, Landing(down, size_t(k) + 1, x), A, false, true);
        Label(x, down ? yt - G : yt, texts_.Point(m));
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
        Label(x, yc - 2 * G, texts_.Moment(n));
        if (c.M > 0)
            draw_.DrawArrowHead(canvas_, x - h - PU, yc + 2 * PU, -std::numbers::pi / 9, (2 * A) / 3);
        else
            draw_.DrawArrowHead(canvas_, x + h + PU / 2, yc + 2 * PU, std::numbers::pi / 9, (2 * A) / 3);
    }
}

int TLoadingView::DrawLengthDimension() {
    canvas_.SetPenColor(Qt::black);
    const int yD = DimensionRow();
    canvas_.Line(xL, yD, xL, yD + 3 * G);
    canvas_.Line(xR, yD, xR, yD + 3 * G);
    draw_.DrawDimension(canvas_, xL, yD + 2 * G, xR, yD + 2 * G, LengthText(),
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
    // The picture is fitted to its height by measuring its layout, never by
    // drawing: first the strip is drawn thinner than its scale, then the
    // text and lanes smaller, down to a size still read easily, and only a
    // layout that is too tall even so is set smaller as a whole.
    TLoadLabels labels(Model);
    const int nominal = GridUnit();
    const int least = std::max({MinGridUnit, nominal * 7 / 10, std::min(nominal, 10)});
    const int width = Width, height = Height;
    // A window's picture is centred in its box afterwards: the rows above
    // the top label are no room it needs.
    const auto need = [this](TLoadingView& probe) {
        probe.LayOutLanes();
        return probe.Need() - (FillsHeight ? probe.Top() : 0);
    };
    int grid = nominal, cap = -1;
    double zoom = 1;
    for (int g = nominal;; g = std::max(least, g - std::max(1, g / 10))) {
        TLoadingView probe(*this, canvas, labels, g, -1);
        const int needed = need(probe);
        grid = g;
        if (needed <= height) break;
        const int fixed = needed - probe.Thickness();
        const int thinnest = std::min(probe.Thickness(), g);
        cap = std::max(thinnest, height - fixed);
        if (fixed + thinnest <= height || g == least) {
            if (fixed + thinnest > height) zoom = double(height) / (fixed + thinnest);
            break;
        }
        cap = -1;
    }
    // Set smaller as a whole, the picture is laid out in a frame as much
    // larger, where its labels also crowd less: the largest such zoom.
    if (zoom < 1) {
        const auto fits = [&](double z) {
            Width = Trunc(width / z);
            Height = Trunc(height / z);
            TLoadingView probe(*this, canvas, labels, grid, cap);
            return need(probe) <= Height;
        };
        double lo = zoom / 2, hi = 1;
        while (lo > 0.02 && !fits(lo)) lo /= 2;
        for (int step = 0; step < 10; ++step) {
            const double mid = (lo + hi) / 2;
            (fits(mid) ? lo : hi) = mid;
        }
        zoom = lo;
        Width = Trunc(width / zoom);
        Height = Trunc(height / zoom);
    }
    TLoadingView view(*this, canvas, labels, grid, cap);
    view.LayOutLanes();
    const int top = FillsHeight ? view.Top() : 0;
    if (zoom < 1 || top > 0) canvas.SetView({0, -top * zoom}, zoom);
    view.DrawStrip();
    view.DrawDistributedLoads();
    view.DrawColumns();
    view.DrawPositionTicks();
    view.DrawPointLoads();
    view.DrawMoments();
    const int bottom = view.DrawLengthDimension();
    view.DrawLabels();
    OutHeight = std::max(bottom, std::min(textBottom_, Height + top)) - top;
    if (zoom < 1) OutHeight = std::min(height, static_cast<int>(std::ceil(OutHeight * zoom)));
    Width = width;
    Height = height;
    canvas.SetBrush(Qt::white);
}

} // namespace slabwise
