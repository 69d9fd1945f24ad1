// The Help menu's update commands, the "AutoUpdates" setting and the quiet
// check one second after the main window shows, against the test's server.

#include "UpdateFixture.h"

#include "../mainwindow/ScriptedDialogs.h"
#include "MainWindow.h"
#include "UpdateCommands.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <memory>

static void SaveGrab(QWidget& widget, const char* name) {
    const QDir folder(QStringLiteral(SLABWISE_SCREENS_DIR));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    EXPECT_TRUE(widget.grab().save(folder.filePath(QLatin1String(name))));
}

namespace slabwise::test {
namespace {

class MainWindowUpdates : public ::testing::Test {
protected:
    // Settings of this process only, so a missing "AutoUpdates" here never
    // reaches another test process.
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(settings.Path().string()));
        server.Routes["/page"] = Serve(MetaPage({{"upProduct", "Slabwise"}, {"upVersion", "1.0.0"}}));
    }
    void TearDown() override { window.reset(); }
    // A main window whose checks go to the test's server and shell.
    void Show() {
        window = std::make_unique<TfrmMain>(dialogs);
        TUpdateCommands& updates = window->Updates();
        updates.Shell = &shell;
        updates.PageUrl = QString::fromLatin1(server.Url("/page"));
        updates.Context.CurrentVersion = QStringLiteral("1.0.0");
        updates.Context.DataFolder = Folder(data);
        updates.Context.PublicKey = TestKeys().PublicKey;
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QAction& Action(const char* name) const {
        auto* action = window->findChild<QAction*>(QLatin1String(name));
        if (!action) throw std::runtime_error(std::string("no action ") + name);
        return *action;
    }
    QVariant Stored() const {
        return QSettings(QStringLiteral("Kelvane"), QStringLiteral("Slabwise"))
            .value(QStringLiteral("AutoUpdates"));
    }

    TTempFolder settings;
    TTempFolder data;
    TTestServer server;
    TScriptedDialogs dialogs;
    TRecordingShell shell;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(MainWindowUpdates, HelpMenuHoldsBothCommandsAfterASeparator) {
    Show();
    auto* help = window->findChild<QMenu*>(QStringLiteral("Help1"));
    ASSERT_NE(help, nullptr);
    QStringList entries;
    for (QAction* action : help->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(entries, (QStringList{"&User Guide", "-", "&About", "&Website", "-",
                                    "A&utomatically Check for Updates", "&Check for Updates Now"}));
    EXPECT_TRUE(Action("AAutoUpdate").isCheckable());
}

TEST_F(MainWindowUpdates, StartUpCheckFollowsTheSetting) {
    const struct {
        const char* Name;
        QVariant Stored;
        bool Checked;
    } cases[] = {
        {"absent means on", QVariant(), true},
        {"1 is on", QVariant(1), true},
        {"0 is off", QVariant(0), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QSettings store(QStringLiteral("Kelvane"), QStringLiteral("Slabwise"));
        if (c.Stored.isValid())
            store.setValue(QStringLiteral("AutoUpdates"), c.Stored);
        else
            store.remove(QStringLiteral("AutoUpdates"));
        store.sync();
        server.Paths.clear();
        Show();
        auto* timer = window->findChild<QTimer*>(QStringLiteral("Timer1"));
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->interval(), 1000);
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(Action("AAutoUpdate").isChecked(), c.Checked);
        QTest::qWait(700);
        EXPECT_TRUE(server.Paths.isEmpty()) << "not before a second has passed";
        // The quiet check: the dialog closes by itself, nothing is said.
        QTest::qWait(1500);
        EXPECT_FALSE(timer->isActive());
        EXPECT_EQ(server.Paths.size(), c.Checked ? 1 : 0);
        EXPECT_TRUE(shell.Notices.isEmpty());
        EXPECT_TRUE(dialogs.Messages.isEmpty());
        window.reset();
    }
}

TEST_F(MainWindowUpdates, MenuCommandsWriteTheSettingAndCheckOnDemand) {
    Show();
    ASSERT_TRUE(Action("AAutoUpdate").isChecked());
    Action("AAutoUpdate").trigger();
    EXPECT_FALSE(Action("AAutoUpdate").isChecked());
    EXPECT_EQ(Stored(), QVariant(0));
    Action("AAutoUpdate").trigger();
    EXPECT_EQ(Stored(), QVariant(1));
    Action("AAutoUpdate").trigger();

    // On demand the dialog stays with its answer until the user closes it;
    // the timer, switched off, never checks.
    QString answer;
    shell.WhileModal = [&](QDialog& dialog) {
        auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label6"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return label->isVisible(); }, 10000));
        answer = label->text();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("CloseBtn")), Qt::LeftButton);
    };
    Action("ACheckUpdates").trigger();
    EXPECT_EQ(answer, QStringLiteral("You have the latest version"));
    EXPECT_TRUE(shell.Questions.isEmpty());
    QTest::qWait(1200);
    EXPECT_EQ(server.Paths.size(), 1);
}

// The save question comes before anything is started: Cancel there starts
// nothing, the dialog says the update waits, and the verified package is
// used by the next check once the project is saved.
TEST_F(MainWindowUpdates, AnUpdateAsksToSaveBeforeItStarts) {
    const QByteArray package = "!<arch>\ndebian-binary package";
    server.Routes["/pkg/slabwise.deb"] = Serve(package);
    std::vector<std::pair<const char*, QByteArray>> values{
        {"upProduct", "Slabwise"}, {"upVersion", "1.0.1"}, {"upDownload", server.Url("/pkg/slabwise.deb")}};
    for (const auto& value : Signed(ManifestOf("slabwise.deb", package))) values.push_back(value);
    server.Routes["/page"] = Serve(MetaPage(values));
    Show();
    window->Updates().Inplace = false;
    QStringList events;
    shell.Events = &events;
    // The window's own answer: its save question.
    shell.MayEndAnswer = [this] { return window->Updates().OwnShell->MayEnd(); };
    const QString file = Folder(data) + QStringLiteral("Update/slabwise.deb");

    const struct {
        const char* Name;
        bool Modified;
        std::deque<TAnswer> SaveAnswers;
        QStringList Events;
        QString Status; // of the dialog afterwards; empty when the program ended
        bool Fetched;
    } cases[] = {
        {"unsaved project, Cancel at the save question",
         true,
         {TAnswer::Cancel},
         {"MayEnd"},
         TfrmCheckUpdates::UpdateWaitsTitle,
         true},
        {"the next check with the project saved uses the kept package",
         false,
         {},
         {"MayEnd", "Open:slabwise.deb", "Terminate"},
         QString(),
         false},
        {"unsaved project, No at the save question",
         true,
         {TAnswer::No},
         {"MayEnd", "Open:slabwise.deb", "Terminate"},
         QString(),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        events.clear();
        server.Paths.clear();
        dialogs.Questions.clear();
        dialogs.Answers = c.SaveAnswers;
        window->SetModified(c.Modified);
        shell.Answers = {true};
        QString status;
        QString button;
        shell.WhileModal = [&](QDialog& dialog) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !events.isEmpty(); }, 10000));
            QTest::qWait(50);
            status = dialog.findChild<QLabel*>(QStringLiteral("Label2"))->text();
            button = dialog.findChild<QPushButton*>(QStringLiteral("CloseBtn"))->text();
            if (c.Status == TfrmCheckUpdates::UpdateWaitsTitle) SaveGrab(dialog, "update-waits.png");
            dialog.close();
        };
        Action("ACheckUpdates").trigger();
        EXPECT_TRUE(shell.Notices.isEmpty()) << shell.Notices.join(QStringLiteral(" / ")).toStdString();
        EXPECT_EQ(events, c.Events);
        EXPECT_EQ(dialogs.Questions,
                  c.Modified ? QStringList{QStringLiteral("File is not saved. Do you want to save it now?")}
                             : QStringList());
        // Neither answer touches the edits: Cancel keeps the project open, and
        // after No they go only with the program, which the started update ends.
        EXPECT_EQ(window->Modified(), c.Modified);
        EXPECT_EQ(server.Paths.contains("/pkg/slabwise.deb"), c.Fetched);
        EXPECT_TRUE(QFileInfo::exists(file)) << "the verified package stays";
        if (!c.Status.isEmpty()) {
            EXPECT_EQ(status, c.Status);
            EXPECT_EQ(button, QStringLiteral("&Close"));
            EXPECT_TRUE(shell.Started.isEmpty());
        }
    }
}

