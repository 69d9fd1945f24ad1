// The update dialog driven through its widgets against the test's server:
// each outcome of a check, the download with its progress, Cancel during a
// transfer, and a picture of each state in the build folder.

#include "UpdateFixture.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <memory>

namespace slabwise::test {
namespace {

const QByteArray Deb = "!<arch>\ndebian-binary package";

void SaveGrab(const QImage& picture, const char* name) {
    const QDir folder(QStringLiteral(SLABWISE_SCREENS_DIR));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    EXPECT_TRUE(picture.save(folder.filePath(QLatin1String(name))));
}

class DialogTest : public ::testing::Test {
public:
    void SetUp() override {
        context.CurrentVersion = QStringLiteral("1.0.0");
        context.DataFolder = Folder(data);
        context.Website = QUrl(QStringLiteral("http://www.kelvane.example/"));
        context.PublicKey = TestKeys().PublicKey;
        context.ProgramFile = QStringLiteral("/opt/Slabwise/slabwise");
    }
    void TearDown() override {
        if (dialog && dialog->wupd().Busy()) {
            dialog->wupd().Abort();
            static_cast<void>(QTest::qWaitFor([&] { return !dialog->wupd().Busy(); }, 5000));
        }
    }
    void Offer(const QByteArray& version, const QByteArray& package = Deb) {
        server.Routes["/pkg/slabwise.deb"] = Serve(package);
        std::vector<std::pair<const char*, QByteArray>> values{
            {"upProduct", "Slabwise"},
            {"upVersion", version},
            {"upDownload", server.Url("/pkg/slabwise.deb")},
            {"upClientSideName", "slabwise.deb"}};
        for (const auto& value : Signed(ManifestOf("slabwise.deb", package, version)))
            values.push_back(value);
        server.Routes["/page"] = Serve(MetaPage(values));
    }
    void Open(bool silent) {
        dialog = std::make_unique<TfrmCheckUpdates>(nullptr, shell, context);
        dialog->Silent = silent;
        dialog->wupd().ProductInfo.SetURL(QString::fromLatin1(server.Url("/page")));
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    template <class T = QLabel> T& Child(const char* name) const {
        T* child = dialog->findChild<T*>(QLatin1String(name));
        if (!child) throw std::runtime_error(std::string("no control ") + name);
        return *child;
    }
    QString Text(const char* name) const { return Child(name).text(); }
    bool Shown(const char* name) const { return Child<QWidget>(name).isVisible(); }
    // Acts from inside the running check once `ready` holds: the check's
    // transfers run the event loop, so a timer stands for the user's hand.
    void WhenDuringCheck(const std::function<bool()>& ready, const std::function<void()>& action) {
        auto* timer = new QTimer(dialog.get());
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, ready, action] {
            if (!ready()) return;
            timer->stop();
            action();
        });
        timer->start();
    }
    bool WaitClosed(int ms = 10000) {
        return QTest::qWaitFor([&] { return !dialog->isVisible() && !dialog->wupd().Busy(); }, ms);
    }

