#include "views/ChartRenderer.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace slabwise;

namespace {

TChart LineChart(double x0, double x1, double y0, double y1) {
    TChart chart;
    chart.TopAxis.Title = "Distance";
    chart.LeftAxis.Title = "Value";
    for (int i = 0; i <= 100; ++i) chart.Series1.AddXY(x0 + (x1 - x0) * i / 100, y0 + (y1 - y0) * i / 100);
    return chart;
}

bool Overlapping(const std::vector<QRect>& boxes) {
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j)
            if (boxes[i].intersects(boxes[j])) return true;
    return false;
}

TEST(ChartRenderer, SeriesKeepsAscendingDistanceAndSkipsNonFinite) {
    TLineSeries series;
    series.AddXY(3, 30);
    series.AddXY(1, 10);
    series.AddXY(3, 31); // equal distances keep their order
    series.AddXY(2, std::nan(""));
    series.AddXY(2, 20);
    ASSERT_EQ(series.Count(), 4);
    const std::vector<double> ys = {series.YValue(0), series.YValue(1), series.YValue(2), series.YValue(3)};
    EXPECT_EQ(ys, (std::vector<double>{10, 20, 30, 31}));
    EXPECT_EQ(series.MinX(), 1);
    EXPECT_EQ(series.MaxY(), 31);
}

// A given step too fine for its labels is widened to a multiple of itself;
// without one the chart picks 1, 2, 2.5 or 5 times a power of ten.
TEST(ChartRenderer, LabelStepsNeverCrowd) {
    struct TCase {
        std::string name;
        double x1, y0, y1, topIncrement, leftIncrement;
        QSize size;
        double topStep, leftStep;
    };
    const std::vector<TCase> cases = {
        {"given steps fit", 50, -48, 48, 10, 16, {473, 280}, 10, 16},
        {"fine distance step", 1000, 0, 10, 1, 1, {473, 280}, 200, 1},
        {"fine value step", 10, 0, 1000, 1, 1, {473, 280}, 1, 100},
        {"automatic", 12, -3, 7, 0, 0, {473, 280}, 1, 1},
        {"automatic narrow", 12, -3, 7, 0, 0, {200, 120}, 5, 5},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TChart chart = LineChart(0, c.x1, c.y0, c.y1);
        chart.TopAxis.Increment = c.topIncrement;
        chart.LeftAxis.Increment = c.leftIncrement;
        chart.Render(c.size, Qt::white);
        EXPECT_DOUBLE_EQ(chart.TopAxis.LabelStep(), c.topStep);
        EXPECT_DOUBLE_EQ(chart.LeftAxis.LabelStep(), c.leftStep);
        EXPECT_FALSE(Overlapping(chart.TopAxis.LabelRects()));
        EXPECT_FALSE(Overlapping(chart.LeftAxis.LabelRects()));
    }
}

TEST(ChartRenderer, ValueToPixelBothWays) {
    TChart chart = LineChart(0, 20, 0, 10);
    chart.LeftAxis.Automatic = false;
    chart.LeftAxis.Minimum = -10;
    chart.LeftAxis.Maximum = 10;
    chart.Render({400, 300}, Qt::white);
    const QRect plot = chart.PlotRect();
    EXPECT_EQ(chart.TopAxis.CalcPosValue(0), plot.left());
    EXPECT_EQ(chart.TopAxis.CalcPosValue(20), plot.right());
    EXPECT_EQ(chart.LeftAxis.CalcPosValue(10), plot.top());
    EXPECT_EQ(chart.LeftAxis.CalcPosValue(-10), plot.bottom());
    EXPECT_NEAR(chart.LeftAxis.CalcPosPoint(chart.LeftAxis.CalcPosValue(4)), 4, 20.0 / plot.height());

    chart.LeftAxis.Inverted = true;
    chart.Render({400, 300}, Qt::white);
    EXPECT_EQ(chart.LeftAxis.CalcPosValue(10), plot.bottom());
    EXPECT_EQ(chart.LeftAxis.CalcPosValue(-10), plot.top());
    // The series follows: its last (largest) point is now the lowest.
    EXPECT_EQ(chart.Series1.Pixel(100), QPoint(plot.right(), chart.LeftAxis.CalcPosValue(10)));
}

