#pragma once

#include "model/MatData.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <vector>

class QLabel;
class QPainter;

namespace slabwise {

class TDiagramCanvas;

enum TDiagramKind : uint8_t { dkPlanSection = 0, dkLoading = 1, dkReinforcement = 2 };

// Where a text stands across its box.
enum class TTextAlign : uint8_t { Left, Right, Centre };

// Where a dimension writes a text too long to stand between its arrows. A
// vertical dimension is read first, a horizontal one second.
enum class TDimensionPlacement : uint8_t {
    // Arrows outside the ends, the text beyond the bottom or left end, or
    // beyond the other end when the bitmap has no room there.
    OutsideBelowOrLeft,
    // Likewise, beyond the top or right end.
    OutsideAboveOrRight,
    // Arrows inside, the text moved beside the line: left of it or above it.
    BesideLeftOrAbove,
    // Likewise, right of it or below it.
    BesideRightOrBelow,
};

// One occupied interval of a lane of labels.
struct TRowItem {
    int32_t Lo;
    int32_t Hi;
    int32_t Index;
};
// One lane: its intervals sorted by Lo.
using TArrayOfRow = std::vector<TRowItem>;
// Lanes stacked away from the strip, lane 0 nearest.
using TArrayOfArrayOfRow = std::vector<TArrayOfRow>;

// The first lane free over [lo, hi] (touching intervals collide); with
// checkNext the lane after it must be free there too, to leave room for a
// label drawn into it. Appends a lane when none is free and returns its number.
int AllocateLane(TArrayOfArrayOfRow& lanes, int32_t lo, int32_t hi, bool checkNext, int32_t index);

// Draws one picture of the strip into its own bitmap. Every length on the
// picture derives from the bitmap's size, so one drawing serves the small
// preview, the enlargement and the printed page.
class TDiagramDraw {
public:
    explicit TDiagramDraw(const TMatData& model);
    // Drawing straight into the given bitmap, without the default one.
    TDiagramDraw(const TMatData& model, QImage bitmap);

    const TMatData& Model;
    int32_t Width = 0;
    int32_t Height = 0;
    QImage Bitmap;
    // When set, every shape and text also goes to this painter as vectors.
    QPainter* Vector = nullptr;
    double Scale = 0;
    int32_t OutWidth = 0;
    int32_t OutHeight = 0;
    int32_t PlanBottom = 0;
    // Set for the pictures of the windows only (the printed and exported
    // pictures keep the size rule): the side the pen width follows instead
    // of the bitmap's smaller side, and the least grid unit, which sets the
    // text height.
    int32_t PenSide = 0;
    int32_t MinGridUnit = 0;
    // Set for the pictures of the windows: the rows of the bitmap a view
    // lays itself out in, counted from the top, and the reinforcement
    // section drawn as tall as they allow (up to half its length in the
    // picture) instead of half the bitmap's height.
    int32_t FitHeight = 0;
    bool FillsHeight = false;

    void DrawPlanAndSection();
    void DrawLoading();
    void DrawReinforcement();
    void Draw(TDiagramKind kind);

    int PenUnit() const;
    int ThickPen() const { return 2 * PenUnit(); }
    int GridUnit() const { return std::max(10 * PenUnit(), MinGridUnit); }
    int ArrowSize() const { return 8 * PenUnit(); }

    // Fixed with 2 decimals, trailing zeros and a bare separator removed, and
    // " unit" appended when a unit is given.
    static QString FormatValue(double value, const QString& unit = {});
    // Text in which "^" raises the one character after it.
    void TextOutSuper(TDiagramCanvas& canvas, int x, int y, const QString& text);
    // A haloed text blanks what lies behind its cell first, so a line that
    // passes behind it stays readable.
    void TextInBox(TDiagramCanvas& canvas, int left, int top, int right, int bottom, const QString& text,
                   TTextAlign alignment, bool haloed = false);
    // direction: radians from straight down (+y) towards +x.
    void DrawArrowHead(TDiagramCanvas& canvas, int x, int y, double direction, int length);
    void DrawArrow(TDiagramCanvas& canvas, int x1, int y1, int x2, int y2, int headLength, bool headAtStart,
                   bool headAtEnd);
    // Vertical when x1 = x2.
    void DrawDimension(TDiagramCanvas& canvas, int x1, int y1, int x2, int y2, QString text,
                       TDimensionPlacement placement);

private:
    // Lowest y reached by a dimension's text, so the finished picture never
    // cuts one off.
    int textBottom_ = 0;
    // False (and the bitmap white) when the view has nothing to draw.
    bool BeginView(bool drawable);
    QColor SampleBackground(const TDiagramCanvas& canvas, int x, int y) const;
};

// A "picture box" is a QLabel showing a pixmap. The picture is laid out in
// the whole box, centred, with no text smaller than the desktop's small font.
void DrawDiagramToImage(QLabel& pictureBox, const TMatData& model, TDiagramKind kind);
// The picture of a box of the given size whose smallest text is at least
// minTextHeight pixels high (ascent plus descent), drawn once; the box's
// bottom right corner of size `keepClear` stays white for a button laid
// over it.
QImage DrawDiagramForScreen(QSize box, const TMatData& model, TDiagramKind kind, int minTextHeight,
                            QSize keepClear = {});
// Ascent plus descent of the desktop's small font.
int SmallFontHeight();
void DrawDiagramToBitmap(QImage& bitmap, const TMatData& model, TDiagramKind kind);
int DrawPlanSectionToBitmap(QImage& bitmap, const TMatData& model);
// The drawing DrawDiagramToBitmap makes in a bitmap of `size`, as vectors on
// the painter (before the bitmap's cut to the height the diagram uses).
void DrawDiagramToPainter(QPainter& painter, QSize size, const TMatData& model, TDiagramKind kind);

} // namespace slabwise
