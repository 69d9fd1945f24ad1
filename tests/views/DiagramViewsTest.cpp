// The three views and the entry functions, checked by their geometry: the
// frame, the fields a view sets, and a few pixels whose place follows from it.

#include "views/DiagramDraw.h"

#include "model/ExampleProjects.h"
#include "model/FloatFault.h"
#include "support/ScopedUserLocale.h"
#include "support/TestModels.h"

#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <limits>

using namespace slabwise;

namespace {

constexpr QRgb Silver = 0xC0C0C0;
constexpr QRgb SoilRgb = 0xFFA35E; // 0x5EA3FF as red, green, blue

QRgb Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}
bool IsInk(QRgb c) {
    return qGray(c) < 128;
}

int InkIn(const QImage& image, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = std::max(0, y0); y < std::min(y1, image.height()); ++y)
        for (int x = std::max(0, x0); x < std::min(x1, image.width()); ++x)
            if (IsInk(image.pixel(x, y))) ++count;
    return count;
}

std::unique_ptr<TMatData> English() {
    auto mat = test::NewModel();
    MakeEnglishExample(*mat);
    try {
        mat->Analyze();
    } catch (const EFloatFault&) {
    }
    return mat;
}

// The English example with no loads at all.
std::unique_ptr<TMatData> Unloaded() {
    auto mat = English();
    // The strip 2.5 ft thick, drawn 26 px high, which the lanes below assume.
    mat->Thickness = 2.5L;
    mat->FullUniformLoad = 0;
    mat->DistLoads = {};
    mat->PointLoads = {};
    mat->Moments = {};
    return mat;
}

struct TDrawn {
    std::unique_ptr<TDiagramDraw> draw;
    const QImage& image() const { return draw->Bitmap; }
};

TDrawn Draw(const TMatData& mat, TDiagramKind kind, QSize size = {550, 337}) {
    TDrawn out{std::make_unique<TDiagramDraw>(mat)};
    out.draw->Bitmap = QImage(size, QImage::Format_RGB32);
    out.draw->Draw(kind);
    return out;
}

// Long and thin, the plan is scaled by the length: (550 - 6G) / 500 pixels
// per ft. Short and thick, by the height left for plan and section:
// (337 - 6G - 2G - 4G) / (B + T), and then centred.
TEST(PlanAndSection, FrameOfALongThinAndAShortThickStrip) {
    struct TCase {
        const char* name;
        Real L, B, T;
        double scale;
        int planBottom, outHeight;
        int xL, xR;
    };
    const TCase cases[] = {
        // yPB = 20 + trunc(5 x 0.98) = 24; ySB = 24 + 60 + trunc(0.67 x 0.98) = 84.
        // Its thickness text stands below the section and OutHeight keeps it.
        {"long thin", 500, 5, 0.67L, 490.0 / 500, 64, -1, 30, 520},
        // yPB = 20 + trunc(5 x 8.68) = 63; ySB = 63 + 60 + trunc(20 x 8.68) = 296.
        {"short thick", 5, 5, 20, 217.0 / 25, 103, 336, 275 - 21, 275 + 21},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto mat = English();
        mat->StripLength = c.L, mat->StripWidth = c.B, mat->Thickness = c.T;
        const TDrawn drawn = Draw(*mat, dkPlanSection);
        const TDiagramDraw& d = *drawn.draw;
        EXPECT_DOUBLE_EQ(d.Scale, c.scale);
        EXPECT_EQ(d.PlanBottom, c.planBottom);
        EXPECT_EQ(d.Width, 550);
        EXPECT_EQ(d.OutWidth, 550);
        if (c.outHeight > 0)
            EXPECT_EQ(d.OutHeight, c.outHeight);
        else
            EXPECT_GT(d.OutHeight, 84 + 40);
        // The plan's outline at its left and right ends, half-way down the plan.
        const int yMid = (20 + c.planBottom - 40) / 2;
        EXPECT_TRUE(IsInk(Rgb(drawn.image(), c.xL, yMid)) || c.B * c.scale < 3);
        EXPECT_TRUE(IsInk(Rgb(drawn.image(), c.xR, yMid)) || c.B * c.scale < 3);
    }
}

