// Grabs every page of the main window to PNG files in the build folder, at
// the minimum and at a larger size, so the screens can be looked at after a
// test run.

#include "WindowFixture.h"
#include "support/GrabChecks.h"

#include <QDir>
#include <QLabel>
#include <QTabWidget>

namespace slabwise::test {
namespace {

class ScreenshotTest : public WindowTest {};

// The grab shows the window, and every caption visible on it is drawn.
void ExpectCaptionsDrawn(const QImage& shot, const QWidget& window, const QString& what) {
    ExpectDrawn(shot, what.toUtf8().constData());
    int checked = 0;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || label->text().trimmed().isEmpty() || label->width() < 8) continue;
        const QString name = what + QStringLiteral(" ") + label->objectName();
        ExpectTextDrawn(shot, window, *label, name.toUtf8().constData());
        ++checked;
    }
    EXPECT_GT(checked, 3) << what.toStdString();
}

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
            ExpectCaptionsDrawn(shot, *window, names[page]);
            const QString file = folder.filePath(
                QStringLiteral("main-%1-%2x%3.png").arg(names[page]).arg(size.width()).arg(size.height()));
            EXPECT_TRUE(shot.save(file)) << file.toStdString();
        }
    }
}

// SI units with failing checks and a validity message, and a larger desktop
// font, at the minimum size.
TEST_F(ScreenshotTest, SIWithFailingChecksAndALargerFont) {
    const QDir folder(QStringLiteral(SLABWISE_SCREENS_DIR));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    Pick("ComboBox1", QStringLiteral("SI"));
    // Changing the page recalculates, so the failing state is set after it.
    const auto failing = [this] {
        TMatData& m = window->Model();
        m.MaxPressure = 2e3;
        m.MinPressure = -4;
        m.BearingAreaPct = 61.5L;
        m.TopSpacing = 900;
        m.BotSteelPct = 0.1L;
        m.ShearUtil = 104.2L;
        window->UpdateDisplay();
    };
    window->resize(1050, 589);
    const auto grabPages = [&](TfrmMain& shown, const QString& suffix) {
        auto& pages = *shown.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        for (const int page : {0, 1, 2, 3}) {
            pages.setCurrentIndex(page);
            if (&shown == window.get()) failing();
            QApplication::processEvents();
            const QString file =
                folder.filePath(QStringLiteral("main-%1-page%2.png").arg(suffix).arg(page + 1));
            const QImage shot = shown.grab().toImage();
            ExpectCaptionsDrawn(shot, shown, suffix);
            EXPECT_TRUE(shot.save(file));
        }
    };
    grabPages(*window, QStringLiteral("si-failing"));
    // A desktop whose interface font is larger than the tests' one.
    const QFont font = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    {
        TfrmMain large(dialogs);
        large.resize(1050, 589);
        large.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&large));
        grabPages(large, QStringLiteral("font11pt"));
        large.setWindowState(Qt::WindowNoState);
    }
    QApplication::setFont(font);
    EXPECT_EQ(Caption("Label103"), QStringLiteral("Brg Area < 85%, analysis may not be valid!"));
}

} // namespace
} // namespace slabwise::test
