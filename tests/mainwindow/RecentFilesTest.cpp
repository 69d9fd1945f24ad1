// "Open Recent" in the File menu: the projects last opened or saved, most
// recent first, kept in the per-user settings, a missing file dropped with a
// message, and "Clear List".

#include "WindowFixture.h"

#include "RecentFiles.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

namespace slabwise::test {
namespace {

class RecentFilesTest : public WindowTest {
protected:
    void SetUp() override {
        QSettings{QStringLiteral("Kelvane"), QStringLiteral("Slabwise")}.remove(
            QStringLiteral("RecentFiles"));
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        QSettings{QStringLiteral("Kelvane"), QStringLiteral("Slabwise")}.remove(
            QStringLiteral("RecentFiles"));
    }
    QString PathOf(const QString& name) const {
        return QDir::cleanPath(QString::fromStdString((folder.Path() / name.toStdString()).string()));
    }
    void SaveAs(const QString& name) {
        dialogs.SaveFiles = {PathOf(name)};
        Control<QAction>("ASaveAs").trigger();
    }
    QMenu& Recent() const { return Control<QMenu>("RecentFiles1"); }
    // The entries as the menu shows them, without their access keys.
    QStringList Entries() const {
        QStringList entries;
        for (QAction* action : Recent().actions())
            if (action->objectName().startsWith(QLatin1String("RecentFile")))
                entries << action->text().section(QLatin1Char(' '), 1);
        return entries;
    }
    QAction& Entry(int number) const {
        QAction* action = Recent().findChild<QAction*>(QStringLiteral("RecentFile%1").arg(number));
        if (!action) throw std::runtime_error("no recent entry");
        return *action;
    }
    QString Native(const QString& name) const { return QDir::toNativeSeparators(PathOf(name)); }

    TTempFolder folder;
};

TEST_F(RecentFilesTest, SavedAndOpenedProjectsComeFirst) {
    // The submenu sits in the File menu right after Open.
    const QList<QAction*> file = Control<QMenu>("File1").actions();
    const qsizetype open = file.indexOf(&Control<QAction>("AOpen"));
    ASSERT_GE(open, 0);
    EXPECT_EQ(file.value(open + 1), Recent().menuAction());
    EXPECT_FALSE(Recent().isEnabled());

    SaveAs("a.ksw");
    SaveAs("b.ksw");
    SaveAs("c.ksw");
    EXPECT_TRUE(Recent().isEnabled());
    EXPECT_EQ(Entries(), (QStringList{Native("c.ksw"), Native("b.ksw"), Native("a.ksw")}));
    EXPECT_TRUE(Entry(1).text().startsWith(QLatin1String("&1 ")));

    // Opening one from the menu moves it to the top.
    Entry(3).trigger();
    EXPECT_EQ(window->FileName(), PathOf("a.ksw"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kelvane Slabwise - a.ksw"));
    EXPECT_EQ(Entries(), (QStringList{Native("a.ksw"), Native("c.ksw"), Native("b.ksw")}));
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    // Kept in the settings for the next start.
    window.reset();
    window = std::make_unique<TfrmMain>(dialogs);
    EXPECT_EQ(Entries(), (QStringList{Native("a.ksw"), Native("c.ksw"), Native("b.ksw")}));
}

TEST_F(RecentFilesTest, AtMostEightAndNoneTwice) {
    for (int i = 1; i <= 10; ++i) SaveAs(QStringLiteral("p%1.ksw").arg(i));
    SaveAs(QStringLiteral("p5.ksw"));
    const QStringList entries = Entries();
    ASSERT_EQ(entries.size(), TRecentFiles::MaxCount);
    EXPECT_EQ(entries.first(), Native("p5.ksw"));
    EXPECT_EQ(entries.count(Native("p5.ksw")), 1);
    EXPECT_EQ(entries.last(), Native("p3.ksw"));
}

TEST_F(RecentFilesTest, AMissingFileLeavesTheListWithAMessage) {
    SaveAs("kept.ksw");
    SaveAs("gone.ksw");
    ASSERT_TRUE(QFile::remove(PathOf("gone.ksw")));
    dialogs.Answers = {TAnswer::No};
    Entry(1).trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].contains(Native("gone.ksw")));
    EXPECT_EQ(Entries(), QStringList{Native("kept.ksw")});
    // Nothing was asked.
    EXPECT_TRUE(dialogs.Questions.isEmpty());
}

TEST_F(RecentFilesTest, OpeningFromTheListAsksToSaveChangesFirst) {
    SaveAs("first.ksw");
    SaveAs("second.ksw");
    Commit("Edit1", QStringLiteral("44"));
    ASSERT_TRUE(window->Modified());
    dialogs.Answers = {TAnswer::Cancel};
    Entry(2).trigger();
    EXPECT_EQ(dialogs.Questions.size(), 1);
    EXPECT_EQ(window->FileName(), PathOf("second.ksw"));
    EXPECT_EQ(Text("Edit1"), QStringLiteral("44.00"));
}

TEST_F(RecentFilesTest, ClearListEmptiesMenuAndSettings) {
    SaveAs("one.ksw");
    Control<QAction>("ClearRecentFiles").trigger();
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_FALSE(Recent().isEnabled());
    QSettings settings{QStringLiteral("Kelvane"), QStringLiteral("Slabwise")};
    EXPECT_FALSE(settings.childGroups().contains(QStringLiteral("RecentFiles")));
}

} // namespace
} // namespace slabwise::test