    TTestServer server;
    TTempFolder data;
    TRecordingShell shell;
    TUpdateContext context;
    std::unique_ptr<TfrmCheckUpdates> dialog;
};

TEST_F(DialogTest, CheckingThenLatestVersion) {
    Offer("1.0.0");
    Open(false);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Check for updates"));
    EXPECT_EQ(dialog->size(), QSize(465, 332));
    EXPECT_EQ(Text("Label1"), QStringLiteral("Check for updates"));
    EXPECT_EQ(Text("Label2"), QStringLiteral("Checking..."));
    EXPECT_EQ(Text("Label4"), QString::fromLatin1(server.Url("/page")));
    EXPECT_EQ(Text("Label5"), QStringLiteral("Current version: 1.0.0"));
    EXPECT_FALSE(Shown("Label6"));
    EXPECT_FALSE(Shown("Label3"));
    EXPECT_FALSE(Shown("ProgressBar1"));
    EXPECT_EQ(Child<QPushButton>("CloseBtn").text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(server.Paths.isEmpty()) << "the check waits half a second";
    SaveGrab(dialog->grab().toImage(), "update-checking.png");

    ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Label6"); }, 5000));
    EXPECT_EQ(Text("Label6"), QStringLiteral("You have the latest version"));
    EXPECT_EQ(Child<QPushButton>("CloseBtn").text(), QStringLiteral("&Close"));
    EXPECT_TRUE(shell.Notices.isEmpty());
    SaveGrab(dialog->grab().toImage(), "update-latest.png");
    QTest::mouseClick(&Child<QPushButton>("CloseBtn"), Qt::LeftButton);
    EXPECT_TRUE(WaitClosed());
    EXPECT_TRUE(shell.Questions.isEmpty()) << "closing an idle dialog asks nothing";
}

// Each outcome of a check: what the user was told or asked, whether the
// dialog closed by itself and what was started.
TEST_F(DialogTest, Outcomes) {
    const QString install =
        QStringLiteral("There is new version of software available for \ndownload at the Kelvane website.\n\n"
                       "Do you want to install new version? Program will be restarted.");
    const QString website = QStringLiteral("There is new version of software available for \ndownload at the "
                                           "Kelvane website.\n\nDo you want to visit the website now?");
    const struct {
        const char* Name;
        bool Silent;
        QByteArray Version; // empty: no page at all
        bool WithKey;
        std::deque<bool> Answers;
        QStringList Notices;
        QStringList Questions;
        bool ClosesItself;
        QStringList Started;
        const char* Picture;
    } cases[] = {
        {"quiet, latest version", true, "1.0.0", true, {}, {}, {}, true, {}, nullptr},
        {"quiet, page unreachable", true, "", true, {}, {}, {}, true, {}, nullptr},
        {"page unreachable: one message",
         false,
         "",
         true,
         {},
         {TfrmCheckUpdates::CheckFailedTitle +
          QStringLiteral("\n127.0.0.1 answered with HTTP status 404 (X).")},
         {},
         false,
         {},
         "update-error.png"},
        {"major release",
         false,
         "2.0.0",
         true,
         {},
         {TfrmCheckUpdates::MajorUpdateText},
         {},
         true,
         {},
         "update-major.png"},
        {"quiet check still warns of a major release",
         true,
         "10.0.0",
         true,
         {},
         {TfrmCheckUpdates::MajorUpdateText},
         {},
         true,
         {},
         nullptr},
        {"same two first characters: offered",
         false,
         "1.0.1",
         true,
         {false},
         {},
         {install},
         true,
         {},
         "update-available.png"},
        {"accepted: downloaded and installed",
         false,
         "1.0.1",
         true,
         {true},
         {},
         {install},
         false,
         {QStringLiteral("Open %1Update/slabwise.deb")},
         nullptr},
        {"no key in this build: the web site instead",
         false,
         "1.0.1",
         false,
         {true},
         {},
         {website},
         true,
         {},
         "update-website.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        server.Routes.clear();
        server.Paths.clear();
        shell = TRecordingShell();
        shell.Answers = c.Answers;
        context.PublicKey = c.WithKey ? TestKeys().PublicKey : QByteArray();
        if (!c.Version.isEmpty()) Offer(c.Version);
        Open(c.Silent);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !dialog->wupd().Busy() && !server.Paths.isEmpty(); }, 10000));
        QTest::qWait(50);
        EXPECT_EQ(shell.Notices, c.Notices);
        EXPECT_EQ(shell.Questions, c.Questions);
        EXPECT_EQ(!dialog->isVisible(), c.ClosesItself);
        QStringList started;
        for (const QString& line : c.Started) started << line.arg(context.DataFolder);
        EXPECT_EQ(shell.Started, started);
        EXPECT_EQ(shell.Terminated, started.isEmpty() ? 0 : 1);
        if (!c.WithKey) {
            EXPECT_EQ(shell.OpenedUrls, std::vector<QUrl>{context.Website});
            EXPECT_EQ(server.Paths, QList<QByteArray>{"/page"}) << "nothing downloaded";
        }
        if (c.Picture) {
            ASSERT_FALSE(shell.Pictures.empty());
            SaveGrab(shell.Pictures.front(), c.Picture);
        }
        dialog->close();
        EXPECT_TRUE(WaitClosed());
    }
}

