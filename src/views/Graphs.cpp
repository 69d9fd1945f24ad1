#include "Graphs.h"

#include "LocaleNumber.h"
#include "model/Units.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include <cmath>
#include <utility>

namespace slabwise {

namespace {

constexpr QSize DesignedPictureSize(473, 280);

// Normalises a positive span into [10, 100]; returns the power of ten taken out.
int Normalise(double& span) {
    int e = 0;
    while (span < 10) {
        span *= 10;
        --e;
    }
    while (span > 100) {
        span /= 10;
        ++e;
    }
    return e;
}

// Removes the last bits of noise that repeated scaling by ten leaves, so that
// 20 stays 20 and 12.5 stays a half.
double Snap(double x, double grid) {
    const double r = std::round(x / grid) * grid;
    return std::fabs(x - r) < 1e-9 ? r : x;
}

QString GraphTitle(uint8_t graph, uint8_t units) {
    switch (graph) {
    case TfrmGraphs::grShear:
        return QString::fromStdString("Shear, " + UnitText(TQuantity::Force, units));
    case TfrmGraphs::grMoment:
        return QString::fromStdString("Moment, " + UnitText(TQuantity::Moment, units));
    case TfrmGraphs::grDeflection:
        return QString::fromStdString("Deflection, " + UnitText(TQuantity::DesignLength, units));
    default:
        return QString::fromStdString("Bearing Pressure, " + UnitText(TQuantity::Pressure, units));
    }
}

QString ShortTitle(QString title) {
    title.replace(QStringLiteral("Bearing Pressure"), QStringLiteral("Bear. Press"));
    title.replace(QStringLiteral("Deflection"), QStringLiteral("Defl"));
    title.replace(QStringLiteral("Moment"), QStringLiteral("Mom"));
    return title;
}

Real StationValue(const TMatStation& st, uint8_t graph) {
    switch (graph) {
    case TfrmGraphs::grShear:
        return st.Shear;
    case TfrmGraphs::grMoment:
        return st.Moment;
    case TfrmGraphs::grDeflection:
        return st.Deflection;
    default:
        return st.Pressure;
    }
}

void ScaleFont(QFont& font, double factor) {
    if (font.pixelSize() > 0)
        font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * factor)));
    else
        font.setPointSize(static_cast<int>(std::lround(font.pointSizeF() * factor)));
}

} // namespace

double DistanceIncrement(double span) {
    if (!(span > 0) || !std::isfinite(span)) return 0;
    const int e = Normalise(span);
    const double q = Snap(span / 25, 0.5);
    return std::pow(10.0, e) * 5 * std::nearbyint(q);
}

double ValueIncrement(double span) {
    if (!(span > 0) || !std::isfinite(span)) return 0;
    const int e = Normalise(span);
    return std::pow(10.0, e) * std::floor(Snap(span / 5, 1));
}

double OutwardLimit(double v, double increment) {
    if (increment == 0) return v;
    const double sign = v > 0 ? 1 : (v < 0 ? -1 : 0);
    return (std::trunc(Snap(v / increment, 1)) + sign) * increment;
}

TGraphPictures::TGraphPictures(const QFont& font, const QColor& background)
    : background_(background), size_(DesignedPictureSize) {
    Chart1.TopAxis.LabelFont = font;
    Chart1.LeftAxis.LabelFont = font;
    QFont title = font;
    title.setBold(true);
    Chart1.TopAxis.TitleFont = title;
    Chart1.LeftAxis.TitleFont = title;
    Chart1.LeftAxis.Automatic = false;
    Chart1.Series1.Color = QColor(0x00, 0x00, 0xA0);
    Chart1.Series1.PointHorizSize = 2;
    Chart1.Series1.PointVertSize = 2;
    Chart1.OnBeforeDrawAxes = [this](QPainter& p) { Chart1BeforeDrawAxes(p); };
    Chart1.OnAfterDraw = [this](QPainter& p) { Chart1AfterDraw(p); };
}

void TGraphPictures::SetPictureSize(QSize size) {
    size_ = size;
}

QImage TGraphPictures::Picture(uint8_t graph) const {
    return pictures_.at(graph - 1);
}

