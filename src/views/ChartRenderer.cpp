#include "ChartRenderer.h"

#include "LocaleNumber.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace slabwise {

namespace {

// Fewest decimals that show every multiple of step exactly.
int DecimalsFor(double step) {
    for (int d = 0; d < 17; ++d) {
        const double scaled = std::fabs(step) * std::pow(10.0, d);
        if (scaled >= 0.999 && std::fabs(scaled - std::round(scaled)) <= 1e-6 * scaled) return d;
    }
    return 17;
}

// Labels that would need more decimals than this, or would be this large,
// show their values over a power of ten written once beside the axis.
constexpr int MaxLabelDecimals = 6;
constexpr double MaxPlainLabel = 1e7;

// Pixels between two labels beside each other (top axis) and above each other (left axis).
int HorizontalLabelGap(const QFontMetrics& fm) {
    return std::max(8, fm.averageCharWidth() * 2);
}
int VerticalLabelGap(const QFontMetrics& fm) {
    return std::max(2, fm.height() / 4);
}

} // namespace

// ---- axis -------------------------------------------------------------------

TChartAxis::TChartAxis(TSide side) : side_(side) {
    AxisPen = QPen(QColor(0x40, 0x40, 0x40), 1);
    TickPen = AxisPen;
    GridPen = QPen(QColor(0, 0, 0, 0x26), 1);
    ZeroPen = QPen(QColor(0, 0, 0, 0x70), 1);
    TitleFont.setBold(true);
}

double TChartAxis::CalcPos(double value) const {
    const double span = high_ - low_;
    double t = span != 0 ? (value - low_) / span : 0.5;
    if (Inverted) t = 1 - t;
    return start_ + t * (end_ - start_);
}

int TChartAxis::CalcPosValue(double value) const {
    // The pixel that contains the position; a hair of tolerance keeps exact
    // grid values from falling into the pixel before.
    const double p = CalcPos(value);
    if (!std::isfinite(p)) return start_;
    return static_cast<int>(std::floor(std::clamp(p, -1e6, 1e6) + 1e-6));
}

double TChartAxis::CalcPosPoint(int pixel) const {
    if (end_ == start_) return low_;
    double t = double(pixel - start_) / double(end_ - start_);
    if (Inverted) t = 1 - t;
    return low_ + t * (high_ - low_);
}

TChartAxis::TLabelSet TChartAxis::LabelsFor(double step) const {
    TLabelSet set;
    set.step = step;
    int decimals = DecimalsFor(step);
    const double largest = std::max(std::fabs(low_), std::fabs(high_));
    if (decimals > MaxLabelDecimals || largest >= MaxPlainLabel) {
        set.power = static_cast<int>(std::floor(std::log10(largest)));
        decimals = DecimalsFor(step / std::pow(10.0, set.power));
    }
    const double unit = std::pow(10.0, set.power);
    const double first = std::ceil(low_ / step - 1e-9);
    const double last = std::floor(high_ / step + 1e-9);
    const QFontMetrics fm(LabelFont);
    for (double j = first; j <= last; j += 1) {
        double v = j * step;
        if (std::fabs(v) < step * 1e-9) v = 0;
        set.values.push_back(v);
        set.texts.push_back(FormatLocaleFixed(v / unit, decimals, 15));
        set.maxWidth = std::max(set.maxWidth, fm.horizontalAdvance(set.texts.back()));
    }
    return set;
}

QString TChartAxis::PowerText() const {
    if (labelPower_ == 0) return QString();
    static const char16_t superscripts[] = u"\u2070\u00B9\u00B2\u00B3\u2074\u2075\u2076\u2077\u2078\u2079";
    QString text = QStringLiteral("\u00D710");
    if (labelPower_ < 0) text += QChar(0x207B);
    for (QChar digit : QString::number(std::abs(labelPower_)))
        text += QChar(superscripts[digit.digitValue()]);
    return text;
}

bool TChartAxis::Fits(const TLabelSet& set, int lengthPx) const {
    if (set.values.size() < 2) return true;
    const QFontMetrics fm(LabelFont);
    const double pitch = set.step / (high_ - low_) * lengthPx;
    const double need =
        side_ == TSide::Top ? set.maxWidth + HorizontalLabelGap(fm) : fm.height() + VerticalLabelGap(fm);
    return pitch >= need;
}

