// The text sections of the report, in the order they appear on paper.

#include "FormTexts.h"
#include "Report.h"
#include "model/PunchingShear.h"
#include "model/PunchingTable.h"
#include "model/ResultTexts.h"
#include "views/LocaleNumber.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace slabwise {

namespace {

const QColor FailedRed(255, 0, 0);
constexpr double BodySize = 10;
constexpr double HeadingSize = 12;
constexpr double TitleSize = 16;
constexpr double FooterSize = 9;
// Inches kept beside the widest value of a column.
constexpr double ValueRoom = 0.08;
// The widths in inches of the punching table's columns: load,
// section, the four numbers and the utilisation. They fit A4's text width.
constexpr std::array PunchingWidths{0.55, 0.85, 0.8, 0.75, 1.0, 1.0, 1.2};
static_assert(PunchingWidths.size() == PunchingHeadings.size());
// The least of the page a drawing after the table is left, in inches;
// with less the drawing goes to the next page.
constexpr double LeastDrawingRoom = 2.5;

// A cell of a tab stop: a caption is cut to fit, a value is set smaller
// first so its unit stays.
struct TCell {
    TCell(QString text, TFit fit = TFit::Cut) : Text(std::move(text)), Fit(fit) {}
    QString Text;
    TFit Fit;
};

// Shorthands for one report run.
class TWriter {
public:
    TWriter(ReportCanvas& canvas, const TReportSource& source) : c(canvas), s(source) {}

    ReportCanvas& c;
    const TReportSource& s;

    QString T(const char* control) const { return s.Text(QLatin1String(control)); }
    QString T(const QString& control) const { return s.Text(control); }
    // A value, alone or followed by its unit caption.
    TCell E(const QString& value) const { return {T(value), TFit::Shrink}; }
    TCell E(const char* value) const { return {T(value), TFit::Shrink}; }
    TCell V(const char* value, const char* unit) const { return {T(value) + u' ' + T(unit), TFit::Shrink}; }
    void Font(double size) { c.SetFont(QString::fromLatin1(ReportFontFace), size); }
    void Heading(const QString& text) {
        Font(HeadingSize);
        c.SetBold(true);
        c.PrintText(text);
        Font(BodySize);
    }
    void Put(const TCell& cell) { c.PrintInTab(cell.Text, cell.Fit); }
    void Row(std::initializer_list<TCell> cells) {
        for (const TCell& cell : cells) c.PrintInTab(cell.Text, cell.Fit);
        c.NewLine();
    }
    // A cell in red when its check failed, black again afterwards.
    void Checked(const TCell& cell, const char* picture) {
        if (s.CheckFailed(QLatin1String(picture))) c.SetFontColor(FailedRed);
        c.PrintInTab(cell.Text, cell.Fit);
        c.SetFontColor(Qt::black);
    }
    void BoldAt(double x, const QString& text, const char* picture = nullptr) {
        c.SetPosition(x, c.CurrentY());
        c.SetBold(true);
        if (picture && s.CheckFailed(QLatin1String(picture))) c.SetFontColor(FailedRed);
        c.PrintText(text);
        c.SetFontColor(Qt::black);
        c.SetBold(false);
    }
    void TabSetA() {
        c.ClearTabs();
        c.AddTab(1.0, TJustify::Left, 1.5);
        c.AddTab(2.5, TJustify::Right, 1.0);
        c.AddTab(4.0, TJustify::Left, 1.5);
        c.AddTab(5.5, TJustify::Right, 1.0);
    }

