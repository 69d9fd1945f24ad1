// The shared pieces of the diagrams: size units, number texts, lanes, and the
// arrow, dimension and text-box primitives, checked on small blank canvases.

#include "views/DiagramCanvas.h"
#include "views/DiagramDraw.h"

#include "support/TestModels.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace slabwise;

namespace {

bool IsWhite(QRgb c) {
    return (c & 0xFFFFFF) == 0xFFFFFF;
}
bool IsBlack(QRgb c) {
    return (c & 0xFFFFFF) == 0;
}

// Dark pixels (line or text ink) inside [x0, x1) x [y0, y1).
int InkIn(const QImage& image, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = std::max(0, y0); y < std::min(y1, image.height()); ++y)
        for (int x = std::max(0, x0); x < std::min(x1, image.width()); ++x)
            if (qGray(image.pixel(x, y)) < 128) ++count;
    return count;
}

QImage Blank(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TEST(DiagramSizeUnits, FollowTheSmallerSideInSteps) {
    struct TCase {
        int width, height, pen, thick, grid, arrow;
    };
    const TCase cases[] = {
        {599, 599, 1, 2, 10, 8},    {600, 600, 2, 4, 20, 16},   {1199, 1199, 2, 4, 20, 16},
        {1200, 1200, 4, 8, 40, 32}, {1799, 2000, 4, 8, 40, 32}, {1800, 1800, 6, 12, 60, 48},
        {550, 337, 1, 2, 10, 8},    {1900, 940, 2, 4, 20, 16},  {1300, 599, 1, 2, 10, 8},
    };
    auto mat = test::NewModel();
    for (const TCase& c : cases) {
        TDiagramDraw draw(*mat);
        draw.Width = c.width;
        draw.Height = c.height;
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        EXPECT_EQ(draw.PenUnit(), c.pen);
        EXPECT_EQ(draw.ThickPen(), c.thick);
        EXPECT_EQ(draw.GridUnit(), c.grid);
        EXPECT_EQ(draw.ArrowSize(), c.arrow);
    }
}

TEST(DiagramDraw, StartsEmpty) {
    auto mat = test::NewModel();
    const TDiagramDraw draw(*mat);
    EXPECT_EQ(&draw.Model, mat.get());
    EXPECT_EQ(draw.Width, 0);
    EXPECT_EQ(draw.Height, 0);
    EXPECT_EQ(draw.Scale, 0);
    EXPECT_EQ(draw.OutWidth, 0);
    EXPECT_EQ(draw.OutHeight, 0);
    EXPECT_EQ(draw.PlanBottom, 0);
    EXPECT_EQ(draw.Bitmap.size(), QSize(600, 600));
}

TEST(DiagramFormatValue, TrimsOnlyDigitsAfterTheSeparator) {
    struct TCase {
        double value;
        const char* unit;
        const char* text;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const TCase cases[] = {
        {12.50, "", "12.5"},
        {12.00, "", "12"},
        {0.004, "", "0"},
        {-0.004, "", "0"},
        {1.5, "k/ft", "1.5 k/ft"},
        {3.10, "", "3.1"},
        {3.00, "ft", "3 ft"},
        {120, "", "120"},
        {100, "m", "100 m"},
        {-2.25, "KN", "-2.25 KN"},
        {1234.567, "", "1234.57"},
        {2.675, "", "2.68"},
        {0.995, "", "1"},
        // More integer digits than the precision: scientific, left whole.
        {123456789, "", "1.2345679E+08"},
        {nan, "", "N.A."},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(TDiagramDraw::FormatValue(c.value, c.unit).toStdString(), c.text) << c.value;
}

// The drawings take the locale's separator from the one path tested in
// LocaleNumberTest, and trim zeros after it only.
TEST(DiagramFormatValue, UsesTheLocaleSeparator) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(TDiagramDraw::FormatValue(12.5, "m"), QStringLiteral("12,5 m"));
    EXPECT_EQ(TDiagramDraw::FormatValue(3.0), QStringLiteral("3"));
    // A whole number keeps its zeros even where "." is not the separator.
    EXPECT_EQ(TDiagramDraw::FormatValue(1200), QStringLiteral("1200"));
    QLocale::setDefault(saved);
}

TEST(AllocateLane, TakesTheFirstLaneFreeOverTheInterval) {
    struct TStep {
        int32_t lo, hi;
        bool checkNext;
        int lane;
    };
    struct TCase {
        const char* name;
        std::vector<TStep> steps;
    };
    const TCase cases[] = {
        {"disjoint intervals share lane 0", {{0, 10, false, 0}, {11, 20, false, 0}, {30, 40, true, 0}}},
        {"touching ends collide", {{0, 10, false, 0}, {10, 20, false, 1}, {20, 30, false, 0}}},
        {"a point inside an interval collides", {{0, 100, false, 0}, {50, 50, true, 1}}},
        {"same position stacks", {{5, 5, true, 0}, {5, 5, true, 1}, {5, 5, true, 2}}},
        // Lane 0 is free at 40, but lane 1 holds [35, 45] there.
        {"checkNext looks at the lane after",
         {{0, 50, false, 0}, {35, 45, false, 1}, {40, 40, true, 2}, {40, 40, false, 3}}},
        {"without checkNext the next lane does not matter",
         {{0, 10, false, 0}, {0, 10, false, 1}, {20, 20, false, 0}}},
        // Lane 1 is free at 60 and lane 2 does not exist yet.
        {"checkNext on the last lane", {{0, 100, false, 0}, {0, 50, false, 1}, {60, 60, true, 1}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TArrayOfArrayOfRow lanes;
        int index = 0;
        for (const TStep& s : c.steps)
            EXPECT_EQ(AllocateLane(lanes, s.lo, s.hi, s.checkNext, index++), s.lane);
        for (const TArrayOfRow& lane : lanes)
            for (size_t i = 1; i < lane.size(); ++i) EXPECT_LE(lane[i - 1].Lo, lane[i].Lo);
    }
}

TEST(AllocateLane, KeepsALaneSortedAndRecordsTheIndex) {
    TArrayOfArrayOfRow lanes;
    AllocateLane(lanes, 50, 60, false, 7);
    AllocateLane(lanes, 10, 20, false, 8);
    AllocateLane(lanes, 30, 40, false, 9);
    AllocateLane(lanes, 80, 90, false, 10);
    ASSERT_EQ(lanes.size(), 1u);
    const std::vector<int32_t> lo = {lanes[0][0].Lo, lanes[0][1].Lo, lanes[0][2].Lo, lanes[0][3].Lo};
    EXPECT_EQ(lo, (std::vector<int32_t>{10, 30, 50, 80}));
    EXPECT_EQ(lanes[0][0].Index, 8);
    EXPECT_EQ(lanes[0][0].Hi, 20);
    EXPECT_EQ(lanes[0][3].Index, 10);
}

class DiagramPrimitives : public testing::Test {
protected:
    std::unique_ptr<TMatData> mat = test::NewModel();
    TDiagramDraw draw{*mat};
    QImage image = Blank(300, 200);

    void SetUp() override {
        draw.Width = image.width();
        draw.Height = image.height();
    }
};

// A downward arrow from (50, 10) to (50, 60), head 8: strokes lean
// pi/14 off the shaft, ending 2 pixels to each side and 8 above the tip.
TEST_F(DiagramPrimitives, ArrowTipAt50x60WithStrokesEndingAt48x52And52x52) {
    {
        TDiagramCanvas canvas(image);
        canvas.SetPen(Qt::black, 1);
        draw.DrawArrow(canvas, 50, 10, 50, 60, 8, false, true);
    }
    EXPECT_TRUE(IsBlack(image.pixel(50, 60)));
    EXPECT_TRUE(IsBlack(image.pixel(48, 52)));
    EXPECT_TRUE(IsBlack(image.pixel(52, 52)));
    EXPECT_TRUE(IsWhite(image.pixel(50, 62)));
    // No head at the start.
    EXPECT_TRUE(IsWhite(image.pixel(48, 18)));
    EXPECT_TRUE(IsWhite(image.pixel(52, 18)));
}

// Heads at both ends of a horizontal arrow from (100, 100) to (200, 100)
// point outward: strokes at the start end at x 108, at the end at x 192.
TEST_F(DiagramPrimitives, ArrowHeadsAtBothEndsOf100To200PointOutward) {
    {
        TDiagramCanvas canvas(image);
        canvas.SetPen(Qt::black, 1);
        draw.DrawArrow(canvas, 100, 100, 200, 100, 8, true, true);
    }
    EXPECT_TRUE(IsBlack(image.pixel(108, 98)));
    EXPECT_TRUE(IsBlack(image.pixel(108, 102)));
    EXPECT_TRUE(IsBlack(image.pixel(192, 98)));
    EXPECT_TRUE(IsBlack(image.pixel(192, 102)));
    EXPECT_TRUE(IsWhite(image.pixel(92, 98)));
}

// A text box's colour follows the background sampled at its first
// character: dark navy behind the text gives white text, white gives black.
TEST_F(DiagramPrimitives, TextInBoxContrastsWithWhatLiesBehind) {
    image.fill(QColor(0, 0, 128));
    {
        TDiagramCanvas canvas(image);
        draw.TextInBox(canvas, 10, 10, 150, 30, "HHHH", TTextAlign::Left);
    }
    int light = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 150; ++x)
            if (qGray(image.pixel(x, y)) > 200) ++light;
    EXPECT_GT(light, 20);

    image.fill(Qt::white);
    {
        TDiagramCanvas canvas(image);
        draw.TextInBox(canvas, 10, 10, 150, 30, "HHHH", TTextAlign::Left);
    }
    EXPECT_GT(InkIn(image, 10, 10, 150, 30), 20);
}

// Right and centre alignment: ink of a right-aligned text ends near the
// box's right edge; a centred one leaves equal room on both sides.
TEST_F(DiagramPrimitives, TextInBoxAlignsWithinTheBox) {
    const auto inkColumns = [&](TTextAlign alignment) {
        image.fill(Qt::white);
        {
            TDiagramCanvas canvas(image);
            draw.TextInBox(canvas, 20, 20, 220, 40, "HHH", alignment);
        }
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x)
            if (InkIn(image, x, 20, x + 1, 40) > 0) {
                if (first < 0) first = x;
                last = x;
            }
        return std::pair(first, last);
    };
    const auto [leftFirst, leftLast] = inkColumns(TTextAlign::Left);
    EXPECT_NEAR(leftFirst, 21, 3);
    const auto [rightFirst, rightLast] = inkColumns(TTextAlign::Right);
    EXPECT_NEAR(rightLast, 218, 3);
    EXPECT_EQ(rightLast - rightFirst, leftLast - leftFirst);
    const auto [centreFirst, centreLast] = inkColumns(TTextAlign::Centre);
    EXPECT_NEAR(centreFirst - 20, 220 - centreLast, 3);
}

// A horizontal dimension from x 100 to 130 at y 100: its text cannot fit.
// The outside placements draw the arrows outside and no line between the
// ends; the beside placements keep the line with the text beside it.
TEST_F(DiagramPrimitives, DimensionTooShortForItsText) {
    struct TCase {
        TDimensionPlacement placement;
        bool lineBetweenEnds;
        bool lineOutside;
        int textX0, textX1, textY0, textY1; // where the ink of the text lies
    };
    using enum TDimensionPlacement;
    const TCase cases[] = {
        {OutsideBelowOrLeft, false, true, 0, 90, 70, 100},     // left of the start, raised
        {OutsideAboveOrRight, false, true, 140, 300, 70, 100}, // right of the end, raised
        {BesideLeftOrAbove, true, false, 90, 140, 70, 99},     // above the line
        {BesideRightOrBelow, true, false, 90, 140, 101, 130},  // below the line
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.placement));
        image.fill(Qt::white);
        {
            TDiagramCanvas canvas(image);
            canvas.SetFontHeight(-10);
            canvas.SetPen(Qt::black, 1);
            draw.DrawDimension(canvas, 100, 100, 130, 100, "12.5 ft", c.placement);
        }
        EXPECT_EQ(IsBlack(image.pixel(115, 100)), c.lineBetweenEnds);
        EXPECT_EQ(IsBlack(image.pixel(90, 100)), c.lineOutside);
        EXPECT_EQ(IsBlack(image.pixel(140, 100)), c.lineOutside);
        EXPECT_GT(InkIn(image, c.textX0, c.textY0, c.textX1, c.textY1), 10);
    }
}