// The automatic check shows nothing while it has nothing to offer: a server
// that never answers leaves the main window free, and the check ends by its
// deadline without a word.
TEST_F(MainWindowUpdates, TheQuietCheckRunsUnseen) {
    server.Routes["/page"].NoAnswer = true;
    Show();
    window->Updates().Context.Deadlines.PageMs = 800;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.Paths.isEmpty(); }, 3000));
    auto visibleDialogs = [] {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && qobject_cast<TfrmCheckUpdates*>(widget)) ++count;
        return count;
    };
    EXPECT_EQ(visibleDialogs(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The window goes on taking commands meanwhile.
    Action("AAutoUpdate").trigger();
    EXPECT_EQ(Stored(), QVariant(0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Updates().Quiet.isNull(); }, 3000))
        << "the unseen dialog is released after its deadline";
    EXPECT_EQ(visibleDialogs(), 0);
    EXPECT_TRUE(shell.Notices.isEmpty());
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    // An update to offer shows the dialog, modal, with its question.
    server.Routes["/page"] = Serve(MetaPage({{"upProduct", "Slabwise"}, {"upVersion", "1.0.1"}}));
    window->Updates().Context.PublicKey.clear();
    Action("AAutoUpdate").trigger();
    bool shownWhenAsked = false;
    shell.DuringQuestion = [&] {
        shownWhenAsked = visibleDialogs() == 1 && QApplication::activeModalWidget();
    };
    window->Timer1Timer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shell.Questions.isEmpty(); }, 5000));
    EXPECT_TRUE(shownWhenAsked);
}

} // namespace
} // namespace slabwise::test