void TChartAxis::ChooseLabels(int lengthPx) {
    const double span = high_ - low_;
    TLabelSet chosen;
    lengthPx = std::max(lengthPx, 1);
    if (Increment > 0 && std::isfinite(Increment) && span / Increment <= 2000) {
        // The given step, or the first of its multiples 2, 5, 10, 20 ... whose labels have room.
        for (double k = 1;; k *= 10) {
            bool found = false;
            for (double m : {1.0, 2.0, 5.0}) {
                chosen = LabelsFor(Increment * k * m);
                if (Fits(chosen, lengthPx) || Increment * k * m > span) {
                    found = true;
                    break;
                }
            }
            if (found) break;
        }
    } else {
        // Steps of 1, 2, 2.5 or 5 times a power of ten, from the finest that could fit.
        const QFontMetrics fm(LabelFont);
        const double roughPitch = side_ == TSide::Top ? fm.averageCharWidth() * 4.0 : fm.height();
        const double raw = span / std::max(1.0, lengthPx / roughPitch);
        double decade = std::pow(10.0, std::floor(std::log10(raw)));
        for (int guard = 0; guard < 40; ++guard, decade *= 10) {
            bool found = false;
            for (double m : {1.0, 2.0, 2.5, 5.0}) {
                chosen = LabelsFor(decade * m);
                if (Fits(chosen, lengthPx) || decade * m > span) {
                    found = true;
                    break;
                }
            }
            if (found) break;
        }
    }
    labelStep_ = chosen.step;
    labelPower_ = chosen.power;
    labelValues_ = std::move(chosen.values);
    labelTexts_ = std::move(chosen.texts);
}

// ---- series -----------------------------------------------------------------

void TLineSeries::Clear() {
    xs_.clear();
    ys_.clear();
    pixels_.clear();
}

void TLineSeries::AddXY(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    const auto at = std::upper_bound(xs_.begin(), xs_.end(), x);
    const auto index = at - xs_.begin();
    xs_.insert(at, x);
    ys_.insert(ys_.begin() + index, y);
    pixels_.assign(xs_.size(), QPoint());
}

double TLineSeries::MinX() const {
    return xs_.empty() ? 0 : xs_.front();
}
double TLineSeries::MaxX() const {
    return xs_.empty() ? 0 : xs_.back();
}
double TLineSeries::MinY() const {
    return ys_.empty() ? 0 : *std::min_element(ys_.begin(), ys_.end());
}
double TLineSeries::MaxY() const {
    return ys_.empty() ? 0 : *std::max_element(ys_.begin(), ys_.end());
}

// ---- chart ------------------------------------------------------------------

TChart::TChart() {
    LeftAxis.TitleSize = 24;
}

QImage TChart::Render(QSize size, const QColor& background) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    Draw(painter, QRect(QPoint(0, 0), size), background);
    return image;
}

QRect TChart::Measure(const QRect& area) {
    Layout(area);
    return plot_;
}

