#include "views/Graphs.h"
#include "GraphModels.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace slabwise;
using test::AnalysedExample;
using test::NewModel;

namespace {

constexpr uint8_t AllGraphs[] = {TfrmGraphs::grShear, TfrmGraphs::grMoment, TfrmGraphs::grDeflection,
                                 TfrmGraphs::grPressure};

// A model whose stations are written by hand: nodes over [0, length], the
// other stations at mid-length, each value from its own function of the node.
template <typename F> std::unique_ptr<TMatData> HandMade(uint8_t units, Real length, F values) {
    auto mat = NewModel(units);
    mat->StripLength = length;
    for (int i = 0; i < StationCount; ++i) {
        TMatStation& st = mat->Stations[static_cast<size_t>(i)];
        const int node = i < NodeCount ? i : 50;
        st.X = length * node / 100;
        values(st, node);
    }
    return mat;
}

void MoveMouse(QLabel* image, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(image->mapToGlobal(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(image, &move);
}

// ---- the scaling rules ---------------------------------------------------------

struct TDistanceCase {
    double span;
    double increment;
};

TEST(GraphScales, DistanceIncrementFromTheSpan) {
    const TDistanceCase cases[] = {
        {50, 10},
        {20, 5},
        {100, 20},
        {7, 1.5},
        {48, 10},
        {15, 5},
        {0.5, 0.1},
        {3000, 500},
        // 10 to 12.5 times a power of ten rounds to no step: the chart picks one.
        {10, 0},
        {11, 0},
        {12.5, 0},
        {120, 0},
        {0.11, 0},
        {0, 0},
    };
    for (const TDistanceCase& c : cases) {
        SCOPED_TRACE(c.span);
        EXPECT_NEAR(DistanceIncrement(c.span), c.increment, 1e-12 * std::max(1.0, c.increment));
    }
}

struct TValueCase {
    double low, high;
    double increment, minimum, maximum;
};

TEST(GraphScales, ValueAxisStepAndOutwardEnds) {
    const TValueCase cases[] = {
        {-47, 35, 16, -48, 48},
        // An end on a multiple of the step still moves one step out.
        {0, 20, 4, 0, 24},
        {-20, 0, 4, -24, 0},
        {1.8, 2.3, 0.1, 0, 2.4},
        {-0.16, -0.12, 0.008, -0.168, 0},
        {-341.82, 607.17, 180, -360, 720},
    };
    for (const TValueCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << ".." << c.high);
        const double step = ValueIncrement(c.high - c.low);
        EXPECT_NEAR(step, c.increment, 1e-12 * c.increment);
        EXPECT_NEAR(std::min(0.0, OutwardLimit(c.low, step)), c.minimum, 1e-9);
        EXPECT_NEAR(std::max(0.0, OutwardLimit(c.high, step)), c.maximum, 1e-9);
    }
    EXPECT_EQ(ValueIncrement(0), 0);
    EXPECT_EQ(OutwardLimit(-3.5, 0), -3.5);
    EXPECT_EQ(OutwardLimit(0, 16), 0);
}

// ---- the window ---------------------------------------------------------------

TEST(Graphs, TitlesByUnitSystemShortenedInWidePictures) {
    struct TCase {
        uint8_t units;
        int widthFactor;
        uint8_t graph;
        const char* title;
    };
    const TCase cases[] = {
        {UnitsEnglish, 1, TfrmGraphs::grShear, "Shear, kips"},
        {UnitsEnglish, 1, TfrmGraphs::grMoment, "Moment, ft-kips"},
        {UnitsEnglish, 1, TfrmGraphs::grDeflection, "Deflection, in"},
        {UnitsEnglish, 1, TfrmGraphs::grPressure, "Bearing Pressure, ksf"},
        {UnitsSI, 1, TfrmGraphs::grShear, "Shear, kN"},
        {UnitsSI, 1, TfrmGraphs::grMoment, "Moment, kN-m"},
        {UnitsSI, 1, TfrmGraphs::grDeflection, "Deflection, mm"},
        {UnitsSI, 1, TfrmGraphs::grPressure, "Bearing Pressure, kPa"},
        {UnitsEnglish, 2, TfrmGraphs::grShear, "Shear, kips"},
        {UnitsEnglish, 2, TfrmGraphs::grMoment, "Mom, ft-kips"},
        {UnitsEnglish, 2, TfrmGraphs::grDeflection, "Defl, in"},
        {UnitsSI, 2, TfrmGraphs::grShear, "Shear, kN"},
        {UnitsSI, 2, TfrmGraphs::grPressure, "Bear. Press, kPa"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.title);
        auto model = AnalysedExample(c.units);
        TfrmGraphs graphs;
        graphs.SetPictureSize(QSize(473 * c.widthFactor, 280));
        graphs.ShowResults(*model, TfrmGraphs::grAll);
        EXPECT_EQ(graphs.Graph(c.graph).ValueTitle.toStdString(), c.title);
        EXPECT_EQ(graphs.Graph(c.graph).DistanceTitle.toStdString(),
                  c.units == UnitsEnglish ? "Distance from left, ft" : "Distance from left, m");
    }
}

TEST(Graphs, WindowAsDesigned) {
    auto model = AnalysedExample(UnitsEnglish);
    TfrmGraphs graphs(*model, nullptr);
    graphs.show();
    EXPECT_EQ(graphs.windowTitle(), "Slabwise Graphs");
    // The shear line is drawn thick, and the series is thin again afterwards.
    EXPECT_EQ(graphs.Chart1.Series1.LineWidth, 1);
    EXPECT_EQ(graphs.width(), 946);
    EXPECT_EQ(graphs.Panel1->size(), QSize(946, 280));
    EXPECT_EQ(graphs.Image2->x(), 473);
    EXPECT_EQ(graphs.Panel2->y(), 280);
    EXPECT_EQ(graphs.StatusBar1->y(), 560);
    for (uint8_t g : AllGraphs) {
        EXPECT_EQ(graphs.Picture(g).size(), QSize(473, 280));
        EXPECT_FALSE(graphs.Image(g)->isHidden());
    }
}

TEST(Graphs, AxesFromHandMadeValues) {
    // Shear from -47 to 35 and moment from 0 to 20; the deflection is flat and
    // keeps the moment's step; the pressure is flat at 0.5.
    auto model = HandMade(UnitsEnglish, 50, [](TMatStation& st, int node) {
        st.Shear = -47 + 82.0L * node / 100;
        st.Moment = 20.0L * node / 100;
        st.Deflection = -9;
        st.Pressure = 0.5L;
    });
    TfrmGraphs graphs;
    // A second call (the report draws the graphs again) reads the same.
    graphs.ShowResults(*model, TfrmGraphs::grAll);
    graphs.ShowResults(*model, TfrmGraphs::grAll);
    struct TExpected {
        uint8_t graph;
        double increment, minimum, maximum;
        bool inverted;
    };
    const TExpected expected[] = {
        {TfrmGraphs::grShear, 16, -48, 48, false},
        {TfrmGraphs::grMoment, 4, 0, 24, false},
        {TfrmGraphs::grDeflection, 4, -12, 0, false},
        {TfrmGraphs::grPressure, 4, 0, 4, true},
    };
    for (const TExpected& e : expected) {
        SCOPED_TRACE(int(e.graph));
        const TGraphInfo& info = graphs.Graph(e.graph);
        EXPECT_DOUBLE_EQ(info.ValueIncrement, e.increment);
        EXPECT_DOUBLE_EQ(info.ValueMinimum, e.minimum);
        EXPECT_DOUBLE_EQ(info.ValueMaximum, e.maximum);
        EXPECT_EQ(info.Inverted, e.inverted);
    }
    // Length 50: distance steps of 10, labelled from 0 to 50.
    EXPECT_DOUBLE_EQ(graphs.Chart1.TopAxis.Increment, 10);
    const std::vector<double> distances = graphs.Chart1.TopAxis.LabelValues();
    EXPECT_EQ(distances, (std::vector<double>{0, 10, 20, 30, 40, 50}));
}

TEST(Graphs, MarksTheExtremesOfShearMomentAndDeflection) {
    auto model = AnalysedExample(UnitsEnglish);
    TfrmGraphs graphs;
    graphs.ShowResults(*model, TfrmGraphs::grAll);

    auto valuesOf = [&](uint8_t g) {
        std::vector<double> v;
        for (const TAxisMark& m : graphs.Graph(g).Marks) v.push_back(m.Value);
        return v;
    };
    const double maxShear = static_cast<double>(model->MaxShear);
    const double minShear = static_cast<double>(model->MinShear);
    EXPECT_EQ(valuesOf(TfrmGraphs::grShear), (std::vector<double>{maxShear, minShear}));
    EXPECT_EQ(graphs.Graph(TfrmGraphs::grShear).Marks[0].Text, QString::asprintf("%.2f", maxShear));
    EXPECT_EQ(valuesOf(TfrmGraphs::grMoment),
              (std::vector<double>{double(model->MaxMoment), double(model->MinMoment)}));
    // Deflection: only the lowest (the largest settlement), in inches to four decimals.
    ASSERT_EQ(graphs.Graph(TfrmGraphs::grDeflection).Marks.size(), 1u);
    const TAxisMark& settlement = graphs.Graph(TfrmGraphs::grDeflection).Marks[0];
    EXPECT_EQ(settlement.Text, QString::asprintf("%.4f", settlement.Value));
    EXPECT_TRUE(valuesOf(TfrmGraphs::grPressure).empty());
    EXPECT_FALSE(graphs.MarkMin);
    EXPECT_FALSE(graphs.MarkMax);

    // One graph alone starts from both marks on.
    graphs.ShowResults(*model, TfrmGraphs::grPressure);
    EXPECT_EQ(valuesOf(TfrmGraphs::grPressure), std::vector<double>{double(model->MaxPressure)});
}

TEST(Graphs, DeflectionMarksKeepFourDecimalsUnderShortTitles) {
    for (uint8_t units : {UnitsEnglish, UnitsSI}) {
        auto model = AnalysedExample(units);
        TfrmGraphs graphs;
        graphs.SetPictureSize(QSize(946, 280));
        graphs.ShowResults(*model, TfrmGraphs::grAll);
        const TAxisMark& mark = graphs.Graph(TfrmGraphs::grDeflection).Marks.at(0);
        EXPECT_EQ(mark.Text, QString::asprintf(units == UnitsEnglish ? "%.4f" : "%.2f", mark.Value));
    }
}

TEST(Graphs, EqualExtremesAreMarkedOnce) {
    auto model = test::EqualValuesStrip();
    TfrmGraphs graphs;
    graphs.ShowResults(*model, TfrmGraphs::grAll);
    ASSERT_EQ(graphs.Graph(TfrmGraphs::grShear).Marks.size(), 1u);
    EXPECT_EQ(graphs.Graph(TfrmGraphs::grShear).Marks[0].Text, "12.50");
    // The first graph has no step to keep: its ends are the value and 0.
    EXPECT_DOUBLE_EQ(graphs.Graph(TfrmGraphs::grShear).ValueMinimum, 0);
    EXPECT_DOUBLE_EQ(graphs.Graph(TfrmGraphs::grShear).ValueMaximum, 12.5);
}

// No tick label touches another, a mark's text or the picture's edge, at
// the designed size, twice as wide, and in cramped pictures.
TEST(Graphs, LabelsAndMarksNeverOverlap) {
    const QSize sizes[] = {{473, 280}, {946, 280}, {240, 140}, {473, 600}, {160, 100}};
    for (const auto& [name, model] : test::GraphModels()) {
        for (QSize size : sizes) {
            SCOPED_TRACE(testing::Message() << name << " " << size.width() << "x" << size.height());
            TfrmGraphs graphs;
            graphs.SetPictureSize(size);
            graphs.ShowResults(*model, TfrmGraphs::grAll);
            for (uint8_t g : AllGraphs) {
                SCOPED_TRACE(int(g));
                const TGraphInfo& info = graphs.Graph(g);
                std::vector<QRect> boxes = info.LabelRects;
                for (const TAxisMark& m : info.Marks) boxes.push_back(m.Box);
                if (size.width() >= 240) {
                    EXPECT_GE(info.LabelRects.size(), 4u);
                }
                const QRect picture(QPoint(0, 0), size);
                for (size_t i = 0; i < boxes.size(); ++i) {
                    EXPECT_TRUE(picture.contains(boxes[i])) << i;
                    EXPECT_FALSE(info.PlotRect.intersects(boxes[i])) << i;
                    for (size_t j = i + 1; j < boxes.size(); ++j)
                        EXPECT_FALSE(boxes[i].intersects(boxes[j])) << i << " " << j;
                }
            }
        }
    }
}

TEST(Graphs, PointsFollowTheStationsInDistanceOrder) {
    auto model = AnalysedExample(UnitsSI);
    TfrmGraphs graphs;
    graphs.ShowResults(*model, TfrmGraphs::grAll);
    const QColor line(0x00, 0x00, 0xA0);
    for (uint8_t g : AllGraphs) {
        SCOPED_TRACE(int(g));
        const TGrPointArr& points = graphs.Points(g);
        ASSERT_EQ(points.size(), size_t(StationCount));
        const QRect plot = graphs.Graph(g).PlotRect;
        EXPECT_EQ(points.front().PixelX, plot.left());
        EXPECT_EQ(points.back().PixelX, plot.right());
        // A point load on the right end adds a station a hair beyond it.
        EXPECT_NEAR(points.back().X, double(model->StripLength), 1e-6);
        const QImage picture = graphs.Picture(g);
        for (size_t i = 0; i < points.size(); ++i) {
            if (i > 0) {
                EXPECT_LE(points[i - 1].X, points[i].X);
            }
            EXPECT_TRUE(plot.contains(points[i].PixelX, points[i].PixelY));
            // Each point is drawn where it says: its pixel is the line's blue.
            const QColor seen = picture.pixelColor(points[i].PixelX, points[i].PixelY);
            EXPECT_GT(seen.blue() - seen.red(), 120) << i;
        }
    }
    // Pressure is plotted downward: the largest pressure lies lowest.
    const TGrPointArr& pressure = graphs.Points(TfrmGraphs::grPressure);
    const auto largest = std::max_element(pressure.begin(), pressure.end(),
                                          [](const TGrPoint& a, const TGrPoint& b) { return a.Y < b.Y; });
    for (const TGrPoint& p : pressure) EXPECT_LE(p.PixelY, largest->PixelY);
    EXPECT_DOUBLE_EQ(largest->Y, double(model->MaxPressure));
    // A point load's two stations share a pixel column: the shear jumps.
    const TGrPointArr& shear = graphs.Points(TfrmGraphs::grShear);
    bool jump = false;
    for (size_t i = 1; i < shear.size(); ++i)
        jump = jump || (shear[i].PixelX == shear[i - 1].PixelX &&
                        std::abs(shear[i].PixelY - shear[i - 1].PixelY) > 20);
    EXPECT_TRUE(jump);
}

TEST(Graphs, NonFiniteStationsAreNoPoints) {
    auto model = HandMade(UnitsSI, 10, [](TMatStation& st, int node) {
        const Real nan = std::numeric_limits<Real>::quiet_NaN();
        st.Shear = node < 30 ? nan : node;
        st.Moment = nan;
        st.Deflection = -1;
        st.Pressure = node;
    });
    TfrmGraphs graphs;
    graphs.ShowResults(*model, TfrmGraphs::grAll);
    EXPECT_EQ(graphs.Points(TfrmGraphs::grShear).size(), size_t(StationCount - 30));
    EXPECT_TRUE(graphs.Points(TfrmGraphs::grMoment).empty());
    EXPECT_TRUE(graphs.Graph(TfrmGraphs::grMoment).Marks.empty());
    EXPECT_EQ(graphs.Points(TfrmGraphs::grPressure).size(), size_t(StationCount));
}

TEST(Graphs, ReadOutTakesTheNearerDistanceAndClearsOutside) {
    auto model = AnalysedExample(UnitsEnglish);
    TfrmGraphs graphs;
    graphs.ShowResults(*model, TfrmGraphs::grAll);
    graphs.show();

    struct TCase {
        uint8_t graph;
        const char* format;
    };
    const TCase cases[] = {
        {TfrmGraphs::grShear, "  Distance: %.2f    Shear: %.2f"},
        {TfrmGraphs::grMoment, "  Distance: %.2f    Moment: %.2f"},
        {TfrmGraphs::grDeflection, "  Distance: %.2f    Deflection: %.4f"},
        {TfrmGraphs::grPressure, "  Distance: %.2f    Bearing Pressure: %.2f"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.format);
        const TGrPointArr& points = graphs.Points(c.graph);
        // Aim at a point that has a neighbour of smaller distance within reach.
        size_t aim = 0, reported = 0;
        for (size_t i = 1; i < points.size() && aim == 0; ++i) {
            if (points[i].X == points[i - 1].X) continue;
            for (size_t j = 0; j < i; ++j) {
                if (std::abs(points[j].PixelX - points[i].PixelX) <= 5 &&
                    std::abs(points[j].PixelY - points[i].PixelY) <= 5 && points[j].X < points[i].X) {
                    aim = i;
                    reported = j;
                    break;
                }
            }
        }
        ASSERT_GT(aim, 0u);
        QLabel* image = graphs.Image(c.graph);
        MoveMouse(image, QPoint(points[aim].PixelX, points[aim].PixelY));
        EXPECT_EQ(graphs.StatusText(), QString::asprintf(c.format, points[reported].X, points[reported].Y));
        // The corner holds no point.
        MoveMouse(image, QPoint(1, 1));
        EXPECT_TRUE(graphs.StatusText().isEmpty());
    }
}

TEST(Graphs, ReadOutUsesTheLocaleDecimalSeparator) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto model = AnalysedExample(UnitsSI);
    TfrmGraphs graphs;
    graphs.ShowResults(*model, TfrmGraphs::grAll);
    const TGrPoint& p = graphs.Points(TfrmGraphs::grMoment).at(60);
    MoveMouse(graphs.Image2, QPoint(p.PixelX, p.PixelY));
    QString expected = QString::asprintf("  Distance: %.2f    Moment: %.2f", p.X, p.Y);
    expected.replace('.', ',');
    EXPECT_EQ(graphs.StatusText(), expected);
    EXPECT_TRUE(graphs.Graph(TfrmGraphs::grMoment).Marks.at(0).Text.contains(','));
    QLocale::setDefault(before);
}

TEST(Graphs, PrepareForPrintEnlargesOnWhite) {
    auto model = AnalysedExample(UnitsEnglish);
    TfrmGraphs graphs;
    const int designedFont = graphs.Chart1.LeftAxis.LabelFont.pointSize();
    graphs.PrepareForPrint(1.5);
    graphs.ShowResults(*model, TfrmGraphs::grAll);
    EXPECT_TRUE(graphs.StatusBar1->isHidden());
    EXPECT_EQ(graphs.Chart1.LeftAxis.LabelFont.pointSize(), std::lround(designedFont * 1.6));
    EXPECT_EQ(graphs.Chart1.Series1.PointHorizSize, 4);
    for (uint8_t g : AllGraphs) {
        const QImage picture = graphs.Picture(g);
        EXPECT_EQ(picture.size(), QSize(946, 631));
        EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::white));
        EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() - 1), QColor(Qt::white));
    }
    EXPECT_EQ(graphs.width(), 1892);
    // 2 x 631 is not less than 946: full titles.
    EXPECT_EQ(graphs.Graph(TfrmGraphs::grMoment).ValueTitle, "Moment, ft-kips");
}