// The short thick strip's section spans y 123 to 296 and x 254 to 296: the
// soil hatch lies in the band under it (y 297 to 305), only in the soil
// colour, and concrete fills the section.
TEST(PlanAndSection, SoilHatchUnderTheSectionAt254To296x297To305) {
    auto mat = English();
    mat->StripLength = 5, mat->StripWidth = 5, mat->Thickness = 20;
    const TDrawn drawn = Draw(*mat, dkPlanSection);
    int soil = 0;
    for (int y = 298; y < 305; ++y)
        for (int x = 245; x < 305; ++x) {
            const QRgb c = Rgb(drawn.image(), x, y);
            if (c == SoilRgb) {
                ++soil;
            } else if (x > 256 && x < 294) {
                EXPECT_EQ(c, 0xFFFFFFu) << x << "," << y;
            }
        }
    EXPECT_GT(soil, 20);
    EXPECT_EQ(Rgb(drawn.image(), 275, 200), Silver);
}

// A round mat: the corner of the plan's box lies outside the ellipse, so it
// is hatch or white, not outline or concrete; there is no width dimension
// to the right of the plan.
TEST(PlanAndSection, RoundPlanIsAnEllipseWithoutWidthDimension) {
    auto mat = English();
    mat->StripLength = 12, mat->StripWidth = 12, mat->Thickness = 1.2L;
    const TDrawn square = Draw(*mat, dkPlanSection);
    mat->Shape = 1;
    const TDrawn round = Draw(*mat, dkPlanSection);
    const TDiagramDraw& d = *round.draw;
    // Scale by height: (337 - 120) / 13.2; half the length is trunc(98.6...).
    const int half = static_cast<int>(12 * d.Scale / 2);
    const int xL = 275 - half, xR = 275 + half, yPT = 20, yPB = d.PlanBottom - 40;
    EXPECT_EQ(Rgb(square.image(), xL + 3, yPT + 3), Silver);
    const QRgb corner = Rgb(round.image(), xL + 3, yPT + 3);
    EXPECT_TRUE(corner == SoilRgb || corner == 0xFFFFFFu);
    EXPECT_EQ(Rgb(round.image(), 275, (yPT + yPB) / 2), Silver);
    // Width dimension: extension lines and text right of the plan.
    EXPECT_GT(InkIn(square.image(), xR + 5, yPT + 5, 550, yPB - 5), 20);
    EXPECT_EQ(InkIn(round.image(), xR + 5, yPT + 5, 550, yPB - 5), 0);
}

// Every text a view draws stays inside the finished picture: nothing runs
// off its top or bottom row, also for dimensions whose text stands outside.
// (The picture sizes here give a pen of 1 or 2 pixels.)
TEST(Diagrams, NoTextIsCutByThePictureEdges) {
    struct TCase {
        const char* name;
        Real L, B, T;
        int32_t shape;
    };
    const TCase cases[] = {
        {"example", 48, 10, 2.5L, 0}, {"long thin", 500, 5, 0.67L, 0}, {"round", 12, 12, 1.2L, 1},
        {"wide", 60, 60, 2, 0},       {"narrow", 100, 5, 3, 0},
    };
    for (const TCase& c : cases)
        for (const QSize size : {QSize(550, 337), QSize(1300, 800), QSize(1900, 940)})
            for (const TDiagramKind kind : {dkPlanSection, dkLoading, dkReinforcement}) {
                SCOPED_TRACE(testing::Message() << c.name << " " << size.width() << " kind " << int(kind));
                auto mat = English();
                mat->StripLength = c.L, mat->StripWidth = c.B, mat->Thickness = c.T, mat->Shape = c.shape;
                mat->ThicknessIn = c.T * 12;
                QImage picture(size, QImage::Format_RGB32);
                DrawDiagramToBitmap(picture, *mat, kind);
                ASSERT_FALSE(picture.isNull());
                EXPECT_EQ(InkIn(picture, 0, 0, picture.width(), 1), 0);
                // Only the loading view's two extension lines reach its last row.
                const int penUnit = std::min(size.width(), size.height()) < 600 ? 1 : 2;
                EXPECT_LE(InkIn(picture, 0, picture.height() - 1, picture.width(), picture.height()),
                          kind == dkLoading ? 4 * penUnit : 0);
            }
}

