// Undo and redo through the Edit menu's actions and their keys: one step per
// committed change, the whole input record each way, and the modified flag
// back where it was.

#include "WindowFixture.h"

#include "support/TempFolder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <sstream>
#include <string>

namespace slabwise::test {
namespace {

class UndoTest : public WindowTest {
protected:
    QAction& Action(const char* name) const { return Control<QAction>(name); }
    void Undo() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier); }
    void Redo(bool withY = false) {
        if (withY)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }
    std::string Record() const {
        std::ostringstream out;
        window->Model().SaveToStream(out);
        return std::move(out).str();
    }
};

TEST_F(UndoTest, EditMenuHoldsUndoAndRedoNamedByTheField) {
    QMenu& edit = Control<QMenu>("Edit1");
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[1]->menu(), &edit);
    EXPECT_TRUE(edit.actions().contains(&Action("AUndo")));
    EXPECT_TRUE(edit.actions().contains(&Action("ARedo")));
    EXPECT_EQ(Action("AUndo").shortcut(), QKeySequence(QKeySequence::Undo));
    EXPECT_FALSE(Action("AUndo").isEnabled());
    EXPECT_FALSE(Action("ARedo").isEnabled());

    Commit("Edit1", QStringLiteral("30"));
    EXPECT_EQ(Action("AUndo").text(), QStringLiteral("Undo Strip Length, L"));
    EXPECT_TRUE(Action("AUndo").isEnabled());
    Commit("EditPoint3p", QStringLiteral("25"));
    EXPECT_EQ(Action("AUndo").text(), QStringLiteral("Undo Point Load 3, P"));
    Undo();
    EXPECT_EQ(Action("ARedo").text(), QStringLiteral("Redo Point Load 3, P"));

    // Every input is named as the input list captions it.
    const struct {
        const char* Box;
        const char* Undo;
    } named[] = {{"Edit7", "Undo User Point x2"}, {"EditDist2e", "Undo Distributed Load 2, e"}};
    for (const auto& c : named) {
        Commit(c.Box, QStringLiteral("5"));
        EXPECT_EQ(Action("AUndo").text(), QLatin1String(c.Undo));
    }
}

TEST_F(UndoTest, FieldGoesBackAndForthAndUnchangedProjectStaysUnmodified) {
    const TMatData& m = window->Model();
    const std::string start = Record();
    const QString before = Text("Edit3");
    ASSERT_FALSE(window->Modified());
    Commit("Edit3", QStringLiteral("3"));
    ASSERT_EQ(m.Thickness, 3);
    ASSERT_TRUE(window->Modified());
    // Leaving a field without changing it makes no step.
    Commit("Edit3", QStringLiteral("3"));

    Undo();
    EXPECT_EQ(Text("Edit3"), before);
    EXPECT_EQ(Record(), start);
    EXPECT_FALSE(window->Modified());
    EXPECT_FALSE(Action("AUndo").isEnabled());

    Redo(true);
    EXPECT_EQ(m.Thickness, 3);
    EXPECT_EQ(Text("Edit3"), QStringLiteral("3.00"));
    EXPECT_TRUE(window->Modified());
    Undo();
    Redo();
    EXPECT_EQ(m.Thickness, 3);
    // The analysis follows the restored inputs.
    auto fresh = NewModel();
    std::istringstream in(Record());
    fresh->LoadFromStream(in);
    fresh->Analyze();
    EXPECT_EQ(m.MaxMoment, fresh->MaxMoment);
}

// A unit switch clamps numbers into the new system's limits; one undo brings
// every one of them back.
TEST_F(UndoTest, UnitSwitchWithClampingIsOneStep) {
    const TMatData& m = window->Model();
    const std::string start = Record();
    const Real fc = m.Fc, k = m.SubgradeModulus, qa = m.AllowableBearing;
    const int32_t bar = m.TopBarSize;
    Pick("ComboBox1", QStringLiteral("SI"));
    Pick("ComboBox1", QStringLiteral("English"));
    ASSERT_NE(m.SubgradeModulus, k); // clamped on the way
    ASSERT_NE(m.Fc, fc);
    EXPECT_EQ(Action("AUndo").text(), QStringLiteral("Undo Units"));

    Undo();
    EXPECT_EQ(m.UnitSystem, UnitsSI);
    EXPECT_EQ(Combo("ComboBox1").currentText(), QStringLiteral("SI"));
    EXPECT_EQ(Caption("Label5"), QStringLiteral("m"));
    Undo();
    EXPECT_EQ(m.UnitSystem, UnitsEnglish);
    EXPECT_EQ(Caption("Label5"), QStringLiteral("ft"));
    EXPECT_EQ(m.Fc, fc);
    EXPECT_EQ(m.SubgradeModulus, k);
    EXPECT_EQ(m.AllowableBearing, qa);
    EXPECT_EQ(m.TopBarSize, bar);
    EXPECT_EQ(Combo("ComboBox4").currentText(), QStringLiteral("US"));
    EXPECT_EQ(Record(), start);
    EXPECT_FALSE(window->Modified());
}