TEST(Graphs, FormShowKeepsTheWindowOnItsScreen) {
    auto model = AnalysedExample(UnitsEnglish);
    TfrmGraphs graphs;
    graphs.SetPictureSize(QSize(200, 150));
    graphs.ShowResults(*model, TfrmGraphs::grAll);
    graphs.show();
    const QRect screen = graphs.screen()->geometry();
    ASSERT_LT(graphs.frameGeometry().width(), screen.width());
    graphs.move(screen.right() - 50, screen.bottom() - 50);
    graphs.FormShow();
    EXPECT_EQ(graphs.frameGeometry().right(), screen.right());
    EXPECT_EQ(graphs.frameGeometry().bottom(), screen.bottom());
    graphs.move(screen.left() - 80, screen.top() - 30);
    graphs.FormShow();
    EXPECT_EQ(graphs.frameGeometry().topLeft(), screen.topLeft());
}

// ---- the graphs drawn without a window ------------------------------------------

// The window only shows what the builder draws: the same pictures, points
// and read-outs from the same font and background. Without vectors kept
// there is nothing to replay.
TEST(GraphPictures, DrawWhatTheWindowShows) {
    for (const test::TNamedModel& m : test::GraphModels()) {
        SCOPED_TRACE(m.name);
        TfrmGraphs window;
        TGraphPictures pictures(window.font(), window.palette().color(QPalette::Button));
        pictures.KeepVectors = false;
        window.ShowResults(*m.model, TfrmGraphs::grAll);
        pictures.ShowResults(*m.model, TGraphPictures::grAll);
        ASSERT_EQ(pictures.PictureSize(), window.PictureSize());
        for (uint8_t g : AllGraphs) {
            SCOPED_TRACE(int(g));
            EXPECT_EQ(pictures.Picture(g), window.Picture(g));
            EXPECT_EQ(pictures.Graph(g).PlotRect, window.Graph(g).PlotRect);
            EXPECT_EQ(pictures.Graph(g).Marks.size(), window.Graph(g).Marks.size());
            ASSERT_EQ(pictures.Points(g).size(), window.Points(g).size());
            for (size_t i = 0; i < pictures.Points(g).size(); ++i) {
                EXPECT_EQ(pictures.Points(g)[i].PixelX, window.Points(g)[i].PixelX);
                EXPECT_EQ(pictures.Points(g)[i].PixelY, window.Points(g)[i].PixelY);
            }
            QImage replayed(pictures.PictureSize(), QImage::Format_RGB32);
            replayed.fill(Qt::white);
            const QImage blank = replayed;
            {
                QPainter painter(&replayed);
                pictures.DrawVector(g, painter);
            }
            EXPECT_EQ(replayed, blank);
            EXPECT_EQ(
                window.Image(g)->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                window.Picture(g));
        }
    }
}

