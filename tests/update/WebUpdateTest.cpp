// The update client against a server of the test's own on 127.0.0.1: the
// page format, version comparison, and each scenario of a check as the
// sequence of events it fires.

#include "UpdateFixture.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <functional>
#include <map>

namespace slabwise::test {
namespace {

// ---------------------------------------------------------------- page

TEST(InfoPage, ReadsMetaLinesWithTheirCaseRules) {
    const QString longName = QString(300, QLatin1Char('n'));
    const struct {
        const char* Name;
        QStringList Lines;
        std::map<QString, QString> Expected;
    } cases[] = {
        {"plain", {QStringLiteral("<META NAME=\"upVersion\" CONTENT=\"1.2.3\">")}, {{"upVersion", "1.2.3"}}},
        {"attribute words in any case",
         {QStringLiteral("<meta name=\"upProduct\" content=\"Slabwise\">")},
         {{"upProduct", "Slabwise"}}},
        {"the tag name keeps its case",
         {QStringLiteral("<META NAME=\"UPVERSION\" CONTENT=\"2\">")},
         {{"UPVERSION", "2"}}},
        {"other lines are skipped",
         {QStringLiteral("upVersion 9"), QStringLiteral("<p>CONTENT=\"x\"</p>")},
         {}},
        {"last occurrence wins",
         {QStringLiteral("<META NAME=\"upVersion\" CONTENT=\"1\">"),
          QStringLiteral("<META NAME=\"upVersion\" CONTENT=\"2\">")},
         {{"upVersion", "2"}}},
        {"a blank before the equals sign gives a name no tag has",
         {QStringLiteral("<META NAME = \"upVersion\" CONTENT=\"1\">")},
         {{" ", "1"}}},
        {"no closing quote within 255 characters",
         {QStringLiteral("<META NAME=\"") + longName + QStringLiteral("\" CONTENT=\"1\">")},
         {}},
        {"value without content attribute is empty",
         {QStringLiteral("<META NAME=\"upAuthor\">")},
         {{"upAuthor", ""}}},
    };
    for (const auto& c : cases) {
        const auto values = ParseInfoPage(c.Lines);
        EXPECT_EQ(values, c.Expected) << c.Name;
    }
}

TEST(InfoPage, ReleaseDateIsEightDigits) {
    EXPECT_EQ(ParseVerDate(QStringLiteral("20261210")), QDate(2026, 12, 10));
    EXPECT_FALSE(ParseVerDate(QStringLiteral("2026-12-10")).isValid());
    EXPECT_FALSE(ParseVerDate(QStringLiteral("")).isValid());
    EXPECT_FALSE(ParseVerDate(QStringLiteral("20261340")).isValid());
}

TEST(ProductInfo, AddressGetsAScheme) {
    TProductInfo info;
    EXPECT_EQ(info.URL(), QStringLiteral("http://"));
    info.SetURL(QStringLiteral("example.test/page"));
    EXPECT_EQ(info.URL(), QStringLiteral("http://example.test/page"));
    info.SetURL(QStringLiteral("HTTPS://example.test/page"));
    EXPECT_EQ(info.URL(), QStringLiteral("HTTPS://example.test/page"));
}

TEST(Versions, ComparedInThreeFormats) {
    using enum TVersionFormat;
    const struct {
        const char* Local;
        const char* Remote;
        TVersionFormat Format;
        bool Newer;
    } cases[] = {
        {"1.2.3", "1.2.4", vfStandard, true}, {"1.2.3", "1.2.3", vfStandard, false},
        {"1.10", "1.9", vfStandard, false},   {"1.9", "1.10", vfStandard, true},
        {"1.2", "1.2.0", vfStandard, false},  {"1.2", "1.2.1", vfStandard, true},
        {"1.2.1", "1.2", vfStandard, false},  {"9.5.0", "10.0.0", vfStandard, true},
        {"1.x", "1.1", vfStandard, true},     {"abc", "abd", vfString, true},
        {"abc", "abc", vfString, false},      {"b", "B", vfString, false},
        {"1.9", "1.10", vfString, false},     {"1.5", "1.25", vfNumber, false},
        {"1.5", "1.75", vfNumber, true},      {"2", "2.0", vfNumber, false},
        {"1", "two", vfNumber, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNewerVersion(QLatin1String(c.Local), QLatin1String(c.Remote), c.Format), c.Newer)
            << c.Local << " vs " << c.Remote;
}

// ---------------------------------------------------------------- checks

// One check against the test's server: the server's routes, the client's
// settings, and the events expected in order.
class CheckScenario : public ::testing::Test {
public:
    void SetUp() override {
        shell.Events = &events;
        client.Launcher = &shell;
        client.PublicKey = TestKeys().PublicKey;
        client.ProgramFile = QStringLiteral("/opt/Slabwise/slabwise");
        client.ProductInfo.Version = QStringLiteral("1.0.0");
        client.ProductInfo.SetURL(QString::fromLatin1(server.Url("/page")));
        RecordEvents(client, events, downloads);
        client.OnUpdateAvailable = [this](const QString& actual, const QString& next, bool& canUpdate) {
            events << QStringLiteral("UpdateAvailable(%1>%2)").arg(actual, next);
            canUpdate = accept;
        };
    }
    // The standard page for a package at /pkg/NAME with its signature.
    void Offer(const QByteArray& name, const QByteArray& package, const QByteArray& version = "1.0.1") {
        server.Routes["/pkg/" + name] = Serve(package);
        server.Routes["/page"] = Serve(MetaPage({{"upProduct", "Slabwise"},
                                                 {"upVersion", version},
                                                 {"upDownload", server.Url("/pkg/" + name)},
                                                 {"upClientSideName", name},
                                                 {"upSignature", SignatureOf(package)}}));
    }
    QString Run() {
        client.CheckNow();
        EXPECT_FALSE(client.Busy());
        return events.join(QLatin1Char(' '));
    }

    TTestServer server;
    TTempFolder folder;
    const QString downloads = Folder(folder);
    TRecordingShell shell;
    QStringList events;
    TWebUpdate client;
    bool accept = true;
};

const QByteArray Deb = "!<arch>\ndebian-binary package";

TEST_F(CheckScenario, EventSequences) {
    const QString check = QStringLiteral("BeforeGetInfo Download AfterGetInfo");
    const QString fetch = QStringLiteral("BeforeShowInfo AfterShowInfo ClientFileName BeforeDownload");
    const struct {
        const char* Name;
        std::function<void(CheckScenario&)> Setup;
        QString Expected;
    } cases[] = {
        {"equal version", [](CheckScenario& t) { t.Offer("slabwise.deb", Deb, "1.0.0"); },
         check + QStringLiteral(" NoUpdateFound")},
        {"newer version installed through the desktop",
         [](CheckScenario& t) { t.Offer("slabwise.deb", Deb); },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1) ") + fetch +
             QStringLiteral(" Download AfterDownload Open:slabwise.deb Terminate")},
        {"newer version declined",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.accept = false;
         },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1)")},
        {"page without product",
         [](CheckScenario& t) {
             t.server.Routes["/page"] = Serve(MetaPage({{"upVersion", "2.0"}}));
         },
         check + QStringLiteral(" DownloadError")},
        {"page without version",
         [](CheckScenario& t) {
             t.server.Routes["/page"] = Serve(MetaPage({{"upProduct", "Slabwise"}}));
         },
         check + QStringLiteral(" DownloadError")},
        {"page not found: the fetch and the empty page each report", [](CheckScenario&) {},
         QStringLiteral("BeforeGetInfo DownloadError AfterGetInfo DownloadError")},
        {"page over 64 KiB",
         [](CheckScenario& t) {
             t.server.Routes["/page"] = Serve(MetaPage({{"upProduct", "Slabwise"}, {"upVersion", "1.0.0"}}) +
                                              QByteArray(70000, ' '));
             t.server.Routes["/page"].AnnounceLength = false;
         },
         QStringLiteral("BeforeGetInfo Download DownloadError AfterGetInfo DownloadError")},
        {"page without length is read to its end",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb, "1.0.0");
             t.server.Routes["/page"].AnnounceLength = false;
         },
         check + QStringLiteral(" NoUpdateFound")},
        {"download without length",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/pkg/slabwise.deb"].AnnounceLength = false;
         },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1) ") + fetch +
             QStringLiteral(" DownloadError AfterDownload")},
        {"download shorter than announced",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/pkg/slabwise.deb"].CloseAfter = 10;
         },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1) ") + fetch +
             QStringLiteral(" [Download] DownloadError AfterDownload")},
        {"download announced beyond the ceiling",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/pkg/slabwise.deb"].Announced = MaxDownloadBytes + 1;
             t.server.Routes["/pkg/slabwise.deb"].StallAfter = 5;
         },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1) ") + fetch +
             QStringLiteral(" DownloadError AfterDownload")},
        {"wrong signature",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/pkg/slabwise.deb"].Body = Deb + "tampered";
             t.server.Routes["/pkg/slabwise.deb"].Announced.reset();
         },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1) ") + fetch +
             QStringLiteral(" Download DownloadError AfterDownload")},
        {"missing signature",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/page"].Body.replace("upSignature", "upNothing");
         },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1) ") + fetch +
             QStringLiteral(" Download DownloadError AfterDownload")},
        {"signed with another key",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             const QByteArray other = SignatureOf(Deb, NewSigningKeys().Seed);
             t.server.Routes["/page"].Body.replace(SignatureOf(Deb), other);
         },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1) ") + fetch +
             QStringLiteral(" Download DownloadError AfterDownload")},
        {"a program that is not a package of this desktop is not started",
         [](CheckScenario& t) { t.Offer("setup.exe", "MZ program"); },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1) ") + fetch +
             QStringLiteral(" Download AfterDownload CannotExecute Terminate")},
        {"zip with an installer",
         [](CheckScenario& t) {
             t.Offer("update.zip", MakeZip({{"readme.txt", "read me"},
                                            {"Slabwise-1.0.1.AppImage", "ELF image"},
                                            {"zz.run", "script"}}));
         },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1) ") + fetch +
             QStringLiteral(" Download AfterDownload Run:Slabwise-1.0.1.AppImage Terminate")},
        {"zip without an installer",
         [](CheckScenario& t) {
             t.Offer("update.zip", MakeZip({{"readme.txt", "read me"}}));
         },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1) ") + fetch +
             QStringLiteral(" Download AfterDownload CannotExecute Terminate")},
        {"zip that escapes its folder",
         [](CheckScenario& t) {
             t.Offer("update.zip", MakeZip({{"slabwise.deb", "package"}, {"../evil.deb", "outside"}}));
         },
         check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1) ") + fetch +
             QStringLiteral(" Download DownloadError AfterDownload")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        server.Routes.clear();
        events.clear();
        shell.Started.clear();
        accept = true;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            std::filesystem::remove_all(entry.path());
        c.Setup(*this);
        // "[Download] ": progress that may or may not come before a broken
        // connection is noticed.
        const QString pattern =
            QRegularExpression::escape(c.Expected)
                .replace(QStringLiteral("\\[Download\\]\\ "), QStringLiteral("(Download )?"));
        const QString events = Run();
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("^") + pattern + QStringLiteral("$")).match(events).hasMatch())
            << events.toStdString() << "\n"
            << c.Expected.toStdString();
        // Whatever failed its checks is gone and nothing of it was started.
        if (c.Expected.contains(QLatin1String("DownloadError")) &&
            c.Expected.contains(QLatin1String("BeforeDownload"))) {
            EXPECT_TRUE(shell.Started.isEmpty());
            EXPECT_TRUE(QDir(downloads).entryList(QDir::Files).isEmpty())
                << QDir(downloads).entryList().join(' ').toStdString();
        }
    }
}

