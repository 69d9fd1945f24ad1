// The update client against a server of the test's own on 127.0.0.1: the
// page format, version comparison, and each scenario of a check as the
// sequence of events it fires.

#include "UpdateFixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

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
    // The standard page for a package at /pkg/NAME with its signed manifest.
    void Offer(const QByteArray& name, const QByteArray& package, const QByteArray& version = "1.0.1",
               const QStringList& arguments = {}) {
        server.Routes["/pkg/" + name] = Serve(package);
        std::vector<std::pair<const char*, QByteArray>> values{{"upProduct", "Slabwise"},
                                                               {"upVersion", version},
                                                               {"upDownload", server.Url("/pkg/" + name)},
                                                               {"upClientSideName", name}};
        for (const auto& value :
             Signed(ManifestOf(name, package, version, TPackageRole::Installer, arguments)))
            values.push_back(value);
        server.Routes["/page"] = Serve(MetaPage(values));
    }
    // Replaces the page's manifest by another, signed with `seed`.
    void Resign(const TManifest& manifest, const QByteArray& seed = TestKeys().Seed) {
        QByteArray& page = server.Routes["/page"].Body;
        const qsizetype from = page.indexOf("<META NAME=\"upManifest\"");
        const qsizetype to = page.indexOf('\n', page.indexOf("<META NAME=\"upManifestSignature\"")) + 1;
        QByteArray lines;
        for (const auto& [name, value] : Signed(manifest, seed))
            lines += QByteArray("<META NAME=\"") + name + "\" CONTENT=\"" + value + "\">\n";
        page.replace(from, to - from, lines);
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
    using enum TFailureKind;
    const QString check = QStringLiteral("BeforeGetInfo Download AfterGetInfo");
    const QString offered = check + QStringLiteral(" UpdateAvailable(1.0.0>1.0.1)");
    const QString fetch = QStringLiteral("BeforeShowInfo AfterShowInfo ClientFileName BeforeDownload");
    const QString fetching = offered + QLatin1Char(' ') + fetch;
    const struct {
        const char* Name;
        std::function<void(CheckScenario&)> Setup;
        QString Expected;
        // The failure the check names, and a piece of its text.
        TFailureKind Failure;
        const char* Says;
    } cases[] = {
        {"equal version", [](CheckScenario& t) { t.Offer("slabwise.deb", Deb, "1.0.0"); },
         check + QStringLiteral(" NoUpdateFound"), None, ""},
        {"newer version installed through the desktop",
         [](CheckScenario& t) { t.Offer("slabwise.deb", Deb); },
         fetching + QStringLiteral(" Download AfterDownload MayEnd Open:slabwise.deb Terminate"), None, ""},
        {"newer version declined",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.accept = false;
         },
         offered, None, ""},
        {"page without product",
         [](CheckScenario& t) {
             t.server.Routes["/page"] = Serve(MetaPage({{"upVersion", "2.0"}}));
         },
         check + QStringLiteral(" DownloadError"), PageIncomplete, "names no product or no version"},
        {"page without version",
         [](CheckScenario& t) {
             t.server.Routes["/page"] = Serve(MetaPage({{"upProduct", "Slabwise"}}));
         },
         check + QStringLiteral(" DownloadError"), PageIncomplete, "names no product or no version"},
        {"page not found: the fetch and the empty page each report", [](CheckScenario&) {},
         QStringLiteral("BeforeGetInfo DownloadError AfterGetInfo DownloadError"), HttpStatus,
         "127.0.0.1 answered with HTTP status 404 (X)."},
        {"page over 64 KiB",
         [](CheckScenario& t) {
             t.server.Routes["/page"] = Serve(MetaPage({{"upProduct", "Slabwise"}, {"upVersion", "1.0.0"}}) +
                                              QByteArray(70000, ' '));
             t.server.Routes["/page"].AnnounceLength = false;
         },
         QStringLiteral("BeforeGetInfo [Download] DownloadError AfterGetInfo DownloadError"), TooLarge,
         "127.0.0.1 sent more than 64 KB."},
        {"page without length is read to its end",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb, "1.0.0");
             t.server.Routes["/page"].AnnounceLength = false;
         },
         check + QStringLiteral(" NoUpdateFound"), None, ""},
        {"download without length",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/pkg/slabwise.deb"].AnnounceLength = false;
         },
         fetching + QStringLiteral(" DownloadError AfterDownload"), Incomplete,
         "127.0.0.1 did not announce the length of slabwise.deb."},
        {"download shorter than announced",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/pkg/slabwise.deb"].CloseAfter = 10;
         },
         fetching + QStringLiteral(" [Download] DownloadError AfterDownload"), Incomplete,
         "The transfer from 127.0.0.1 ended after 10 of 29 bytes."},
        {"download announced beyond the ceiling",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/pkg/slabwise.deb"].Announced = MaxDownloadBytes + 1;
             t.server.Routes["/pkg/slabwise.deb"].StallAfter = 5;
         },
         fetching + QStringLiteral(" DownloadError AfterDownload"), TooLarge,
         "more than an update package may be"},
        {"package with other bytes of the same length",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/pkg/slabwise.deb"].Body[3] = 'X';
         },
         fetching + QStringLiteral(" Download DownloadError AfterDownload"), PackageMismatch,
         "slabwise.deb does not match its signed manifest: its SHA-256 differs."},
        {"package longer than its manifest says",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/pkg/slabwise.deb"].Body += "tampered";
         },
         fetching + QStringLiteral(" DownloadError AfterDownload"), PackageMismatch,
         "slabwise.deb is 37 bytes on the server, but 29 bytes in the signed manifest."},
        {"no manifest: not even offered",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/page"].Body.replace("upManifest", "upNothing");
         },
         check + QStringLiteral(" DownloadError"), NoManifest,
         "The update page carries no signed manifest for the installer."},
        {"manifest without its signature",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/page"].Body.replace("upManifestSignature", "upNothing");
         },
         check + QStringLiteral(" DownloadError"), Signature, "does not verify with the maker's key"},
        {"manifest signed with another key",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.Resign(ManifestOf("slabwise.deb", Deb), NewSigningKeys().Seed);
         },
         check + QStringLiteral(" DownloadError"), Signature, "does not verify with the maker's key"},
        {"a signed older release behind a newer page version",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb, "1.0.1");
             t.Resign(ManifestOf("slabwise.deb", Deb, "0.9.0"));
         },
         check + QStringLiteral(" DownloadError"), NotNewer,
         "The signed release 0.9.0 is not newer than the running version 1.0.0."},
        {"a signed release of the running version",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb, "1.0.1");
             t.Resign(ManifestOf("slabwise.deb", Deb, "1.0.0"));
         },
         check + QStringLiteral(" DownloadError"), NotNewer, "1.0.0 is not newer"},
        {"another product's signed manifest",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             TManifest other = ManifestOf("slabwise.deb", Deb);
             other.Product = QStringLiteral("Footing");
             t.Resign(other);
         },
         check + QStringLiteral(" DownloadError"), Manifest, "is for Footing"},
        {"the utility's signed manifest offered as the installer",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             const auto signedUtility =
                 Signed(ManifestOf("slabwise.deb", Deb, "1.0.1", TPackageRole::InplaceUtility));
             QByteArray& page = t.server.Routes["/page"].Body;
             page.replace("upManifest\"", "upOld\"").replace("upManifestSignature", "upOldSignature");
             page.replace("</head>", QByteArray("<META NAME=\"upManifest\" CONTENT=\"") +
                                         signedUtility[0].second +
                                         "\">\n<META NAME=\"upManifestSignature\" CONTENT=\"" +
                                         signedUtility[1].second + "\">\n</head>");
         },
         check + QStringLiteral(" DownloadError"), Manifest, "(inplace-utility)"},
        {"the page's file name and version give way to the manifest's",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb, "1.0.1");
             t.server.Routes["/page"].Body.replace("\"upClientSideName\" CONTENT=\"slabwise.deb",
                                                   "\"upClientSideName\" CONTENT=\"other.run");
             t.server.Routes["/page"].Body.replace("\"upVersion\" CONTENT=\"1.0.1",
                                                   "\"upVersion\" CONTENT=\"7.7");
         },
         fetching + QStringLiteral(" Download AfterDownload MayEnd Open:slabwise.deb Terminate"), None, ""},
        {"a program that is not a package of this desktop is not started",
         [](CheckScenario& t) { t.Offer("setup.exe", "MZ program"); },
         fetching + QStringLiteral(" Download AfterDownload MayEnd CannotExecute Terminate"), None, ""},
        {"zip with an installer",
         [](CheckScenario& t) {
             t.Offer("update.zip", MakeZip({{"readme.txt", "read me"},
                                            {"Slabwise-1.0.1.AppImage", "ELF image"},
                                            {"zz.run", "script"}}));
         },
         fetching + QStringLiteral(" Download AfterDownload MayEnd Run:Slabwise-1.0.1.AppImage Terminate"),
         None, ""},
        {"zip without an installer",
         [](CheckScenario& t) {
             t.Offer("update.zip", MakeZip({{"readme.txt", "read me"}}));
         },
         fetching + QStringLiteral(" Download AfterDownload MayEnd CannotExecute Terminate"), None, ""},
        {"zip that escapes its folder",
         [](CheckScenario& t) {
             t.Offer("update.zip", MakeZip({{"slabwise.deb", "package"}, {"../evil.deb", "outside"}}));
         },
         fetching + QStringLiteral(" Download DownloadError AfterDownload"), UnsafeArchive,
         "update.zip holds \"../evil.deb\", a link or a path outside its folder."},
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
        EXPECT_EQ(client.Failure().Kind, c.Failure) << client.Failure().Text.toStdString();
        EXPECT_TRUE(client.Failure().Text.contains(QLatin1String(c.Says)))
            << client.Failure().Text.toStdString();
        // A refusal of what was offered is never put down to the network.
        EXPECT_EQ(client.Failure().Refused(), c.Failure >= TooLarge);
        // Whatever failed its checks is gone and nothing of it was started.
        if (c.Expected.contains(QLatin1String("DownloadError"))) {
            EXPECT_TRUE(shell.Started.isEmpty());
            EXPECT_TRUE(QDir(downloads).entryList(QDir::Files).isEmpty())
                << QDir(downloads).entryList().join(' ').toStdString();
        }
        // What is refused before the offer is never fetched.
        if (!c.Expected.contains(QLatin1String("UpdateAvailable"))) {
            for (const QByteArray& path : server.Paths)
                EXPECT_FALSE(path.startsWith("/pkg/")) << path.toStdString();
        }
        server.Paths.clear();
    }
}