// Shortening the strip pulls loads and user points to its end; one undo puts
// them back where they were.
TEST_F(UndoTest, ShorterStripIsUndoneWithTheLoadsItMoved) {
    const TMatData& m = window->Model();
    Commit("EditPoint1a", QStringLiteral("40"));
    Commit("EditPoint1p", QStringLiteral("100"));
    Commit("Edit9", QStringLiteral("45"));
    const std::string placed = Record();
    Commit("Edit1", QStringLiteral("20"));
    ASSERT_EQ(m.StripLength, 20);
    ASSERT_EQ(m.PointLoads[0].a, 20);
    ASSERT_EQ(m.UserX[3], 20);

    Undo();
    EXPECT_EQ(m.StripLength, 48);
    EXPECT_EQ(m.PointLoads[0].a, 40);
    EXPECT_EQ(Text("EditPoint1a"), QStringLiteral("40.0000"));
    EXPECT_EQ(m.UserX[3], 45);
    EXPECT_EQ(Record(), placed);
    EXPECT_TRUE(window->Modified()); // the three earlier edits remain
}

// Typing in a box undoes the typing first; the history takes over once the box
// has nothing of its own to undo. Undo from the menu commits the field first.
TEST_F(UndoTest, UndoWhileTypingTakesBackTheFieldBeingEdited) {
    const TMatData& m = window->Model();
    const Real thickness = m.Thickness, length = m.StripLength;
    const QString shown = Text("Edit3");
    Commit("Edit1", QStringLiteral("30"));
    Type("Edit3", QStringLiteral("3"));
    Undo();
    EXPECT_EQ(Text("Edit3"), shown);
    EXPECT_EQ(m.StripLength, 30);
    Undo();
    EXPECT_EQ(m.StripLength, length);
    EXPECT_EQ(Text("Edit1"), QStringLiteral("%1").arg(static_cast<double>(length), 0, 'f', 2));
    EXPECT_EQ(m.Thickness, thickness);
    Action("ARedo").trigger();
    EXPECT_EQ(m.StripLength, 30);

    Type("Edit3", QStringLiteral("3"));
    Action("AUndo").trigger();
    EXPECT_EQ(m.Thickness, thickness);
    EXPECT_EQ(Text("Edit3"), shown);
    EXPECT_EQ(m.StripLength, 30);
    Action("ARedo").trigger();
    EXPECT_EQ(m.Thickness, 3);
    EXPECT_EQ(m.StripLength, 30);
}

TEST_F(UndoTest, NewAndOpenClearTheHistorySaveKeepsIt) {
    const TMatData& m = window->Model();
    TTempFolder folder;
    const QString file = QString::fromStdString((folder.Path() / "undo.ksw").string());
    Commit("Edit3", QStringLiteral("3"));
    dialogs.SaveFiles.push_back(file);
    window->ASaveAsExecute();
    ASSERT_FALSE(window->Modified());
    EXPECT_TRUE(Action("AUndo").isEnabled());
    Undo();
    EXPECT_NE(m.Thickness, 3);
    EXPECT_TRUE(window->Modified()); // away from what was saved
    Redo();
    EXPECT_FALSE(window->Modified()); // back at it

    dialogs.Answers.push_back(TAnswer::No);
    window->ANewExecute();
    EXPECT_FALSE(Action("AUndo").isEnabled());
    EXPECT_FALSE(Action("ARedo").isEnabled());
    Commit("Edit3", QStringLiteral("4"));
    dialogs.OpenFiles.push_back(file);
    dialogs.Answers.push_back(TAnswer::No);
    window->AOpenExecute();
    EXPECT_EQ(m.Thickness, 3);
    EXPECT_FALSE(Action("AUndo").isEnabled());
    EXPECT_FALSE(window->Modified());
}

} // namespace
} // namespace slabwise::test
