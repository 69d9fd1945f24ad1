// The page-description surface: tab stops and fitting, lines that never
// break a page, fonts, pictures that cannot be decoded, and pictures that
// outlive their page.

#include "ReportRecorder.h"
#include "views/DiagramDraw.h"

#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>

namespace slabwise::test {

namespace {

const QString Face = QString::fromLatin1(ReportFontFace);

struct TCanvasFixture {
    TRecordingBackEnd backEnd{8.5, 11};
    ReportCanvas canvas{backEnd, ReportSystem1DecodeImage};
    TCanvasFixture() {
        canvas.MarginLeft = canvas.MarginRight = canvas.MarginTop = canvas.MarginBottom = 1;
        canvas.SetPosition(1, 1);
        canvas.SetFont(Face, 10);
    }
};

double WidthOf(const QString& text, double size = 10, bool bold = false) {
    return ReportTextWidth({Face, size, bold}, text);
}

} // namespace

// A text wider than its tab loses characters from its end until it fits,
// then stands at the tab's left edge, centre or right edge.
TEST(ReportCanvas, FitsTextIntoTabStops) {
    const QString longText = QStringLiteral("Organization name far too long for two inches of tab");
    struct TCase {
        QString Text;
        TJustify Justify;
        double Width;
    };
    const TCase cases[] = {
        {QStringLiteral("Beta"), TJustify::Left, 1.0},
        {QStringLiteral("Beta"), TJustify::Center, 1.0},
        {QStringLiteral("Beta"), TJustify::Right, 1.0},
        {longText, TJustify::Left, 2.0},
        {longText, TJustify::Right, 2.0},
        {QStringLiteral("#10"), TJustify::Center, 0.2},
        {QStringLiteral("W"), TJustify::Left, 0.05}, // not even one character fits
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text.toStdString() + " in " + std::to_string(c.Width));
        TCanvasFixture f;
        f.canvas.AddTab(1.5, c.Justify, c.Width);
        f.canvas.PrintInTab(c.Text);
        const auto texts = f.backEnd.Texts();
        QString printed = texts.empty() ? QString() : texts[0].Text;
        EXPECT_TRUE(c.Text.startsWith(printed));
        EXPECT_LE(WidthOf(printed), c.Width);
        if (printed != c.Text) {
            EXPECT_GT(WidthOf(c.Text.left(printed.size() + 1)), c.Width);
        }
        if (texts.empty()) continue;
        const double left = c.Justify == TJustify::Left     ? 1.5
                            : c.Justify == TJustify::Center ? 1.5 + (c.Width - WidthOf(printed)) / 2
                                                            : 1.5 + c.Width - WidthOf(printed);
        EXPECT_NEAR(texts[0].X, left, 1e-9);
    }
}

// A value too wide for its tab is set smaller, down to 7 pt, with a little
// room beside it, so its unit stays; only then is it cut. Values that fit
// keep the body size.
TEST(ReportCanvas, ShrinksValuesBeforeCuttingThem) {
    struct TCase {
        QString Text;
        double Width;
        bool Whole;
        bool Smaller;
    };
    const TCase cases[] = {
        {QStringLiteral("2.280 ksf"), 0.7, true, false},
        {QStringLiteral("108.139 KPa"), 0.7, true, true},
        {QStringLiteral("-704.87 KN"), 0.7, true, true},
        {QStringLiteral("-1234567890.12345 KN-m^2"), 0.7, false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        TCanvasFixture f;
        f.canvas.AddTab(2.1, TJustify::Right, c.Width);
        f.canvas.AddTab(ReportCanvas::AfterPrevious, TJustify::Right, 0.3);
        f.canvas.PrintInTab(c.Text, TFit::Shrink);
        f.canvas.PrintInTab(QStringLiteral("@"));
        const auto texts = f.backEnd.Texts();
        ASSERT_EQ(texts.size(), 2u);
        const auto& value = texts[0];
        EXPECT_EQ(value.Text == c.Text, c.Whole);
        EXPECT_EQ(value.Font.Size < 10, c.Smaller);
        EXPECT_GE(value.Font.Size, ReportCanvas::MinimumValueSize);
        const double width = ReportTextWidth(value.Font, value.Text);
        EXPECT_LE(width, c.Smaller && c.Whole ? c.Width - ReportCanvas::ValueGap : c.Width);
        EXPECT_NEAR(value.X + width, 2.1 + c.Width, 1e-9);
        // Same line, same baseline, and the next cell at the body size.
        EXPECT_DOUBLE_EQ(value.Y, texts[1].Y);
        EXPECT_EQ(texts[1].Font.Size, 10);
    }
}

// AfterPrevious starts where the previous stop ends; a line with more cells
// than stops prints nothing for the surplus; a new line starts again at the
// first stop.
TEST(ReportCanvas, WalksTabStopsAndNewLines) {
    TCanvasFixture f;
    f.canvas.AddTab(1.0, TJustify::Left, 0.2);
    f.canvas.AddTab(ReportCanvas::AfterPrevious, TJustify::Left, 0.7);
    f.canvas.AddTab(ReportCanvas::AfterPrevious, TJustify::Left, 0.7);
    EXPECT_DOUBLE_EQ(f.canvas.TabLeft(2), 1.2);
    EXPECT_DOUBLE_EQ(f.canvas.TabLeft(3), 1.9);
    for (const char* cell : {"a", "b", "c", "surplus"}) f.canvas.PrintInTab(QLatin1String(cell));
    f.canvas.NewLine();
    f.canvas.PrintInTab(QStringLiteral("d"));
    const auto texts = f.backEnd.Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[2].Text, QStringLiteral("c"));
    EXPECT_EQ(texts[3].Text, QStringLiteral("d"));
    EXPECT_DOUBLE_EQ(texts[3].X, 1.0);
    EXPECT_NEAR(texts[3].Y - texts[0].Y, 1.0 / 6, 1e-12);
}