void TChart::Layout(const QRect& area) {
    area_ = area;
    // The mapped ranges: the data's or the fixed ones, never empty.
    auto range = [](TChartAxis& axis, double dataLow, double dataHigh) {
        double lo = axis.Automatic ? dataLow : axis.Minimum;
        double hi = axis.Automatic ? dataHigh : axis.Maximum;
        if (!std::isfinite(lo) || !std::isfinite(hi)) lo = 0, hi = 1;
        if (lo > hi) std::swap(lo, hi);
        if (lo == hi) {
            const double pad = lo == 0 ? 1 : std::fabs(lo) * 0.1;
            lo -= pad;
            hi += pad;
        }
        axis.low_ = lo;
        axis.high_ = hi;
    };
    const bool hasData = Series1.Count() > 0;
    range(TopAxis, hasData ? Series1.MinX() : 0, hasData ? Series1.MaxX() : 1);
    range(LeftAxis, hasData ? Series1.MinY() : 0, hasData ? Series1.MaxY() : 1);

    const QFontMetrics topLabels(TopAxis.LabelFont);
    const QFontMetrics topTitle(TopAxis.TitleFont);
    const QFontMetrics leftLabels(LeftAxis.LabelFont);
    const QFontMetrics leftTitle(LeftAxis.TitleFont);
    const int pad = std::max(4, leftLabels.height() / 3);

    // Top: title, labels, a gap that keeps the top label of the value axis
    // (centred on the plot's top edge) clear of the distance labels.
    int top = area.top() + pad;
    if (!TopAxis.Title.isEmpty()) top += topTitle.height() + pad / 2;
    const int topLabelGap = std::max(TopAxis.TickLength + 3, leftLabels.height() / 2 + 2);
    top += std::max(TopAxis.LabelSize, topLabels.height()) + topLabelGap;
    const int bottom = std::max(area.bottom() - std::max(2 * pad, leftLabels.height() / 2 + pad), top + 1);

    LeftAxis.start_ = bottom;
    LeftAxis.end_ = top;
    LeftAxis.ChooseLabels(bottom - top);
    int leftLabelWidth = LeftAxis.LabelSize;
    for (const QString& t : LeftAxis.labelTexts_)
        leftLabelWidth = std::max(leftLabelWidth, leftLabels.horizontalAdvance(t));

    int left = area.left() + pad;
    const int titleRoom =
        LeftAxis.Title.isEmpty() ? 0 : std::max(LeftAxis.TitleSize, leftTitle.height() + pad);
    left += titleRoom;
    const int markRoom = LeftAxis.MarkSize > 0 ? LeftAxis.MarkSize + HorizontalLabelGap(leftLabels) : 0;
    left += markRoom;
    LeftAxis.labelOuter_ = left;
    left += leftLabelWidth;
    LeftAxis.labelPosition_ = left;
    left += 3 + LeftAxis.TickLength;

    // A power of ten under the value labels is written in the corner above
    // them, left of the first distance label.
    if (LeftAxis.labelPower_ != 0) {
        const int powerWidth = leftLabels.horizontalAdvance(LeftAxis.PowerText());
        left = std::max(left, area.left() + pad + powerWidth + HorizontalLabelGap(topLabels) / 2 +
                                  topLabels.averageCharWidth() * 3);
    }

    if (PlotLeft > left) {
        const int extra = PlotLeft - left;
        LeftAxis.labelOuter_ += extra;
        LeftAxis.labelPosition_ += extra;
        left = PlotLeft;
    }

    // Right: room for half of the last distance label when it sits on the
    // plot's right edge; two passes, as the labels depend on the width.
    const int rightLimit = area.right() - pad;
    int right = std::max(rightLimit - pad, left + 1);
    for (int pass = 0; pass < 2; ++pass) {
        TopAxis.start_ = left;
        TopAxis.end_ = right;
        TopAxis.ChooseLabels(right - left);
        int overhang = 0;
        for (size_t i = 0; i < TopAxis.labelValues_.size(); ++i) {
            const int x = TopAxis.CalcPosValue(TopAxis.labelValues_[i]);
            const int half = (topLabels.horizontalAdvance(TopAxis.labelTexts_[i]) + 1) / 2;
            overhang = std::max(overhang, x + half - rightLimit);
        }
        if (overhang <= 0) break;
        right = std::max(right - overhang, left + 1);
    }
    TopAxis.start_ = left;
    TopAxis.end_ = right;
    TopAxis.ChooseLabels(right - left);

    plot_ = QRect(QPoint(left, top), QPoint(right, bottom));
    LeftAxis.position_ = left;
    TopAxis.position_ = top;
    TopAxis.labelPosition_ = top - topLabelGap;
    TopAxis.labelOuter_ = TopAxis.labelPosition_ - topLabels.height();
}

void TChart::DrawGrid(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (TopAxis.Grid) {
        painter.setPen(TopAxis.GridPen);
        for (double v : TopAxis.labelValues_) {
            const int x = TopAxis.CalcPosValue(v);
            if (x > plot_.left() && x < plot_.right()) painter.drawLine(x, plot_.top(), x, plot_.bottom());
        }
    }
    if (LeftAxis.Grid) {
        for (double v : LeftAxis.labelValues_) {
            const int y = LeftAxis.CalcPosValue(v);
            if (y <= plot_.top() || y >= plot_.bottom()) continue;
            painter.setPen(v == 0 ? LeftAxis.ZeroPen : LeftAxis.GridPen);
            painter.drawLine(plot_.left(), y, plot_.right(), y);
        }
    }
    painter.restore();
}