TEST_F(DialogTest, DownloadShowsProgressAndCancelAsksFirst) {
    Offer("1.0.1", QByteArray(qsizetype{40} * 1024, 'p'));
    server.Routes["/pkg/slabwise.deb"].StallAfter = qint64{20} * 1024;
    shell.Answers = {true};
    Open(false);
    const QString file = context.DataFolder + QStringLiteral("Update/slabwise.deb");
    auto halfWay = [this] { return Child<QProgressBar>("ProgressBar1").value() == 50; };
    bool seen = false;
    WhenDuringCheck(halfWay, [&] {
        seen = true;
        EXPECT_EQ(Text("Label2"), QStringLiteral("Downloading..."));
        EXPECT_EQ(Text("Label6"), QStringLiteral("New version: 1.0.1"));
        EXPECT_EQ(Text("Label3"), QStringLiteral("20 / 40 KB"));
        EXPECT_TRUE(Shown("Label3"));
        EXPECT_TRUE(Shown("ProgressBar1"));
        EXPECT_EQ(Child("Label4").toolTip(), file);
        EXPECT_TRUE(Text("Label4").endsWith(QLatin1String("/Update/slabwise.deb")));
        SaveGrab(dialog->grab().toImage(), "update-downloading.png");

        // No: nothing happens; the transfer goes on waiting.
        shell.Answers = {false};
        QTest::mouseClick(&Child<QPushButton>("CloseBtn"), Qt::LeftButton);
        EXPECT_EQ(shell.Questions.last(), TfrmCheckUpdates::AbortQuestion);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(dialog->wupd().Busy());
        // Yes: the transfer stops; the dialog waits for the check to return.
        shell.Answers = {true};
        QTest::mouseClick(&Child<QPushButton>("CloseBtn"), Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible()) << "not closed under a running check";
    });
    EXPECT_TRUE(WaitClosed());
    EXPECT_TRUE(seen);
    EXPECT_EQ(shell.Questions.size(), 3);
    EXPECT_TRUE(shell.Notices.isEmpty()) << "a cancelled transfer is no error";
    EXPECT_TRUE(shell.Started.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(file)) << "the partial download is removed";

    // The window's close button behaves as Cancel.
    shell.Answers = {true, true};
    Open(false);
    WhenDuringCheck(halfWay, [&] { dialog->close(); });
    EXPECT_TRUE(WaitClosed());
    EXPECT_TRUE(shell.Notices.isEmpty());
    EXPECT_EQ(shell.Questions.last(), TfrmCheckUpdates::AbortQuestion);
}

TEST_F(DialogTest, AnErrorDuringTheDownloadIsOneMessage) {
    Offer("1.0.1");
    server.Routes["/pkg/slabwise.deb"].AnnounceLength = false;
    shell.Answers = {true};
    Open(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shell.Notices.isEmpty() && !dialog->wupd().Busy(); }, 10000));
    QTest::qWait(50);
    EXPECT_EQ(shell.Notices,
              QStringList{TfrmCheckUpdates::UpdateFailedTitle +
                          QStringLiteral("\n127.0.0.1 did not announce the length of slabwise.deb.")});
    EXPECT_FALSE(Shown("ProgressBar1"));
    EXPECT_EQ(shell.Terminated, 0);
    EXPECT_TRUE(dialog->isVisible());
}