TEST_F(CheckScenario, StartedPackageGetsOnlyTheSignedArguments) {
    const QString run = QStringLiteral("Run ") + downloads + QStringLiteral("Slabwise.run|");
    const struct {
        const char* Name;
        QStringList Signed;
        QByteArray PageParameters;
        QString Started;
    } cases[] = {
        {"signed arguments",
         {"--quiet", "--target", "x y;\"z\"%"},
         "",
         run + QStringLiteral("--quiet|--target|x y;\"z\"%")},
        {"the page's parameters are not passed", {}, "--prefix /tmp/evil", run},
        {"the page's parameters do not replace the signed ones",
         {"--quiet"},
         "--prefix /tmp/evil",
         run + QStringLiteral("--quiet")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        shell.Started.clear();
        events.clear();
        Offer("Slabwise.run", "#!/bin/sh\n", "1.0.1", c.Signed);
        if (!c.PageParameters.isEmpty())
            server.Routes["/page"].Body.replace("</head>", "<META NAME=\"upRunParameters\" CONTENT=\"" +
                                                               c.PageParameters + "\">\n</head>");
        client.Options |= uoOverwrite;
        Run();
        ASSERT_EQ(shell.Started.size(), 1);
        EXPECT_EQ(shell.Started[0], c.Started);
        EXPECT_TRUE(QFileInfo(downloads + QStringLiteral("Slabwise.run")).isExecutable());
    }
}

TEST_F(CheckScenario, StartRefusedReportsAndStillEnds) {
    Offer("slabwise.deb", Deb);
    shell.StartSucceeds = false;
    EXPECT_TRUE(Run().endsWith(QLatin1String("MayEnd Open:slabwise.deb CannotExecute Terminate")));
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
    EXPECT_TRUE(Run().endsWith(QLatin1String(
        "ClientFileExists BeforeDownload Download AfterDownload MayEnd Open:slabwise.deb Terminate")));
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
    EXPECT_TRUE(Run().endsWith(QLatin1String("AfterShowInfo ClientFileName DownloadError")));
    EXPECT_EQ(client.Failure().Kind, TFailureKind::NoKey);
    EXPECT_TRUE(shell.Started.isEmpty());
    EXPECT_EQ(server.Paths, QList<QByteArray>{"/page"}) << "nothing is fetched that cannot be verified";
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
        std::vector<std::pair<const char*, QByteArray>> values{
            {"upProduct", "Slabwise"},
            {"upVersion", "1.0.1"},
            {"upDownloadInplace", server.Url("/pkg/" + c.PackageName)},
            {"upInplaceUtil", server.Url("/util/updater")},
            {"upClientSideName", c.PackageName}};
        for (const auto& value :
             Signed(ManifestOf(c.PackageName, c.Package, "1.0.1", TPackageRole::InplaceArchive)))
            values.push_back(value);
        for (const auto& value : Signed(ManifestOf("updater", util, "1.0.1", TPackageRole::InplaceUtility)))
            values.push_back(value);
        server.Routes["/page"] = Serve(MetaPage(values));
        EXPECT_TRUE(Run().endsWith(QLatin1String("AfterDownload MayEnd Run:updater Terminate")));
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

    // A program that may not end starts no utility: the utility would
    // replace the folder of a program that stays open.
    events.clear();
    shell.Started.clear();
    shell.MayEndAnswer = [] { return false; };
    EXPECT_TRUE(Run().endsWith(QLatin1String("AfterDownload MayEnd Deferred")));
    EXPECT_TRUE(shell.Started.isEmpty());
    shell.MayEndAnswer = {};

    // An unsigned utility is not run, nor anything fetched.
    events.clear();
    shell.Started.clear();
    server.Paths.clear();
    server.Routes["/page"].Body.replace("upInplaceUtilManifestSignature", "upNothing");
    client.Options |= uoOverwrite;
    EXPECT_EQ(Run(), QStringLiteral("BeforeGetInfo Download AfterGetInfo DownloadError"));
    EXPECT_EQ(client.Failure().Kind, TFailureKind::Signature);
    EXPECT_TRUE(shell.Started.isEmpty());
    EXPECT_EQ(server.Paths, QList<QByteArray>{"/page"});

    // Utility and package of different releases are not combined.
    events.clear();
    server.Routes["/page"] = Serve(MetaPage({}));
    std::vector<std::pair<const char*, QByteArray>> mixed{{"upProduct", "Slabwise"}, {"upVersion", "1.0.2"}};
    for (const auto& value : Signed(ManifestOf("inplace.bin", "new", "1.0.2", TPackageRole::InplaceArchive)))
        mixed.push_back(value);
    for (const auto& value : Signed(ManifestOf("updater", util, "1.0.1", TPackageRole::InplaceUtility)))
        mixed.push_back(value);
    server.Routes["/page"] = Serve(MetaPage(mixed));
    EXPECT_EQ(Run(), QStringLiteral("BeforeGetInfo Download AfterGetInfo DownloadError"));
    EXPECT_EQ(client.Failure().Kind, TFailureKind::Manifest);
}

// Every transfer has a total deadline: a server that answers nothing, or
// drips a byte now and then, ends the check in time with a message that
// names it.
TEST_F(CheckScenario, EveryTransferEndsByItsDeadline) {
    const struct {
        const char* Name;
        std::function<void(CheckScenario&)> Setup;
        int LimitMs;
        QString Says;
    } cases[] = {
        {"page never answered",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/page"].NoAnswer = true;
         },
         1500, QStringLiteral("No answer from 127.0.0.1 within 1 s.")},
        {"page dripping a byte every 100 ms",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", Deb);
             t.server.Routes["/page"].DripMs = 100;
         },
         1500, QStringLiteral("No answer from 127.0.0.1 within 1 s.")},
        {"package dripping",
         [](CheckScenario& t) {
             t.Offer("slabwise.deb", QByteArray(4000, 'd'));
             t.server.Routes["/pkg/slabwise.deb"].DripMs = 50;
             t.server.Routes["/pkg/slabwise.deb"].DripBytes = 100;
         },
         2500, QStringLiteral("127.0.0.1 sent ")},
    };
    client.Deadlines.PageMs = 600;
    client.Deadlines.DownloadGraceMs = 600;
    // 4000 bytes at 4000 bytes/s: one second more for the package.
    client.Deadlines.FloorBytesPerSecond = 4000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        events.clear();
        server.Routes.clear();
        c.Setup(*this);
        QElapsedTimer clock;
        clock.start();
        const QString sequence = Run();
        EXPECT_LT(clock.elapsed(), c.LimitMs);
        EXPECT_TRUE(sequence.contains(QLatin1String("DownloadError"))) << sequence.toStdString();
        EXPECT_EQ(client.Failure().Kind, TFailureKind::NoAnswer);
        EXPECT_TRUE(client.Failure().Text.startsWith(c.Says)) << client.Failure().Text.toStdString();
        EXPECT_TRUE(shell.Started.isEmpty());
    }
}