const TGrPointArr& TGraphPictures::Points(uint8_t graph) const {
    switch (graph) {
    case grShear:
        return ShearPoints;
    case grMoment:
        return MomentPoints;
    case grDeflection:
        return DeflectionPoints;
    default:
        return PressurePoints;
    }
}

TGrPointArr& TGraphPictures::PointsOf(uint8_t graph) {
    return const_cast<TGrPointArr&>(std::as_const(*this).Points(graph));
}

void TGraphPictures::Prepare(const TMatData& model, uint8_t graph, bool shortTitles) {
    graph_ = graph;
    TLineSeries& series = Chart1.Series1;
    series.Clear();
    Chart1.TopAxis.Title =
        QString::fromStdString("Distance from left, " + UnitText(TQuantity::Length, model.UnitSystem));
    QString title = GraphTitle(graph, model.UnitSystem);
    if (graph != grShear && shortTitles) title = ShortTitle(title);
    Chart1.LeftAxis.Title = title;
    if (graph == grShear) series.LineWidth *= 2;
    if (graph == grDeflection) {
        MarkMax = false;
        Chart1.LeftAxis.Inverted = false;
    } else if (graph == grPressure) {
        MarkMin = false;
        Chart1.LeftAxis.Inverted = true;
    }
    for (const TMatStation& st : model.Stations)
        series.AddXY(static_cast<double>(st.X), static_cast<double>(StationValue(st, graph)));
    // Where the strip lifts off, the pressure falls to zero at the zone
    // boundaries themselves, not at the next station.
    if (graph == grPressure && model.LiftsOff())
        for (const TContactZone& zone : model.ContactZones)
            for (const Real x : {zone.Start, zone.End})
                if (x > 0 && x < model.StripLength) series.AddXY(static_cast<double>(x), 0);
    // A strip that rises somewhere (a lifting end) shows its highest
    // point too: the largest deflection the results name may be upward.
    if (graph == grDeflection) MarkMax = series.Count() > 0 && series.MaxY() > 0;
    SetAxisScales();

    // Room beside the value labels for the marked extremes.
    const QFontMetrics fm(Chart1.LeftAxis.LabelFont);
    int markRoom = 0;
    if (series.Count() > 0) {
        if (MarkMax) markRoom = std::max(markRoom, fm.horizontalAdvance(MarkText(series.MaxY())));
        if (MarkMin) markRoom = std::max(markRoom, fm.horizontalAdvance(MarkText(series.MinY())));
    }
    Chart1.LeftAxis.MarkSize = markRoom;
}

void TGraphPictures::ShowResults(const TMatData& model, uint8_t which) {
    Model = &model;
    MarkMin = true;
    MarkMax = true;
    // Within one call the pressure graph, built last, leaves its axis
    // inverted; a later call must not draw the shear upside down.
    Chart1.LeftAxis.Inverted = false;

    const bool shortTitles = 2 * size_.height() < size_.width();
    const QRect area(QPoint(0, 0), size_);
    for (uint8_t graph = grShear; graph <= grPressure; ++graph) {
        if (which != grAll && which != graph) continue;
        Prepare(model, graph, shortTitles);
        TLineSeries& series = Chart1.Series1;
        TGraphInfo& info = graphs_[graph - 1];
        if (KeepVectors) {
            // The same drawing kept as vectors for the SVG export.
            QPainter recorder(&vectors_[graph - 1]);
            recorder.fillRect(area, background_);
            Chart1.Draw(recorder, area, background_);
        }
        info = TGraphInfo();
        pictures_[graph - 1] = Chart1.Render(size_, background_);
        info.ValueTitle = Chart1.LeftAxis.Title;
        info.DistanceTitle = Chart1.TopAxis.Title;
        info.ValueIncrement = Chart1.LeftAxis.Increment;
        info.ValueMinimum = Chart1.LeftAxis.Minimum;
        info.ValueMaximum = Chart1.LeftAxis.Maximum;
        info.Inverted = Chart1.LeftAxis.Inverted;
        info.PlotRect = Chart1.PlotRect();
        for (const TChartAxis* axis : {&Chart1.TopAxis, &Chart1.LeftAxis})
            info.LabelRects.insert(info.LabelRects.end(), axis->LabelRects().begin(),
                                   axis->LabelRects().end());
        for (QRect power : {Chart1.LeftPowerRect(), Chart1.TopPowerRect()})
            if (!power.isNull()) info.LabelRects.push_back(power);

        TGrPointArr& points = PointsOf(graph);
        points.clear();
        points.reserve(static_cast<size_t>(series.Count()));
        for (int i = 0; i < series.Count(); ++i) {
            const QPoint px = series.Pixel(i);
            points.push_back({px.x(), px.y(), series.XValue(i), series.YValue(i)});
        }
        if (graph == grShear) series.LineWidth /= 2;
        // The pressure graph that follows marks neither extreme.
        if (graph == grDeflection) MarkMax = false;
        PictureDone(graph);
    }
}