TEST_F(CheckScenario, StartedPackageAndItsParameters) {
    Offer("Slabwise.run", "#!/bin/sh\n");
    server.Routes["/page"].Body.replace(
        "</head>", "<META NAME=\"upRunParameters\" CONTENT=\"--quiet --target x\">\n</head>");
    Run();
    ASSERT_EQ(shell.Started.size(), 1);
    EXPECT_EQ(shell.Started[0],
              QStringLiteral("Run ") + downloads + QStringLiteral("Slabwise.run|--quiet|--target|x"));
    EXPECT_TRUE(QFileInfo(downloads + QStringLiteral("Slabwise.run")).isExecutable());
}

TEST_F(CheckScenario, StartRefusedReportsAndStillEnds) {
    Offer("slabwise.deb", Deb);
    shell.StartSucceeds = false;
    EXPECT_TRUE(Run().endsWith(QLatin1String("Open:slabwise.deb CannotExecute Terminate")));
}

TEST_F(CheckScenario, RedirectionPagesAreFollowedBoundedAndNeverDowngraded) {
    auto redirect = [this](const QByteArray& from, const QByteArray& to) {
        server.Routes[from] =
            Serve(MetaPage({{"upProduct", "Old"}, {"upVersion", "0.1"}, {"upRedirection", to}}));
    };
    // A chain of two redirections: the final page's values count.
    Offer("slabwise.deb", Deb, "1.0.0");
    server.Routes["/final"] = server.Routes["/page"];
    redirect("/page", server.Url("/second"));
    redirect("/second", server.Url("/final"));
    EXPECT_EQ(Run(), QStringLiteral("BeforeGetInfo Download AfterGetInfo NoUpdateFound"));
    EXPECT_EQ(server.Paths, (QList<QByteArray>{"/page", "/second", "/final"}));
    EXPECT_EQ(client.InfoProductName, QStringLiteral("Slabwise"));

    // A loop ends after the fixed number of redirections.
    events.clear();
    server.Paths.clear();
    redirect("/page", server.Url("/loop"));
    redirect("/loop", server.Url("/page"));
    EXPECT_EQ(Run(), QStringLiteral("BeforeGetInfo Download DownloadError AfterGetInfo DownloadError"));
    EXPECT_EQ(server.Paths.size(), MaxRedirections + 1);
    EXPECT_TRUE(client.InfoVersion.isEmpty());

    // HTTP redirections are followed too, as far as the same bound.
    events.clear();
    server.Paths.clear();
    Offer("slabwise.deb", Deb, "1.0.0");
    server.Routes["/final"] = server.Routes["/page"];
    server.Routes["/page"] = Redirect(server.Url("/final"));
    EXPECT_EQ(Run(), QStringLiteral("BeforeGetInfo Download AfterGetInfo NoUpdateFound"));
    server.Routes["/final"] = Redirect(server.Url("/page"));
    events.clear();
    EXPECT_EQ(Run(), QStringLiteral("BeforeGetInfo DownloadError AfterGetInfo DownloadError"));
}

