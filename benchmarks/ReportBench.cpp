// The whole printed report of the English example written to PDF, as Export
// PDF and slabwise-report write it.
//   build/benchmarks/slabwise-report-bench --benchmark_repetitions=10

#include "Dialogs.h"
#include "MainWindow.h"
#include "PrintCommands.h"
#include "report/ReportOutput.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace slabwise;

namespace {

// Opens the project it is given; asks nothing else.
class TBenchDialogs : public TDialogs {
public:
    explicit TBenchDialogs(QString project) : project_(std::move(project)) {}
    TAnswer Confirm(QWidget*, const QString&) override { return TAnswer::Cancel; }
    void ShowMessage(QWidget*, const QString&) override {}
    QString OpenProjectFile(QWidget*, const QString&, const QString&) override { return project_; }
    QString SaveProjectFile(QWidget*, const QString&, const QString&) override { return {}; }
    QString OpenLogoFile(QWidget*) override { return {}; }
    void OpenUrl(const QUrl&) override {}
    void RunModal(QDialog&) override {}
    void ShowAbout(QWidget*) override {}
    TReportOutput ChooseReportOutput(QWidget*) override { return TReportOutput::Cancel; }
    bool SetUpPrinter(QWidget*, QPrinter&) override { return false; }
    QString SaveReportFile(QWidget*, const QString&, const QString&) override { return {}; }

private:
    QString project_;
};

void BM_EnglishReportToPdf(benchmark::State& state) {
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    TBenchDialogs dialogs(
        QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("Example English Units.ksw")));
    TfrmMain window(dialogs);
    window.AOpenExecute();
    const auto source = MakeReportSource(window);
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    for (auto _ : state) WriteReportPdf(*source, pdf, QPageSize(QPageSize::Letter), ProjectPdfTexts(*source));
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
