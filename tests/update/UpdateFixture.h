#pragma once

// What the update tests share: pages, signed packages and archives made on
// the spot, a key pair of the tests' own, a shell that answers from a script
// and records what would have been started, and an event recorder.

#include "TestServer.h"
#include "support/TempFolder.h"
#include "update/CheckUpdates.h"
#include "update/UpdateArchive.h"
#include "update/UpdateManifest.h"
#include "update/UpdateShell.h"
#include "update/UpdateSignature.h"
#include "update/WebUpdate.h"

#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <zip.h>

#include <sys/stat.h>

#include <deque>
#include <ostream>
#include <utility>
#include <vector>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << '[' << texts.join(QStringLiteral(" | ")).toStdString() << ']';
}

namespace slabwise::test {

inline QString Folder(const TTempFolder& folder) {
    return QString::fromStdString(folder.Path().string()) + QLatin1Char('/');
}

// The tests' own signing keys, made once per run.
inline const TSigningKeys& TestKeys() {
    static const TSigningKeys keys = NewSigningKeys();
    return keys;
}

// The manifest of a package made by the test.
inline TManifest ManifestOf(const QByteArray& name, const QByteArray& data,
                            const QByteArray& version = "1.0.1", TPackageRole role = TPackageRole::Installer,
                            const QStringList& arguments = {}) {
    TManifest manifest;
    manifest.Product = QStringLiteral("Slabwise");
    manifest.Version = QString::fromLatin1(version);
    manifest.Role = role;
    manifest.File = QString::fromLatin1(name);
    manifest.Length = data.size();
    manifest.Sha256 = QCryptographicHash::hash(data, QCryptographicHash::Sha256);
    manifest.Arguments = arguments;
    return manifest;
}

// The page values that carry a manifest: its text and signature under the
// role's names.
inline std::vector<std::pair<const char*, QByteArray>> Signed(const TManifest& manifest,
                                                              const QByteArray& seed = TestKeys().Seed) {
    static const char* const tags[][2] = {{"upManifest", "upManifestSignature"},
                                          {"upInplaceManifest", "upInplaceManifestSignature"},
                                          {"upInplaceUtilManifest", "upInplaceUtilManifestSignature"}};
    const auto* names = tags[static_cast<int>(manifest.Role)];
    const QString text = ManifestText(manifest);
    return {{names[0], text.toUtf8()}, {names[1], SignManifest(text, seed).toLatin1()}};
}

// An update page: one META element per line among other text.
inline QByteArray MetaPage(const std::vector<std::pair<const char*, QByteArray>>& values) {
    QByteArray page = "<html><head><title>Update</title>\n";
    for (const auto& [name, value] : values)
        page += QByteArray("<META NAME=\"") + name + "\" CONTENT=\"" + value + "\">\n";
    return page + "</head><body>Slabwise</body></html>\n";
}

struct TZipEntry {
    QByteArray Name;
    QByteArray Data;
    bool SymbolicLink = false;
};

// A zip archive in memory with the given entries, names taken as they are.
inline QByteArray MakeZip(const std::vector<TZipEntry>& entries) {
    TTempFolder folder;
    const QByteArray path = QFile::encodeName(Folder(folder) + QStringLiteral("made.zip"));
    int error = 0;
    zip_t* archive = zip_open(path.constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) return {};
    for (const TZipEntry& entry : entries) {
        zip_source_t* source = zip_source_buffer(archive, entry.Data.constData(),
                                                 static_cast<zip_uint64_t>(entry.Data.size()), 0);
        const zip_int64_t index = zip_file_add(archive, entry.Name.constData(), source, ZIP_FL_ENC_RAW);
        if (index < 0) {
            zip_source_free(source);
            continue;
        }
        if (entry.SymbolicLink)
            zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                             static_cast<zip_uint32_t>(S_IFLNK | 0777) << 16);
    }
    zip_close(archive);
    QFile in(QFile::decodeName(path));
    in.open(QIODevice::ReadOnly);
    return in.readAll();
}

