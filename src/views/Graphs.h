#pragma once

#include "ChartRenderer.h"
#include "Exports.h"
#include "model/MatData.h"

#include <QDialog>
#include <QImage>
#include <QPicture>

#include <array>
#include <cstdint>
#include <vector>

class QLabel;
class QStatusBar;
class QWidget;

namespace slabwise {

// One plotted point: where it landed in its picture and what it shows.
struct TGrPoint {
    int32_t PixelX = 0;
    int32_t PixelY = 0;
    double X = 0;
    double Y = 0;
};
using TGrPointArr = std::vector<TGrPoint>;

// How one graph was drawn last: its value axis and the values marked on it.
struct TGraphInfo {
    QString ValueTitle;
    QString DistanceTitle;
    double ValueIncrement = 0;
    double ValueMinimum = 0;
    double ValueMaximum = 0;
    bool Inverted = false;
    std::vector<TAxisMark> Marks;
    // The tick labels of both axes as drawn.
    std::vector<QRect> LabelRects;
    QRect PlotRect;
};

// Scaling rules of the graphs. A span is normalised into [10, 100] by powers
// of ten before the step is taken from it.
// Distance step: 5 x round(span / 25) (halves to even) x the power; 0 leaves
// the step to the chart.
double DistanceIncrement(double span);
// Value step: floor(span / 5) x the power; 0 for a span of 0.
double ValueIncrement(double span);
// One step beyond v, away from zero, even when v is a multiple of the step;
// v itself when the step is 0.
double OutwardLimit(double v, double increment);

// The results of a strip as four graphs against the distance from its left
// end: shear, moment, deflection and bearing pressure. One chart is filled,
// scaled and rendered into each picture in turn. Needs no window: the printed
// report draws its graphs with this alone.
class TGraphPictures {
public:
    enum TGraph : uint8_t { grAll = 0, grShear = 1, grMoment = 2, grDeflection = 3, grPressure = 4 };

    // font: the labels' font; the titles take it bold.
    explicit TGraphPictures(const QFont& font, const QColor& background);
    virtual ~TGraphPictures() = default;
    // The chart calls back into the object that set it up.
    TGraphPictures(const TGraphPictures&) = delete;
    TGraphPictures& operator=(const TGraphPictures&) = delete;

    // which: grAll, or one graph alone.
    void ShowResults(const TMatData& model, uint8_t which);
    // Larger fonts and points, white, for the printed report; call before
    // ShowResults. aspect is the width over the height each picture should have.
    void PrepareForPrint(double aspect);
    // The size of each of the four pictures (473 x 280 as designed); call
    // before ShowResults.
    void SetPictureSize(QSize size);
    QSize PictureSize() const { return size_; }
    // Without them the graphs are not kept as vectors (nothing to save as SVG).
    bool KeepVectors = true;
    // The left edge the plot of each of the four graphs would take, found
    // without drawing: charts shown one above the other line up their
    // distance axes at the largest of them.
    int WidestPlotLeft(const TMatData& model);

    // The rendered picture of a graph (grShear .. grPressure).
    QImage Picture(uint8_t graph) const;
    const TGrPointArr& Points(uint8_t graph) const;
    const TGraphInfo& Graph(uint8_t graph) const { return graphs_.at(graph - 1); }
    // The graph as drawn, as vectors.
    void DrawVector(uint8_t graph, QPainter& painter) const;

    TChart Chart1;

    const TMatData* Model = nullptr;
    bool MarkMin = true;
    bool MarkMax = true;
    double ValueMin = 0;
    double ValueMax = 0;
    TGrPointArr ShearPoints;
    TGrPointArr MomentPoints;
    TGrPointArr DeflectionPoints;
    TGrPointArr PressurePoints;

protected:
    // Hears each graph as its picture is done.
    virtual void PictureDone(uint8_t) {}

private:
    // Fills and scales the chart for one graph and makes room for its marks.
    void Prepare(const TMatData& model, uint8_t graph, bool shortTitles);
    void Chart1BeforeDrawAxes(QPainter& painter);
    void Chart1AfterDraw(QPainter& painter);
    void DrawLiftedZones(QPainter& painter) const;
    void SetAxisScales();
    QString MarkText(double value) const;
    TGrPointArr& PointsOf(uint8_t graph);

    QColor background_;
    QSize size_;
    uint8_t graph_ = grShear; // the graph being rendered
    std::array<QImage, 4> pictures_;
    std::array<QPicture, 4> vectors_;
    std::array<TGraphInfo, 4> graphs_;
};

// The window of the four graphs, two by two, with a read-out of the point
// under the pointer.
class TfrmGraphs : public QDialog, public TGraphPictures {
    Q_OBJECT
public:
    explicit TfrmGraphs(QWidget* parent = nullptr);
    // Ready to show: all four graphs of the model.
    TfrmGraphs(const TMatData& model, QWidget* parent);

    // which: grAll, or one graph alone.
    void ShowResults(const TMatData& model, uint8_t which);
    // Enlarges the window for the printed report; call before ShowResults.
    // aspect is the width over the height each picture should have.
    void PrepareForPrint(double aspect);
    // The size of each of the four pictures (473 x 280 as designed); call
    // before ShowResults.
    void SetPictureSize(QSize size);

    QLabel* Image(uint8_t graph) const;
    // The read-out in the status bar.
    QString StatusText() const;

    // Keeps the whole window on its screen.
    void FormShow();

    // Each picture's context menu: "Save Picture As..." (PNG, or SVG drawn as
    // vectors) and "Copy"; Ctrl+C copies the graph last under the pointer.
    void SavePictureAs(uint8_t graph);
    void CopyPicture(uint8_t graph);
    uint8_t CurrentGraph() const { return current_; }
    TExportPrompts Prompts = QtExportPrompts();

    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;
    QLabel* Image4 = nullptr;
    QStatusBar* StatusBar1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void PictureDone(uint8_t graph) override;

private:
    void Image1MouseMove(QLabel* image, QPoint at);
    void AddPictureActions();

    uint8_t current_ = grShear; // the graph Ctrl+C copies
};

} // namespace slabwise
