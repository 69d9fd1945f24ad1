// Find Thinnest Design: the search on a copy in a worker thread, the
// proposal beside the current values, Apply as one undo step of the
// document that the window shows, Cancel while searching, and a project that
// no design passes.

#include "ThinnestDesignDialog.h"
#include "WindowFixture.h"

#include "support/GrabChecks.h"
#include "support/ScopedUserLocale.h"
#include "views/LocaleNumber.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QProgressBar>
#include <QTableWidget>
#include <QUndoStack>

#include <chrono>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace slabwise::test {
namespace {

constexpr int SearchTimeoutMs = 120000;

std::string Record(const TMatData& mat) {
    std::ostringstream out;
    mat.SaveToStream(out);
    return std::move(out).str();
}

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A search that only reports progress, until it is told to stop; it gives
// up by itself after a few seconds so that a dialog that never stops it
// fails instead of hanging.
struct TEndlessSearch {
    double Fraction = 0.4;

    TThinnestDesign operator()(const TMatData&, const TSearchProgress& progress) const {
        TThinnestDesign design;
        for (int i = 0; i < 10000; ++i) {
            if (!progress(Fraction)) {
                design.Cancelled = true;
                return design;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        design.Reason = "never told to stop";
        return design;
    }
};

class ThinnestDesignDialogTest : public WindowTest {
protected:
    static TThinnestDesignDialog& Shown(QDialog& dialog) {
        auto* shown = qobject_cast<TThinnestDesignDialog*>(&dialog);
        if (!shown) throw std::runtime_error("not the thinnest design dialog");
        return *shown;
    }
    template <class T = QWidget> static T& Part(QWidget& dialog, const char* name) {
        T* part = dialog.findChild<T*>(QLatin1String(name));
        if (!part) throw std::runtime_error(std::string("no part ") + name);
        return *part;
    }
    static bool HasApply(QWidget& dialog) {
        const auto* apply = dialog.findChild<QPushButton*>(QStringLiteral("btnApply"));
        return apply && apply->isVisible();
    }
    // Lets the dialog run until its search has ended and it shows the answer.
    static void AwaitAnswer(TThinnestDesignDialog& dialog) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.Searching(); }, SearchTimeoutMs));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Part(dialog, "barProgress").isVisible(); }, 5000));
    }
    // The row whose caption starts so, as "Current" and "Proposed" show it.
    static std::pair<QString, QString> Row(QWidget& dialog, const QString& caption) {
        auto& table = Part<QTableWidget>(dialog, "tblProposal");
        for (int r = 0; r < table.rowCount(); ++r)
            if (table.item(r, 0)->text().startsWith(caption))
                return {table.item(r, 1)->text(), table.item(r, 2)->text()};
        ADD_FAILURE() << "no row " << caption.toStdString();
        return {};
    }
    void OpenExample(const char* name) {
        window->Document().Open(QString::fromStdString((window->Model().ExampleFolder() / name).string()));
    }
};