// A large package over loopback arrives at the speed of the loopback, and
// its progress is told at most ten times a second.
TEST_F(CheckScenario, LargePackageArrivesQuickly) {
    QByteArray package(qsizetype{48} << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < package.size(); i += 4096) package[i] = static_cast<char>(i / 4096);
    Offer("slabwise.deb", package);
    qint64 packageEvents = 0;
    client.OnDownload = [&](qint64 total, qint64) {
        if (total == package.size()) ++packageEvents;
    };
    QElapsedTimer clock;
    clock.start();
    Run();
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(shell.Started.size(), 1);
    EXPECT_LT(elapsed, 2000);
    EXPECT_GE(packageEvents, 1);
    EXPECT_LE(packageEvents, elapsed / ProgressIntervalMs + 2);
    EXPECT_EQ(QFileInfo(downloads + QStringLiteral("slabwise.deb")).size(), package.size());
}

// A program that may not end (its project is not saved) starts nothing;
// the verified package waits and the next check uses it without fetching
// it again, unless it changed meanwhile.
TEST_F(CheckScenario, AnUpdateThatMayNotStartWaitsVerified) {
    Offer("slabwise.deb", Deb);
    client.Options |= uoOverwrite;
    shell.MayEndAnswer = [] { return false; };
    EXPECT_TRUE(Run().endsWith(QLatin1String("Download AfterDownload MayEnd Deferred")));
    EXPECT_TRUE(shell.Started.isEmpty());
    EXPECT_EQ(shell.Terminated, 0);
    EXPECT_EQ(QFileInfo(downloads + QStringLiteral("slabwise.deb")).size(), Deb.size());

    const struct {
        const char* Name;
        QByteArray Kept;
        bool Fetched;
    } cases[] = {
        {"the kept package is used", Deb, false},
        {"a changed package is fetched again", QByteArray(Deb).replace('d', 'D'), true},
        {"a shorter one too", Deb.left(5), true},
    };
    shell.MayEndAnswer = [] { return true; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile kept(downloads + QStringLiteral("slabwise.deb"));
        ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
        kept.write(c.Kept);
        kept.close();
        events.clear();
        server.Paths.clear();
        shell.Started.clear();
        EXPECT_TRUE(Run().endsWith(QLatin1String("AfterDownload MayEnd Open:slabwise.deb Terminate")));
        EXPECT_EQ(server.Paths.contains("/pkg/slabwise.deb"), c.Fetched);
        EXPECT_EQ(QFileInfo(downloads + QStringLiteral("slabwise.deb")).size(), Deb.size());
    }
}