// A long horizontal dimension writes its text over the line and blanks the
// line behind it; a vertical one writes it turned, taller than wide.
TEST_F(DiagramPrimitives, DimensionTextThatFitsSitsOnTheLine) {
    {
        TDiagramCanvas canvas(image);
        canvas.SetFontHeight(-10);
        canvas.SetPen(Qt::black, 1);
        draw.DrawDimension(canvas, 20, 50, 280, 50, "48 ft", TDimensionPlacement::BesideRightOrBelow);
        draw.DrawDimension(canvas, 250, 80, 250, 190, "10 ft", TDimensionPlacement::OutsideAboveOrRight);
    }
    EXPECT_TRUE(IsBlack(image.pixel(40, 50)));
    EXPECT_TRUE(IsBlack(image.pixel(260, 50)));
    // The blank before the text breaks the line just left of the centre.
    int gap = 0;
    for (int x = 110; x < 150; ++x)
        if (!IsBlack(image.pixel(x, 50))) ++gap;
    EXPECT_GT(gap, 3);
    // Turned text: its ink spans more rows than columns around x 250.
    int top = 200, bottom = -1, left = 300, right = -1;
    for (int y = 95; y < 175; ++y)
        for (int x = 235; x < 265; ++x)
            if (x != 250 && qGray(image.pixel(x, y)) < 128) {
                top = std::min(top, y), bottom = std::max(bottom, y);
                left = std::min(left, x), right = std::max(right, x);
            }
    ASSERT_GE(bottom, 0);
    EXPECT_GT(bottom - top, 2 * (right - left));
}