// The loading view's height follows its lanes: the strip's top is 2G above
// the top lane, and the length dimension sits under the lowest lane below.
// Example strip at 550 wide: G = 10, Scale = 490 / 48, T = round(25.5) = 26.
TEST(Loading, LanesSetTheHeight) {
    struct TCase {
        const char* name;
        std::function<void(TMatData&)> loads;
        int above, below;
        bool distributed;
    };
    const TCase cases[] = {
        {"no loads", [](TMatData&) {}, 0, 0, false},
        {"one downward point load",
         [](TMatData& m) {
             m.PointLoads[4] = {20, 100};
         },
         1, 0, false},
        {"a zero point load is not drawn",
         [](TMatData& m) {
             m.PointLoads[4] = {20, 0};
         },
         0, 0, false},
        {"one upward point load",
         [](TMatData& m) {
             m.PointLoads[4] = {20, -100};
         },
         0, 1, false},
        // The second stands above the first one's label.
        {"two at one position",
         [](TMatData& m) {
             m.PointLoads[0] = {20, 100};
             m.PointLoads[1] = {20, 50};
         },
         3, 0, false},
        {"far apart share a lane",
         [](TMatData& m) {
             m.PointLoads[0] = {5, 100};
             m.PointLoads[1] = {40, 50};
         },
         1, 0, false},
        {"uniform load", [](TMatData& m) { m.FullUniformLoad = 1.5L; }, 1, 0, true},
        {"uniform load and a point load above it",
         [](TMatData& m) {
             m.FullUniformLoad = 1.5L;
             m.PointLoads[0] = {20, 100};
         },
         2, 0, true},
        {"partial downward load",
         [](TMatData& m) {
             m.DistLoads[2] = {10, 20, 2, 2};
         },
         1, 0, true},
        // Its band stands below the row of position labels.
        {"partial upward load",
         [](TMatData& m) {
             m.DistLoads[2] = {10, 20, -2, -2};
         },
         0, 3, true},
        {"empty segment is not a load",
         [](TMatData& m) {
             m.DistLoads[2] = {20, 10, 2, 2};
         },
         0, 0, false},
        // Moments stand above the strip whatever their sign.
        {"negative moment",
         [](TMatData& m) {
             m.Moments[1] = {24, -60};
         },
         1, 0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto mat = Unloaded();
        c.loads(*mat);
        const TDrawn drawn = Draw(*mat, dkLoading);
        const int yT = 20 * c.above + 20, yB = yT + 26;
        int yD = yB + 20 * c.below;
        if (yD == yB && c.distributed) yD += 20;
        EXPECT_EQ(drawn.draw->OutHeight, yD + 30);
        // The strip's outline at its left end, half-way down.
        EXPECT_TRUE(IsInk(Rgb(drawn.image(), drawn.draw->Width / 2, yB)));
        EXPECT_EQ(Rgb(drawn.image(), drawn.draw->Width / 2, (yT + yB) / 2), Silver);
    }
}

// A column stands on the strip's top face over its load, 1.5 G = 15 pixels
// high and as wide as c1 to the length scale, c1 in in or mm against a strip
// in ft or m: at 550 wide the strip runs from x = 20 at 490 / L pixels per
// ft or m. It adds nothing else to the picture, and a column without its
// size across the strip is none.
TEST(Loading, ColumnsStandOnTheStripToScale) {
    struct TCase {
        const char* name;
        uint8_t units;
        Real L, B, T;
        TPointLoad load;
        TColumn column;
        int yT; // 0: no column drawn
    };
    const TCase cases[] = {
        {"downward load", UnitsEnglish, 48, 10, 2.5L, {20, 100}, {24, 18}, 40},
        {"upward load", UnitsEnglish, 48, 10, 2.5L, {30, -60}, {30, 30}, 20},
        {"SI, mm on m", UnitsSI, 16, 3, 0.75L, {5, 400}, {600, 500}, 40},
        {"no size across", UnitsEnglish, 48, 10, 2.5L, {20, 100}, {24, 0}, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto mat = test::Strip(c.units, c.L, c.B, c.T, 100, 4);
        mat->PointLoads[2] = c.load;
        const QImage bare = Draw(*mat, dkLoading).image();
        mat->Columns[2] = c.column;
        const TDrawn drawn = Draw(*mat, dkLoading);
        const QImage& image = drawn.image();
        if (c.yT == 0) {
            EXPECT_TRUE(image == bare);
            continue;
        }
        const double scale = 490.0 / double(c.L);
        EXPECT_DOUBLE_EQ(drawn.draw->Scale, scale);
        const double half = double(c.column.c1) / (c.units == UnitsSI ? 1000 : 12) / 2;
        const int x1 = 20 + int(std::lround((double(c.load.a) - half) * scale));
        const int x2 = 20 + int(std::lround((double(c.load.a) + half) * scale));
        QRect changed;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != bare.pixel(x, y)) changed |= QRect(x, y, 1, 1);
        EXPECT_EQ(changed.left(), x1);
        EXPECT_EQ(changed.right(), x2);
        EXPECT_EQ(changed.top(), c.yT - 15);
        EXPECT_LE(changed.bottom(), c.yT);
        EXPECT_GE(changed.bottom(), c.yT - 2);
        // Outlined and filled like the strip it stands on.
        const int y = c.yT - 7;
        EXPECT_TRUE(IsInk(Rgb(image, x1, y)));
        EXPECT_TRUE(IsInk(Rgb(image, x2, y)));
        EXPECT_EQ(Rgb(image, x1 + 2, y), Silver);
        EXPECT_EQ(Rgb(image, x2 - 2, y), Silver);
    }
}

// The window's picture starts at its top drawing: a column over a strip
// with nothing else above it is shown whole, its outline and fill over the
// strip's, not cut off at the picture's top.
TEST(Loading, TheWindowShowsAColumnWithNothingElseAboveTheStrip) {
    auto mat = test::Strip(UnitsEnglish, 48, 10, 2.5L, 100, 4);
    mat->PointLoads[0] = {24, -60};
    mat->Columns[0] = {120, 30};
    const QImage image = DrawDiagramForScreen({550, 200}, *mat, dkLoading, 10);
    // Down a line through the column beside the load's arrow: ink, silver
    // (the column), ink, silver (the strip), ink.
    const int x = image.width() / 2 + image.width() / 40;
    QString runs;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb c = Rgb(image, x, y);
        const QChar kind = c == Silver ? u's' : IsInk(c) ? u'k' : c == 0xFFFFFF ? u'w' : u'o';
        if (runs.isEmpty() || runs.back() != kind) runs += kind;
    }
    EXPECT_TRUE(runs.startsWith(QLatin1String("wksksk"))) << runs.toStdString();
}

