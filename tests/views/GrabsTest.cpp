// Writes the graphs and table windows as pictures into the build folder, so
// anyone can look at them after a test run: build/tests/views/grabs/*.png.

#include "GraphModels.h"
#include "support/GrabChecks.h"
#include "views/Graphs.h"
#include "views/Tables.h"

#include <QDir>
#include <QPixmap>
#include <gtest/gtest.h>

using namespace slabwise;

namespace {

QString GrabFolder() {
    QString folder = QStringLiteral(SLABWISE_GRAB_DIR);
    QDir().mkpath(folder);
    return folder;
}

// As designed, twice as wide (short titles) and at half size (labels thinned).
TEST(Grabs, GraphsAndTableWindowsOfEveryModel) {
    struct TSize {
        const char* tag;
        QSize picture;
    };
    const TSize sizes[] = {{"x1", {473, 280}}, {"x2", {946, 280}}, {"half", {236, 140}}};
    for (const auto& [name, model] : test::GraphModels()) {
        SCOPED_TRACE(name);
        for (const TSize& size : sizes) {
            TfrmGraphs graphs;
            graphs.SetPictureSize(size.picture);
            graphs.ShowResults(*model, TfrmGraphs::grAll);
            graphs.show();
            const QString file =
                GrabFolder() + QString("/graphs_%1_%2.png").arg(QString::fromStdString(name), size.tag);
            const QPixmap shot = graphs.grab();
            EXPECT_EQ(shot.width(), 2 * size.picture.width());
            // Each of the four graphs has its curve and labels.
            const QImage image = shot.toImage();
            for (uint8_t g = TfrmGraphs::grShear; g <= TfrmGraphs::grPressure; ++g)
                test::ExpectDrawn(graphs.Picture(g), "graph");
            test::ExpectDrawn(image, "graphs window");
            EXPECT_TRUE(shot.save(file)) << file.toStdString();
        }
        TfrmTable table(*model, nullptr);
        table.show();
        const QString file = GrabFolder() + QString("/table_%1.png").arg(QString::fromStdString(name));
        const QImage shot = table.grab().toImage();
        test::ExpectDrawn(shot, "table window");
        EXPECT_TRUE(shot.save(file)) << file.toStdString();
    }
}

TEST(Grabs, PrintedGraphs) {
    auto model = test::AnalysedExample(UnitsEnglish);
    TfrmGraphs graphs;
    graphs.PrepareForPrint(946.0 / 560.0);
    graphs.ShowResults(*model, TfrmGraphs::grAll);
    for (uint8_t g = TfrmGraphs::grShear; g <= TfrmGraphs::grPressure; ++g) {
        test::ExpectDrawn(graphs.Picture(g), "printed graph");
        EXPECT_TRUE(graphs.Picture(g).save(GrabFolder() + QString("/printed_graph_%1.png").arg(g)));
    }
}

} // namespace
