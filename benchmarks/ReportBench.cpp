// The whole printed report of the English example written to PDF, as Export
// PDF and slabwise-report write it.
//   build/benchmarks/slabwise-report-bench --benchmark_repetitions=10

#include "model/MatData.h"
#include "report/ReportOutput.h"
#include "report/ReportSource.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

using namespace slabwise;

namespace {

void BM_EnglishReportToPdf(benchmark::State& state) {
    QTemporaryDir folder;
    auto mat = std::make_unique<TMatData>();
    OpenAndAnalyse(*mat, std::filesystem::path(QDir(QApplication::applicationDirPath())
                                                   .filePath(QStringLiteral("Example English Units.ksw"))
                                                   .toStdString()));
    const TProjectReportSource source(*mat);
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    for (auto _ : state) WriteReportPdf(source, pdf, QPageSize(QPageSize::Letter), ProjectPdfTexts(source));
    state.counters["bytes"] = static_cast<double>(QFile(pdf).size());
}
BENCHMARK(BM_EnglishReportToPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
