// The host application on the sample town tiled to 100 000 objects:
// opening the project file, and redrawing the map view (1000 x 700 pixels)
// after a pan or a zoom, at a working scale and with the whole town in view,
// and after an add-on's Invalidate.
// There is no peer: the figures are read against the targets of a map view
// (a redraw well under 100 ms, opening under 2 s).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <memory>
#include <random>

#include "bench/tiled_town.h"
#include "host/app/host_window.h"
#include "host/app/map_widget.h"
#include "host/com/host_manager.h"
#include "host/model/project_file.h"

namespace {

using namespace host;

constexpr std::int32_t Objects = 100000;

const std::string& TownFile() {
  static const std::string Path = [] {
    const THostProject Town = bench::TiledSampleTown(Objects);
    const std::string File = QDir::temp().filePath("trace-town-100k.json").toStdString();
    SaveProjectFile(Town, File);
    return File;
  }();
  return Path;
}

void OpenProjectFile(benchmark::State& State) {
  const std::string& File = TownFile();  // made once, outside the timing
  for (auto _ : State) {
    const THostProject P = LoadProjectFile(File);
    benchmark::DoNotOptimize(P.ObjectCount());
  }
  State.SetLabel("file only");
}
BENCHMARK(OpenProjectFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// The application's whole opening: read, layer panel, zoom to all and the
// first drawing of all 100 000 objects.
struct TApp {
  THostManager Manager;
  THostWindow Window{Manager};
  TApp() {
    Window.Window().resize(1000 + 260, 700 + 80);
    Window.Window().show();
    QApplication::processEvents();
  }
};

// Made at first use, and let go in main while Qt is still there.
std::unique_ptr<TApp>& AppHolder() {
  static std::unique_ptr<TApp> A;
  return A;
}

TApp& App() {
  std::unique_ptr<TApp>& A = AppHolder();
  if (!A) A = std::make_unique<TApp>();
  return *A;
}

void OpenInApplication(benchmark::State& State) {
  for (auto _ : State) {
    App().Window.OpenProject(QString::fromStdString(TownFile()));
    App().Window.Map().repaint();
  }
  State.SetLabel(std::to_string(App().Manager.Project().ObjectCount()) + " objects");
}
BENCHMARK(OpenInApplication)->Unit(benchmark::kMillisecond)->Iterations(3);

// Redraws after pans of 100 pixels at MetresPerPixel (0: the whole town).
void PanRedraw(benchmark::State& State) {
  TMapWidget& Map = App().Window.Map();
  if (App().Manager.Project().ObjectCount() != Objects)
    App().Window.OpenProject(QString::fromStdString(TownFile()));
  Map.ZoomToAll();
  if (State.range(0) > 0) {
    std::mt19937 Rng(7);
    std::uniform_int_distribution<int> Where(0, bench::Tiles * bench::Tiles - 1);
    const int Tile = Where(Rng);
    const double X = 500000 + (Tile % bench::Tiles + 0.5) * bench::TileW,
                 Y = 6000000 + (Tile / bench::Tiles + 0.5) * bench::TileH;
    const double Half = State.range(0) / 10.0 * 500;
    Map.ZoomToRect({X - Half, Y - Half * 0.7, X + Half, Y + Half * 0.7});
  }
  Map.repaint();
  int Step = 0;
  double Rendering = 0;
  for (auto _ : State) {
    // Four steps one way, four back: the view stays over the town.
    Map.PanBy(Step++ % 8 < 4 ? QPoint(100, 37) : QPoint(-100, -37));
    Map.repaint();
    Rendering += Map.LastRenderMs();
  }
  State.counters["render_ms"] = Rendering / State.iterations();
  State.counters["m_per_px"] = App().Manager.MapView().Transform().MetresPerPixel;
}
BENCHMARK(PanRedraw)->Arg(10)->Arg(40)->Arg(0)->Unit(benchmark::kMillisecond);

// Wheel steps in and out about a point near the middle of the whole town.
void ZoomRedraw(benchmark::State& State) {
  TMapWidget& Map = App().Window.Map();
  if (App().Manager.Project().ObjectCount() != Objects)
    App().Window.OpenProject(QString::fromStdString(TownFile()));
  Map.ZoomToAll();
  for (int I = 0; I < State.range(0); ++I) Map.ZoomAt(QPointF(480, 330), 1.25);
  Map.repaint();
  int Step = 0;
  double Rendering = 0;
  for (auto _ : State) {
    Map.ZoomAt(QPointF(480, 330), Step++ % 2 ? 1.25 : 0.8);
    Map.repaint();
    Rendering += Map.LastRenderMs();
  }
  State.counters["render_ms"] = Rendering / State.iterations();
  State.counters["m_per_px"] = App().Manager.MapView().Transform().MetresPerPixel;
}
BENCHMARK(ZoomRedraw)->Arg(16)->Arg(8)->Arg(1)->Unit(benchmark::kMillisecond);

// An add-on's Invalidate, as the trace editor calls it on every mouse move,
// then the repaint, with the whole town in view; nothing in the project
// changed. (The editor's own drawing on top is not part of it.)
void InvalidateRedraw(benchmark::State& State) {
  TMapWidget& Map = App().Window.Map();
  if (App().Manager.Project().ObjectCount() != Objects)
    App().Window.OpenProject(QString::fromStdString(TownFile()));
  Map.ZoomToAll();
  Map.repaint();
  double Rendering = 0;
  for (auto _ : State) {
    App().Manager.MapView().Invalidate();
    Map.repaint();
    Rendering += Map.LastRenderMs();
  }
  State.counters["render_ms"] = Rendering / State.iterations();
  State.counters["m_per_px"] = App().Manager.MapView().Transform().MetresPerPixel;
}
BENCHMARK(InvalidateRedraw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication Qt(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  AppHolder().reset();
  return 0;
}
