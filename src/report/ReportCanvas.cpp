#include "ReportCanvas.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace slabwise {

namespace {

// Text is measured at 100 device pixels per point (7200 per inch).
constexpr double MeasureScale = 100;

QFont MeasureFont(const TReportFont& font) {
    QFont f(font.Face);
    f.setPixelSize(static_cast<int>(std::lround(font.Size * MeasureScale)));
    f.setBold(font.Bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

double Width(const QFontMetricsF& metrics, const QString& text) {
    return metrics.horizontalAdvance(text) / (MeasureScale * 72);
}

} // namespace

double ReportTextWidth(const TReportFont& font, const QString& text) {
    return Width(QFontMetricsF(MeasureFont(font)), text);
}

// ---------------------------------------------------------------- painter

TPainterBackEnd::TPainterBackEnd(QPainter& painter, QPagedPaintDevice& device)
    : painter_(painter), device_(device), dpiX_(device.logicalDpiX()), dpiY_(device.logicalDpiY()) {
    const QPageLayout layout = device.pageLayout();
    const QRectF full = layout.fullRectPoints();
    const QRectF paint = layout.paintRectPoints();
    paperLeft_ = -paint.left() / 72;
    paperTop_ = -paint.top() / 72;
    // Portrait whatever the layout says.
    width_ = std::min(full.width(), full.height()) / 72;
    height_ = std::max(full.width(), full.height()) / 72;
}

double TPainterBackEnd::PageWidth() const {
    return width_;
}
double TPainterBackEnd::PageHeight() const {
    return height_;
}

QPointF TPainterBackEnd::Device(double x, double y) const {
    return {(x + paperLeft_) * dpiX_, (y + paperTop_) * dpiY_};
}

const QFont& TPainterBackEnd::PaintFont(const TReportFont& font) {
    const auto key = std::make_tuple(font.Face, font.Size, font.Bold);
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        QFont f(font.Face);
        f.setPointSizeF(font.Size);
        f.setBold(font.Bold);
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setKerning(false);
        found = fonts_.emplace(key, f).first;
    }
    return found->second;
}

void TPainterBackEnd::Text(double x, double baseline, const QString& text, const TReportFont& font,
                           const QColor& color) {
    const QFont& f = PaintFont(font);
    if (paintedFont_ != &f) {
        painter_.setFont(f);
        paintedFont_ = &f;
    }
    if (paintedColor_ != color) {
        painter_.setPen(color);
        paintedColor_ = color;
    }
    painter_.drawText(Device(x, baseline), text);
}

void TPainterBackEnd::Line(double x1, double y1, double x2, double y2) {
    QPen pen(Qt::black);
    pen.setWidthF(0.5 / 72 * dpiY_);
    painter_.setPen(pen);
    paintedColor_.reset();
    painter_.drawLine(Device(x1, y1), Device(x2, y2));
}

void TPainterBackEnd::Picture(double x1, double y1, double x2, double y2, const QImage& picture) {
    painter_.drawImage(QRectF(Device(x1, y1), Device(x2, y2)), picture);
}

void TPainterBackEnd::NextPage() {
    device_.newPage();
    // A device may start a page on a fresh painter state (a preview records
    // each page apart): each page sets its font and colour again.
    paintedFont_ = nullptr;
    paintedColor_.reset();
}

// ---------------------------------------------------------------- canvas

ReportCanvas::ReportCanvas(TReportBackEnd& backEnd, TImageDecoder decoder)
    : backEnd_(backEnd), decoder_(std::move(decoder)) {}

void ReportCanvas::SetFont(const QString& face, double size) {
    font_ = {face, size, false};
    color_ = Qt::black;
}

void ReportCanvas::SetBold(bool bold) {
    font_.Bold = bold;
}

void ReportCanvas::SetFontColor(const QColor& color) {
    color_ = color;
}

void ReportCanvas::AddTab(double left, TJustify justify, double width) {
    if (left == AfterPrevious) left = tabs_.empty() ? MarginLeft : tabs_.back().Left + tabs_.back().Width;
    tabs_.push_back({left, width, justify});
}

void ReportCanvas::ClearTabs() {
    tabs_.clear();
    tabCursor_ = -1;
}

double ReportCanvas::TabLeft(int n) const {
    if (n < 1 || n > TabCount()) return MarginLeft;
    return tabs_[static_cast<size_t>(n - 1)].Left;
}

QString ReportCanvas::Fitted(const QString& text, double width) const {
    return Fitted(font_, text, width);
}

ReportCanvas::TMeasured& ReportCanvas::Measured(const TReportFont& font) const {
    const auto key = std::make_tuple(font.Face, font.Size, font.Bold);
    auto found = metrics_.find(key);
    if (found == metrics_.end())
        found = metrics_.emplace(key, TMeasured{QFontMetricsF(MeasureFont(font)), {}}).first;
    return found->second;
}

const QFontMetricsF& ReportCanvas::Metrics(const TReportFont& font) const {
    return Measured(font).Metrics;
}

double ReportCanvas::TextWidth(const TReportFont& font, const QString& text) const {
    TMeasured& measured = Measured(font);
    auto found = measured.Widths.constFind(text);
    if (found == measured.Widths.cend()) found = measured.Widths.insert(text, Width(measured.Metrics, text));
    return found.value();
}

QString ReportCanvas::Fitted(const TReportFont& font, const QString& text, double width) const {
    const QFontMetricsF& metrics = Metrics(font);
    if (TextWidth(font, text) <= width) return text;
    // Cut from the end; the binary search finds the same prefix as removing
    // one character at a time, since a shorter prefix is never wider.
    qsizetype lo = 0;
    qsizetype hi = text.size() - 1;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (Width(metrics, text.left(mid)) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return text.left(lo);
}

double ReportCanvas::Baseline(double lineTop) const {
    const QFontMetricsF& metrics = Metrics(font_);
    const double ascent = metrics.ascent() / (MeasureScale * 72);
    const double descent = metrics.descent() / (MeasureScale * 72);
    // The glyphs' box centred in the line.
    return lineTop + (LineHeight() - ascent - descent) / 2 + ascent;
}

void ReportCanvas::Put(double x, double lineTop, const QString& text) {
    PutIn(font_, x, Baseline(lineTop), text);
}

void ReportCanvas::PutIn(const TReportFont& font, double x, double baseline, const QString& text) {
    if (text.isEmpty() || finished_) return;
    backEnd_.Text(x, baseline, text, font, color_);
}

void ReportCanvas::PrintInTab(const QString& text, TFit fit) {
    ++tabCursor_;
    if (tabCursor_ >= TabCount()) return;
    const TTab& tab = tabs_[static_cast<size_t>(tabCursor_)];
    TReportFont font = font_;
    if (fit == TFit::Shrink && TextWidth(font, text) > tab.Width) {
        while (font.Size > MinimumValueSize && TextWidth(font, text) > tab.Width - ValueGap)
            font.Size = std::max(MinimumValueSize, font.Size - 0.5);
    }
    const QString fitted = Fitted(font, text, tab.Width);
    const double width = TextWidth(font, fitted);
    double x = tab.Left;
    if (tab.Justify == TJustify::Center)
        x = tab.Left + (tab.Width - width) / 2;
    else if (tab.Justify == TJustify::Right)
        x = tab.Left + tab.Width - width;
    // A smaller value keeps the line's baseline.
    PutIn(font, x, Baseline(y_), fitted);
    x_ = tab.Left + tab.Width;
}

void ReportCanvas::PrintText(const QString& text) {
    Put(x_, y_, text);
    x_ += TextWidth(font_, text);
}

void ReportCanvas::PrintCentered(const QString& text, double x) {
    Put(x - TextWidth(font_, text) / 2, y_, text);
}

void ReportCanvas::NewLine() {
    y_ += LineHeight();
    x_ = MarginLeft;
    tabCursor_ = -1;
}

void ReportCanvas::NewPage() {
    if (OnFooter) OnFooter(*this);
    backEnd_.NextPage();
    ++page_;
    x_ = MarginLeft;
    y_ = MarginTop;
    tabCursor_ = -1;
    if (OnPage) OnPage(page_);
}

void ReportCanvas::SetPosition(double x, double y) {
    x_ = x;
    y_ = y;
}

void ReportCanvas::DrawLine(double x1, double y1, double x2, double y2) {
    if (!finished_) backEnd_.Line(x1, y1, x2, y2);
}

void ReportCanvas::DrawPicture(double x1, double y1, double x2, double y2, const QByteArray& data,
                               const QString& kind) {
    if (finished_ || !decoder_) return;
    DrawPicture(x1, y1, x2, y2, decoder_(data, kind));
}

void ReportCanvas::DrawPicture(double x1, double y1, double x2, double y2, const QImage& picture) {
    if (finished_ || picture.isNull()) return;
    backEnd_.Picture(x1, y1, x2, y2, picture);
}

void ReportCanvas::PrintFooterText(const QString& text, TJustify justify) {
    const double lineTop = PageHeight() - MarginBottom - LineHeight();
    const double width = TextWidth(font_, text);
    double x = MarginLeft;
    if (justify == TJustify::Center)
        x = (MarginLeft + PageWidth() - MarginRight - width) / 2;
    else if (justify == TJustify::Right)
        x = PageWidth() - MarginRight - width;
    Put(x, lineTop, text);
}

void ReportCanvas::Finish() {
    if (finished_) return;
    if (OnFooter) OnFooter(*this);
    finished_ = true;
}

} // namespace slabwise
