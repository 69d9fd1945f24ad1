// The report's pages on a recording back end: order, red values, the
// summary, footers, the results table and the pictures.

#include "ReportRecorder.h"
#include "model/DesignChecks.h"
#include "model/FloatFault.h"
#include "model/JpegImage.h"
#include "model/PunchingShear.h"
#include "support/ScopedUserLocale.h"
#include "views/Graphs.h"
#include "views/LocaleNumber.h"

#include <QPainter>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <memory>

namespace slabwise::test {

namespace {

std::unique_ptr<TMatData> Example(const char* file) {
    auto mat = std::make_unique<TMatData>(std::filesystem::path{});
    mat->LoadFromFile(std::filesystem::path(SLABWISE_SOURCE_DATA) / file);
    try {
        mat->Analyze();
    } catch (const EFloatFault&) {
    }
    return mat;
}

struct TPaper {
    const char* Name;
    double Width;
    double Height;
};
const TPaper Papers[] = {{"Letter", 8.5, 11}, {"A4", 210 / 25.4, 297 / 25.4}};

struct TRun {
    std::unique_ptr<TMatData> Model;
    std::unique_ptr<TFakeSource> Source;
    std::unique_ptr<TRecordingBackEnd> Pages;

    explicit TRun(bool reinforced, const TPaper& paper = Papers[0],
                  const char* file = "Example English Units.ksw")
        : Model(Example(file)), Source(std::make_unique<TFakeSource>(*Model)),
          Pages(std::make_unique<TRecordingBackEnd>(paper.Width, paper.Height)) {
        Model->UseReinforcement = reinforced ? 1 : 0;
    }
    void Print() { RunReport(*Pages, *Source); }
    // A printed text in control names: "t40 t41" reads "Edit24 Label95".
    QString Names(const QString& text) const {
        QStringList words = text.split(u' ');
        for (QString& word : words)
            if (const QString name = Source->NameOf(word); !name.isEmpty()) word = name;
        return words.join(u' ');
    }
};

} // namespace

// Page 1 text, page 2 drawings, page 3 the reinforcement when it is used,
// then the two table pages and the graphs with the references; the
// reinforcement summary only when reinforcement is used.
TEST(ReportBody, PagesComeInTheirOrder) {
    struct TCase {
        bool Reinforced;
        int Pages;
        std::vector<std::pair<QString, int>> FirstPage;
    };
    const TCase cases[] = {
        {true,
         6,
         {{"Slabwise Analysis", 1},
          {"Results", 1},
          {"Plan", 2},
          {"Cross Section", 2},
          {"Loading", 2},
          {"Reinforcement", 3},
          {"Table of Results - Nodes 1 to 50", 4},
          {"Table of Results - Nodes 51 to 101", 5},
          {"References:", 6}}},
        {false,
         5,
         {{"Slabwise Analysis", 1},
          {"Results", 1},
          {"Plan", 2},
          {"Loading", 2},
          {"Reinforcement", 0},
          {"Table of Results - Nodes 1 to 50", 3},
          {"Table of Results - Nodes 51 to 101", 4},
          {"References:", 5}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Reinforced ? "reinforced" : "plain");
        TRun run(c.Reinforced);
        run.Print();
        EXPECT_EQ(run.Pages->Pages, c.Pages);
        for (const auto& [text, page] : c.FirstPage)
            EXPECT_EQ(run.Pages->PageOf(text), page) << text.toStdString();
        // The summary heading and the reinforcement page's heading.
        EXPECT_EQ(run.Pages->PageOf(run.Source->Text(QStringLiteral("Label172"))), c.Reinforced ? 1 : 0);
        EXPECT_EQ(run.Pages->PageOf(run.Source->Text(QStringLiteral("Label121"))), c.Reinforced ? 3 : 0);
        EXPECT_EQ(run.Pages->PageOf(QStringLiteral("7. Kelvane Slabwise Software v9.8.7")), c.Pages);
    }
}

// A failed check prints its values in red and nothing else: every text
// after them is black again.
TEST(ReportBody, RedExactlyWhereChecksFailed) {
    struct TCase {
        QStringList Failed;
        QStringList Red;
    };
    const TCase cases[] = {
        {{}, {}},
        {{"Image9"}, {"Edit24 Label95", "@", "Edit25 Label96"}},
        {{"Image3"}, {"Edit44 Label131"}},
        {{"Image5"}, {"Edit53 Label150"}},
        {{"Image4"}, {"Edit47 Label137"}},
        {{"Image6"}, {"Edit56 Label156"}},
        {{"Image10"}, {"Label140"}},
        {{"Image11"}, {"Label159"}},
        {{"Image7"}, {"Label170"}},
        {{"Image9", "Image4", "Image7"},
         {"Edit24 Label95", "@", "Edit25 Label96", "Edit47 Label137", "Label170"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Failed.join(u',').toStdString());
        TRun run(true);
        for (const QString& picture : c.Failed) run.Source->Failed.insert(picture);
        run.Print();
        QStringList red;
        const auto texts = run.Pages->Texts();
        // The list is exact, so a colour left red would show here too.
        for (const auto& op : run.Pages->Texts()) {
            if (op.Color == QColor(Qt::black)) continue;
            EXPECT_EQ(op.Color, QColor(255, 0, 0));
            red << run.Names(op.Text);
        }
        EXPECT_EQ(red, c.Red);
    }
}

// The summary sentence splits at its first carriage return only; without
// one, the first line is empty and the whole sentence is the second.
TEST(ReportBody, SummarySplitsAtItsFirstCarriageReturn) {
    struct TCase {
        QString Caption;
        QString First;
        QString Second;
    };
    const TCase cases[] = {
        {QStringLiteral("30.00 in Mat with 10 #7 bars top bars\rand 9 #8 bars bottom bars"),
         QStringLiteral("30.00 in Mat with 10 #7 bars top bars"),
         QStringLiteral("and 9 #8 bars bottom bars")},
        {QStringLiteral("one\rtwo\rthree"), QStringLiteral("one"), QStringLiteral("two\rthree")},
        {QStringLiteral("no return at all"), QString(), QStringLiteral("no return at all")},
    };
    for (const TCase& c : cases) {
        TRun run(true);
        run.Source->Texts[QStringLiteral("Label172")] = QStringLiteral("SUMMARY");
        run.Source->Texts[QStringLiteral("Label173")] = c.Caption;
        run.Print();
        const auto texts = run.Pages->Texts(1);
        auto heading = std::find_if(texts.begin(), texts.end(),
                                    [](const auto& op) { return op.Text == QStringLiteral("SUMMARY"); });
        ASSERT_NE(heading, texts.end());
        std::vector<TRecordingBackEnd::TOp> after(heading + 1, texts.end());
        // Only the footer follows the summary on page 1.
        after.erase(
            std::remove_if(after.begin(), after.end(), [](const auto& op) { return op.Font.Size == 9; }),
            after.end());
        const double lineHeight = 1.0 / 6;
        if (c.First.isEmpty()) {
            ASSERT_EQ(after.size(), 1u);
            EXPECT_EQ(after[0].Text, c.Second);
            EXPECT_NEAR(after[0].Y - heading->Y, 2 * lineHeight, 1e-9);
        } else {
            ASSERT_EQ(after.size(), 2u);
            EXPECT_EQ(after[0].Text, c.First);
            EXPECT_EQ(after[1].Text, c.Second);
            EXPECT_NEAR(after[0].Y - heading->Y, lineHeight, 1e-9);
            EXPECT_NEAR(after[1].Y - after[0].Y, lineHeight, 1e-9);
            EXPECT_DOUBLE_EQ(after[1].X, 1.0);
        }
    }
}

// Every page carries the footer: a rule 0.55 in above the paper's bottom,
// "  Kelvane" left, the page number right, the bold product and version
// in the middle, all at 9 pt.
TEST(ReportBody, FooterOnEveryPage) {
    for (const TPaper& paper : Papers)
        for (const bool reinforced : {true, false}) {
            SCOPED_TRACE(std::string(paper.Name) + (reinforced ? " reinforced" : " plain"));
            TRun run(reinforced, paper);
            run.Print();
            for (int page = 1; page <= run.Pages->Pages; ++page) {
                const auto lines = run.Pages->Lines(page);
                ASSERT_EQ(lines.size(), 1u) << "page " << page;
                EXPECT_NEAR(lines[0].Rect.top(), paper.Height - 0.55, 1e-9);
                EXPECT_NEAR(lines[0].Rect.left(), 1.0, 1e-9);
                EXPECT_NEAR(lines[0].Rect.right(), paper.Width - 1.0, 1e-9);
                QStringList footer;
                for (const auto& op : run.Pages->Texts(page)) {
                    if (op.Font.Size != 9) continue;
                    footer << op.Text;
                    EXPECT_EQ(op.Font.Bold, op.Text.startsWith(QLatin1String("Slabwise")));
                    EXPECT_LT(op.Y, paper.Height - 0.4);
                    EXPECT_GT(op.Y, paper.Height - 0.55);
                }
                EXPECT_EQ(footer, (QStringList{QStringLiteral("  Kelvane"), QString::number(page) + "  ",
                                               QStringLiteral("Slabwise v9.8.7")}));
            }
        }
}

// Nodes 1 to 50 on one page and 51 to 101 on the next, each page under the
// two header lines cut at the captions' first comma, with the units of the
// window's unit system.
TEST(ReportBody, ResultsTableSplitsAfterNode50WithItsHeaders) {
    struct TCase {
        uint8_t Units;
        QStringList Units2;
    };
    const TCase cases[] = {
        {UnitsEnglish, {"ft", "kips", "ft-kips", "deg", "in", "ksf"}},
        {UnitsSI, {"m", "kN", "kN-m", "deg", "mm", "kPa"}},
    };
    const QStringList names = {"Node #", "Dist. from left", "Shear",     "Moment",
                               "Slope",  "Deflection",      "Soil Press"};
    for (const TCase& c : cases) {
        TRun run(false);
        run.Source->Units = c.Units;
        run.Print();
        for (const auto& [title, first] :
             {std::pair{QStringLiteral("Table of Results - Nodes 1 to 50"), 1},
              std::pair{QStringLiteral("Table of Results - Nodes 51 to 101"), 51}}) {
            SCOPED_TRACE(title.toStdString());
            const int page = run.Pages->PageOf(title);
            ASSERT_GT(page, 0);
            QStringList bold;
            QStringList nodes;
            for (const auto& op : run.Pages->Texts(page)) {
                if (op.Font.Size != 10) continue;
                if (op.Font.Bold)
                    bold << op.Text;
                else if (op.X >= 1.0 && op.X < 1.6)
                    nodes << op.Text; // the first column
            }
            EXPECT_EQ(bold, names + c.Units2);
            QStringList expected;
            for (int n = first; n <= (first == 1 ? 50 : 101); ++n) expected << QString::number(n);
            EXPECT_EQ(nodes, expected);
        }
    }
}

// Values as wide as the SI example's and wider print at the size of their
// neighbours: their columns widen, nothing on page 1 is set smaller than the
// body's 10 pt, and the block of user points beside the results stays
// within the text margins.
TEST(ReportBody, WideValuesKeepTheBodySize) {
    TRun run(true);
    const QString wide = QStringLiteral("-1234.567");
    for (const char* edit : {"Edit14", "Edit16", "Edit18", "Edit20", "Edit22", "Edit24", "Edit26", "Edit31",
                             "Edit15", "Edit17", "Edit19", "Edit21", "Edit23", "Edit25", "Edit30"})
        run.Source->Texts[QLatin1String(edit)] = wide;
    for (const char* unit :
         {"Label77", "Label80", "Label84", "Label87", "Label91", "Label95", "Label98", "Label102", "Label78",
          "Label81", "Label85", "Label88", "Label92", "Label96", "Label99"})
        run.Source->Texts[QLatin1String(unit)] = QStringLiteral("ft-kips");
    for (const char* prefix : {"EditVx", "EditMx", "EditDx", "EditQx"})
        for (int i = 1; i <= UserPointCount; ++i)
            run.Source->Texts[QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i)] =
                QStringLiteral("-4.12053");
    run.Print();
    for (const auto& op : run.Pages->Texts(1)) {
        SCOPED_TRACE(op.Text.toStdString());
        EXPECT_GE(op.Font.Size, 9.0);
        if (op.Font.Size == 9) continue; // the footer
        EXPECT_GE(op.Font.Size, 10.0);
        EXPECT_LE(op.X + ReportTextWidth(op.Font, op.Text), 8.5 - 1.0 + 1e-9);
        if (op.Text.startsWith(wide)) {
            EXPECT_EQ(op.Text, wide + QStringLiteral(" ft-kips"));
        }
    }
}

// The four graphs line up their distance axes one above the other: the
// plot's left edge, the longest dark column near the left, is at one x in
// every picture (the SI example's deflections have shorter value labels
// than its shears).
TEST(ReportBody, GraphsLineUpTheirDistanceAxes) {
    TRun run(false, Papers[0], "Example SI Units.ksw");
    run.Print();
    const auto& images = run.Pages->Images;
    ASSERT_GE(images.size(), 4u);
    std::vector<int> axes;
    for (size_t k = images.size() - 4; k < images.size(); ++k) {
        const QImage image = images[k].convertToFormat(QImage::Format_RGB32);
        int best = -1, bestCount = 0;
        for (int x = 0; x < image.width() / 3; ++x) {
            int count = 0;
            for (int y = 0; y < image.height(); ++y) count += qGray(image.pixel(x, y)) < 128;
            if (count > bestCount) best = x, bestCount = count;
        }
        axes.push_back(best);
    }
    for (size_t k = 1; k < axes.size(); ++k) EXPECT_EQ(axes[k], axes[0]) << "graph " << k + 1;
}

// Every picture keeps its aspect ratio: the plan, section, loading and
// reinforcement drawings within the text margins and at exactly 200 px per
// inch, the four graphs one above the other
// at equal heights from half an inch below the paper's top. None reaches
// the footer, not even a loading drawing with every load slot in use.
TEST(ReportBody, PicturesKeepTheirAspectRatio) {
    for (const TPaper& paper : Papers)
        for (const bool allLoads : {false, true}) {
            SCOPED_TRACE(std::string(paper.Name) + (allLoads ? " all loads" : ""));
            TRun run(true, paper);
            if (allLoads) {
                TMatData& m = *run.Model;
                for (int n = 0; n < DistLoadCount; ++n)
                    m.DistLoads[n] = {Real(2 + 6 * n), Real(9 + 6 * n), Real(n % 2 ? -1.5 : 1.5), 0};
                for (int i = 0; i < PointLoadCount; ++i)
                    m.PointLoads[i] = {Real(1.5 + 3.8 * i), Real(i % 3 ? 40 + 10 * i : -30)};
                for (int n = 0; n < MomentCount; ++n)
                    m.Moments[n] = {Real(5 + 11 * n), Real(n % 2 ? -50 : 50)};
                m.Analyze();
            }
            run.Print();
            for (const auto& op : run.Pages->Pictures()) EXPECT_LT(op.Rect.bottom(), paper.Height - 0.55);
            for (const auto& op : run.Pages->Pictures())
                EXPECT_NEAR(op.Rect.height() / op.Rect.width(),
                            double(op.PictureSize.height()) / op.PictureSize.width(), 1e-9);

            const auto drawings = run.Pages->Pictures(2);
            ASSERT_EQ(drawings.size(), 3u);
            EXPECT_GT(drawings[1].Rect.top(), drawings[0].Rect.bottom());
            EXPECT_GT(drawings[2].Rect.top(), drawings[1].Rect.bottom());
            auto atTextWidth = [&](const TRecordingBackEnd::TOp& op) {
                EXPECT_NEAR(op.Rect.left(), 1.0, 1e-9);
                EXPECT_NEAR(op.Rect.right(), paper.Width - 1.0, 1e-9);
                EXPECT_EQ(op.PictureSize.width(), std::lround((paper.Width - 2) * 200));
            };
            for (const auto& drawing : drawings) atTextWidth(drawing);
            const auto reinforcement = run.Pages->Pictures(3);
            ASSERT_EQ(reinforcement.size(), 1u);
            atTextWidth(reinforcement[0]);

            const auto graphs = run.Pages->Pictures(run.Pages->Pages);
            ASSERT_EQ(graphs.size(), 4u);
            const double h = graphs[0].Rect.height();
            for (size_t k = 0; k < 4; ++k) {
                EXPECT_NEAR(graphs[k].Rect.left(), 0.5, 1e-9);
                EXPECT_NEAR(graphs[k].Rect.right(), paper.Width - 0.5, 1e-9);
                EXPECT_NEAR(graphs[k].Rect.top(), 0.5 + k * h, 1e-9);
                EXPECT_NEAR(graphs[k].Rect.height(), h, 1e-9);
            }
            // The references follow the last graph.
            const auto texts = run.Pages->Texts(run.Pages->Pages);
            const auto references = std::find_if(texts.begin(), texts.end(), [](const auto& op) {
                return op.Text == QStringLiteral("References:");
            });
            ASSERT_NE(references, texts.end());
            EXPECT_GT(references->Y, 0.5 + 4 * h);
        }
}

// The logo stands at the right margin beside the job block, exactly as tall
// as its five lines, shaped like the window's logo box; without a logo the
// first page has no picture and nothing else moves.
TEST(ReportBody, LogoBesideTheJobBlock) {
    TRgbPixels pixels;
    pixels.Width = 64;
    pixels.Height = 32;
    pixels.Rgb.assign(size_t{64} * 32 * 3, 200);
    const TJpegImage logo = TJpegImage::FromPixels(pixels);

    TRun without(false);
    without.Print();
    EXPECT_TRUE(without.Pages->Pictures(1).empty());

    for (const QSize box : {QSize(146, 73), QSize(73, 73), QSize(173, 73)}) {
        SCOPED_TRACE(box.width());
        TRun run(false);
        run.Model->AssignLogo(&logo);
        run.Source->LogoBox = box;
        run.Print();
        const auto pictures = run.Pages->Pictures(1);
        ASSERT_EQ(pictures.size(), 1u);
        const QRectF r = pictures[0].Rect;
        EXPECT_EQ(pictures[0].PictureSize, QSize(64, 32));
        EXPECT_NEAR(r.right(), 8.5 - 1, 1e-9);
        EXPECT_NEAR(r.height(), 5.0 / 6, 1e-9);
        EXPECT_NEAR(r.width(), r.height() * box.width() / box.height(), 1e-9);
        // The job block's first line starts at the logo's top.
        EXPECT_NEAR(r.top(), 1 + 16.0 / 60, 1e-9);
        // The rest of the page is where it is without a logo.
        const auto a = run.Pages->Texts(1);
        const auto b = without.Pages->Texts(1);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) EXPECT_DOUBLE_EQ(a[i].Y, b[i].Y);
    }
}

namespace {

// The example's point loads replaced: columns that fail, pass with a moment
// at them, stand under an upward load and beyond the strip's end; and one
// without its size across the strip, which is no column.
void PunchingColumns(TMatData& m) {
    m.PointLoads = {};
    m.Columns = {};
    m.Moments = {};
    m.PointLoads[1] = {10, 3000};
    m.Columns[1] = {12, 12};
    m.PointLoads[3] = {25, 100};
    m.Columns[3] = {30, 30};
    m.Moments[0] = {25.5L, 80};
    m.PointLoads[6] = {35, -40};
    m.Columns[6] = {16, 16};
    m.PointLoads[8] = {40, 100};
    m.Columns[8] = {16, 0};
    m.PointLoads[9] = {m.StripLength + 1, 50};
    m.Columns[9] = {16, 16};
    try {
        m.Analyze();
    } catch (const EFloatFault&) {
    }
}

// The texts printed on one baseline, left to right.
QStringList LineAt(const std::vector<TRecordingBackEnd::TOp>& texts, double y) {
    std::vector<TRecordingBackEnd::TOp> line;
    for (const auto& op : texts)
        if (std::fabs(op.Y - y) < 1e-9 && op.Font.Size == 10) line.push_back(op);
    std::sort(line.begin(), line.end(), [](const auto& a, const auto& b) { return a.X < b.X; });
    QStringList out;
    for (const auto& op : line) out << op.Text;
    return out;
}

} // namespace

// The reinforcement page shows a line per column under the table's
// headings, its numbers as the boxes show them under the user's locale; the
// values of a failing column in red and nothing else; a column that is not
// checked reads "N.A." with its reason, and one with a moment at it says
// that the moment is not transferred. A project without columns has no
// such block.
TEST(ReportBody, PunchingBlockOnTheReinforcementPage) {
    const TScopedUserLocale german("de_DE.UTF-8");
    ASSERT_TRUE(german.Active());
    TRun run(true);
    run.Print();
    EXPECT_EQ(run.Pages->PageOf(QStringLiteral("Punching Shear")), 0);

    TRun columns(true);
    TMatData& m = *columns.Model;
    PunchingColumns(m);
    const TPunchingResult failing = EvaluatePunching(m, 1), passing = EvaluatePunching(m, 3);
    ASSERT_EQ(failing.State, TPunchingState::Checked);
    ASSERT_FALSE(failing.Passes);
    ASSERT_EQ(passing.State, TPunchingState::Checked);
    ASSERT_TRUE(passing.Passes);
    ASSERT_TRUE(passing.MomentAtColumn);
    ASSERT_EQ(EvaluatePunching(m, 6).State, TPunchingState::NotLoaded);
    columns.Print();
    EXPECT_EQ(columns.Pages->PageOf(QStringLiteral("Punching Shear")), 3);
    const auto texts = columns.Pages->Texts(3);
    const auto at = [&](const QString& text) {
        const auto op =
            std::find_if(texts.begin(), texts.end(), [&](const auto& o) { return o.Text == text; });
        return op == texts.end() ? -1.0 : op->Y;
    };
    const double title = at(QStringLiteral("Punching Shear"));
    ASSERT_GT(title, 0);
    const double line = 1.0 / 6;
    EXPECT_EQ(LineAt(texts, title + line), (QStringList{"Load", "Section", "b0, in", "d, in", "Vu, kips",
                                                        "\u03c6Vn, kips", "Utilization"}));
    for (const auto& op : texts)
        if (std::fabs(op.Y - (title + line)) < 1e-9) {
            EXPECT_TRUE(op.Font.Bold) << op.Text.toStdString();
        }

    const auto cells = [](const TPunchingResult& r, const char* section) {
        const auto util = [](Real u) {
            return FormatLocaleFixed(u, UtilizationDecimals(u), 18) + QLatin1Char('%');
        };
        // Lengths with two decimals and forces with one, never cut to an
        // input's range: b0 here is above the 120 in a column may measure.
        return QStringList{QLatin1String(section),        FormatLocaleFixed(r.B0, 2),
                           FormatLocaleFixed(r.D, 2),     FormatLocaleFixed(r.Vu, 1),
                           FormatLocaleFixed(r.PhiVn, 1), util(r.Util)};
    };
    const QStringList failed =
        cells(failing, failing.Governing == TPunchingSection::Edge ? "Edge" : "Interior");
    const QStringList passed =
        cells(passing, passing.Governing == TPunchingSection::Edge ? "Edge" : "Interior");
    EXPECT_TRUE(failed[1].contains(u',')) << failed[1].toStdString();
    EXPECT_GT(failing.B0, 120);
    ASSERT_GT(at(QStringLiteral("#2")), 0);
    EXPECT_EQ(LineAt(texts, at(QStringLiteral("#2"))), QStringList{"#2"} + failed);
    EXPECT_EQ(LineAt(texts, at(QStringLiteral("#4"))), QStringList{"#4"} + passed);
    EXPECT_EQ(LineAt(texts, at(QStringLiteral("#4")) + line),
              QStringList{"The applied moment at the column is not transferred by eccentric shear in this "
                          "check"});
    EXPECT_EQ(
        LineAt(texts, at(QStringLiteral("#7"))),
        (QStringList{"#7", "N.A.", "The load is upward or zero, so the column does not punch the strip"}));
    // A column that cannot be checked fails, in red.
    EXPECT_EQ(LineAt(texts, at(QStringLiteral("#10"))),
              (QStringList{"#10", "N.A.", "The column stands outside the strip"}));
    // In load order, one line after the other; no line for #9.
    EXPECT_NEAR(at(QStringLiteral("#2")), title + 2 * line, 1e-9);
    EXPECT_NEAR(at(QStringLiteral("#7")), title + 5 * line, 1e-9);
    EXPECT_NEAR(at(QStringLiteral("#10")), title + 6 * line, 1e-9);
    EXPECT_EQ(at(QStringLiteral("#9")), -1.0);

    QStringList red;
    for (const auto& op : columns.Pages->Texts())
        if (op.Color != QColor(Qt::black)) {
            EXPECT_EQ(op.Color, QColor(255, 0, 0));
            red << op.Text;
        }
    EXPECT_EQ(red, failed.mid(3) + QStringList({"N.A.", "The column stands outside the strip"}));
    // The reinforcement drawing follows the block on its page.
    const auto pictures = columns.Pages->Pictures(3);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_GT(pictures[0].Rect.top(), at(QStringLiteral("#10")));
}

// Twelve columns, each with its remark, fit above the bottom margin, or on
// paper too short for them go on under the headings on the next page; the
// reinforcement drawing keeps room to be read.
TEST(ReportBody, TwelveColumnsContinueOnTheNextPage) {
    const struct {
        TPaper Paper;
        bool Continues;
    } cases[] = {{Papers[0], false}, {Papers[1], false}, {{"short", 8.5, 8.5}, true}};
    for (const auto& [paper, continues] : cases) {
        SCOPED_TRACE(paper.Name);
        TRun run(true, paper);
        TMatData& m = *run.Model;
        // Close together, so that the one moment stands at every column.
        for (int i = 0; i < PointLoadCount; ++i) {
            m.PointLoads[i] = {Real(10 + 0.12 * i), Real(i == 5 ? -30 : 100 + 20 * i)};
            m.Columns[i] = {20, 20};
        }
        m.Moments = {};
        m.Moments[0] = {Real(10.66), 40};
        m.Analyze();
        run.Print();
        const double bottom = paper.Height - 1.0;
        // The block: from its title to the drawing after it.
        const auto& ops = run.Pages->Ops;
        const auto title = std::find_if(ops.begin(), ops.end(), [](const auto& op) {
            return op.Text == QStringLiteral("Punching Shear");
        });
        ASSERT_NE(title, ops.end());
        EXPECT_EQ(title->Page, 3);
        const auto drawing = std::find_if(
            title, ops.end(), [](const auto& op) { return op.Kind == TRecordingBackEnd::TKind::Picture; });
        ASSERT_NE(drawing, ops.end());
        std::map<QString, int> seen;
        int remarks = 0;
        for (auto op = title; op != drawing; ++op) {
            if (op->Kind != TRecordingBackEnd::TKind::Text || op->Font.Size == 9) continue; // the footer
            EXPECT_LE(op->Y, bottom + 1e-9) << op->Text.toStdString();
            EXPECT_LE(op->X + ReportTextWidth(op->Font, op->Text), paper.Width - 1.0 + 1e-9)
                << op->Text.toStdString();
            if (op->Text.startsWith(u'#') && op->X == 1.0) ++seen[op->Text];
            remarks += op->Text.startsWith(QLatin1String("The applied moment"));
        }
        EXPECT_EQ(seen.size(), size_t(PointLoadCount));
        for (const auto& [load, count] : seen) EXPECT_EQ(count, 1) << load.toStdString();
        EXPECT_EQ(remarks, PointLoadCount - 1);
        // Too long for one page, it goes on under its headings.
        const int last = run.Pages->PageOf(QStringLiteral("#12"));
        EXPECT_EQ(last, continues ? 4 : 3);
        EXPECT_EQ(run.Pages->PageOf(QStringLiteral("Punching Shear (continued)")), continues ? 4 : 0);
        for (int page = 3; page <= last; ++page) {
            int headings = 0;
            for (const auto& op : run.Pages->Texts(page))
                headings += op.Text == QStringLiteral("Utilization");
            EXPECT_EQ(headings, 1);
        }
        EXPECT_GE(drawing->Rect.height(), 1.5);
        EXPECT_LT(drawing->Rect.bottom(), paper.Height - 0.55);
    }
}

} // namespace slabwise::test

