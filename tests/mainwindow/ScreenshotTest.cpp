// Grabs every page of the main window to PNG files in the build folder, at
// the minimum and at a larger size, so the screens can be looked at after a
// test run.

#include "WindowFixture.h"

#include <QDir>
#include <QTabWidget>

namespace slabwise::test {
namespace {

class ScreenshotTest : public WindowTest {};

TEST_F(ScreenshotTest, EveryPageAtMinimumAndLargeSize) {
    const QDir folder(QStringLiteral(SLABWISE_SCREENS_DIR));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    auto& pages = Control<QTabWidget>("PageControl1");
    const QStringList names{"geometry", "loadings", "reinforcement", "results"};
    for (const QSize size : {QSize(1050, 589), QSize(1400, 820)}) {
        window->resize(size);
        QApplication::processEvents();
        for (int page = 0; page < pages.count(); ++page) {
            pages.setCurrentIndex(page);
            QApplication::processEvents();
            const QImage shot = window->grab().toImage();
            EXPECT_EQ(shot.size(), size);
            const QString file = folder.filePath(
                QStringLiteral("main-%1-%2x%3.png").arg(names[page]).arg(size.width()).arg(size.height()));
            EXPECT_TRUE(shot.save(file)) << file.toStdString();
        }
    }
}

} // namespace
} // namespace slabwise::test
