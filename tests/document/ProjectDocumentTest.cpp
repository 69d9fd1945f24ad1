// The open project without a window: New, Open all or nothing, Save and Save
// As, the modified flag, and undo and redo of recorded input steps, with the
// changes each of them announces.

#include "document/ProjectDocument.h"

#include "support/TempFolder.h"

#include <QUndoStack>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace slabwise::test {
namespace {

using TChange = TProjectDocument::TChange;
using TChanges = TProjectDocument::TChanges;

// A document on the example projects beside the test.
class ProjectDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        QObject::connect(&document, &TProjectDocument::Changed,
                         [this](TChanges what) { heard.push_back(what); });
    }
    QString PathOf(const char* name) const { return QString::fromStdString((folder.Path() / name).string()); }
    // A project file holding the built-in project with one change.
    QString SavedWith(const char* name, Real thickness) {
        TProjectDocument other;
        other.Model().Thickness = thickness;
        other.SaveAs(PathOf(name));
        return PathOf(name);
    }
    void Step(Real thickness, const char* caption = "Thickness") {
        // As a commit of the window: the project changed, then the step.
        document.Model().Thickness = thickness;
        document.SetModified(true);
        document.RecordStep([caption] { return QLatin1String(caption); });
    }

    TTempFolder folder;
    TProjectDocument document;
    std::vector<TChanges> heard;
};

TEST_F(ProjectDocumentTest, NewIsTheUnnamedUnmodifiedDefaultProjectWithNoHistory) {
    const std::string fresh = document.InputRecord();
    document.Open(SavedWith("one.ksw", 3));
    Step(4);
    document.SetModified(true);
    heard.clear();

    document.New();
    EXPECT_EQ(document.InputRecord(), fresh);
    EXPECT_TRUE(document.FileName().isEmpty());
    EXPECT_FALSE(document.Modified());
    EXPECT_EQ(document.History().count(), 0);
    // The project first, the flag once the listeners have read it back.
    EXPECT_EQ(heard, (std::vector<TChanges>{TChanges(TChange::NewProject) | TChange::FileName,
                                            TChanges(TChange::ModifiedFlag)}));
    // Said once, with what actually changed.
    heard.clear();
    document.New();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], TChanges(TChange::NewProject));
}

// A listener that reads the new project back (as the window's fields do)
// changes the start of the history, not a step of it.
TEST_F(ProjectDocumentTest, TheHistoryStartsFromWhatTheListenersLeave) {
    QObject::connect(&document, &TProjectDocument::Changed, [this](TChanges what) {
        if (what & (TChange::NewProject | TChange::OpenedProject)) {
            document.Model().StripLength = 30;
            document.RecordStep([] { return QStringLiteral("read back"); });
        }
    });
    for (const bool open : {false, true}) {
        SCOPED_TRACE(open ? "Open" : "New");
        if (open)
            document.Open(SavedWith("start.ksw", 3));
        else
            document.New();
        EXPECT_EQ(document.History().count(), 0);
        document.RecordStep([] { return QStringLiteral("no change"); });
        EXPECT_EQ(document.History().count(), 0);
    }
}

TEST_F(ProjectDocumentTest, ARefusedFileChangesNothing) {
    { std::ofstream(folder.Path() / "junk.ksw", std::ios::binary) << std::string(200, 'x'); }
    const QString first = SavedWith("first.ksw", 3);
    document.Open(first);
    Step(4);
    const std::string shown = document.InputRecord();
    heard.clear();
    for (const char* name : {"junk.ksw", "missing.ksw"}) {
        SCOPED_TRACE(name);
        EXPECT_ANY_THROW(document.Open(PathOf(name)));
        EXPECT_EQ(document.InputRecord(), shown);
        EXPECT_EQ(document.FileName(), first);
        EXPECT_TRUE(document.Modified());
        EXPECT_EQ(document.History().count(), 1);
        EXPECT_TRUE(heard.empty());
    }
}