    void Title();
    void JobBlock();
    void Geometry();
    void Loadings();
    void Results();
    void Summary();
    void ReinforcementPage();
    void PunchingBlock();
    void References();

private:
    void PunchingTabs();
    void PunchingTitle(const QStringList& headings, bool continued);
};

void TWriter::Title() {
    c.MarginLeft = c.MarginRight = c.MarginTop = c.MarginBottom = 1.0;
    c.SetPosition(c.MarginLeft, c.MarginTop);
    Font(TitleSize);
    c.SetBold(true);
    c.PrintCentered(QStringLiteral("Slabwise Analysis"), c.PageWidth() / 2);
    c.NewLine();
}

void TWriter::JobBlock() {
    const double y1 = c.CurrentY();
    c.ClearTabs();
    Font(BodySize);
    c.AddTab(1.0, TJustify::Left, 1.0);
    c.AddTab(2.0, TJustify::Left, 2.0);
    const std::pair<const char*, const char*> rows[] = {{"Label57", "Edit28"},
                                                        {"Label59", "Edit33"},
                                                        {"Label55", "Edit27"},
                                                        {"Label58", "Edit29"},
                                                        {"Label56", "DateTimePicker1"}};
    for (const auto& [label, value] : rows) {
        c.PrintInTab(T(label) + QStringLiteral(": "));
        c.SetBold(true);
        c.PrintInTab(T(value));
        c.SetBold(false);
        c.NewLine();
    }
    const double y2 = c.CurrentY();
    c.NewLine();
    c.ClearTabs();

    // The logo stands at the right margin beside the job block, as tall as
    // the block, with the shape the window gives it.
    const TMatData& m = s.Model();
    const QSize box = s.LogoBoxSize();
    if (m.Logo && box.width() > 0 && box.height() > 0) {
        const double x2 = c.PageWidth() - 1;
        const double x1 = x2 - (y2 - y1) * box.width() / box.height();
        const auto& bytes = m.Logo->Bytes();
        c.DrawPicture(
            x1, y1, x2, y2,
            QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())),
            QStringLiteral("JPG"));
    }
}

void TWriter::Geometry() {
    c.NewLine();
    Heading(T("Label1").trimmed());
    c.NewLine();
    c.NewLine();
    TabSetA();
    Row({T("Label176"), T("ComboBox5"), T("Label69"), V("Edit11", "Label70")});
    Row({T("Label4"), V("Edit1", "Label5"), T("Label71"), E("Edit12")});
    Row({T("Label6"), V("Edit2", "Label7"), T("Label73"), E("Edit13")});
    c.PrintInTab(T("Label8"));
    Put(V("Edit3", "Label9"));
    c.SetPosition(c.TabLeft(3), c.CurrentY());
    c.PrintText(T("Label108"));
    c.NewLine();
    Row({T("Label178"), V("Edit63", "Label179"), T("Label104"), V("Edit32", "Label105")});
    Row({T("Label10"), V("Edit4", "Label11"), T("Label107"), V("Edit34", "Label106")});
    c.PrintInTab(T("Label12"));
    Put(V("Edit5", "Label13"));
    c.SetPosition(c.TabLeft(3), c.CurrentY());
    c.PrintText(T("Label111"));
    c.NewLine();
    Row({T("Label174"), V("Edit62", "Label175"), T("Label109"), V("Edit35", "Label110")});
    Row({QString(), QString(), T("Label112"), V("Edit36", "Label113")});
    c.SetBold(true);
    c.PrintText(T("Label72"));
    c.SetBold(false);
    Row({QString(), QString(), T("Label114"), V("Edit37", "Label115")});
    // The option changes every result, so the sheet says so with the zones.
    if (const TMatData& m = s.Model(); m.SoilTakesNoTension) {
        c.PrintText(QStringLiteral("Soil takes no tension; contact zones: ") +
                    QString::fromStdString(ContactZonesText(m, LocaleDecimalSeparator().toLatin1())));
        c.NewLine();
    }
    c.NewLine();
    c.NewLine();
    c.ClearTabs();
}