int TGraphPictures::WidestPlotLeft(const TMatData& model) {
    // The chart is left set up as drawing all four would leave it: a graph
    // whose values are all equal keeps the step of the one before.
    Model = &model;
    MarkMin = true;
    MarkMax = true;
    Chart1.LeftAxis.Inverted = false;
    const int plotLeft = Chart1.PlotLeft;
    Chart1.PlotLeft = 0;
    const bool shortTitles = 2 * size_.height() < size_.width();
    int widest = 0;
    for (uint8_t graph = grShear; graph <= grPressure; ++graph) {
        Prepare(model, graph, shortTitles);
        widest = std::max(widest, Chart1.Measure(QRect(QPoint(0, 0), size_)).left());
        if (graph == grShear) Chart1.Series1.LineWidth /= 2;
        if (graph == grDeflection) MarkMax = false;
    }
    Chart1.PlotLeft = plotLeft;
    return widest;
}

void TGraphPictures::SetAxisScales() {
    const TLineSeries& series = Chart1.Series1;
    if (series.Count() == 0) return;
    const double spanX = series.MaxX() - series.MinX();
    if (spanX != 0) Chart1.TopAxis.Increment = DistanceIncrement(spanX);
    const double spanY = series.MaxY() - series.MinY();
    // All values equal: the previous step stays.
    if (spanY != 0) Chart1.LeftAxis.Increment = ValueIncrement(spanY);
    const double step = Chart1.LeftAxis.Increment;
    Chart1.LeftAxis.Minimum = std::min(0.0, OutwardLimit(series.MinY(), step));
    Chart1.LeftAxis.Maximum = std::max(0.0, OutwardLimit(series.MaxY(), step));
}

QString TGraphPictures::MarkText(double value) const {
    // Inches of deflection need four decimals to say anything.
    const bool fine = graph_ == grDeflection && Model && Model->UnitSystem == UnitsEnglish;
    return FormatLocaleFixed(value, fine ? 4 : 2, 15);
}

void TGraphPictures::Chart1BeforeDrawAxes(QPainter&) {
    ValueMin = 2147483647;
    ValueMax = -2147483647;
    Chart1.LeftAxis.MarkedValues.clear();
    if (Chart1.Series1.Count() == 0) return;
    ValueMin = std::min(ValueMin, Chart1.Series1.MinY());
    ValueMax = std::max(ValueMax, Chart1.Series1.MaxY());
    if (MarkMax) Chart1.LeftAxis.MarkedValues.push_back(ValueMax);
    if (MarkMin) Chart1.LeftAxis.MarkedValues.push_back(ValueMin);
}

void TGraphPictures::Chart1AfterDraw(QPainter& painter) {
    if (Chart1.Series1.Count() == 0) return;
    std::vector<TAxisMark> marks;
    if (MarkMax) marks.push_back({ValueMax, MarkText(ValueMax), QRect()});
    // Equal extremes are one mark.
    if (MarkMin && !(MarkMax && ValueMin == ValueMax))
        marks.push_back({ValueMin, MarkText(ValueMin), QRect()});
    Chart1.DrawLeftAxisMarks(painter, marks);
    graphs_[graph_ - 1].Marks = std::move(marks);
    if (graph_ == grPressure && Model && Model->LiftsOff()) DrawLiftedZones(painter);
}