TEST_F(CheckScenario, ExistingFileIsReplacedOnlyWhenAllowed) {
    Offer("slabwise.deb", Deb);
    QFile old(downloads + QStringLiteral("slabwise.deb"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    client.Options = TUpdateOptions(uoRunUpdate) | uoTerminate;
    EXPECT_TRUE(Run().endsWith(QLatin1String("AfterShowInfo ClientFileName ClientFileExists DownloadError")));
    EXPECT_EQ(QFileInfo(old).size(), 3);

    events.clear();
    client.Options |= uoOverwrite;
    EXPECT_TRUE(Run().endsWith(
        QLatin1String("ClientFileExists BeforeDownload Download AfterDownload Open:slabwise.deb Terminate")));
    EXPECT_EQ(QFileInfo(old).size(), Deb.size());
}

TEST_F(CheckScenario, AbortInTheMiddleStopsQuietly) {
    Offer("slabwise.deb", QByteArray(20000, 'x'));
    server.Routes["/pkg/slabwise.deb"].StallAfter = 8000;
    client.OnDownload = [this](qint64 total, qint64 downloaded) {
        if (events.isEmpty() || events.last() != QLatin1String("Download"))
            events << QStringLiteral("Download");
        if (total == 20000 && downloaded >= 8000) client.Abort();
    };
    EXPECT_TRUE(Run().endsWith(QLatin1String("BeforeDownload Download AfterDownload")));
    EXPECT_TRUE(shell.Started.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(downloads + QStringLiteral("slabwise.deb")));
}

TEST_F(CheckScenario, NoKeyNoInstall) {
    Offer("slabwise.deb", Deb);
    client.PublicKey.clear();
    EXPECT_TRUE(Run().endsWith(QLatin1String("Download DownloadError AfterDownload")));
    EXPECT_TRUE(shell.Started.isEmpty());
}

TEST_F(CheckScenario, InplaceUtilityGetsThreeQuotedParameters) {
    const QByteArray util = "#!/bin/sh\nutility\n";
    const struct {
        const char* Name;
        QByteArray PackageName;
        QByteArray Package;
        QString FirstParameter;
    } cases[] = {
        {"zip package", "inplace.zip", MakeZip({{"bin/slabwise", "new program"}}),
         downloads + QStringLiteral("KelvaneUpdate/")},
        {"plain package", "inplace.bin", "new program", QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        events.clear();
        shell.Started.clear();
        client.Inplace = true;
        server.Routes["/util/updater"] = Serve(util);
        server.Routes["/pkg/" + c.PackageName] = Serve(c.Package);
        server.Routes["/page"] = Serve(MetaPage({{"upProduct", "Slabwise"},
                                                 {"upVersion", "1.0.1"},
                                                 {"upDownloadInplace", server.Url("/pkg/" + c.PackageName)},
                                                 {"upInplaceUtil", server.Url("/util/updater")},
                                                 {"upClientSideName", c.PackageName},
                                                 {"upSignature", SignatureOf(c.Package)},
                                                 {"upInplaceUtilSignature", SignatureOf(util)}}));
        EXPECT_TRUE(Run().endsWith(QLatin1String("AfterDownload Run:updater Terminate")));
        ASSERT_EQ(shell.Started.size(), 1);
        EXPECT_EQ(shell.Started[0],
                  QStringLiteral("Run ") + downloads +
                      QStringLiteral("updater|%1|/opt/Slabwise/|slabwise").arg(c.FirstParameter));
        EXPECT_EQ(client.InfoRunParameters,
                  QStringLiteral("\"%1\" \"/opt/Slabwise/\" \"slabwise\"").arg(c.FirstParameter));
        if (!c.FirstParameter.isEmpty()) {
            EXPECT_TRUE(QFileInfo::exists(c.FirstParameter + QStringLiteral("bin/slabwise")));
        }
    }
    EXPECT_EQ(TWebUpdate::QuoteParameters({QStringLiteral("a \"b\"")}), QStringLiteral("\"a \"\"b\"\"\""));

    // An unsigned utility is not run, nor the package fetched.
    events.clear();
    shell.Started.clear();
    server.Routes["/page"].Body.replace("upInplaceUtilSignature", "upNothing");
    client.Options |= uoOverwrite;
    EXPECT_TRUE(Run().endsWith(QLatin1String("BeforeDownload Download DownloadError AfterDownload")));
    EXPECT_TRUE(shell.Started.isEmpty());
}

TEST_F(CheckScenario, TheRequestCarriesNothingButTheGet) {
    Offer("slabwise.deb", Deb, "1.0.0");
    server.Routes["/page"].ExtraHeaders = "Set-Cookie: id=42\r\n";
    Run();
    events.clear();
    Run();
    ASSERT_EQ(server.Requests.size(), 2);
    for (const QByteArray& request : server.Requests) {
        QStringList names;
        for (const QByteArray& line : request.trimmed().split('\n').mid(1))
            names << QString::fromLatin1(line.left(line.indexOf(':')).trimmed()).toLower();
        names.sort();
        EXPECT_EQ(
            names.join(QLatin1Char(' ')),
            QStringLiteral("accept accept-encoding accept-language cache-control connection host user-agent"))
            << request.toStdString();
        EXPECT_TRUE(request.startsWith("GET /page HTTP/1.1\r\n"));
        EXPECT_TRUE(request.contains("User-Agent: TWebUpdate\r\n"));
        EXPECT_TRUE(request.contains("Accept-Language: *\r\n"));
    }
}

TEST_F(CheckScenario, OnlyLoopbackIsContactedInTests) {
    EXPECT_TRUE(client.LoopbackOnly);
    client.ProductInfo.SetURL(QStringLiteral("http://192.0.2.1/page"));
    EXPECT_EQ(Run(), QStringLiteral("BeforeGetInfo DownloadError AfterGetInfo DownloadError"));
}

// ---------------------------------------------------------------- archives

TEST(Archive, EntriesThatLeaveTheFolderAreRefused) {
    const struct {
        const char* Name;
        TZipEntry Bad;
    } cases[] = {
        {"absolute", {"/tmp/slabwise-evil", "x"}},
        {"parent segment", {"sub/../../evil", "x"}},
        {"parent with backslashes", {"sub\\..\\..\\evil", "x"}},
        {"drive prefix", {"C:\\evil.deb", "x"}},
        {"backslash root", {"\\evil.deb", "x"}},
        {"symbolic link", {"link", "/etc/passwd", true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempFolder folder;
        const QString archive = Folder(folder) + QStringLiteral("a.zip");
        QFile out(archive);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(MakeZip({{"first.deb", "package"}, c.Bad, {"last.txt", "text"}}));
        out.close();
        const QString target = Folder(folder) + QStringLiteral("KelvaneUpdate/");
        ASSERT_TRUE(QDir().mkpath(target));
        const TUnpackOutcome outcome = UnpackArchive(archive, target);
        EXPECT_EQ(outcome.Result, TUnpackResult::RefusedEntry);
        EXPECT_EQ(outcome.Entry, QString::fromUtf8(c.Bad.Name));
        EXPECT_TRUE(QDir(target).isEmpty());
        EXPECT_EQ(QDir(Folder(folder)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                  (QStringList{QStringLiteral("a.zip"), QStringLiteral("KelvaneUpdate")}));
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/slabwise-evil")));
}

TEST(Archive, ExtractionIsBounded) {
    TTempFolder folder;
    const QString archive = Folder(folder) + QStringLiteral("a.zip");
    const QString target = Folder(folder) + QStringLiteral("out/");
    ASSERT_TRUE(QDir().mkpath(target));
    QFile out(archive);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    // Compresses to a few kilobytes.
    out.write(
        MakeZip({{"a.bin", QByteArray(600000, '\0')}, {"b.bin", QByteArray(600000, '\0')}, {"c", "c"}}));
    out.close();
    EXPECT_EQ(UnpackArchive(archive, target, {1000000, 100}).Result, TUnpackResult::TooLarge);
    EXPECT_TRUE(QDir(target).isEmpty());
    EXPECT_EQ(UnpackArchive(archive, target, {10000000, 2}).Result, TUnpackResult::TooManyEntries);
    EXPECT_EQ(UnpackArchive(archive, target, {10000000, 3}).Result, TUnpackResult::Unpacked);
    EXPECT_EQ(QFileInfo(target + QStringLiteral("b.bin")).size(), 600000);
    EXPECT_EQ(UnpackArchive(target + QStringLiteral("c"), target).Result, TUnpackResult::NotAnArchive);
}

TEST_F(CheckScenario, AnEarlierUnpackedUpdateIsEmptiedFirst) {
    ASSERT_TRUE(QDir().mkpath(downloads + QStringLiteral("KelvaneUpdate")));
    QFile stale(downloads + QStringLiteral("KelvaneUpdate/old.deb"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    Offer("update.zip", MakeZip({{"new.deb", "package"}}));
    EXPECT_TRUE(Run().endsWith(QLatin1String("Open:new.deb Terminate")));
    EXPECT_EQ(QDir(downloads + QStringLiteral("KelvaneUpdate")).entryList(QDir::Files),
              QStringList{"new.deb"});
}

} // namespace
} // namespace slabwise::test