void TChart::DrawAxes(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);

    // The frame: the two axes strong, the far sides light.
    painter.setPen(LeftAxis.GridPen);
    painter.drawLine(plot_.right(), plot_.top(), plot_.right(), plot_.bottom());
    painter.drawLine(plot_.left(), plot_.bottom(), plot_.right(), plot_.bottom());
    painter.setPen(TopAxis.AxisPen);
    painter.drawLine(plot_.left(), plot_.top(), plot_.right(), plot_.top());
    painter.setPen(LeftAxis.AxisPen);
    painter.drawLine(plot_.left(), plot_.top(), plot_.left(), plot_.bottom());

    // Distance labels, centred over their ticks.
    {
        TopAxis.labelRects_.clear();
        const QFontMetrics fm(TopAxis.LabelFont);
        painter.setFont(TopAxis.LabelFont);
        for (size_t i = 0; i < TopAxis.labelValues_.size(); ++i) {
            const int x = TopAxis.CalcPosValue(TopAxis.labelValues_[i]);
            painter.setPen(TopAxis.TickPen);
            painter.drawLine(x, plot_.top() - TopAxis.TickLength, x, plot_.top());
            const int w = fm.horizontalAdvance(TopAxis.labelTexts_[i]);
            const QRect box(x - w / 2, TopAxis.labelPosition_ - fm.height(), w, fm.height());
            painter.setPen(TopAxis.LabelColor);
            painter.drawText(box, Qt::AlignCenter, TopAxis.labelTexts_[i]);
            TopAxis.labelRects_.push_back(box);
        }
        const QFontMetrics tm(TopAxis.TitleFont);
        const QRect titleRow(plot_.left(), TopAxis.labelOuter_ - tm.height() - 2, plot_.width(), tm.height());
        int powerRoom = 0;
        topPowerBox_ = QRect();
        if (TopAxis.labelPower_ != 0) {
            const int w = fm.horizontalAdvance(TopAxis.PowerText());
            topPowerBox_ = QRect(plot_.right() - w, titleRow.top(), w, titleRow.height());
            painter.drawText(topPowerBox_, Qt::AlignRight | Qt::AlignVCenter, TopAxis.PowerText());
            powerRoom = w + HorizontalLabelGap(fm);
        }
        if (!TopAxis.Title.isEmpty()) {
            painter.setFont(TopAxis.TitleFont);
            const QString title = tm.elidedText(TopAxis.Title, Qt::ElideRight, plot_.width() - 2 * powerRoom);
            painter.drawText(titleRow, Qt::AlignCenter, title);
        }
    }

    // Value labels, right-aligned beside their ticks.
    {
        LeftAxis.labelRects_.clear();
        const QFontMetrics fm(LeftAxis.LabelFont);
        painter.setFont(LeftAxis.LabelFont);
        for (size_t i = 0; i < LeftAxis.labelValues_.size(); ++i) {
            const int y = LeftAxis.CalcPosValue(LeftAxis.labelValues_[i]);
            painter.setPen(LeftAxis.TickPen);
            painter.drawLine(plot_.left() - LeftAxis.TickLength, y, plot_.left(), y);
            const int w = fm.horizontalAdvance(LeftAxis.labelTexts_[i]);
            const QRect box(LeftAxis.labelPosition_ - w, y - fm.height() / 2, w, fm.height());
            const bool crossed =
                std::any_of(LeftAxis.MarkedValues.begin(), LeftAxis.MarkedValues.end(), [&](double v) {
                    const int markY = LeftAxis.CalcPosValue(v);
                    return markY >= box.top() - 1 && markY <= box.bottom() + 1;
                });
            if (crossed) continue;
            painter.setPen(LeftAxis.LabelColor);
            painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, LeftAxis.labelTexts_[i]);
            LeftAxis.labelRects_.push_back(box);
        }
        leftPowerBox_ = QRect();
        if (LeftAxis.labelPower_ != 0) {
            const int w = fm.horizontalAdvance(LeftAxis.PowerText());
            const int right =
                (TopAxis.labelRects_.empty() ? plot_.left() : TopAxis.labelRects_.front().left()) -
                HorizontalLabelGap(fm) / 2;
            const QFontMetrics topFm(TopAxis.LabelFont);
            leftPowerBox_ = QRect(right - w, TopAxis.labelPosition_ - topFm.height(), w, topFm.height());
            painter.drawText(leftPowerBox_, Qt::AlignRight | Qt::AlignVCenter, LeftAxis.PowerText());
        }
        if (!LeftAxis.Title.isEmpty()) {
            const QFontMetrics tm(LeftAxis.TitleFont);
            painter.setFont(LeftAxis.TitleFont);
            const QString title = tm.elidedText(LeftAxis.Title, Qt::ElideRight, plot_.height());
            const int titleRoom = std::max(LeftAxis.TitleSize, tm.height());
            const int cx = area_.left() + std::max(4, fm.height() / 3) + titleRoom / 2;
            const int cy = plot_.center().y();
            painter.translate(cx, cy);
            painter.rotate(-90);
            painter.drawText(QRect(-plot_.height() / 2, -tm.height() / 2, plot_.height(), tm.height()),
                             Qt::AlignCenter, title);
        }
    }
    painter.restore();
}

