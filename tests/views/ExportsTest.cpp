// Exports of the windows: pictures as PNG and as SVG vectors, the clipboard,
// and the results table as CSV.

#include "views/Exports.h"
#include "GraphModels.h"
#include "model/ResultsCsv.h"
#include "support/TempFolder.h"
#include "views/DiagramDraw.h"
#include "views/Graphs.h"
#include "views/ImgZoom.h"
#include "views/Tables.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>

using namespace slabwise;
using test::AnalysedExample;

namespace {

// File answers from a script; what was asked and shown is kept.
struct TScriptedPrompts {
    std::deque<QString> Answers;
    QString Filter; // the filter the user leaves chosen, empty: the first
    QStringList Errors;
    QStringList Captions;

    TExportPrompts Prompts() {
        return {[this](QWidget*, const QString& caption, const QString&, QString* selected) {
                    Captions << caption;
                    if (!Filter.isEmpty()) *selected = Filter;
                    if (Answers.empty()) return QString();
                    QString answer = Answers.front();
                    Answers.pop_front();
                    return answer;
                },
                [this](QWidget*, const QString& text) { Errors << text; }};
    }
};

QString PathIn(const test::TTempFolder& folder, const char* name) {
    return QString::fromStdString((folder.Path() / name).string());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Parses the file as XML and counts its elements by name; fails the test for
// anything that is not a well-formed SVG document.
std::map<QString, int> SvgElements(const QString& path) {
    std::map<QString, int> counts;
    QXmlStreamReader xml(ReadFile(path));
    bool root = true;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (root) {
            EXPECT_EQ(xml.name(), QLatin1String("svg")) << path.toStdString();
        }
        root = false;
        ++counts[xml.name().toString()];
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_FALSE(root) << "no element in " << path.toStdString();
    return counts;
}

// Share of pixels whose grey levels differ clearly between two pictures.
double DifferentShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 1;
    long differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 100) ++differing;
    return double(differing) / (double(a.width()) * a.height());
}

// Exported files are kept beside the window grabs, to be looked at.
void Keep(const QString& path, const QString& name) {
    const QString folder = QStringLiteral(SLABWISE_GRAB_DIR);
    QDir().mkpath(folder);
    QFile::remove(folder + QLatin1Char('/') + name);
    QFile::copy(path, folder + QLatin1Char('/') + name);
}

QImage Rendered(QSvgRenderer& svg, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    svg.render(&painter);
    return image;
}

TEST(Exports, DiagramsSaveAsSvgVectorsThatLookLikeTheirBitmaps) {
    test::TTempFolder folder;
    const auto model = AnalysedExample(UnitsEnglish);
    model->UseReinforcement = 1;
    for (const TDiagramKind kind : {dkPlanSection, dkLoading, dkReinforcement}) {
        SCOPED_TRACE(int(kind));
        const QSize size(1000, 700);
        QImage bitmap(size, QImage::Format_RGB32);
        DrawDiagramToBitmap(bitmap, *model, kind);
        ASSERT_FALSE(bitmap.isNull());
        const QString path = PathIn(folder, "diagram.svg");
        EXPECT_EQ(SavePicture(path, bitmap,
                              [&](QPainter& painter) { DrawDiagramToPainter(painter, size, *model, kind); }),
                  QString());
        const auto elements = SvgElements(path);
        EXPECT_EQ(elements.count(QStringLiteral("image")), 0u) << "drawn as a bitmap";
        EXPECT_GT(elements.count(QStringLiteral("text")), 0u);
        QSvgRenderer svg(path);
        ASSERT_TRUE(svg.isValid());
        EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), bitmap.size()));
        EXPECT_LT(DifferentShare(Rendered(svg, bitmap.size()), bitmap), 0.02);
        Keep(path, QStringLiteral("export-diagram-%1.svg").arg(int(kind)));
    }
}

TEST(Exports, PngKeepsThePictureAndAFailureWritesNothing) {
    test::TTempFolder folder;
    QImage bitmap(300, 200, QImage::Format_RGB32);
    DrawDiagramToBitmap(bitmap, *AnalysedExample(UnitsSI), dkLoading);
    const QString png = PathIn(folder, "loading.png");
    EXPECT_EQ(SavePicture(png, bitmap), QString());
    EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), bitmap);
    // Without a vector drawing an SVG still holds the picture.
    const QString svg = PathIn(folder, "loading.svg");
    EXPECT_EQ(SavePicture(svg, bitmap), QString());
    EXPECT_EQ(SvgElements(svg).count(QStringLiteral("image")), 1u);

    const QString nowhere = PathIn(folder, "missing/loading.png");
    const QString error = SavePicture(nowhere, bitmap);
    EXPECT_TRUE(error.contains(QStringLiteral("missing"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(nowhere));
    EXPECT_FALSE(SavePicture(png, QImage()).isEmpty());
}

TEST(Exports, SavePictureAsNamesTheFileByTheChosenType) {
    const struct {
        const char* Answer;
        const char* Filter; // nullptr: the first, PNG
        const char* Written;
        bool Svg;
    } cases[] = {
        {"plain", nullptr, "plain.png", false},
        {"vector", "SVG drawings (*.svg)", "vector.svg", true},
        {"upper.SVG", nullptr, "upper.SVG", true},
        {"photo.jpg", nullptr, "photo.jpg.png", false},
        {"named.png", "SVG drawings (*.svg)", "named.png", false},
    };
    QImage bitmap(120, 80, QImage::Format_RGB32);
    bitmap.fill(Qt::blue);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Answer);
        test::TTempFolder folder;
        TScriptedPrompts script;
        script.Answers = {PathIn(folder, c.Answer)};
        if (c.Filter) script.Filter = QLatin1String(c.Filter);
        EXPECT_TRUE(SavePictureAs(nullptr, script.Prompts(), bitmap));
        ASSERT_EQ(folder.Entries(), std::vector<std::filesystem::path>{c.Written});
        if (c.Svg)
            EXPECT_TRUE(QSvgRenderer(PathIn(folder, c.Written)).isValid());
        else
            EXPECT_EQ(QImage(PathIn(folder, c.Written)).size(), bitmap.size());
        EXPECT_TRUE(script.Errors.isEmpty());
    }
    // Cancelled: nothing written, nothing shown.
    test::TTempFolder folder;
    TScriptedPrompts cancel;
    EXPECT_FALSE(SavePictureAs(nullptr, cancel.Prompts(), bitmap));
    EXPECT_TRUE(folder.Entries().empty());
    EXPECT_TRUE(cancel.Errors.isEmpty());
}