// Shades the stretches where the strip has lifted off the soil and names them.
void TGraphPictures::DrawLiftedZones(QPainter& painter) const {
    const QRect plot = Chart1.PlotRect();
    const double L = static_cast<double>(Model->StripLength);
    painter.save();
    painter.setClipRect(plot);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xA0, 0xA0, 0xA0, 0x50));
    QFont font = Chart1.LeftAxis.LabelFont;
    painter.setFont(font);
    const QFontMetrics fm(font);
    const QString text = QStringLiteral("lifted, q = 0");
    double from = 0;
    const auto shade = [&](double a, double b) {
        if (!(b > a)) return;
        const int x1 = Chart1.TopAxis.CalcPosValue(a), x2 = Chart1.TopAxis.CalcPosValue(b);
        const QRect band(QPoint(std::min(x1, x2), plot.top()), QPoint(std::max(x1, x2), plot.bottom()));
        painter.drawRect(band);
        if (fm.horizontalAdvance(text) + 4 < band.width()) {
            painter.setPen(QColor(0x40, 0x40, 0x40));
            painter.drawText(band.adjusted(0, 0, 0, -fm.height() / 2), Qt::AlignHCenter | Qt::AlignBottom,
                             text);
            painter.setPen(Qt::NoPen);
        }
    };
    for (const TContactZone& zone : Model->ContactZones) {
        shade(from, static_cast<double>(zone.Start));
        from = static_cast<double>(zone.End);
    }
    shade(from, L);
    painter.restore();
}

void TGraphPictures::PrepareForPrint(double aspect) {
    background_ = Qt::white;
    for (TChartAxis* axis : {&Chart1.TopAxis, &Chart1.LeftAxis}) {
        axis->LabelSize = static_cast<int>(std::lround(axis->LabelSize * 1.6));
        ScaleFont(axis->LabelFont, 1.6);
        ScaleFont(axis->TitleFont, 1.6);
    }
    Chart1.Series1.PointHorizSize = 4;
    Chart1.Series1.PointVertSize = 4;
    const int width = 2 * size_.width();
    const int height = aspect > 0 ? static_cast<int>(std::lround(width / aspect)) : 2 * size_.height();
    SetPictureSize(QSize(width, std::max(1, height)));
}

void TGraphPictures::DrawVector(uint8_t graph, QPainter& painter) const {
    painter.drawPicture(QPoint(0, 0), vectors_.at(graph - 1));
}

TfrmGraphs::TfrmGraphs(QWidget* parent)
    : QDialog(parent), TGraphPictures(font(), palette().color(QPalette::Button)) {
    setWindowTitle(QStringLiteral("Slabwise Graphs"));
    setObjectName("frmGraphs");

    auto makePanel = [this](const char* name, QLabel*& left, const char* leftName, QLabel*& right,
                            const char* rightName) {
        auto* panel = new QWidget(this);
        panel->setObjectName(name);
        auto* row = new QHBoxLayout(panel);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        for (auto [image, imageName] : {std::pair{&left, leftName}, std::pair{&right, rightName}}) {
            *image = new QLabel(panel);
            (*image)->setObjectName(imageName);
            (*image)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            (*image)->setMouseTracking(true);
            (*image)->installEventFilter(this);
            QSizePolicy keep = (*image)->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            (*image)->setSizePolicy(keep);
            row->addWidget(*image);
        }
        return panel;
    };
    Panel1 = makePanel("Panel1", Image1, "Image1", Image2, "Image2");
    Panel2 = makePanel("Panel2", Image3, "Image3", Image4, "Image4");
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel1);
    column->addWidget(Panel2);
    column->addWidget(StatusBar1);
    // The window takes the size of its pictures and cannot be resized.
    column->setSizeConstraint(QLayout::SetFixedSize);
    SetPictureSize(DesignedPictureSize);
    AddPictureActions();
}

TfrmGraphs::TfrmGraphs(const TMatData& model, QWidget* parent) : TfrmGraphs(parent) {
    ShowResults(model, grAll);
}

void TfrmGraphs::SetPictureSize(QSize size) {
    TGraphPictures::SetPictureSize(size);
    for (QLabel* image : {Image1, Image2, Image3, Image4}) image->setFixedSize(size);
}

QLabel* TfrmGraphs::Image(uint8_t graph) const {
    switch (graph) {
    case grShear:
        return Image1;
    case grMoment:
        return Image2;
    case grDeflection:
        return Image3;
    default:
        return Image4;
    }
}

QString TfrmGraphs::StatusText() const {
    return StatusBar1->currentMessage();
}