TEST_F(ThinnestDesignDialogTest, ApplyPutsTheProposalInPlaceAsOneUndoStep) {
    const TMatData& m = window->Model();
    const TThinnestDesign expected = FindThinnestDesign(m);
    ASSERT_TRUE(expected.Found) << expected.Reason;
    const TDesignProposal& p = expected.Proposal;
    // The example is not already the proposal, so Apply has work to do.
    ASSERT_TRUE(p.Thickness != m.Thickness || p.TopBarSize != m.TopBarSize ||
                p.BottomBarSize != m.BottomBarSize);
    const std::string start = Record(m);
    const QString thicknessBefore = Text("Edit3");
    const int steps = window->Document().History().count();

    dialogs.OnModal = [&](QDialog& shown) {
        TThinnestDesignDialog& dialog = Shown(shown);
        AwaitAnswer(dialog);
        const struct {
            const char* Caption;
            QString Current, Proposed;
        } rows[] = {
            {"Thickness, T, ft", BoxValueText(m, TagThickness, m.Thickness),
             BoxValueText(m, TagThickness, p.Thickness)},
            {"Top bar size", Utf8(m.BarLabel(m.TopBarSize)), Utf8(m.BarLabel(p.TopBarSize))},
            {"Bottom bar size", Utf8(m.BarLabel(m.BottomBarSize)), Utf8(m.BarLabel(p.BottomBarSize))},
            {"Top bars",
             m.TopBarsOverride > 0 ? BoxValueText(m, TagBarsOverride, m.TopBarsOverride)
                                   : BoxValueText(m, TagBarsMin, m.TopBarsMin),
             BoxValueText(m, TagBarsMin, p.TopBars)},
            {"Top steel area, in²", BoxValueText(m, TagAsProvided, m.TopAs),
             BoxValueText(m, TagAsProvided, p.TopAs)},
            {"Bottom steel area, in²", BoxValueText(m, TagAsProvided, m.BotAs),
             BoxValueText(m, TagAsProvided, p.BottomAs)},
            {"Total steel per width, in²/ft",
             BoxValueText(m, TagAsProvided, (m.TopAs + m.BotAs) / m.StripWidth),
             BoxValueText(m, TagAsProvided, p.SteelPerWidth)},
            {"Governing check", {}, Utf8(std::string(ReadableCheckName(p.Governing)))},
            {"Utilization, %",
             {},
             FormatLocaleFixed(p.GoverningUtil, UtilizationDecimals(p.GoverningUtil), 18)},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.Caption);
            const auto [current, proposed] = Row(dialog, QString::fromUtf8(row.Caption));
            if (!row.Current.isEmpty()) {
                EXPECT_EQ(current, row.Current);
            }
            EXPECT_EQ(proposed, row.Proposed);
        }
        EXPECT_NE(Row(dialog, QStringLiteral("Governing check")).first, QStringLiteral("N.A."));
        EXPECT_EQ(Part<QLabel>(dialog, "lblCandidates").text(),
                  QStringLiteral("%1 candidates analyzed at %2 thicknesses.")
                      .arg(FormatLocaleGrouped(expected.Candidates, 0))
                      .arg(FormatLocaleGrouped(expected.Thicknesses, 0)));
        QPushButton& apply = Part<QPushButton>(dialog, "btnApply");
        ASSERT_TRUE(apply.isVisible());
        QTest::mouseClick(&apply, Qt::LeftButton);
    };
    ShowThinnestDesign(window.get(), window->Document(), dialogs);
    EXPECT_EQ(dialogs.ModalTitles, QStringList{QStringLiteral("Find Thinnest Design")});

    // The proposal in the document and in the window, as one named step.
    EXPECT_EQ(m.Thickness, p.Thickness);
    EXPECT_EQ(m.TopBarSize, p.TopBarSize);
    EXPECT_EQ(m.BottomBarSize, p.BottomBarSize);
    EXPECT_EQ(m.TopBarsOverride, 0);
    EXPECT_EQ(m.BotBarsOverride, 0);
    EXPECT_EQ(m.TopAs, p.TopAs);
    EXPECT_EQ(m.BotAs, p.BottomAs);
    EXPECT_EQ(Text("Edit3"), BoxValueText(m, TagThickness, p.Thickness));
    EXPECT_EQ(Combo("ComboBox2").currentText(), Utf8(m.BarLabel(p.TopBarSize)));
    EXPECT_EQ(Combo("ComboBox3").currentText(), Utf8(m.BarLabel(p.BottomBarSize)));
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(window->Document().History().count(), steps + 1);
    EXPECT_EQ(Control<QAction>("AUndo").text(), QStringLiteral("Undo Find Thinnest Design"));

    // One undo brings every input back, and the window with it.
    Control<QAction>("AUndo").trigger();
    EXPECT_EQ(Record(m), start);
    EXPECT_EQ(Text("Edit3"), thicknessBefore);
    EXPECT_FALSE(window->Modified());
    Control<QAction>("ARedo").trigger();
    EXPECT_EQ(m.Thickness, p.Thickness);
}

// The Design menu runs the search on the project as the boxes show it: a
// number still being typed counts, as it does for Save.
TEST_F(ThinnestDesignDialogTest, TheDesignMenuSearchesWhatTheBoxesShow) {
    const auto& menu = Control<QMenu>("Design1");
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions().front(), &Control<QAction>("AFindThinnestDesign"));
    EXPECT_EQ(menu.actions().front()->text(), QStringLiteral("&Find Thinnest Design..."));

    Type("Edit1", QStringLiteral("30"));
    Real lengthSearched = 0;
    dialogs.OnModal = [&](QDialog& shown) {
        lengthSearched = Shown(shown).Current().StripLength;
        QTest::mouseClick(&Part<QPushButton>(shown, "btnCancel"), Qt::LeftButton);
    };
    Control<QAction>("AFindThinnestDesign").trigger();
    EXPECT_EQ(dialogs.ModalTitles, QStringList{QStringLiteral("Find Thinnest Design")});
    EXPECT_EQ(lengthSearched, 30);
    EXPECT_EQ(window->Model().StripLength, 30);
}