void TWriter::Loadings() {
    Heading(T("Label24").trimmed());
    c.NewLine();
    c.AddTab(1.0, TJustify::Left, 1.5);
    c.AddTab(2.5, TJustify::Right, 1.0);
    c.NewLine();
    c.PrintInTab(T("Label34"));
    Put(V("Edit10", "Label35"));
    c.NewLine();
    c.NewLine();
    c.ClearTabs();

    c.AddTab(1.0, TJustify::Center, 0.2);
    for (int i = 0; i < 3; ++i) c.AddTab(ReportCanvas::AfterPrevious, TJustify::Center, 0.7);
    c.AddTab(3.7, TJustify::Center, 0.3);
    for (int i = 0; i < 2; ++i) c.AddTab(ReportCanvas::AfterPrevious, TJustify::Center, 0.7);
    c.AddTab(5.9, TJustify::Center, 0.2);
    for (int i = 0; i < 2; ++i) c.AddTab(ReportCanvas::AfterPrevious, TJustify::Center, 0.7);

    c.SetBold(true);
    c.PrintText(T("Label25"));
    c.SetPosition(c.TabLeft(5), c.CurrentY());
    c.PrintText(T("Label38"));
    c.SetPosition(c.TabLeft(8), c.CurrentY());
    c.PrintText(T("Label61"));
    c.SetBold(false);
    c.NewLine();
    Row({QString(), T("Label23"), T("Label26"), T("Label27"), QString(), T("Label37"), T("Label39"),
         QString(), T("Label60"), T("Label62")});

    // The "#n" captions of the window's rows.
    static const char* const DistRows[] = {"Label22", "Label29", "Label30", "Label31", "Label32", "Label33"};
    static const char* const PointRows[] = {"Label36", "Label42", "Label43", "Label44", "Label45", "Label46",
                                            "Label47", "Label48", "Label49", "Label50", "Label51", "Label53"};
    static const char* const MomentRows[] = {"Label54", "Label65", "Label66", "Label67"};
    auto box = [this](const char* prefix, int n, const char* suffix) {
        return E(QStringLiteral("%1%2%3").arg(QLatin1String(prefix)).arg(n).arg(QLatin1String(suffix)));
    };
    for (int n = 1; n <= PointLoadCount; ++n) {
        if (n <= DistLoadCount) {
            c.PrintInTab(T(DistRows[n - 1]));
            for (const char* suffix : {"b", "wb", "e"}) Put(box("EditDist", n, suffix));
        } else {
            for (int i = 0; i < 4; ++i) c.PrintInTab(QString());
        }
        c.PrintInTab(T(PointRows[n - 1]));
        Put(box("EditPoint", n, "a"));
        Put(box("EditPoint", n, "p"));
        if (n <= MomentCount) {
            c.PrintInTab(T(MomentRows[n - 1]));
            Put(box("EditMom", n, "c"));
            Put(box("EditMom", n, "m"));
        }
        c.NewLine();
    }
    c.NewLine();
    c.ClearTabs();
}

void TWriter::Results() {
    Heading(QStringLiteral("Results"));
    c.NewLine();
    const QString at = QStringLiteral("@");
    // Each row: caption, value, location, and the picture whose failed check
    // prints the row's value in red.
    struct TResultRow {
        QString Caption;
        TCell Value;
        TCell Where;
        const char* Check = nullptr;
    };
    const TResultRow rows[] = {
        {T("Label76"), V("Edit14", "Label77"), V("Edit15", "Label78")},
        {QString(), V("Edit16", "Label80"), V("Edit17", "Label81")},
        {T("Label83"), V("Edit18", "Label84"), V("Edit19", "Label85")},
        {QString(), V("Edit20", "Label87"), V("Edit21", "Label88")},
        {T("Label90"), V("Edit22", "Label91"), V("Edit23", "Label92")},
        {T("Label94"), V("Edit24", "Label95"), V("Edit25", "Label96"), "Image9"},
        {T("Label177"), V("Edit26", "Label98"), V("Edit30", "Label99")},
        {T("Label101"), V("Edit31", "Label102"), TCell(QString())},
    };
    // A value column is as wide as its widest value, so every value prints
    // at the size of its neighbours.
    const TReportFont body{QString::fromLatin1(ReportFontFace), BodySize, false};
    const auto widest = [&](double least, auto&& texts) {
        double width = least;
        for (const QString& text : texts) width = std::max(width, c.TextWidth(body, text) + ValueRoom);
        return width;
    };
    QStringList values, places;
    for (const TResultRow& row : rows) {
        values << row.Value.Text;
        places << row.Where.Text;
    }
    const double valueWidth = widest(0.7, values), placeWidth = widest(0.7, places);
    c.AddTab(1.0, TJustify::Left, 1.1);
    c.AddTab(ReportCanvas::AfterPrevious, TJustify::Right, valueWidth);
    c.AddTab(ReportCanvas::AfterPrevious, TJustify::Right, 0.3);
    c.AddTab(ReportCanvas::AfterPrevious, TJustify::Right, placeWidth);
    const double resultsEnd = 1.0 + 1.1 + valueWidth + 0.3 + placeWidth;
    c.NewLine();
    const double yR = c.CurrentY();
    for (const TResultRow& row : rows) {
        c.PrintInTab(row.Caption);
        if (row.Check) {
            Checked(row.Value, row.Check);
            Checked(at, row.Check);
            Checked(row.Where, row.Check);
        } else if (!row.Where.Text.isEmpty()) {
            Put(row.Value);
            c.PrintInTab(at);
            Put(row.Where);
        } else {
            Put(row.Value);
        }
        c.NewLine();
    }
    c.PrintText(T("Label103"));
    c.ClearTabs();
    const double remarkY = c.CurrentY();
    const double remarkX = c.CurrentX();

    // The user-designated points beside the results, their columns as wide
    // as their widest value; the block moves right of wide results and
    // gives its captions less room before a value would be set smaller.
    const std::pair<const char*, const char*> results[] = {
        {"Label117", "EditVx"}, {"Label118", "EditMx"}, {"Label119", "EditDx"}, {"Label120", "EditQx"}};
    QStringList points;
    for (const char* edit : {"Edit6", "Edit7", "Edit8", "Edit9"}) points << T(edit);
    for (const auto& [label, prefix] : results)
        for (int i = 1; i <= UserPointCount; ++i)
            points << T(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i));
    double column = widest(0.6, points);
    const double right = c.PageWidth() - c.MarginRight;
    double left = std::max(4.0, resultsEnd + 0.2);
    double captions = 1.0;
    const auto over = [&] { return left + captions + UserPointCount * column > right; };
    if (over()) captions = std::max(0.75, right - left - UserPointCount * column);
    if (over()) left = std::max(resultsEnd + 0.05, right - captions - UserPointCount * column);
    // Only values too wide for the page beside the results are set smaller.
    if (over()) column = std::max(0.6, (right - left - captions) / UserPointCount);
    if (over()) left = right - captions - UserPointCount * column;
    c.SetPosition(left, yR);
    c.SetBold(true);
    c.PrintText(T("Label3"));
    c.SetBold(false);
    c.NewLine();
    c.NewLine();
    c.AddTab(left, TJustify::Left, captions);
    for (int i = 0; i < UserPointCount; ++i) c.AddTab(ReportCanvas::AfterPrevious, TJustify::Center, column);
    Row({QString(), QStringLiteral("x1"), QStringLiteral("x2"), QStringLiteral("x3"), QStringLiteral("x4")});
    Row({T("Label15"), E("Edit6"), E("Edit7"), E("Edit8"), E("Edit9")});
    for (const auto& [label, prefix] : results) {
        c.PrintInTab(T(label));
        for (int i = 1; i <= UserPointCount; ++i)
            c.PrintInTab(T(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i)), TFit::Shrink);
        c.NewLine();
    }
    c.ClearTabs();
    // Both blocks end on the line of the bearing-area remark.
    c.SetPosition(remarkX, remarkY);
}