TEST_F(ProjectDocumentTest, OpenNamesTheProjectAndMarksWhatDiffersFromTheFile) {
    {
        TProjectDocument other;
        other.Model().StripLength = -1;
        other.SaveAs(PathOf("short.ksw"));
    }
    const struct {
        const char* File;
        bool Clean;
    } cases[] = {{"short.ksw", false}, {"plain.ksw", true}};
    SavedWith("plain.ksw", 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        Step(document.Model().Thickness + 1);
        heard.clear();
        const TOpenReport report = document.Open(PathOf(c.File));
        EXPECT_EQ(report.Clean(), c.Clean);
        EXPECT_EQ(document.Modified(), !c.Clean);
        EXPECT_EQ(document.FileName(), PathOf(c.File));
        EXPECT_EQ(document.History().count(), 0);
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard[0], TChanges(TChange::OpenedProject) | TChange::FileName);
        // The flag after the listeners, and only when it changed: the step
        // before each Open left the project modified.
        EXPECT_EQ(heard.size(), c.Clean ? 2u : 1u);
    }
    EXPECT_EQ(document.Model().Thickness, 3);
}

TEST_F(ProjectDocumentTest, SaveWritesTheFileAndAFailedWriteKeepsNameAndFlag) {
    document.SetModified(true);
    EXPECT_THROW(document.Save(), std::logic_error);
    EXPECT_TRUE(document.Modified());

    Step(3);
    heard.clear();
    document.SaveAs(PathOf("saved.ksw"));
    EXPECT_EQ(document.FileName(), PathOf("saved.ksw"));
    EXPECT_FALSE(document.Modified());
    EXPECT_EQ(heard, std::vector<TChanges>{TChanges(TChange::FileName) | TChange::ModifiedFlag});
    TProjectDocument reader;
    const TOpenReport report = reader.Open(PathOf("saved.ksw"));
    for (const std::string& line : report.Lines()) ADD_FAILURE() << line;
    EXPECT_EQ(reader.Model().Thickness, 3);

    Step(4);
    heard.clear();
    EXPECT_ANY_THROW(document.SaveAs(PathOf("missing/folder.ksw")));
    EXPECT_EQ(document.FileName(), PathOf("saved.ksw"));
    EXPECT_TRUE(document.Modified());
    EXPECT_TRUE(heard.empty());
    document.Save();
    EXPECT_FALSE(document.Modified());
    reader.Open(PathOf("saved.ksw"));
    EXPECT_EQ(reader.Model().Thickness, 4);
}

TEST_F(ProjectDocumentTest, UndoAndRedoRestoreTheInputRecordAndTheFlag) {
    const std::string start = document.InputRecord();
    int asked = 0;
    // An unchanged record makes no step and is never named.
    document.RecordStep([&] { return ++asked, QStringLiteral("nothing"); });
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(document.Undo());

    Step(3);
    const std::string three = document.InputRecord();
    document.SetModified(true);
    Step(4, "Again");
    EXPECT_EQ(document.History().count(), 2);
    EXPECT_EQ(document.History().undoText(), QStringLiteral("Again"));

    heard.clear();
    EXPECT_TRUE(document.Undo());
    EXPECT_EQ(document.InputRecord(), three);
    EXPECT_TRUE(document.Modified());
    EXPECT_EQ(heard, std::vector<TChanges>{TChanges(TChange::InputsRestored)});
    EXPECT_TRUE(document.Undo());
    EXPECT_EQ(document.InputRecord(), start);
    EXPECT_FALSE(document.Modified()); // back at the new project
    EXPECT_FALSE(document.Undo());
    EXPECT_TRUE(document.Redo());
    EXPECT_TRUE(document.Redo());
    EXPECT_FALSE(document.Redo());
    EXPECT_EQ(document.Model().Thickness, 4);
    EXPECT_TRUE(document.Modified());

    // Saved in the middle: that point is the unmodified one.
    document.Undo();
    document.SaveAs(PathOf("middle.ksw"));
    document.Redo();
    EXPECT_TRUE(document.Modified());
    document.Undo();
    EXPECT_FALSE(document.Modified());
}

