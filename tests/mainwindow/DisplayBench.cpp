// Time from a committed field to the finished display: the commit reads every
// control, analyses and rewrites every control and picture, at the window's
// designed size.

#include "MainWindow.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

slabwise::TfrmMain* Window = nullptr;

void CommitStripLength(benchmark::State& state) {
    auto* edit = Window->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    bool longer = false;
    for (auto _ : state) {
        edit->setText(longer ? QStringLiteral("48") : QStringLiteral("47.5"));
        longer = !longer;
        Window->CommitField(edit);
    }
}
BENCHMARK(CommitStripLength)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationName(QStringLiteral("Slabwise"));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QSettings().setValue(QStringLiteral("AutoUpdates"), 0);
    slabwise::test::TScriptedDialogs dialogs;
    slabwise::TfrmMain window(dialogs);
    window.resize(1084, 620);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    // Every page shown once, so all three boxes have their laid-out sizes.
    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    for (int page = pages->count() - 1; page >= 0; --page) {
        pages->setCurrentIndex(page);
        QApplication::processEvents();
    }
    Window = &window;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