void TWriter::Summary() {
    c.NewLine();
    c.SetBold(true);
    c.PrintText(T("Label172"));
    c.SetBold(false);
    c.NewLine();
    const QString summary = T("Label173");
    const qsizetype cr = summary.indexOf(QLatin1Char('\r'));
    c.PrintText(cr < 0 ? QString() : summary.left(cr));
    c.NewLine();
    c.PrintText(cr < 0 ? summary : summary.mid(cr + 1));
}

void TWriter::ReinforcementPage() {
    Heading(T("Label121").trimmed());
    c.NewLine();
    c.NewLine();
    TabSetA();
    Row({T("Label17"), V("Edit38", "Label19"), T("Label180"), E("Edit64")});
    Row({T("Label21"), V("Edit39", "Label116"), T("Label182"), E("Edit65")});
    Row({T("Label171"), T("ComboBox4")});
    c.NewLine();
    c.SetBold(true);
    c.PrintText(T("Label122"));
    c.SetPosition(c.TabLeft(3), c.CurrentY());
    c.PrintText(T("Label141"));
    c.SetBold(false);
    c.NewLine();
    Row({T("Label123"), V("Edit40", "Label124"), T("Label142"), V("Edit49", "Label143")});
    Row({T("Label125"), T("ComboBox2"), T("Label144"), T("ComboBox3")});
    Row({T("Label126"), V("Edit41", "Label127"), T("Label145"), V("Edit50", "Label146")});
    Row({T("Label128"), E("Edit42"), T("Label147"), E("Edit51")});
    Row({T("Label130"), E("Edit43"), T("Label148"), E("Edit52")});
    c.PrintInTab(T("Label129"));
    Checked(V("Edit44", "Label131"), "Image3");
    c.PrintInTab(T("Label149"));
    Checked(V("Edit53", "Label150"), "Image5");
    c.NewLine();
    Row({T("Label132"), V("Edit45", "Label133"), T("Label151"), V("Edit54", "Label152")});
    Row({T("Label134"), V("Edit46", "Label135"), T("Label153"), V("Edit55", "Label154")});
    c.PrintInTab(T("Label136"));
    Checked(V("Edit47", "Label137"), "Image4");
    c.PrintInTab(T("Label155"));
    Checked(V("Edit56", "Label156"), "Image6");
    c.NewLine();
    Row({T("Label138"), V("Edit48", "Label139"), T("Label157"), V("Edit57", "Label158")});

    BoldAt(c.MarginLeft, T("Label140"), "Image10");
    BoldAt(c.TabLeft(3), T("Label159"), "Image11");
    c.NewLine();
    c.NewLine();
    BoldAt(c.MarginLeft, T("Label160"));
    BoldAt(c.TabLeft(3), T("Label165"));
    c.NewLine();
    Row({T("Label163"), V("Edit58", "Label161"), T("Label168"), V("Edit60", "Label166")});
    Row({T("Label164"), V("Edit59", "Label162"), T("Label169"), V("Edit61", "Label167")});
    BoldAt(c.TabLeft(3), T("Label170"), "Image7");
    c.NewLine();
    c.NewLine();
    c.ClearTabs();
    const bool columns = AnyColumn(s.Model());
    if (columns) PunchingBlock();
    c.NewLine();
    c.NewLine();
    if (columns && c.PageHeight() - c.MarginBottom - c.CurrentY() < LeastDrawingRoom) c.NewPage();
}

