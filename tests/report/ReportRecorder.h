#pragma once

#include "report/Report.h"
#include "report/ReportCanvas.h"
#include "report/ReportSource.h"

#include <QImage>
#include <QMap>
#include <QRectF>
#include <QSet>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace slabwise::test {

// A back end that keeps what the report draws, page by page.
class TRecordingBackEnd : public TReportBackEnd {
public:
    enum class TKind { Text, Line, Picture };
    struct TOp {
        TKind Kind;
        int Page;
        double X;
        double Y; // text: baseline
        QString Text;
        TReportFont Font;
        QColor Color;
        QRectF Rect;       // line: from top-left to bottom-right; picture: its rectangle
        QSize PictureSize; // pixels of a picture
    };

    TRecordingBackEnd(double width, double height) : width_(width), height_(height) {}
    double PageWidth() const override { return width_; }
    double PageHeight() const override { return height_; }
    void Text(double x, double baseline, const QString& text, const TReportFont& font,
              const QColor& color) override {
        Ops.push_back({TKind::Text, Pages, x, baseline, text, font, color, {}, {}});
    }
    void Line(double x1, double y1, double x2, double y2) override {
        Ops.push_back({TKind::Line, Pages, x1, y1, {}, {}, {}, QRectF(QPointF(x1, y1), QPointF(x2, y2)), {}});
    }
    void Picture(double x1, double y1, double x2, double y2, const QImage& picture) override {
        Ops.push_back({TKind::Picture,
                       Pages,
                       x1,
                       y1,
                       {},
                       {},
                       {},
                       QRectF(QPointF(x1, y1), QPointF(x2, y2)),
                       picture.size()});
        Images.push_back(picture);
    }
    void NextPage() override { ++Pages; }

    std::vector<TOp> Ops;
    // The pictures themselves, in the order they were placed.
    std::vector<QImage> Images;
    int Pages = 1;

    std::vector<TOp> Texts(int page = 0) const { return Of(TKind::Text, page); }
    std::vector<TOp> Pictures(int page = 0) const { return Of(TKind::Picture, page); }
    std::vector<TOp> Lines(int page = 0) const { return Of(TKind::Line, page); }
    // The page on which a text is printed first; 0 when nowhere.
    int PageOf(const QString& text) const {
        for (const TOp& op : Ops)
            if (op.Kind == TKind::Text && op.Text == text) return op.Page;
        return 0;
    }

private:
    std::vector<TOp> Of(TKind kind, int page) const {
        std::vector<TOp> out;
        for (const TOp& op : Ops)
            if (op.Kind == kind && (page == 0 || op.Page == page)) out.push_back(op);
        return out;
    }
    double width_;
    double height_;
};

// A window that shows each control's name in short: control n of the report
// reads "tN", so every printed text names the control it came from. Texts
// and failed checks can be set by name.
class TFakeSource : public TReportSource {
public:
    explicit TFakeSource(const TMatData& model) : model_(model) {}

    QMap<QString, QString> Texts;
    QSet<QString> Failed;
    QSize LogoBox{146, 73};
    uint8_t Units = UnitsEnglish;
    QString ThrowAt; // reading this control fails

    QString Text(const QString& control) const override {
        if (control == ThrowAt) throw std::runtime_error("source failed");
        if (Texts.contains(control)) return Texts.value(control);
        if (!names_.contains(control)) names_.insert(control, QStringLiteral("t%1").arg(names_.size()));
        return names_.value(control);
    }
    // The control a short text stands for.
    QString NameOf(const QString& text) const { return names_.key(text); }
    bool CheckFailed(const QString& picture) const override { return Failed.contains(picture); }
    const TMatData& Model() const override { return model_; }
    QSize LogoBoxSize() const override { return LogoBox; }
    uint8_t UnitSystem() const override { return Units; }
    QString VersionText() const override { return QStringLiteral("9.8.7"); }

private:
    const TMatData& model_;
    mutable QMap<QString, QString> names_;
};

} // namespace slabwise::test