// A partial load that spans the whole strip is still labelled over its band;
// the full uniform load is labelled at the right end instead.
TEST(Loading, FullLengthPartialLoadKeepsItsLabel) {
    auto mat = Unloaded();
    mat->DistLoads[0] = {0, 48, 2, 2};
    const TDrawn partial = Draw(*mat, dkLoading);
    // Lane 0 above: yT = 40; the label box spans y 10 to 20, centred.
    EXPECT_GT(InkIn(partial.image(), 245, 10, 305, 20), 10);

    mat->DistLoads[0] = {};
    mat->FullUniformLoad = 2;
    const TDrawn uniform = Draw(*mat, dkLoading);
    EXPECT_EQ(InkIn(uniform.image(), 245, 10, 305, 20), 0);
    // Right of the strip (xR = 510), in the lane's middle (y 25 to 35).
    EXPECT_GT(InkIn(uniform.image(), 511, 25, 550, 35), 5);
}

// Every load slot used, with coincident and crowded loads: the lanes grow
// the picture only as far as its height allows, the top label keeps clear of
// the frame and no label is cut at the picture's sides. (That labels of one
// lane never overlap is the lane allocation's own test.)
TEST(Loading, CrowdedLoadsStayInsideThePicture) {
    auto mat = English();
    for (int m = 0; m < PointLoadCount; ++m)
        mat->PointLoads[m] = {Real(2 + 4 * m), Real(m % 4 == 3 ? -45 : 150)};
    mat->PointLoads[5] = {18, 280};
    mat->PointLoads[6] = {18, 120};
    for (int n = 0; n < DistLoadCount; ++n)
        mat->DistLoads[n] = {Real(n * 7), Real(n * 7 + 9), Real(n % 2 ? -1 : 2), 0};
    mat->Moments = {{{3, 60}, {24, -85}, {24.5L, 40}, {45, -120}}};
    const TDrawn drawn = Draw(*mat, dkLoading, {1900, 940});
    ASSERT_LE(drawn.draw->OutHeight, 940);
    // Nothing is drawn into the top G / 2 rows: the top label keeps clear.
    EXPECT_EQ(InkIn(drawn.image(), 0, 0, 1900, 10), 0);
    EXPECT_EQ(InkIn(drawn.image(), 0, 0, 1, 940), 0);
    EXPECT_EQ(InkIn(drawn.image(), 1899, 0, 1900, 940), 0);
    // Below the picture's own height nothing is drawn at all.
    EXPECT_EQ(InkIn(drawn.image(), 0, drawn.draw->OutHeight + 1, 1900, 940), 0);
}