void TfrmGraphs::ShowResults(const TMatData& model, uint8_t which) {
    Image1->hide();
    Image2->hide();
    Image3->hide();
    TGraphPictures::ShowResults(model, which);
    adjustSize();
}

void TfrmGraphs::PictureDone(uint8_t graph) {
    QLabel* image = Image(graph);
    image->setPixmap(QPixmap::fromImage(Picture(graph)));
    image->show();
}

bool TfrmGraphs::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        for (QLabel* image : {Image1, Image2, Image3, Image4}) {
            if (watched == image) {
                current_ = static_cast<uint8_t>(grShear + (image == Image2) + 2 * (image == Image3) +
                                                3 * (image == Image4));
                Image1MouseMove(image, static_cast<QMouseEvent*>(event)->position().toPoint());
                break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmGraphs::Image1MouseMove(QLabel* image, QPoint at) {
    const TGrPointArr* points = &ShearPoints;
    QString name = QStringLiteral("Shear");
    int decimals = 2;
    if (image == Image2) {
        points = &MomentPoints;
        name = QStringLiteral("Moment");
    } else if (image == Image3) {
        points = &DeflectionPoints;
        name = QStringLiteral("Deflection");
        decimals = 4;
    } else if (image == Image4) {
        points = &PressurePoints;
        name = QStringLiteral("Bearing Pressure");
    }
    for (const TGrPoint& p : *points) {
        if (std::abs(p.PixelX - at.x()) <= 5 && std::abs(p.PixelY - at.y()) <= 5) {
            StatusBar1->showMessage(QStringLiteral("  Distance: ") + FormatLocaleFixed(p.X, 2, 15) +
                                    QStringLiteral("    ") + name + QStringLiteral(": ") +
                                    FormatLocaleFixed(p.Y, decimals, 15));
            return;
        }
    }
    StatusBar1->clearMessage();
}

void TfrmGraphs::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TfrmGraphs::FormShow() {
    const QScreen* where = screen();
    if (!where) return;
    const QRect screenArea = where->geometry();
    QRect frame = frameGeometry();
    QPoint topLeft = frame.topLeft();
    if (frame.right() > screenArea.right()) topLeft.setX(screenArea.right() + 1 - frame.width());
    if (frame.bottom() > screenArea.bottom()) topLeft.setY(screenArea.bottom() + 1 - frame.height());
    topLeft.setX(std::max(topLeft.x(), screenArea.left()));
    topLeft.setY(std::max(topLeft.y(), screenArea.top()));
    if (topLeft != frame.topLeft()) move(topLeft);
}

void TfrmGraphs::PrepareForPrint(double aspect) {
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    StatusBar1->hide();
    TGraphPictures::PrepareForPrint(aspect);
    SetPictureSize(PictureSize());
    adjustSize();
}

void TfrmGraphs::AddPictureActions() {
    for (uint8_t graph = grShear; graph <= grPressure; ++graph) {
        QLabel* image = Image(graph);
        auto* save = new QAction(QStringLiteral("Save Picture As..."), image);
        connect(save, &QAction::triggered, this, [this, graph] { SavePictureAs(graph); });
        auto* copy = new QAction(QStringLiteral("Copy"), image);
        copy->setShortcut(QKeySequence::Copy);
        copy->setShortcutContext(Qt::WidgetShortcut); // shown in the menu; the window's Ctrl+C copies
        connect(copy, &QAction::triggered, this, [this, graph] { CopyPicture(graph); });
        image->addAction(save);
        image->addAction(copy);
        image->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    auto* copyCurrent = new QAction(this);
    copyCurrent->setObjectName(QStringLiteral("ACopyPicture"));
    copyCurrent->setShortcut(QKeySequence::Copy);
    connect(copyCurrent, &QAction::triggered, this, [this] { CopyPicture(current_); });
    addAction(copyCurrent);
}

void TfrmGraphs::SavePictureAs(uint8_t graph) {
    slabwise::SavePictureAs(this, Prompts, Picture(graph),
                            [this, graph](QPainter& painter) { DrawVector(graph, painter); });
}

void TfrmGraphs::CopyPicture(uint8_t graph) {
    CopyPictureToClipboard(Picture(graph));
}

} // namespace slabwise
