// The splash window and the about box, grabbed to PNG beside the page
// screenshots.

#include "About.h"
#include "Splash.h"

#include "../mainwindow/ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace slabwise::test {
namespace {

void Save(QWidget& window, const char* name) {
    const QDir folder(QStringLiteral(SLABWISE_SCREENS_DIR));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    EXPECT_TRUE(window.grab().save(folder.filePath(QLatin1String(name))));
}

TEST(Splash, CentredOnTopAndClosesItselfAfterTwoSeconds) {
    QPointer<TfrmSplash> splash = new TfrmSplash;
    splash->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash.data()));
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    EXPECT_EQ(splash->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Slabwise"));
    Save(*splash, "splash.png");
    QTest::qWait(TfrmSplash::ShowMilliseconds - 500);
    EXPECT_FALSE(splash.isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 1500)); // closed and freed
}

TEST(Splash, AClickOnAnyPartClosesIt) {
    for (const char* part : {"Image1", "Label1", "Label3"}) {
        QPointer<TfrmSplash> splash = new TfrmSplash;
        splash->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(splash.data()));
        QWidget* child = splash->findChild<QWidget*>(QLatin1String(part));
        QTest::mouseClick(splash.data(), Qt::LeftButton, {}, child->geometry().center());
        EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 500)) << part;
    }
}

TEST(About, ShowsNameVersionAndOpensTheMakersPage) {
    TScriptedDialogs dialogs;
    TfrmAbout about(nullptr, dialogs);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("Label3"))->text(), QStringLiteral("Version 1.0.0"));
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Kelvane Slabwise"));
    Save(about, "about.png");
    QTest::mouseClick(about.findChild<QLabel*>(QStringLiteral("Label2")), Qt::LeftButton);
    ASSERT_EQ(dialogs.OpenedUrls.size(), 1u);
    EXPECT_EQ(dialogs.OpenedUrls[0], QUrl(QStringLiteral("http://www.kelvane.example/")));
    QTest::keyClick(&about, Qt::Key_Return);
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
} // namespace slabwise::test