// Every load slot in use on the example strip, or crowded on a short SI
// strip whose thickness at the horizontal scale alone would fill a picture.
std::unique_ptr<TMatData> EverySlot(bool shortStrip) {
    auto mat = English();
    if (shortStrip) {
        MakeSIExample(*mat);
        mat->StripLength = 4;
        for (int n = 0; n < DistLoadCount; ++n)
            mat->DistLoads[n] = {n * 0.5L, n * 0.5L + 1.5L, n % 2 ? -15.5L : 22.25L, 0};
        for (int m = 0; m < PointLoadCount; ++m)
            mat->PointLoads[m] = {Real(3 * m) / 10, m % 4 == 3 ? -325.5L : 1250.75L};
        for (int n = 0; n < MomentCount; ++n) mat->Moments[n] = {n + 0.5L, n % 2 ? -140.25L : 215.5L};
    } else {
        for (int n = 0; n < DistLoadCount; ++n)
            mat->DistLoads[n] = {Real(2 + 6 * n), Real(9 + 6 * n), Real(n % 2 ? -1.5 : 1.5), 0};
        for (int m = 0; m < PointLoadCount; ++m)
            mat->PointLoads[m] = {Real(15 + 38 * m) / 10, Real(m % 3 ? 40 + 10 * m : -30)};
        for (int n = 0; n < MomentCount; ++n) mat->Moments[n] = {Real(5 + 11 * n), Real(n % 2 ? -50 : 50)};
    }
    return mat;
}

// The strip's concrete in a picture: the columns and rows silver spans
// along the middle column and the middle of the strip; empty when absent.
QRect StripIn(const QImage& image) {
    const int xMid = image.width() / 2;
    int top = 0;
    while (top < image.height() && Rgb(image, xMid, top) != Silver) ++top;
    int bottom = top;
    while (bottom < image.height() && Rgb(image, xMid, bottom) == Silver) ++bottom;
    if (bottom == top) return {};
    const int yMid = (top + bottom) / 2;
    int left = xMid, right = xMid;
    while (left > 0 && Rgb(image, left - 1, yMid) == Silver) --left;
    while (right + 1 < image.width() && Rgb(image, right + 1, yMid) == Silver) ++right;
    return QRect(QPoint(left, top), QPoint(right, bottom - 1));
}

// With every load slot used, at the sizes of the enlarged window and of
// a full-HD screen, the whole strip and its length dimension stay inside
// the picture, no label is cut at its sides, and every point load's arrow
// reaches the strip instead of stopping in mid-air (checked with the point
// loads and moments alone, whose arrows have nothing else to land on).
TEST(Loading, EveryLoadSlotFitsThePicture) {
    for (const bool shortStrip : {false, true})
        for (const bool pointsOnly : {false, true})
            for (const QSize size : {QSize(1050, 600), QSize(1920, 1080)}) {
                SCOPED_TRACE(testing::Message() << (shortStrip ? "short strip " : "example strip ")
                                                << (pointsOnly ? "point loads " : "") << size.width());
                auto mat = EverySlot(shortStrip);
                if (pointsOnly) {
                    mat->FullUniformLoad = 0;
                    mat->DistLoads = {};
                }
                QImage picture(size, QImage::Format_RGB32);
                DrawDiagramToBitmap(picture, *mat, dkLoading);
                ASSERT_FALSE(picture.isNull());
                ASSERT_LE(picture.height(), size.height());
                const QRect strip = StripIn(picture);
                ASSERT_FALSE(strip.isEmpty()) << "no strip in the picture";
                // The concrete ends where the strip is outlined, so it is whole.
                EXPECT_TRUE(IsInk(Rgb(picture, strip.center().x(), strip.bottom() + 1)));
                // The length dimension's line spans the strip below it.
                int dimension = -1;
                for (int y = picture.height() - 1; y > strip.bottom() + 1 && dimension < 0; --y)
                    if (InkIn(picture, strip.left() + 4 * 8, y, strip.right() - 4 * 8, y + 1) >
                        strip.width() - 2 * 4 * 8 - 200)
                        dimension = y;
                EXPECT_GT(dimension, strip.bottom()) << "length dimension missing";
                EXPECT_EQ(InkIn(picture, 0, 0, 1, picture.height()), 0) << "a label cut at the left";
                EXPECT_EQ(InkIn(picture, picture.width() - 1, 0, picture.width(), picture.height()), 0)
                    << "a label cut at the right";
                EXPECT_EQ(InkIn(picture, 0, 0, picture.width(), 1), 0) << "a label cut at the top";
                // Arrows of downward loads end on something: ink right above
                // the strip or on a band's line, never white a pixel above
                // where the shaft's lane ends.
                const double scale = (strip.width() + 1) / double(mat->StripLength);
                for (const TPointLoad& p : mat->PointLoads) {
                    if (p.P <= 0 || !pointsOnly) continue;
                    const int x = strip.left() + int(std::lround(double(p.a) * scale));
                    int y = strip.top() - 3;
                    // Up the shaft from just above the strip's outline.
                    int gap = 0;
                    for (; y > 0 && gap == 0; --y)
                        if (!IsInk(Rgb(picture, x, y)) && !IsInk(Rgb(picture, x - 1, y)) &&
                            !IsInk(Rgb(picture, x + 1, y)))
                            gap = y;
                    // The first white above the strip is where a label stands
                    // (white behind its text) or above the shaft's tail: it is
                    // never directly over the strip.
                    EXPECT_LT(gap, strip.top() - 6)
                        << "arrow of the load at " << double(p.a) << " stops short";
                }
            }
}