// Each failure is named for what failed, in the message and in the dialog,
// which then shows nothing stale and offers Close; a quiet check that the
// user agreed to reports its failure too.
TEST_F(DialogTest, FailuresAreNamedAndTheDialogShowsThem) {
    const struct {
        const char* Name;
        bool Silent;
        std::function<void(DialogTest&)> Setup;
        QString Title;
        QString Says;
        qsizetype Asked; // the install question, when offered
    } cases[] = {
        {"page never answered", false,
         [](DialogTest& t) {
             t.Offer("1.0.1");
             t.server.Routes["/page"].NoAnswer = true;
         },
         TfrmCheckUpdates::CheckFailedTitle, QStringLiteral("No answer from 127.0.0.1 within 1 s."), 0},
        {"package that is not what the manifest signs", false,
         [](DialogTest& t) {
             t.Offer("1.0.1");
             t.server.Routes["/pkg/slabwise.deb"].Body[2] = 'X';
         },
         TfrmCheckUpdates::UpdateRefusedTitle,
         QStringLiteral("slabwise.deb does not match its signed manifest: its SHA-256 differs."), 1},
        {"quiet check, agreed to, then refused", true,
         [](DialogTest& t) {
             t.Offer("1.0.1");
             t.server.Routes["/pkg/slabwise.deb"].Body[2] = 'X';
         },
         TfrmCheckUpdates::UpdateRefusedTitle, QStringLiteral("slabwise.deb does not match"), 1},
        {"quiet check, agreed to, then the server stalls", true,
         [](DialogTest& t) {
             t.Offer("1.0.1");
             t.server.Routes["/pkg/slabwise.deb"].StallAfter = 3;
         },
         TfrmCheckUpdates::UpdateFailedTitle,
         QStringLiteral("127.0.0.1 sent 3 bytes of 29 bytes and no more within 1 s."), 1},
        {"signature of another key: refused before it is offered", false,
         [](DialogTest& t) {
             t.Offer("1.0.1");
             t.context.PublicKey = NewSigningKeys().PublicKey;
         },
         TfrmCheckUpdates::UpdateRefusedTitle,
         QStringLiteral("The signature of the installer's manifest does not verify with the maker's key."),
         0},
    };
    context.Deadlines.PageMs = 500;
    context.Deadlines.DownloadGraceMs = 500;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        server.Routes.clear();
        shell = TRecordingShell();
        shell.Answers = {true};
        context.PublicKey = TestKeys().PublicKey;
        c.Setup(*this);
        Open(c.Silent);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !shell.Notices.isEmpty() && !dialog->wupd().Busy(); }, 10000));
        QTest::qWait(50);
        EXPECT_EQ(shell.Notices, QStringList{c.Title + QLatin1Char('\n') + dialog->wupd().Failure().Text});
        EXPECT_TRUE(dialog->wupd().Failure().Text.startsWith(c.Says))
            << dialog->wupd().Failure().Text.toStdString();
        EXPECT_FALSE(shell.Notices.join(QString()).contains(QLatin1String("Error accessing data")));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(Text("Label2"), c.Title);
        EXPECT_EQ(Text("Label4"), dialog->wupd().Failure().Text);
        EXPECT_TRUE(Child("Label4").toolTip().isEmpty()) << "no path of a deleted download";
        EXPECT_FALSE(Shown("Label3"));
        EXPECT_FALSE(Shown("ProgressBar1"));
        EXPECT_EQ(Child<QPushButton>("CloseBtn").text(), QStringLiteral("&Close"));
        EXPECT_TRUE(shell.Started.isEmpty());
        if (c.Silent && c.Title == TfrmCheckUpdates::UpdateRefusedTitle) {
            SaveGrab(dialog->grab().toImage(), "update-refused.png");
        }
        QTest::mouseClick(&Child<QPushButton>("CloseBtn"), Qt::LeftButton);
        EXPECT_TRUE(WaitClosed());
        EXPECT_EQ(shell.Questions.size(), c.Asked) << "closing after the failure asks nothing";
    }
}