namespace slabwise::test {

// The graphs page shows each graph as drawing all four twice would, the
// second time with every plot at the left edge of the widest: whichever
// graphs it draws again, and however, for loads whose value labels make
// each graph in turn the widest.
TEST(ReportGraphs, EachGraphAsAllFourDrawnAgainAtTheWidestLeftEdge) {
    const struct {
        const char* File;
        double Loads;
        bool NoTension;
    } cases[] = {{"Example English Units.ksw", 1, false},     {"Example SI Units.ksw", 1, false},
                 {"Example English Units.ksw", 1, true},      {"Example English Units.ksw", 1000, false},
                 {"Example English Units.ksw", 0.001, false}, {"Example SI Units.ksw", -30, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.File) + " x" + std::to_string(c.Loads) +
                     (c.NoTension ? " no tension" : ""));
        auto mat = std::make_unique<TMatData>(std::filesystem::path{});
        mat->LoadFromFile(std::filesystem::path(SLABWISE_SOURCE_DATA) / c.File);
        mat->FullUniformLoad *= c.Loads;
        for (auto& load : mat->PointLoads) load.P *= c.Loads;
        for (auto& load : mat->DistLoads) load.wb *= c.Loads;
        for (auto& moment : mat->Moments) moment.M *= c.Loads;
        mat->SoilTakesNoTension = c.NoTension ? 1 : 0;
        try {
            mat->Analyze();
        } catch (const EFloatFault&) {
        }
        TRecordingBackEnd pages(8.5, 11);
        ReportCanvas canvas(pages, ReportSystem1DecodeImage);
        canvas.SetFont(QString::fromLatin1(ReportFontFace), 10);
        const double r =
            (canvas.PageWidth() - 1.0) / ((canvas.PageHeight() - 1.2 - 10 * canvas.LineHeight()) / 4);
        PrintGraphsPage(canvas, *mat);
        ASSERT_EQ(pages.Images.size(), 4u);

        TfrmGraphs graphs;
        graphs.PrepareForPrint(r);
        graphs.ShowResults(*mat, TfrmGraphs::grAll);
        int left = 0;
        for (uint8_t k = TfrmGraphs::grShear; k <= TfrmGraphs::grPressure; ++k)
            left = std::max(left, graphs.Graph(k).PlotRect.left());
        graphs.Chart1.PlotLeft = left;
        graphs.ShowResults(*mat, TfrmGraphs::grAll);
        for (uint8_t k = 0; k < 4; ++k) {
            QImage expected = graphs.Picture(static_cast<uint8_t>(TfrmGraphs::grShear + k))
                                  .convertToFormat(QImage::Format_RGB32);
            {
                QPainter painter(&expected);
                painter.fillRect(0, 0, 2, expected.height(), Qt::white);
            }
            EXPECT_TRUE(pages.Images[k] == expected) << "graph " << int(k + 1);
        }
    }
}

} // namespace slabwise::test