// Two partial loads that end and start a foot apart write their position
// labels in two rows, not over each other ("20'21'").
TEST(Loading, TouchingPositionLabelsTakeTwoRows) {
    auto mat = Unloaded();
    mat->DistLoads[0] = {10, 20, 2, 2};
    mat->DistLoads[1] = {21, 30, 2, 2};
    const TDrawn drawn = Draw(*mat, dkLoading);
    // G = 10; the strip's bottom is 26 below its top at 20 G above... found
    // from the picture: the first row under the strip's concrete.
    const QRect strip = StripIn(drawn.image());
    ASSERT_FALSE(strip.isEmpty());
    const int yB = strip.bottom() + 1;
    const int x20 = strip.left() + int(std::lround(20 * (strip.width() + 1) / 48.0));
    const int x21 = strip.left() + int(std::lround(21 * (strip.width() + 1) / 48.0));
    // Row 0 from 2G below the strip, row 1 under it.
    EXPECT_GT(InkIn(drawn.image(), x20 - 15, yB + 20, x21 + 15, yB + 30), 10);
    EXPECT_GT(InkIn(drawn.image(), x20 - 15, yB + 31, x21 + 15, yB + 40), 3);
}

// The reinforcement's leaders end on its bars: short of a bar's end and of
// the break, even where the section is narrower than the label; the
// labels stay whole inside the picture.
TEST(Reinforcement, LeadersEndOnTheBarsAndLabelsStayInside) {
    for (const QSize size : {QSize(1050, 600), QSize(160, 400), QSize(120, 400)}) {
        SCOPED_TRACE(size.width());
        auto mat = English();
        QImage picture(size, QImage::Format_RGB32);
        DrawDiagramToBitmap(picture, *mat, dkReinforcement);
        ASSERT_FALSE(picture.isNull());
        const int G = size.width() >= 600 && size.height() >= 600 ? 20 : 10;
        const int xR = size.width() - 4 * G;
        int xL = 0;
        const int yT = 6 * G;
        while (xL < xR && !IsInk(Rgb(picture, xL, yT + 3))) ++xL;
        const int xC = xL + (xR - xL) / 2;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (Rgb(picture, x, y) == 0xFF0000u) {
                    ASSERT_LT(x, xC) << "a leader at " << x << "," << y << " past the break at " << xC;
                }
        EXPECT_EQ(InkIn(picture, 0, 0, 1, picture.height()), 0);
        EXPECT_EQ(InkIn(picture, picture.width() - 1, 0, picture.width(), picture.height()), 0);
    }
}

// A picture box with an enlarge button laid over its bottom right corner,
// as the main window's pages have: nothing is drawn under the button, and
// the picture still fills the box.
TEST(Diagrams, ThePictureBoxKeepsItsButtonsCornerClear) {
    for (const QSize size : {QSize(200, 330), QSize(150, 300), QSize(700, 300), QSize(400, 150)})
        for (const TDiagramKind kind : {dkPlanSection, dkLoading, dkReinforcement}) {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " kind " << int(kind));
            auto mat = EverySlot(false);
            QWidget page;
            QLabel box(&page);
            box.setGeometry(QRect(QPoint(0, 0), size));
            QToolButton button(&page);
            button.setGeometry(size.width() - 24, size.height() - 24, 24, 24);
            button.show();
            DrawDiagramToImage(box, *mat, kind);
            const QImage shown = box.pixmap().toImage();
            ASSERT_EQ(shown.size(), size);
            EXPECT_EQ(InkIn(shown, size.width() - 24, size.height() - 24, size.width(), size.height()), 0);
            EXPECT_GT(InkIn(shown, 0, 0, size.width(), size.height()), 100);
        }
}

