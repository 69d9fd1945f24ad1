#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace slabwise {

// The one font family of the report: metric-compatible with the face the
// report was laid out for, and free to embed in a PDF.
inline const char* const ReportFontFace = "Liberation Sans";

struct TReportFont {
    QString Face = QString::fromLatin1(ReportFontFace);
    double Size = 10; // points
    bool Bold = false;
};

// Text width in inches. Measured once for every back end at a fixed fine
// resolution without hinting, so the preview, the printout, the PDF and the
// tests lay out every line alike.
double ReportTextWidth(const TReportFont& font, const QString& text);

// Where the drawing primitives of a page-description surface go. All
// positions in inches from the top-left corner of the page.
class TReportBackEnd {
public:
    virtual ~TReportBackEnd() = default;
    // Portrait paper size in inches.
    virtual double PageWidth() const = 0;
    virtual double PageHeight() const = 0;
    // baseline: y of the text's baseline.
    virtual void Text(double x, double baseline, const QString& text, const TReportFont& font,
                      const QColor& color) = 0;
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    // The picture stretched to fill the rectangle.
    virtual void Picture(double x1, double y1, double x2, double y2, const QImage& picture) = 0;
    // Ends the current page; the next primitives go onto a fresh one.
    virtual void NextPage() = 0;
};

// QPainter on a paged device: a QPrinter for preview and printing, a
// QPdfWriter for files. The painter is begun on the device by the caller.
class TPainterBackEnd : public TReportBackEnd {
public:
    TPainterBackEnd(QPainter& painter, QPagedPaintDevice& device);
    double PageWidth() const override;
    double PageHeight() const override;
    void Text(double x, double baseline, const QString& text, const TReportFont& font,
              const QColor& color) override;
    void Line(double x1, double y1, double x2, double y2) override;
    void Picture(double x1, double y1, double x2, double y2, const QImage& picture) override;
    void NextPage() override;

private:
    QPointF Device(double x, double y) const;
    // Each font of the report made once and set on the painter only when
    // it changes, with the text colour: most texts follow one in the same
    // font and colour.
    const QFont& PaintFont(const TReportFont& font);
    std::map<std::tuple<QString, double, bool>, QFont> fonts_;
    const QFont* paintedFont_ = nullptr;
    std::optional<QColor> paintedColor_;
    QPainter& painter_;
    QPagedPaintDevice& device_;
    double dpiX_;
    double dpiY_;
    // Paper corner relative to the painter's origin, which sits at the
    // device's printable area.
    double paperLeft_;
    double paperTop_;
    double width_;
    double height_;
};

enum class TJustify { Left, Center, Right };

// How text wider than its tab stop is made to fit: cut from the end, or (for
// values, whose unit must not be lost) first set smaller, down to
// MinimumValueSize, with a little room to its neighbours, and only then cut.
enum class TFit { Cut, Shrink };

// Decodes a picture handed to DrawPicture; an empty image when it cannot.
using TImageDecoder = std::function<QImage(const QByteArray& data, const QString& kind)>;

// The page-description surface the report writes on: inches from the top-left
// corner of the page, margins, one font at a time, tab stops with fitted
// text, lines and stretched pictures. CurrentY is the top of the current
// line; its text sits on a baseline inside the line's LineHeight.
class ReportCanvas {
public:
    static constexpr double AfterPrevious = -1;

    ReportCanvas(TReportBackEnd& backEnd, TImageDecoder decoder);

    // Called when a page is finished (by NewPage and by Finish).
    std::function<void(ReportCanvas&)> OnFooter;
    // Called when a page starts, with its number.
    std::function<void(int page)> OnPage;

    void SetFont(const QString& face, double size);
    void SetBold(bool bold);
    void SetFontColor(const QColor& color);
    const TReportFont& Font() const { return font_; }
    const QColor& FontColor() const { return color_; }

    double MarginLeft = 0;
    double MarginRight = 0;
    double MarginTop = 0;
    double MarginBottom = 0;

    void AddTab(double left, TJustify justify, double width);
    void ClearTabs();
    int TabCount() const { return static_cast<int>(tabs_.size()); }
    double TabLeft(int n) const; // 1-based

    void PrintInTab(const QString& text, TFit fit = TFit::Cut);
    static constexpr double MinimumValueSize = 7;
    static constexpr double ValueGap = 0.04; // inches kept free beside a shrunk value
    void PrintText(const QString& text);
    void PrintCentered(const QString& text, double x);
    void NewLine();
    void NewPage();
    void SetPosition(double x, double y);
    void DrawLine(double x1, double y1, double x2, double y2);
    // kind: "JPG" or "BMP"; a picture that does not decode leaves its
    // rectangle empty.
    void DrawPicture(double x1, double y1, double x2, double y2, const QByteArray& data, const QString& kind);
    // A picture made for the report; an empty one leaves its rectangle empty.
    void DrawPicture(double x1, double y1, double x2, double y2, const QImage& picture);
    void PrintFooterText(const QString& text, TJustify justify);
    // Writes the last page's footer; nothing may be printed afterwards.
    void Finish();

    double PageWidth() const { return backEnd_.PageWidth(); }
    double PageHeight() const { return backEnd_.PageHeight(); }
    double LineHeight() const { return font_.Size / 60.0; }
    double CurrentX() const { return x_; }
    double CurrentY() const { return y_; }
    int CurrentPage() const { return page_; }

    // The longest leading part of text that fits into width inches.
    QString Fitted(const QString& text, double width) const;
    QString Fitted(const TReportFont& font, const QString& text, double width) const;
    // As ReportTextWidth, from metrics kept for each font used.
    double TextWidth(const TReportFont& font, const QString& text) const;

private:
    struct TTab {
        double Left;
        double Width;
        TJustify Justify;
    };
    double Baseline(double lineTop) const;
    const QFontMetricsF& Metrics(const TReportFont& font) const;
    void Put(double x, double lineTop, const QString& text);
    void PutIn(const TReportFont& font, double x, double baseline, const QString& text);

    TReportBackEnd& backEnd_;
    TImageDecoder decoder_;
    TReportFont font_;
    QColor color_ = Qt::black;
    std::vector<TTab> tabs_;
    int tabCursor_ = -1;
    double x_ = 0;
    double y_ = 0;
    int page_ = 1;
    bool finished_ = false;
    // Each font's metrics and the widths measured with them: a value is
    // measured again to fit and to place it.
    struct TMeasured {
        QFontMetricsF Metrics;
        QHash<QString, double> Widths;
    };
    TMeasured& Measured(const TReportFont& font) const;
    mutable std::map<std::tuple<QString, double, bool>, TMeasured> metrics_;
};

} // namespace slabwise