// Answers the check's questions from a script, records every message and
// question, and records instead of starting anything. Events go to a shared
// list when one is given.
class TRecordingShell : public TUpdateShell {
public:
    std::deque<bool> Answers;
    QStringList Notices;
    QStringList Questions;
    std::vector<QUrl> OpenedUrls;
    QStringList Started; // "Open file" or "Run file|arguments"
    int Terminated = 0;
    bool StartSucceeds = true;
    QStringList* Events = nullptr;
    // Runs while a message box would be up.
    std::function<void()> DuringMessage;
    // Runs once a modal dialog shows, as the user would act in it.
    std::function<void(QDialog&)> WhileModal;
    // Pictures of the modal dialog, grabbed each time a box comes up and
    // after it shows.
    std::vector<QImage> Pictures;
    // Runs while a question is open, before it is answered.
    std::function<void()> DuringQuestion;
    // Whether the program may end; yes unless replaced.
    std::function<bool()> MayEndAnswer;

    void Notify(QWidget* parent, QMessageBox::Icon, const QString& text) override {
        Notices << text;
        Grab(parent);
        if (DuringMessage) DuringMessage();
    }
    bool Ask(QWidget* parent, QMessageBox::Icon, const QString& text) override {
        Questions << text;
        Grab(parent);
        if (DuringQuestion) DuringQuestion();
        if (Answers.empty()) return false;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void OpenUrl(const QUrl& url) override { OpenedUrls.push_back(url); }
    void RunModal(QDialog& dialog) override {
        dialog.show();
        if (WhileModal) WhileModal(dialog);
        static_cast<void>(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 20000));
        EXPECT_FALSE(dialog.isVisible()) << "the dialog did not close";
        dialog.close();
    }
    bool MayEnd() override {
        Record(QStringLiteral("MayEnd"));
        return !MayEndAnswer || MayEndAnswer();
    }
    bool OpenWithDesktop(const QString& file) override {
        Record(QStringLiteral("Open:") + QFileInfo(file).fileName());
        Started << QStringLiteral("Open ") + file;
        return StartSucceeds;
    }
    bool Run(const QString& program, const QStringList& arguments) override {
        Record(QStringLiteral("Run:") + QFileInfo(program).fileName());
        Started << QStringLiteral("Run ") + program + QLatin1Char('|') + arguments.join(QLatin1Char('|'));
        return StartSucceeds;
    }
    void Terminate() override {
        Record(QStringLiteral("Terminate"));
        ++Terminated;
    }

private:
    void Record(const QString& event) {
        if (Events) *Events << event;
    }
    void Grab(QWidget* parent) {
        if (parent && parent->isVisible()) Pictures.push_back(parent->grab().toImage());
    }
};

// Records a client's events as words; a run of progress events is one
// "Download". Downloads go into the given folder.
inline void RecordEvents(TWebUpdate& client, QStringList& events, const QString& downloadFolder) {
    auto add = [&events](const QString& event) {
        if (event == QLatin1String("Download") && !events.isEmpty() && events.last() == event) return;
        events << event;
    };
    client.OnBeforeGetInfo = [add] { add(QStringLiteral("BeforeGetInfo")); };
    client.OnAfterGetInfo = [add] { add(QStringLiteral("AfterGetInfo")); };
    client.OnNoUpdateFound = [add] { add(QStringLiteral("NoUpdateFound")); };
    client.OnDownloadError = [add] { add(QStringLiteral("DownloadError")); };
    client.OnCannotExecute = [add] { add(QStringLiteral("CannotExecute")); };
    client.OnDownload = [add](qint64, qint64) { add(QStringLiteral("Download")); };
    client.OnUpdateAvailable = [add](const QString& actual, const QString& next, bool&) {
        add(QStringLiteral("UpdateAvailable(%1>%2)").arg(actual, next));
    };
    client.OnBeforeShowInfo = [add](bool&, bool&) { add(QStringLiteral("BeforeShowInfo")); };
    client.OnAfterShowInfo = [add](bool) { add(QStringLiteral("AfterShowInfo")); };
    client.OnGetClientFileName = [add, downloadFolder](QString& name) {
        add(QStringLiteral("ClientFileName"));
        name = downloadFolder + QFileInfo(name).fileName();
    };
    client.OnClientFileExists = [add](const QString&, bool&) { add(QStringLiteral("ClientFileExists")); };
    client.OnBeforeDownload = [add](const QString&) { add(QStringLiteral("BeforeDownload")); };
    client.OnAfterDownload = [add](const QString&) { add(QStringLiteral("AfterDownload")); };
    client.OnUpdateDeferred = [add](const QString&) { add(QStringLiteral("Deferred")); };
}

} // namespace slabwise::test