// At the thickness scale a 48 ft strip is far longer than the picture and
// shows the break; a 5 ft one 20 ft thick does not. The break's white band
// passes through the middle of the section.
TEST(Reinforcement, BreakSymbolOnlyWhenTheStripIsTooLong) {
    struct TCase {
        const char* name;
        Real L, T;
        bool broken;
    };
    const TCase cases[] = {{"48 ft", 48, 2.5L, true}, {"5 ft, 20 ft thick", 5, 20, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto mat = English();
        mat->StripLength = c.L, mat->Thickness = c.T, mat->ThicknessIn = c.T * 12;
        const TDrawn drawn = Draw(*mat, dkReinforcement);
        const TDiagramDraw& d = *drawn.draw;
        // yT = 6G = 60, yB = 337 div 2 - 6G = 108; xR = 550 - 4G = 510.
        EXPECT_DOUBLE_EQ(d.Scale, 48 / double(c.T * 12));
        EXPECT_EQ(d.OutHeight, 108 + 30);
        const int yMid = 84;
        int xL = 0;
        while (xL < 550 && !IsInk(Rgb(drawn.image(), xL, yMid))) ++xL;
        const int xC = xL + (510 - xL) / 2;
        EXPECT_EQ(Rgb(drawn.image(), xC, yMid), c.broken ? 0xFFFFFFu : Silver);
        EXPECT_EQ(Rgb(drawn.image(), xL + 10, yMid), Silver);
    }
}

// A spacing that makes the pitch zero, or one that is not a number, must
// not hang the drawing.
TEST(Reinforcement, DegenerateSpacingFinishes) {
    for (const double spacing : {-1.0, std::numeric_limits<double>::quiet_NaN(), 1e-300}) {
        auto mat = English();
        mat->TopSpacing = spacing < 0 ? -mat->FindBar(mat->TopBarSize).Diameter : spacing;
        mat->BotSpacing = mat->TopSpacing;
        const auto start = std::chrono::steady_clock::now();
        const TDrawn drawn = Draw(*mat, dkReinforcement, {1900, 940});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_GT(drawn.draw->OutHeight, 0);
    }
}

int RedIn(const QImage& image, int y0, int y1) {
    int count = 0;
    for (int y = std::max(0, y0); y < std::min(y1, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Rgb(image, x, y) == 0xFF0000u) ++count;
    return count;
}

// A spacing that is no number draws no dots; the red leaders that follow
// must not take the bar's width.
TEST(Reinforcement, LeadersKeepThePenWidthWithoutASpacing) {
    auto mat = English();
    const int withSpacing = RedIn(Draw(*mat, dkReinforcement, {1900, 940}).image(), 0, 940);
    mat->TopSpacing = mat->BotSpacing = std::numeric_limits<double>::quiet_NaN();
    const int without = RedIn(Draw(*mat, dkReinforcement, {1900, 940}).image(), 0, 940);
    ASSERT_GT(withSpacing, 0);
    EXPECT_LE(without, withSpacing + withSpacing / 4);
}

// A cover as deep as the slab leaves no room for its bars: that layer is not
// drawn, so nothing lands beyond the far face; the other layer stays.
TEST(Reinforcement, NoBarsOutsideTheConcrete) {
    struct TCase {
        const char* name;
        Real topCover, bottomCover;
        bool topDrawn, bottomDrawn;
    };
    const TCase cases[] = {{"sound", 3, 3, true, true},
                           {"top cover 30 in on 30 in", 30, 3, false, true},
                           {"top cover past the slab", 40, 3, false, true},
                           {"bottom cover past the slab", 3, 45, true, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto mat = English();
        mat->Thickness = 2.5L, mat->ThicknessIn = 30;
        mat->TopCover = c.topCover, mat->BottomCover = c.bottomCover;
        const TDrawn drawn = Draw(*mat, dkReinforcement, {1900, 940});
        const int G = drawn.draw->GridUnit();
        const int yT = 6 * G, yB = 940 / 2 - 6 * G;
        // Nothing below the picture's output height, nothing above the top
        // label, whatever the covers.
        EXPECT_EQ(InkIn(drawn.image(), 0, drawn.draw->OutHeight, 1900, 940), 0);
        EXPECT_EQ(RedIn(drawn.image(), drawn.draw->OutHeight, 940), 0);
        EXPECT_EQ(InkIn(drawn.image(), 0, 0, 1900, yT - 3 * G), 0);
        // Each layer's leaders reach out past its own face.
        EXPECT_EQ(RedIn(drawn.image(), yT - 2 * G, yT) > 0, c.topDrawn);
        EXPECT_EQ(RedIn(drawn.image(), yB, yB + 2 * G) > 0, c.bottomDrawn);
    }
}

// Zero (or unusable) dimensions, and a switched-off reinforcement for its
// view, give a white bitmap, no output size, and an empty picture.
TEST(Diagrams, NothingToDrawGivesAnEmptyPicture) {
    struct TCase {
        const char* name;
        std::function<void(TMatData&)> change;
        bool reinforcementOnly;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const TCase cases[] = {
        {"zero length", [](TMatData& m) { m.StripLength = 0; }, false},
        {"zero width", [](TMatData& m) { m.StripWidth = 0; }, false},
        {"zero thickness", [](TMatData& m) { m.Thickness = 0; }, false},
        {"negative length", [](TMatData& m) { m.StripLength = -48; }, false},
        {"length not a number", [nan](TMatData& m) { m.StripLength = nan; }, false},
        {"reinforcement off", [](TMatData& m) { m.UseReinforcement = 0; }, true},
    };
    for (const TCase& c : cases)
        for (const TDiagramKind kind : {dkPlanSection, dkLoading, dkReinforcement}) {
            SCOPED_TRACE(testing::Message() << c.name << " kind " << int(kind));
            auto mat = English();
            c.change(*mat);
            const bool empty = !c.reinforcementOnly || kind == dkReinforcement;
            const TDrawn drawn = Draw(*mat, kind);
            EXPECT_EQ(drawn.draw->OutHeight == 0, empty);
            if (empty) {
                EXPECT_EQ(drawn.draw->OutWidth, 0);
                EXPECT_EQ(drawn.draw->PlanBottom, 0);
                EXPECT_EQ(InkIn(drawn.image(), 0, 0, 550, 337), 0);
                EXPECT_EQ(Rgb(drawn.image(), 100, 100), 0xFFFFFFu);
            }
            QImage picture(550, 337, QImage::Format_RGB32);
            DrawDiagramToBitmap(picture, *mat, kind);
            EXPECT_EQ(picture.isNull(), empty);
            if (kind == dkPlanSection) {
                QImage plan(550, 337, QImage::Format_RGB32);
                EXPECT_EQ(DrawPlanSectionToBitmap(plan, *mat) == 0, empty);
                EXPECT_EQ(plan.size().isEmpty(), empty);
            }
        }
}

// The bitmap entry cuts the picture to the height the view used; the
// picture-box entry shows the whole box; a kind past 2 is the reinforcement.
TEST(Diagrams, EntryFunctions) {
    auto mat = English();
    const TDrawn plan = Draw(*mat, dkPlanSection);
    QImage picture(550, 337, QImage::Format_RGB32);
    EXPECT_EQ(DrawPlanSectionToBitmap(picture, *mat), plan.draw->PlanBottom);
    EXPECT_EQ(picture.size(), QSize(550, plan.draw->OutHeight));
    EXPECT_EQ(picture, plan.image().copy(0, 0, 550, plan.draw->OutHeight));

    QLabel box;
    box.resize(550, 337);
    DrawDiagramToImage(box, *mat, dkLoading);
    EXPECT_EQ(box.pixmap().size(), QSize(550, 337));

    QImage reinforcement(550, 337, QImage::Format_RGB32), other(550, 337, QImage::Format_RGB32);
    DrawDiagramToBitmap(reinforcement, *mat, dkReinforcement);
    DrawDiagramToBitmap(other, *mat, static_cast<TDiagramKind>(7));
    EXPECT_EQ(reinforcement, other);

    QImage none;
    DrawDiagramToBitmap(none, *mat, dkPlanSection);
    EXPECT_TRUE(none.isNull());
}

// The user's C locale, which the window's process runs under, leaves every
// picture as the Qt locale alone draws it: "1200 KN @ 10 m" does not become
// "1,20 KN @ 1,m".
class DiagramsUnderUserLocale : public testing::TestWithParam<const char*> {};

TEST_P(DiagramsUnderUserLocale, DrawAsUnderTheCLocale) {
    auto mat = English();
    const TDiagramKind kinds[] = {dkPlanSection, dkLoading, dkReinforcement};
    std::vector<QImage> reference;
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QString::fromLatin1(GetParam()).section(u'.', 0, 0)));
        for (TDiagramKind kind : kinds) reference.push_back(Draw(*mat, kind).image());
        QLocale::setDefault(saved);
    }
    const test::TScopedUserLocale locale(GetParam());
    if (!locale.Active())
        GTEST_SKIP() << GetParam() << " is not installed (scripts/install-deps generates it)";
    for (size_t i = 0; i < std::size(kinds); ++i) {
        SCOPED_TRACE(kinds[i]);
        EXPECT_EQ(Draw(*mat, kinds[i]).image(), reference[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(UserLocales, DiagramsUnderUserLocale, testing::ValuesIn(test::UserLocaleNames),
                         [](const auto& info) { return test::LocaleTestName(info.param); });

} // namespace