// A new transfer's progress starts at nothing, not at the page's count.
TEST_F(DialogTest, DownloadProgressStartsFromNothing) {
    Offer("1.0.1", QByteArray(qsizetype{40} * 1024, 'p'));
    server.Routes["/pkg/slabwise.deb"].StallAfter = 0;
    shell.Answers = {true};
    Open(false);
    bool seen = false;
    WhenDuringCheck([&] { return Shown("ProgressBar1"); },
                    [&] {
                        seen = true;
                        EXPECT_EQ(Child<QProgressBar>("ProgressBar1").value(), 0);
                        EXPECT_EQ(Text("Label3"), QStringLiteral("0 / 0 KB"));
                        EXPECT_EQ(Text("Label2"), QStringLiteral("Downloading..."));
                        dialog->wupd().Abort();
                    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen && !dialog->wupd().Busy(); }, 10000));
}

// Cancel asks a question that names what would stop, and the transfer goes
// on while it is open.
TEST_F(DialogTest, CancelQuestionNamesTheStageAndTheTransferGoesOn) {
    // While only the page is awaited: the check is what stops.
    Offer("1.0.1");
    server.Routes["/page"].NoAnswer = true;
    shell.Answers = {true};
    Open(false);
    WhenDuringCheck([&] { return !server.Paths.isEmpty(); },
                    [&] { QTest::mouseClick(&Child<QPushButton>("CloseBtn"), Qt::LeftButton); });
    EXPECT_TRUE(WaitClosed());
    EXPECT_EQ(shell.Questions, QStringList{TfrmCheckUpdates::AbortCheckQuestion});
    EXPECT_TRUE(WaitClosed());
    EXPECT_TRUE(shell.Notices.isEmpty());

    // While the package comes: it keeps coming while the user thinks.
    const QByteArray package(qsizetype{64} * 1024, 'q');
    Offer("1.0.1", package);
    server.Routes["/pkg/slabwise.deb"].DripMs = 25;
    server.Routes["/pkg/slabwise.deb"].DripBytes = 4096;
    shell = TRecordingShell();
    shell.Answers = {true, false};
    bool completedWhileAsked = false;
    shell.DuringQuestion = [&] {
        if (shell.Questions.last() != TfrmCheckUpdates::AbortQuestion) return;
        completedWhileAsked =
            QTest::qWaitFor([&] { return dialog->wupd().DownloadedBytes() == package.size(); }, 5000);
    };
    Open(false);
    WhenDuringCheck(
        [&] {
            return dialog->wupd().Stage() == TUpdateStage::Downloading &&
                   dialog->wupd().DownloadedBytes() > 0;
        },
        [&] { QTest::mouseClick(&Child<QPushButton>("CloseBtn"), Qt::LeftButton); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shell.Started.isEmpty(); }, 10000));
    EXPECT_TRUE(completedWhileAsked);
    EXPECT_EQ(shell.Questions.last(), TfrmCheckUpdates::AbortQuestion);
    EXPECT_EQ(Child<QProgressBar>("ProgressBar1").value(), 100);
}

TEST(ShortenPath, FirstFoldersBecomeAnEllipsis) {
    const QFontMetrics metrics(QApplication::font());
    const QString path = QStringLiteral("/home/someone/.local/share/Slabwise/Update/slabwise.deb");
    EXPECT_EQ(ShortenPath(path, metrics, 2000), path);
    const int width = metrics.horizontalAdvance(QStringLiteral("/.../Slabwise/Update/slabwise.deb"));
    EXPECT_EQ(ShortenPath(path, metrics, width), QStringLiteral("/.../Slabwise/Update/slabwise.deb"));
    const QString url = QStringLiteral("https://www.kelvane.example/update/pages/slabwise.htm");
    const int urlWidth =
        metrics.horizontalAdvance(QStringLiteral("https://www.kelvane.example/.../slabwise.htm"));
    EXPECT_EQ(ShortenPath(url, metrics, urlWidth),
              QStringLiteral("https://www.kelvane.example/.../slabwise.htm"));
    EXPECT_LE(metrics.horizontalAdvance(ShortenPath(path, metrics, 60)), 60);
}

} // namespace
} // namespace slabwise::test
