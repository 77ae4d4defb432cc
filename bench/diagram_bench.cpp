// kelm-bench-diagram: the diagram window on the offscreen platform. The first opening computes
// the IFC-67 scene on its way; later ones find it kept. Moving the state point repaints the marks
// over the kept image of the lines.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>

#include "shell/diagramview.h"
#include "shell/diagramwnd.h"

namespace {

// Opens the window as the form's entry does, and draws both tabs as a user who looks at both.
void OpenAndDrawBothTabs(benchmark::State& state) {
  for (auto _ : state) {
    CDiagramWnd wnd;
    wnd.show();
    QApplication::processEvents();
    auto* tabs = wnd.findChild<QTabWidget*>("IDC_DIAGRAM_TABS");
    for (int tab = 0; tab < 2; ++tab) {
      tabs->setCurrentIndex(tab);
      benchmark::DoNotOptimize(wnd.View(calc::Chart(tab))->grab());
    }
  }
}

void MoveThePoint(benchmark::State& state) {
  CDiagramWnd wnd;
  wnd.show();
  QApplication::processEvents();
  CDiagramView* view = wnd.View(calc::Chart::HS);
  view->grab();
  calc::Request request{
      calc::Formulation::IFC67, Item::AnyState, Mode::PressureTemperature, {1, 200, 0}};
  for (auto _ : state) {
    request.in[1] = request.in[1] < 700 ? request.in[1] + 10 : 200;
    wnd.ShowRequest(request);
    benchmark::DoNotOptimize(view->grab());
  }
  state.counters["background renders"] = view->BackgroundRenders();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::RegisterBenchmark("Diagram/open-and-draw-both-tabs/first", OpenAndDrawBothTabs)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Diagram/open-and-draw-both-tabs", OpenAndDrawBothTabs)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Diagram/move-the-point", MoveThePoint)
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