// A bar's dot of one or two pixels (no outline) still shows; a larger one is
// a filled ellipse that leaves its box's corners empty.
TEST_F(DiagramPrimitives, SmallDotsShowAsFilledPixels) {
    {
        TDiagramCanvas canvas(image);
        canvas.SetPenNone();
        canvas.SetBrush(Qt::black);
        canvas.Ellipse(10, 10, 11, 11);
        canvas.Ellipse(20, 20, 18, 22); // given right to left, as the mirrored dots are
        canvas.Ellipse(100, 100, 120, 120);
    }
    EXPECT_TRUE(IsBlack(image.pixel(10, 10)));
    EXPECT_EQ(InkIn(image, 17, 19, 21, 23), 4);
    EXPECT_TRUE(IsBlack(image.pixel(110, 110)));
    EXPECT_TRUE(IsWhite(image.pixel(100, 100)));
}

// Superscripts: "m^3" writes the 3 raised by a quarter of the text height
// and drops the caret, so it is narrower than the plain text.
TEST_F(DiagramPrimitives, TextOutSuperRaisesTheCharacterAfterACaret) {
    const auto inkRows = [&](const QString& text) {
        image.fill(Qt::white);
        {
            TDiagramCanvas canvas(image);
            canvas.SetFontHeight(-20);
            draw.TextOutSuper(canvas, 10, 50, text);
        }
        int top = -1, right = -1;
        for (int y = 0; y < image.height() && top < 0; ++y)
            if (InkIn(image, 0, y, image.width(), y + 1) > 0) top = y;
        for (int x = 0; x < image.width(); ++x)
            if (InkIn(image, x, 0, x + 1, image.height()) > 0) right = x;
        return std::pair(top, right);
    };
    const auto [plainTop, plainRight] = inkRows("m3");
    const auto [superTop, superRight] = inkRows("m^3");
    EXPECT_GE(plainTop - superTop, 4);
    EXPECT_EQ(plainRight, superRight);
}

} // namespace