// The file version says what the project was read from; stepping through
// inputs does not change it, and a listener's reading back during a step is
// no step of its own.
TEST_F(ProjectDocumentTest, AStepKeepsTheFileVersionAndRecordsNothingWhileRestoring) {
    document.Model().FileVersion = 0.3;
    QObject::connect(&document, &TProjectDocument::Changed, [this](TChanges what) {
        if (what & TChange::InputsRestored) document.RecordStep([] { return QStringLiteral("echo"); });
    });
    Step(3);
    Step(4);
    document.Undo();
    EXPECT_EQ(document.Model().FileVersion, 0.3);
    EXPECT_EQ(document.Model().Thickness, 3);
    EXPECT_EQ(document.History().count(), 2);
    document.Redo();
    EXPECT_EQ(document.Model().FileVersion, 0.3);
    EXPECT_EQ(document.Model().Thickness, 4);
    // The next step starts from the restored record.
    document.Undo();
    Step(5);
    EXPECT_EQ(document.History().count(), 2);
    document.Undo();
    EXPECT_EQ(document.Model().Thickness, 3);
}

// A tool's change (a proposed design, say) is one step under its own name:
// the listeners show it and read it back inside that step, one undo puts
// every input back, and an edit that raises or changes nothing leaves no
// trace.
TEST_F(ProjectDocumentTest, AToolsChangeOfTheInputsIsOneStep) {
    document.Model().StripLength = 30;
    Step(3);
    const std::string before = document.InputRecord();
    // A listener that limits what it reads back, as the window's boxes do.
    QObject::connect(&document, &TProjectDocument::Changed, [this](TChanges what) {
        if (!(what & TChange::InputsRestored)) return;
        document.Model().StripLength = std::min(document.Model().StripLength, Real(40));
        document.RecordStep([] { return QStringLiteral("echo"); });
    });
    document.SaveAs(PathOf("tool.ksw"));
    heard.clear();

    document.ApplyInputs(QStringLiteral("Tool"), [](TMatData& mat) {
        mat.Thickness = 2.5L;
        mat.TopBarSize = 9;
        mat.StripLength = 55;
    });
    const TMatData& m = document.Model();
    EXPECT_EQ(m.Thickness, 2.5L);
    EXPECT_EQ(m.TopBarSize, 9);
    EXPECT_EQ(m.StripLength, 40);
    EXPECT_EQ(heard,
              (std::vector<TChanges>{TChanges(TChange::InputsRestored), TChanges(TChange::ModifiedFlag)}));
    EXPECT_EQ(document.History().count(), 2);
    EXPECT_EQ(document.History().undoText(), QStringLiteral("Tool"));
    EXPECT_TRUE(document.Modified());
    const std::string after = document.InputRecord();

    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(document.InputRecord(), before);
    EXPECT_EQ(m.StripLength, 30);
    EXPECT_FALSE(document.Modified()); // back at what was saved
    ASSERT_TRUE(document.Redo());
    EXPECT_EQ(document.InputRecord(), after);
    EXPECT_TRUE(document.Modified());
    EXPECT_EQ(document.History().count(), 2);

    // Nothing changed or nothing done: no step, no signal, the flag as it was.
    const struct {
        const char* Name;
        bool Raises;
        std::function<void(TMatData&)> Edit;
    } idle[] = {
        {"unchanged", false, [](TMatData&) {}},
        {"raises", true,
         [](TMatData& mat) {
             mat.Thickness = 7;
             throw std::runtime_error("no design");
         }},
    };
    for (const auto& c : idle) {
        SCOPED_TRACE(c.Name);
        heard.clear();
        if (c.Raises)
            EXPECT_THROW(document.ApplyInputs(QStringLiteral("Idle"), c.Edit), std::runtime_error);
        else
            document.ApplyInputs(QStringLiteral("Idle"), c.Edit);
        EXPECT_EQ(document.InputRecord(), after);
        EXPECT_EQ(document.History().count(), 2);
        EXPECT_EQ(document.History().undoText(), QStringLiteral("Tool"));
        EXPECT_TRUE(document.Modified());
        // An unchanged project is still shown again; a refused one is not.
        EXPECT_EQ(heard.size(), c.Raises ? 0u : 1u);
    }
    // The next commit starts from what the tool left.
    Step(4);
    document.Undo();
    EXPECT_EQ(document.InputRecord(), after);
}

} // namespace
} // namespace slabwise::test