void TWriter::PunchingTabs() {
    c.ClearTabs();
    c.AddTab(c.MarginLeft, TJustify::Left, PunchingWidths[0]);
    c.AddTab(ReportCanvas::AfterPrevious, TJustify::Left, PunchingWidths[1]);
    for (size_t i = 2; i < PunchingWidths.size(); ++i)
        c.AddTab(ReportCanvas::AfterPrevious, TJustify::Right, PunchingWidths[i]);
}

void TWriter::PunchingTitle(const QStringList& headings, bool continued) {
    c.SetBold(true);
    c.PrintText(continued ? QStringLiteral("Punching Shear (continued)") : QStringLiteral("Punching Shear"));
    c.NewLine();
    for (const QString& heading : headings) c.PrintInTab(heading);
    c.SetBold(false);
    c.NewLine();
}

// The words of text in lines no wider than width inches; a word wider
// than that is cut.
QStringList Wrapped(const ReportCanvas& c, const QString& text, double width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (line.isEmpty() || c.TextWidth(c.Font(), longer) <= width) {
            line = longer;
            continue;
        }
        lines << c.Fitted(line, width);
        line = word;
    }
    if (!line.isEmpty()) lines << c.Fitted(line, width);
    return lines;
}

// A line per column, its reason or remark wrapped under it; a table longer
// than the page goes on under its headings on the next one.
void TWriter::PunchingBlock() {
    const TPunchingTableTexts table = PunchingTableTexts(s.Model());
    const double bottom = c.PageHeight() - c.MarginBottom;
    const double right = c.PageWidth() - c.MarginRight;
    const auto room = [&](qsizetype lines) {
        return c.CurrentY() + static_cast<double>(lines) * c.LineHeight() <= bottom + 1e-9;
    };
    PunchingTabs();
    // The headings never stand alone at the foot of a page.
    if (!room(3)) c.NewPage();
    PunchingTitle(table.Headings, false);
    for (const TPunchingLine& line : table.Lines) {
        const QColor ink = line.Failed ? FailedRed : QColor(Qt::black);
        const QStringList reason =
            line.Checked ? QStringList() : Wrapped(c, line.Cells[2], right - c.TabLeft(3));
        const QStringList remark = Wrapped(c, line.Remark, right - c.TabLeft(2));
        if (!room(std::max<qsizetype>(1, reason.size()) + remark.size())) {
            c.NewPage();
            PunchingTitle(table.Headings, true);
        }
        c.PrintInTab(line.Cells[0]);
        if (line.Checked) {
            c.PrintInTab(line.Cells[1]);
            for (qsizetype i = 2; i < line.Cells.size(); ++i) {
                // The load on the section, the strength and their ratio
                // are what fails.
                const TPunchingColumn column = PunchingHeadings[static_cast<size_t>(i)].Column;
                if (column == TPunchingColumn::Vu || column == TPunchingColumn::PhiVn ||
                    column == TPunchingColumn::Util)
                    c.SetFontColor(ink);
                c.PrintInTab(line.Cells[i], TFit::Shrink);
            }
            c.NewLine();
        } else {
            c.SetFontColor(ink);
            c.PrintInTab(line.Cells[1]);
            for (const QString& text : reason) {
                c.SetPosition(c.TabLeft(3), c.CurrentY());
                c.PrintText(text);
                c.NewLine();
            }
            if (reason.isEmpty()) c.NewLine();
        }
        c.SetFontColor(Qt::black);
        for (const QString& text : remark) {
            c.SetPosition(c.TabLeft(2), c.CurrentY());
            c.PrintText(text);
            c.NewLine();
        }
    }
    c.ClearTabs();
}