// Lines continue below the bottom margin on the same page; only NewPage
// starts a page, and it writes the finished page's footer first.
TEST(ReportCanvas, NewLineNeverBreaksAPage) {
    TCanvasFixture f;
    std::vector<int> footers;
    f.canvas.OnFooter = [&](ReportCanvas& c) { footers.push_back(c.CurrentPage()); };
    for (int i = 0; i < 80; ++i) f.canvas.NewLine();
    f.canvas.PrintText(QStringLiteral("below the margin"));
    EXPECT_GT(f.canvas.CurrentY(), f.canvas.PageHeight());
    EXPECT_EQ(f.backEnd.Pages, 1);
    f.canvas.NewPage();
    EXPECT_EQ(f.backEnd.Pages, 2);
    EXPECT_EQ(f.canvas.CurrentPage(), 2);
    EXPECT_DOUBLE_EQ(f.canvas.CurrentY(), f.canvas.MarginTop);
    f.canvas.Finish();
    EXPECT_EQ(footers, (std::vector<int>{1, 2}));
}

// A new font is regular and black, and its line height follows its size.
TEST(ReportCanvas, SetFontResetsBoldAndColour) {
    TCanvasFixture f;
    f.canvas.SetBold(true);
    f.canvas.SetFontColor(QColor(255, 0, 0));
    f.canvas.SetFont(Face, 12);
    f.canvas.PrintText(QStringLiteral("x"));
    const auto texts = f.backEnd.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_FALSE(texts[0].Font.Bold);
    EXPECT_EQ(texts[0].Color, QColor(Qt::black));
    EXPECT_DOUBLE_EQ(f.canvas.LineHeight(), 0.2);
    f.canvas.SetFont(Face, 9);
    EXPECT_DOUBLE_EQ(f.canvas.LineHeight(), 0.15);
}

// A picture that cannot be decoded leaves its rectangle empty and the report
// goes on; one that can fills its rectangle.
TEST(ReportCanvas, UndecodablePictureLeavesItsRectangleEmpty) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
    }
    struct TCase {
        const char* Name;
        QByteArray Data;
        QString Kind;
        bool Placed;
    };
    const TCase cases[] = {
        {"bitmap", bmp, QStringLiteral("BMP"), true},
        {"bitmap called JPEG", bmp, QStringLiteral("JPG"), false},
        {"unknown kind", bmp, QStringLiteral("PNG"), false},
        {"cut bitmap", bmp.left(30), QStringLiteral("BMP"), false},
        {"no bytes", QByteArray(), QStringLiteral("JPG"), false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TCanvasFixture f;
        f.canvas.DrawPicture(1, 2, 3, 3, c.Data, c.Kind);
        f.canvas.PrintText(QStringLiteral("after"));
        const auto pictures = f.backEnd.Pictures();
        ASSERT_EQ(pictures.size(), c.Placed ? 1u : 0u);
        if (c.Placed) {
            EXPECT_EQ(pictures[0].PictureSize, QSize(40, 20));
            EXPECT_EQ(pictures[0].Rect, QRectF(1, 2, 2, 1));
        }
        EXPECT_EQ(f.backEnd.Texts().size(), 1u);
    }
}

} // namespace slabwise::test

namespace slabwise::test {

// The plan and the cross section are placed as two parts of one drawing. A
// back end may keep its pictures after the page (a print preview does):
// after the drawings page and the next drawing are done, both parts still
// hold exactly the rows of that drawing.
TEST(ReportCanvas, DrawingsOutliveTheirPage) {
    auto mat = std::make_unique<TMatData>(std::filesystem::path{});
    mat->LoadFromFile(std::filesystem::path(SLABWISE_SOURCE_DATA) / "Example English Units.ksw");
    mat->Analyze();
    TCanvasFixture f;
    PrintDrawingsPage(f.canvas, *mat);
    f.canvas.NewPage();
    PrintReinforcementDrawing(f.canvas, *mat);
    ASSERT_EQ(f.backEnd.Images.size(), 4u);
    const QImage& plan = f.backEnd.Images[0];
    const QImage& section = f.backEnd.Images[1];

    // The drawing made again at the size the page asks for, its frame
    // erased as on paper.
    const double height =
        ((f.canvas.PageHeight() - 2 * f.canvas.MarginTop) - 4 * f.canvas.LineHeight()) * 0.5;
    const double width = f.canvas.PageWidth() - f.canvas.MarginLeft - f.canvas.MarginRight;
    QImage whole(static_cast<int>(std::lround(width * ReportPixelsPerInch)),
                 static_cast<int>(std::lround(height * ReportPixelsPerInch)), QImage::Format_RGB32);
    const int planBottom = DrawPlanSectionToBitmap(whole, *mat);
    {
        QPainter painter(&whole);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(0, 0, whole.width() - 1, whole.height() - 1);
    }
    ASSERT_GT(planBottom, 0);
    ASSERT_LT(planBottom, whole.height());
    EXPECT_EQ(plan.convertToFormat(QImage::Format_RGB32), whole.copy(0, 0, whole.width(), planBottom));
    EXPECT_EQ(section.convertToFormat(QImage::Format_RGB32),
              whole.copy(0, planBottom, whole.width(), whole.height() - planBottom));
}

} // namespace slabwise::test
