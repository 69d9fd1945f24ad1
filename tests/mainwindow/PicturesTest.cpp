// The three drawings of the pages, their enlargement to the work area, the
// table and graphs windows opened from the results page, and the
// subgrade-modulus help of the geometry page.

#include "TextHeights.h"
#include "WindowFixture.h"

#include <QDir>
#include <QFontDatabase>
#include <QPainter>
#include <QScreen>
#include <QToolButton>

#include "views/Tables.h"

namespace slabwise::test {
namespace {

class PicturesTest : public WindowTest {};

TEST_F(PicturesTest, DrawingsFillTheirBoxes) {
    for (const char* name : {"Image1", "Image2", "Image8"}) {
        QLabel& box = Control<QLabel>(name);
        ShowPageOf(box);
        QApplication::processEvents();
        EXPECT_EQ(box.pixmap().size(), box.size()) << name;
    }
    // A resize redraws them at the new size.
    QLabel& plan = Control<QLabel>("Image1");
    ShowPageOf(plan);
    window->resize(1300, 760);
    QApplication::processEvents();
    EXPECT_EQ(plan.pixmap().size(), plan.size());
}

// At the designed window size every label of the three pictures is at
// least as high as the desktop's small font writes its digits, and each
// picture stands in the middle of its box.
TEST_F(PicturesTest, PicturesOnScreenAreLegibleAndFillTheirBoxes) {
    QImage digits(400, 100, QImage::Format_RGB32);
    digits.fill(Qt::white);
    {
        QPainter painter(&digits);
        painter.setFont(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont));
        painter.setPen(Qt::black);
        painter.drawText(10, 60, QStringLiteral("0123456789"));
    }
    const TTextScan small = ScanText(digits);
    ASSERT_EQ(small.Labels, 1);
    const QDir folder(QStringLiteral(SLABWISE_SCREENS_DIR));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    for (const char* name : {"Image1", "Image2", "Image8"}) {
        SCOPED_TRACE(name);
        QLabel& box = Control<QLabel>(name);
        ShowPageOf(box);
        QApplication::processEvents();
        const QImage shown = box.pixmap().toImage();
        shown.save(folder.filePath(QStringLiteral("picture-%1-1084x620.png").arg(QLatin1String(name))));
        const TTextScan scan = ScanText(shown, small.SmallestHeight / 2);
        EXPECT_GE(scan.Labels, 3);
        EXPECT_GE(scan.SmallestHeight, small.SmallestHeight - 1)
            << "label at " << scan.Smallest.x() << "," << scan.Smallest.y() << " " << scan.Smallest.width()
            << "x" << scan.Smallest.height();
        // The drawn part is centred in the box and uses most of its height.
        int top = shown.height(), bottom = -1;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixelColor(x, y) != Qt::white) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                    break;
                }
        ASSERT_GE(bottom, top);
        EXPECT_NEAR(top, shown.height() - 1 - bottom, 2 * small.SmallestHeight + 2);
        // Plan and section are scaled by B + T together, so a thin strip
        // leaves some of the height; the reinforcement section fills it.
        if (QLatin1String(name) == QLatin1String("Image1")) {
            EXPECT_GT(bottom - top, shown.height() * 2 / 3);
        }
        if (QLatin1String(name) == QLatin1String("Image8")) {
            EXPECT_GT(bottom - top, shown.height() * 3 / 4);
        }
    }
}

TEST_F(PicturesTest, EnlargedPictureIsDrawnForTheWorkArea) {
    const QRect work = window->screen()->availableGeometry();
    // A main window near the screen's left edge; centred on it, the wide
    // enlargement would start left of the screen.
    window->move(work.left() - 400, work.top());
    const QDir folder(QStringLiteral(SLABWISE_SCREENS_DIR));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    const struct {
        const char* Image;
        const char* Button;
        const char* File;
    } pictures[] = {{"Image1", "SpeedButton1", "zoom-plan.png"},
                    {"Image2", "SpeedButton2", "zoom-loading.png"},
                    {"Image8", "SpeedButton3", "zoom-reinforcement.png"}};
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.Image);
        QLabel& image = Control<QLabel>(p.Image);
        ShowPageOf(image);
        QTest::mouseClick(&image, Qt::LeftButton, {}, image.rect().center());
        EXPECT_EQ(dialogs.ModalClass, QStringLiteral("slabwise::TfrmImgZoom"));
        EXPECT_EQ(dialogs.ModalSize.width(), work.width() - 20);
        EXPECT_LE(dialogs.ModalSize.height(), work.height() - 100);
        EXPECT_GT(dialogs.ModalSize.height(), 0);
        // On the screen that holds the main window, whatever its position.
        EXPECT_TRUE(work.contains(dialogs.ModalFrame.topLeft())) << dialogs.ModalFrame.x();
        const QImage byImage = dialogs.ModalPicture;
        byImage.save(folder.filePath(QLatin1String(p.File)));
        QTest::mouseClick(&Control<QToolButton>(p.Button), Qt::LeftButton);
        EXPECT_EQ(dialogs.ModalPicture, byImage);
    }
}

TEST_F(PicturesTest, ResultsLinksOpenTheTableAndTheGraphs) {
    QLabel& table = Control<QLabel>("Label74");
    ShowPageOf(table);
    EXPECT_EQ(table.text(), QStringLiteral("View Table"));
    QTest::mouseClick(&table, Qt::LeftButton);
    EXPECT_EQ(dialogs.ModalClass, QStringLiteral("slabwise::TfrmTable"));
    QLabel& graphs = Control<QLabel>("Label75");
    EXPECT_EQ(graphs.text(), QStringLiteral("View Graphs"));
    QTest::mouseClick(&graphs, Qt::LeftButton);
    EXPECT_EQ(dialogs.ModalClass, QStringLiteral("slabwise::TfrmGraphs"));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(PicturesTest, SubgradeHelpInformsWithoutTouchingTheProject) {
    const QString before = Text("Edit5");
    QToolButton& help = Control<QToolButton>("SpeedButton4");
    ShowPageOf(help);
    EXPECT_EQ(Tag("SpeedButton4"), 1);
    QTest::mouseClick(&help, Qt::LeftButton);
    EXPECT_EQ(dialogs.ModalClass, QStringLiteral("slabwise::TfrmComputations"));
    EXPECT_EQ(Text("Edit5"), before);
    EXPECT_FALSE(window->Modified());

    // The SI captions carry the note under the list, so the window is taller.
    const int englishHeight = dialogs.ModalSize.height();
    Pick("ComboBox1", QStringLiteral("SI"));
    QTest::mouseClick(&help, Qt::LeftButton);
    EXPECT_EQ(dialogs.ModalSize.height(), englishHeight + 33 + 8);
}

} // namespace
} // namespace slabwise::test
