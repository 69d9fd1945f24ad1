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
    EXPECT_EQ(entries, (QStringList{"&About", "&Website", "-", "A&utomatically Check for Updates",
                                    "&Check for Updates Now"}));
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

TEST_F(MainWindowUpdates, AStartedUpdateEndsTheProgramOnlyPastTheSavePrompt) {
    Show();
    window->SetModified(true);
    dialogs.Answers = {TAnswer::Cancel};
    window->Updates().OwnShell->Terminate();
    EXPECT_EQ(dialogs.Questions,
              QStringList{QStringLiteral("File is not saved. Do you want to save it now?")});
    EXPECT_TRUE(window->Modified());
}

} // namespace
} // namespace slabwise::test
