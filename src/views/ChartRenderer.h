#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace slabwise {

// A small line chart drawn with QPainter: one line series against a distance
// axis along the top and a value axis down the left side. It knows nothing
// of the model; the graphs window fills, scales and renders it.

// One axis. Settings are read when the chart is drawn; the read-outs below
// describe the last drawing.
class TChartAxis {
public:
    enum class TSide { Top, Left };
    explicit TChartAxis(TSide side);

    TSide Side() const { return side_; }

    QString Title;
    QFont TitleFont;
    QFont LabelFont;
    // Pixels kept across the axis for the title, at least; 0 sizes it from the font.
    int TitleSize = 0;
    // Pixels kept across the axis for the tick labels, at least.
    int LabelSize = 0;
    // Room outside the tick labels for values marked on the (left) axis.
    int MarkSize = 0;
    int TickLength = 4;
    // Step between labels; 0 leaves it to the chart. A step too fine for
    // its labels is widened to a multiple of itself, so labels never overlap.
    double Increment = 0;
    // Automatic: the axis spans the series' values; else Minimum to Maximum.
    bool Automatic = true;
    double Minimum = 0;
    double Maximum = 0;
    // Left axis: larger values lower down. Top axis: larger values to the left.
    bool Inverted = false;
    bool Grid = true;
    QPen AxisPen;
    QPen TickPen;
    QPen GridPen;
    // The grid line at 0, a little stronger so the sign change reads at a glance.
    QPen ZeroPen;
    QColor LabelColor = Qt::black;
    QColor MarkColor = QColor(0x00, 0x00, 0xA0);
    // Values that will be marked on this axis after drawing (set them before
    // the axes are drawn): a tick label their mark line would cross is left out.
    std::vector<double> MarkedValues;

    // Pixel of the axis line: y of the top axis, x of the left axis.
    int Position() const { return position_; }
    // Pixel of the tick labels' edge that faces the axis.
    int LabelPosition() const { return labelPosition_; }
    // Outer edge of the labels: where room for marks and the title begins.
    int LabelOuterPosition() const { return labelOuter_; }
    // The range the axis maps to its length (Minimum and Maximum, or the
    // data's, widened when it would be empty).
    double Low() const { return low_; }
    double High() const { return high_; }
    double CalcPos(double value) const;
    int CalcPosValue(double value) const;
    double CalcPosPoint(int pixel) const;
    // The labelled values of the last drawing and the boxes of their texts.
    double LabelStep() const { return labelStep_; }
    const std::vector<double>& LabelValues() const { return labelValues_; }
    const std::vector<QString>& LabelTexts() const { return labelTexts_; }
    const std::vector<QRect>& LabelRects() const { return labelRects_; }
    // Labels of tiny or huge values show value / 10^power; PowerText is the
    // factor written beside the axis ("x10" and the power raised), empty at 0.
    int LabelPower() const { return labelPower_; }
    QString PowerText() const;

private:
    friend class TChart;
    struct TLabelSet {
        double step = 0;
        std::vector<double> values;
        std::vector<QString> texts;
        int maxWidth = 0;
        int power = 0;
    };
    TLabelSet LabelsFor(double step) const;
    bool Fits(const TLabelSet& set, int lengthPx) const;
    void ChooseLabels(int lengthPx);

    TSide side_;
    double low_ = 0;
    double high_ = 1;
    int start_ = 0; // pixel of low_ before inversion
    int end_ = 1;   // pixel of high_ before inversion
    int position_ = 0;
    int labelPosition_ = 0;
    int labelOuter_ = 0;
    double labelStep_ = 0;
    int labelPower_ = 0;
    std::vector<double> labelValues_;
    std::vector<QString> labelTexts_;
    std::vector<QRect> labelRects_;
};

// The line series: points kept in ascending X (equal X keep their order),
// drawn as a line with a diamond at every point.
class TLineSeries {
public:
    QColor Color = QColor(0x00, 0x00, 0xA0);
    int LineWidth = 1;
    // Half the diamond's width and height in pixels.
    int PointHorizSize = 2;
    int PointVertSize = 2;
    bool ShowPoints = true;

    void Clear();
    // Non-finite values are no point: they are skipped.
    void AddXY(double x, double y);
    int Count() const { return static_cast<int>(xs_.size()); }
    double XValue(int i) const { return xs_[static_cast<size_t>(i)]; }
    double YValue(int i) const { return ys_[static_cast<size_t>(i)]; }
    double MinX() const;
    double MaxX() const;
    double MinY() const;
    double MaxY() const;
    // Pixel of point i in the last drawing.
    QPoint Pixel(int i) const { return pixels_[static_cast<size_t>(i)]; }

private:
    friend class TChart;
    std::vector<double> xs_;
    std::vector<double> ys_;
    std::vector<QPoint> pixels_;
};

// A value marked on the left axis with its own text.
struct TAxisMark {
    double Value = 0;
    QString Text;
    // Where the text landed.
    QRect Box;
};

class TChart {
public:
    TChart();

    TChartAxis TopAxis{TChartAxis::TSide::Top};
    TChartAxis LeftAxis{TChartAxis::TSide::Left};
    TLineSeries Series1;
    // When above 0, the plot's left edge stands at least this far from the
    // drawing's left: charts shown one above the other line up their
    // distance axes. The value labels and marks keep to the axis.
    int PlotLeft = 0;

    // Called after the layout, before grid and axes are drawn.
    std::function<void(QPainter&)> OnBeforeDrawAxes;
    // Called when everything else is drawn.
    std::function<void(QPainter&)> OnAfterDraw;

    QImage Render(QSize size, const QColor& background);
    void Draw(QPainter& painter, const QRect& area, const QColor& background);
    // Lays the axes out in area as Draw would, drawing nothing: the plot's
    // rectangle.
    QRect Measure(const QRect& area);
    QRect PlotRect() const { return plot_; }
    // Where the powers of ten of the axes' labels were written; empty without one.
    QRect LeftPowerRect() const { return leftPowerBox_; }
    QRect TopPowerRect() const { return topPowerBox_; }

    // Marks values on the left axis: a tick-pen line from the axis out to the
    // marks' room, broken where it would cross a tick label, and the text at
    // its end. Texts that would touch are spread apart; each mark's Box
    // tells where its text landed.
    void DrawLeftAxisMarks(QPainter& painter, std::vector<TAxisMark>& marks) const;

private:
    void Layout(const QRect& area);
    void DrawGrid(QPainter& painter) const;
    void DrawAxes(QPainter& painter);
    void DrawSeries(QPainter& painter);

    QRect area_;
    QRect plot_;
    QRect leftPowerBox_;
    QRect topPowerBox_;
};

} // namespace slabwise