// Unpacking runs beside the event loop: timers keep their pace while a
// large archive is written, and its progress is told.
TEST_F(CheckScenario, UnpackingLeavesTheEventLoopRunning) {
    const QByteArray archive =
        MakeZip({{"big.bin", QByteArray(qsizetype{256} << 20, '\0')}, {"new.deb", "package"}});
    Offer("update.zip", archive);
    QElapsedTimer clock;
    qint64 longestGap = 0;
    qint64 unpackingMs = 0;
    int unpackingEvents = 0;
    QElapsedTimer since;
    QTimer beat;
    beat.setInterval(10);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        if (client.Stage() == TUpdateStage::Unpacking)
            longestGap = std::max(longestGap, clock.restart());
        else
            clock.restart();
    });
    client.OnStage = [&](TUpdateStage stage) {
        if (stage == TUpdateStage::Unpacking)
            since.start();
        else if (since.isValid() && unpackingMs == 0)
            unpackingMs = since.elapsed();
    };
    client.OnDownload = [&](qint64, qint64) {
        if (client.Stage() == TUpdateStage::Unpacking) ++unpackingEvents;
    };
    clock.start();
    beat.start();
    Run();
    EXPECT_EQ(shell.Started.size(), 1);
    EXPECT_GT(unpackingMs, 200) << "the archive is large enough to show a frozen loop";
    EXPECT_LT(longestGap, 150);
    EXPECT_GE(unpackingEvents, 2);
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
    EXPECT_TRUE(Run().endsWith(QLatin1String("MayEnd Open:new.deb Terminate")));
    EXPECT_EQ(QDir(downloads + QStringLiteral("KelvaneUpdate")).entryList(QDir::Files),
              QStringList{"new.deb"});
}

} // namespace
} // namespace slabwise::test