// The plots' widest left edge found by laying the axes out is the one a full
// drawing shows, and the chart is left as that drawing leaves it: lined up at
// that edge, both draw the same four pictures (a graph whose values are all
// equal keeps the step of the graph before).
TEST(GraphPictures, WidestPlotLeftWithoutDrawing) {
    for (const test::TNamedModel& m : test::GraphModels()) {
        SCOPED_TRACE(m.name);
        TGraphPictures drawn(QGuiApplication::font(), Qt::white);
        TGraphPictures measured(QGuiApplication::font(), Qt::white);
        for (TGraphPictures* graphs : {&drawn, &measured}) graphs->PrepareForPrint(3.2);
        drawn.ShowResults(*m.model, TGraphPictures::grAll);
        int widest = 0;
        for (uint8_t g : AllGraphs) widest = std::max(widest, drawn.Graph(g).PlotRect.left());
        measured.Chart1.PlotLeft = 7;
        EXPECT_EQ(measured.WidestPlotLeft(*m.model), widest);
        EXPECT_EQ(measured.Chart1.PlotLeft, 7);
        EXPECT_GT(widest, 0);
        for (TGraphPictures* graphs : {&drawn, &measured}) {
            graphs->Chart1.PlotLeft = widest;
            graphs->ShowResults(*m.model, TGraphPictures::grAll);
        }
        for (uint8_t g : AllGraphs) {
            SCOPED_TRACE(int(g));
            EXPECT_EQ(measured.Graph(g).PlotRect.left(), widest);
            EXPECT_EQ(measured.Picture(g), drawn.Picture(g));
        }
    }
}

} // namespace