// Cancel, Escape and closing the box stop the search through its progress
// callback; nothing reaches the document.
TEST_F(ThinnestDesignDialogTest, CancelDuringTheSearchStopsItAndChangesNothing) {
    const struct {
        const char* Name;
        std::function<void(QDialog&)> Stop;
    } ways[] = {
        {"Cancel", [](QDialog& d) { QTest::mouseClick(&Part<QPushButton>(d, "btnCancel"), Qt::LeftButton); }},
        {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close", [](QDialog& d) { d.close(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.Name);
        const TEndlessSearch search;
        TThinnestDesignDialog dialog(window->Model(), window.get(), search);
        dialog.show();
        // The window keeps running: the bar moves while the worker searches.
        auto& bar = Part<QProgressBar>(dialog, "barProgress");
        ASSERT_TRUE(QTest::qWaitFor([&] { return bar.value() == 400; }, 5000));
        EXPECT_TRUE(dialog.Searching());
        EXPECT_FALSE(HasApply(dialog));
        way.Stop(dialog);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.Searching(); }, 5000));
        ASSERT_TRUE(dialog.Design().has_value());
        EXPECT_TRUE(dialog.Design()->Cancelled);
        EXPECT_EQ(dialog.Proposal(), nullptr);
    }

    // The real search, cancelled at once through the entry point.
    const std::string start = Record(window->Model());
    const int steps = window->Document().History().count();
    dialogs.OnModal = [](QDialog& d) {
        QTest::mouseClick(&Part<QPushButton>(d, "btnCancel"), Qt::LeftButton);
    };
    const auto began = std::chrono::steady_clock::now();
    ShowThinnestDesign(window.get(), window->Document(), dialogs);
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(10));
    EXPECT_EQ(Record(window->Model()), start);
    EXPECT_EQ(window->Document().History().count(), steps);
    EXPECT_FALSE(window->Modified());
}

// Without a design the box says why and offers no Apply; Enter then only
// closes it.
TEST_F(ThinnestDesignDialogTest, WithoutADesignTheReasonAndNoApply) {
    TMatData& m = window->Document().Model();
    // No thickness carries the loads on so weak a soil.
    m.AllowableBearing = m.ByUnits(0.01, 0.5);
    m.Analyze();
    const TThinnestDesign none = FindThinnestDesign(m);
    ASSERT_FALSE(none.Found);
    ASSERT_FALSE(none.Reason.empty());
    const auto raises = [](const TMatData&, const TSearchProgress&) -> TThinnestDesign {
        throw std::runtime_error("out of memory");
    };
    const struct {
        const char* Name;
        TThinnestSearch Search;
        QString Status;
    } cases[] = {
        {"no design", {}, Utf8(none.Reason).replace(0, 1, Utf8(none.Reason).left(1).toUpper()) + u'.'},
        {"search raises", raises, QStringLiteral("The search stopped: out of memory")},
    };
    const std::string start = Record(m);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TThinnestDesignDialog dialog(m, window.get(), c.Search);
        dialog.show();
        AwaitAnswer(dialog);
        EXPECT_EQ(Part<QLabel>(dialog, "lblStatus").text(), c.Status);
        EXPECT_FALSE(HasApply(dialog));
        EXPECT_FALSE(Part<QTableWidget>(dialog, "tblProposal").isVisible());
        EXPECT_EQ(dialog.Proposal(), nullptr);
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    dialogs.OnModal = [](QDialog& d) {
        TThinnestDesignDialog& dialog = Shown(d);
        AwaitAnswer(dialog);
        EXPECT_EQ(Part<QLabel>(dialog, "lblCandidates").text(),
                  QStringLiteral("%1 candidates analyzed at %2 thicknesses.")
                      .arg(FormatLocaleGrouped(dialog.Design()->Candidates, 0))
                      .arg(FormatLocaleGrouped(dialog.Design()->Thicknesses, 0)));
        QTest::keyClick(&dialog, Qt::Key_Return);
    };
    ShowThinnestDesign(window.get(), window->Document(), dialogs);
    EXPECT_EQ(Record(m), start);
}