void TWriter::References() {
    Heading(QStringLiteral("References:"));
    c.NewLine();
    const QStringList lines = {
        QStringLiteral("1. Design and Performance of Mat Foundations, ACI SP-152, ACI Committee 336, 1995"),
        QStringLiteral("2. Foundation Analysis and Design, 5th Edition, Joseph E. Bowles, 1996"),
        QStringLiteral("3. Elastic Analysis of Raft Foundations, J. A. Hemsley, 1999"),
        QStringLiteral("4. Design Applications of Raft Foundations, J. A. Hemsley, 2000"),
        QStringLiteral(
            "5. Roark's Formulas for Stress and Strain, 8th Edition, W. C. Young, R. G. Budynas and "
            "A. M. Sadegh, 2011"),
        QStringLiteral("6. ACI 318-14, American Concrete Institute, 2014"),
        QStringLiteral("7. Kelvane Slabwise Software v") + s.VersionText(),
    };
    for (const QString& line : lines) {
        c.PrintText(line);
        c.NewLine();
    }
}

} // namespace

void ReportSystem1Print(ReportCanvas& canvas, const TReportSource& source) {
    TWriter w(canvas, source);
    const TMatData& m = source.Model();
    const bool reinforced = m.UseReinforcement != 0;
    w.Title();
    w.JobBlock();
    w.Geometry();
    w.Loadings();
    w.Results();
    if (reinforced) w.Summary();

    canvas.NewPage();
    PrintDrawingsPage(canvas, m);
    canvas.NewPage();

    if (reinforced) {
        w.ReinforcementPage();
        PrintReinforcementDrawing(canvas, m);
        canvas.NewPage();
    }

    PrintResultsTable(canvas, m, source.UnitSystem());
    canvas.ClearTabs();
    canvas.NewPage();

    PrintGraphsPage(canvas, m);
    canvas.NewLine();
    canvas.NewLine();
    canvas.ClearTabs();
    w.References();
}

void ReportSystem1PrintFooter(ReportCanvas& canvas, const QString& version) {
    // The page's body continues in its own font after the footer.
    const TReportFont font = canvas.Font();
    const QColor color = canvas.FontColor();
    canvas.SetFont(QString::fromLatin1(ReportFontFace), FooterSize);
    const double bottom = canvas.MarginBottom;
    canvas.MarginBottom = 0.4;
    const double y = canvas.PageHeight() - canvas.MarginBottom - canvas.LineHeight();
    canvas.DrawLine(canvas.MarginLeft, y, canvas.PageWidth() - canvas.MarginRight, y);
    canvas.PrintFooterText(QStringLiteral("  Kelvane"), TJustify::Left);
    canvas.PrintFooterText(QString::number(canvas.CurrentPage()) + QStringLiteral("  "), TJustify::Right);
    canvas.SetBold(true);
    canvas.PrintFooterText(QStringLiteral("Slabwise v") + version, TJustify::Center);
    canvas.SetBold(false);
    canvas.MarginBottom = bottom;
    canvas.SetFont(font.Face, font.Size);
    canvas.SetBold(font.Bold);
    canvas.SetFontColor(color);
}

void RunReport(TReportBackEnd& backEnd, const TReportSource& source, const std::function<void(int)>& onPage) {
    ReportCanvas canvas(backEnd, ReportSystem1DecodeImage);
    const QString version = source.VersionText();
    canvas.OnFooter = [version](ReportCanvas& c) { ReportSystem1PrintFooter(c, version); };
    canvas.OnPage = onPage;
    if (onPage) onPage(1);
    ReportSystem1Print(canvas, source);
    canvas.Finish();
}

} // namespace slabwise