TEST(ChartRenderer, HooksRunAroundTheAxes) {
    TChart chart = LineChart(0, 5, 1, 2);
    std::vector<std::string> calls;
    QColor underAxis;
    chart.OnBeforeDrawAxes = [&](QPainter&) { calls.push_back("before"); };
    chart.OnAfterDraw = [&](QPainter& p) {
        calls.push_back("after");
        // Everything is drawn by now: the axis line is on the canvas.
        const QImage* image = static_cast<const QImage*>(p.device());
        underAxis = image->pixelColor(chart.PlotRect().left(), chart.PlotRect().center().y());
    };
    const QImage image = chart.Render({300, 200}, QColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(calls, (std::vector<std::string>{"before", "after"}));
    EXPECT_LT(underAxis.lightness(), 0x80);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0xF0, 0xF0, 0xF0));
}

TEST(ChartRenderer, MarksLeaveTheLabelsTheyCrossAndSpreadApart) {
    TChart chart = LineChart(0, 10, -47, 35);
    chart.LeftAxis.Automatic = false;
    chart.LeftAxis.Minimum = -48;
    chart.LeftAxis.Maximum = 48;
    chart.LeftAxis.Increment = 16;
    chart.LeftAxis.MarkSize = 40;
    // 32.2 sits on the label 32; 33 is too close to 32.2 for two texts.
    chart.LeftAxis.MarkedValues = {32.2, 33};
    std::vector<TAxisMark> marks = {{32.2, "32.20", {}}, {33, "33.00", {}}};
    chart.OnAfterDraw = [&](QPainter& p) { chart.DrawLeftAxisMarks(p, marks); };
    chart.Render({473, 280}, Qt::white);
    const std::vector<double>& values = chart.LeftAxis.LabelValues();
    EXPECT_EQ(values, (std::vector<double>{-48, -32, -16, 0, 16, 32, 48}));
    EXPECT_EQ(chart.LeftAxis.LabelRects().size(), values.size() - 1);
    std::vector<QRect> boxes = chart.LeftAxis.LabelRects();
    boxes.push_back(marks[0].Box);
    boxes.push_back(marks[1].Box);
    EXPECT_FALSE(Overlapping(boxes));
    EXPECT_LE(marks[1].Box.right(), chart.LeftAxis.LabelOuterPosition());
}

TEST(ChartRenderer, TinyValuesShowAPowerOfTen) {
    TChart chart = LineChart(0, 10, 0, 5.5e-17);
    chart.Render({473, 280}, Qt::white);
    EXPECT_EQ(chart.LeftAxis.LabelPower(), -17);
    EXPECT_EQ(chart.LeftAxis.PowerText(), QString::fromUtf8("×10⁻¹⁷"));
    EXPECT_EQ(chart.LeftAxis.LabelTexts().back(), "5.5");
    EXPECT_FALSE(chart.LeftPowerRect().isNull());
    std::vector<QRect> boxes = chart.LeftAxis.LabelRects();
    boxes.insert(boxes.end(), chart.TopAxis.LabelRects().begin(), chart.TopAxis.LabelRects().end());
    boxes.push_back(chart.LeftPowerRect());
    EXPECT_FALSE(Overlapping(boxes));
}

TEST(ChartRenderer, DrawsWithoutDataAndInTinyPictures) {
    for (QSize size : {QSize(473, 280), QSize(30, 20), QSize(1, 1)}) {
        TChart empty;
        EXPECT_EQ(empty.Render(size, Qt::white).size(), size);
        TChart chart = LineChart(0, 1, 5, 5);
        chart.Render(size, Qt::white);
        EXPECT_EQ(chart.Series1.Count(), 101);
    }
}

} // namespace