// The box in English and SI units under a decimal-comma locale, and while it
// searches, as PNG files beside the main window's screens: every text drawn
// whole in its cell, the numbers with the locale's separator.
TEST_F(ThinnestDesignDialogTest, ScreensInBothUnitSystemsAndWhileSearching) {
    const TScopedUserLocale locale("de_DE.UTF-8");
    if (!locale.Active()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const QDir folder(QStringLiteral(SLABWISE_SCREENS_DIR));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));

    const struct {
        const char* Example;
        const char* File;
        const char* Unit;
    } units[] = {
        {"Example English Units.ksw", "thinnest-design-english.png", "in²/ft"},
        {"Example SI Units.ksw", "thinnest-design-si.png", "mm²/m"},
    };
    for (const auto& u : units) {
        SCOPED_TRACE(u.File);
        OpenExample(u.Example);
        TThinnestDesignDialog dialog(window->Model(), window.get());
        dialog.show();
        AwaitAnswer(dialog);
        ASSERT_NE(dialog.Proposal(), nullptr);
        QApplication::processEvents();
        auto& table = Part<QTableWidget>(dialog, "tblProposal");
        EXPECT_TRUE(Row(dialog, QStringLiteral("Total steel per width, ")).first.size() > 0);
        bool unitSeen = false;
        for (int r = 0; r < table.rowCount(); ++r) {
            unitSeen |= table.item(r, 0)->text().endsWith(QString::fromUtf8(u.Unit));
            for (int c = 0; c < table.columnCount(); ++c) {
                const QString text = table.item(r, c)->text();
                EXPECT_LE(table.fontMetrics().horizontalAdvance(text) + 6, table.columnWidth(c))
                    << "clipped: " << text.toStdString();
                EXPECT_FALSE(text.contains(u'.') && text != QStringLiteral("N.A."))
                    << "a point in " << text.toStdString();
            }
        }
        EXPECT_TRUE(unitSeen);
        EXPECT_TRUE(Row(dialog, QStringLiteral("Thickness")).second.contains(u','));
        // The whole table and the buttons inside the box.
        EXPECT_TRUE(dialog.rect().contains(QRect(table.mapTo(&dialog, QPoint()), table.size())));
        const QImage shot = dialog.grab().toImage();
        ExpectDrawn(shot, u.File);
        for (const char* name : {"lblStatus", "lblCandidates", "btnApply", "btnCancel"})
            ExpectTextDrawn(shot, dialog, Part(dialog, name), name);
        EXPECT_TRUE(shot.save(folder.filePath(QLatin1String(u.File))));
    }

    // A project no design passes: the reason wraps inside the box.
    {
        TMatData weak = window->Model();
        weak.AllowableBearing = weak.ByUnits(0.01, 0.5);
        weak.Analyze();
        TThinnestDesignDialog none(weak, window.get());
        none.show();
        AwaitAnswer(none);
        QApplication::processEvents();
        QLabel& status = Part<QLabel>(none, "lblStatus");
        EXPECT_GE(status.height(), status.heightForWidth(status.width()));
        const QImage shot = none.grab().toImage();
        ExpectTextDrawn(shot, none, status, "reason");
        EXPECT_TRUE(shot.save(folder.filePath(QStringLiteral("thinnest-design-none.png"))));
    }

    TThinnestDesignDialog searching(window->Model(), window.get(), TEndlessSearch{});
    searching.show();
    auto& bar = Part<QProgressBar>(searching, "barProgress");
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar.value() == 400; }, 5000));
    const QImage shot = searching.grab().toImage();
    ExpectDrawn(shot, "searching");
    QLabel& status = Part<QLabel>(searching, "lblStatus");
    ExpectTextDrawn(shot, searching, status, "lblStatus");
    EXPECT_LE(status.fontMetrics().horizontalAdvance(status.text()), status.contentsRect().width());
    EXPECT_TRUE(shot.save(folder.filePath(QStringLiteral("thinnest-design-searching.png"))));
}

} // namespace
} // namespace slabwise::test