void TChart::DrawSeries(QPainter& painter) {
    const int n = Series1.Count();
    Series1.pixels_.resize(static_cast<size_t>(n));
    std::vector<QPointF> points(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        // Drawn where the value falls; reported as the pixel that holds that spot.
        const QPointF at(TopAxis.CalcPos(Series1.XValue(i)), LeftAxis.CalcPos(Series1.YValue(i)));
        points[static_cast<size_t>(i)] = at;
        Series1.pixels_[static_cast<size_t>(i)] =
            QPoint(TopAxis.CalcPosValue(Series1.XValue(i)), LeftAxis.CalcPosValue(Series1.YValue(i)));
    }
    if (n == 0) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const int grow = std::max(Series1.PointHorizSize, Series1.PointVertSize) + Series1.LineWidth;
    painter.setClipRect(plot_.adjusted(-grow, -grow, grow, grow));
    QPen pen(Series1.Color, Series1.LineWidth);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.drawPolyline(points.data(), n);
    if (Series1.ShowPoints) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Series1.Color);
        const double h = Series1.PointHorizSize;
        const double v = Series1.PointVertSize;
        QPainterPath diamonds;
        for (const QPointF& p : points) {
            diamonds.addPolygon(QPolygonF({QPointF(p.x() - h, p.y()), QPointF(p.x(), p.y() - v),
                                           QPointF(p.x() + h, p.y()), QPointF(p.x(), p.y() + v)}));
            diamonds.closeSubpath();
        }
        diamonds.setFillRule(Qt::WindingFill);
        painter.drawPath(diamonds);
    }
    painter.restore();
}

void TChart::Draw(QPainter& painter, const QRect& area, const QColor& background) {
    painter.save();
    painter.fillRect(area, background);
    Layout(area);
    if (OnBeforeDrawAxes) OnBeforeDrawAxes(painter);
    DrawGrid(painter);
    DrawAxes(painter);
    DrawSeries(painter);
    if (OnAfterDraw) OnAfterDraw(painter);
    painter.restore();
}

void TChart::DrawLeftAxisMarks(QPainter& painter, std::vector<TAxisMark>& marks) const {
    if (marks.empty()) return;
    const QFontMetrics fm(LeftAxis.LabelFont);
    const int h = fm.height();
    const int textRight = LeftAxis.labelOuter_ - HorizontalLabelGap(fm) / 2;
    const int lineEnd = LeftAxis.labelOuter_ - 2;

    // Where each text goes: on its value, unless that would touch another
    // text or leave the picture.
    const size_t n = marks.size();
    std::vector<int> lineY(n), textY(n);
    for (size_t i = 0; i < n; ++i) lineY[i] = textY[i] = LeftAxis.CalcPosValue(marks[i].Value);
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return textY[a] < textY[b]; });
    const int lowest = area_.top() + h / 2 + 1;
    const int highest = area_.bottom() - h / 2 - 1;
    for (size_t k = 0; k < n; ++k) {
        int& y = textY[order[k]];
        y = std::max(y, lowest);
        if (k > 0) y = std::max(y, textY[order[k - 1]] + h + 1);
    }
    for (size_t k = n; k-- > 0;) {
        int& y = textY[order[k]];
        y = std::min(y, highest);
        if (k + 1 < n) y = std::min(y, textY[order[k + 1]] - h - 1);
    }

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(LeftAxis.LabelFont);
    for (size_t i = 0; i < n; ++i) {
        const int y = lineY[i];
        // The line, with gaps where tick labels stand.
        std::vector<std::pair<int, int>> gaps;
        for (const QRect& r : LeftAxis.labelRects_)
            if (y >= r.top() - 1 && y <= r.bottom() + 1) gaps.emplace_back(r.left() - 3, r.right() + 3);
        std::sort(gaps.begin(), gaps.end());
        painter.setPen(LeftAxis.TickPen);
        int from = LeftAxis.position_;
        for (auto it = gaps.rbegin(); it != gaps.rend(); ++it) {
            if (it->second < from) painter.drawLine(std::max(it->second, lineEnd), y, from, y);
            from = std::min(from, it->first);
        }
        if (from > lineEnd) painter.drawLine(lineEnd, y, from, y);
        if (textY[i] != y) {
            // The text was moved off its value: a short leader joins them.
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.drawLine(QPointF(lineEnd, y), QPointF(textRight + 1, textY[i]));
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
        const int w = fm.horizontalAdvance(marks[i].Text);
        const QRect box(textRight - w, textY[i] - h / 2, w, h);
        painter.setPen(LeftAxis.MarkColor);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, marks[i].Text);
        marks[i].Box = box;
    }
    painter.restore();
}

} // namespace slabwise