TEST(Exports, TheTablesExportCsvButtonWritesTheRowsItShows) {
    test::TTempFolder folder;
    for (const uint8_t units : {UnitsEnglish, UnitsSI}) {
        const auto model = AnalysedExample(units);
        TfrmTable table(*model, nullptr);
        TScriptedPrompts script;
        table.Prompts = script.Prompts();
        script.Answers = {PathIn(folder, "nodes")};
        ASSERT_TRUE(table.ButtonExportCsv);
        EXPECT_EQ(table.ButtonExportCsv->text(), QStringLiteral("Export CSV..."));
        // The window keeps its own copy: a later change of the model is not exported.
        const std::string expected = NodeResultsCsv(model->Stations, units);
        model->Stations[3].Shear += 1;
        QTest::mouseClick(table.ButtonExportCsv, Qt::LeftButton);
        EXPECT_EQ(ReadFile(PathIn(folder, "nodes.csv")).toStdString(), expected);
        EXPECT_EQ(script.Captions, QStringList{QStringLiteral("Export CSV")});
        // A file that cannot be written is reported.
        script.Answers = {PathIn(folder, "missing/nodes.csv")};
        QTest::mouseClick(table.ButtonExportCsv, Qt::LeftButton);
        EXPECT_EQ(script.Errors.size(), 1);
    }
}

TEST(Exports, TheEnlargedPictureCopiesAndSaves) {
    test::TTempFolder folder;
    QImage bitmap(400, 250, QImage::Format_RGB32);
    const auto model = AnalysedExample(UnitsEnglish);
    DrawDiagramToBitmap(bitmap, *model, dkPlanSection);
    TfrmImgZoom zoom;
    zoom.SetPicture(bitmap);
    zoom.SetVectorDrawing(
        [&](QPainter& painter) { DrawDiagramToPainter(painter, QSize(400, 250), *model, dkPlanSection); });
    TScriptedPrompts script;
    zoom.Prompts = script.Prompts();
    zoom.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&zoom));

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&zoom, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), bitmap);

    script.Answers = {PathIn(folder, "plan.svg")};
    zoom.ASavePicture->trigger();
    EXPECT_EQ(SvgElements(PathIn(folder, "plan.svg")).count(QStringLiteral("image")), 0u);
    EXPECT_TRUE(zoom.actions().contains(zoom.ASavePicture));
    EXPECT_EQ(zoom.contextMenuPolicy(), Qt::ActionsContextMenu);
}

TEST(Exports, EachGraphSavesAsVectorsAndCopiesTheOneUnderThePointer) {
    test::TTempFolder folder;
    const auto model = AnalysedExample(UnitsSI);
    TfrmGraphs graphs(*model, nullptr);
    TScriptedPrompts script;
    graphs.Prompts = script.Prompts();
    graphs.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&graphs));

    for (uint8_t graph = TfrmGraphs::grShear; graph <= TfrmGraphs::grPressure; ++graph) {
        SCOPED_TRACE(int(graph));
        const QString path = PathIn(folder, "graph.svg");
        script.Answers = {path};
        QList<QAction*> menu = graphs.Image(graph)->actions();
        ASSERT_EQ(menu.size(), 2);
        EXPECT_EQ(menu[0]->text(), QStringLiteral("Save Picture As..."));
        menu[0]->trigger();
        EXPECT_EQ(SvgElements(path).count(QStringLiteral("image")), 0u);
        QSvgRenderer svg(path);
        ASSERT_TRUE(svg.isValid());
        const QImage shown = graphs.Picture(graph).convertToFormat(QImage::Format_RGB32);
        EXPECT_LT(DifferentShare(Rendered(svg, shown.size()), shown), 0.02);
        Keep(path, QStringLiteral("export-graph-%1.svg").arg(int(graph)));
    }

    QLabel* deflection = graphs.Image(TfrmGraphs::grDeflection);
    QMouseEvent move(QEvent::MouseMove, QPointF(deflection->rect().center()),
                     deflection->mapToGlobal(QPointF(deflection->rect().center())), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(deflection, &move);
    EXPECT_EQ(graphs.CurrentGraph(), TfrmGraphs::grDeflection);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&graphs, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              graphs.Picture(TfrmGraphs::grDeflection).convertToFormat(QImage::Format_RGB32));
}

} // namespace
