// ApplyLayout against the same moves made directly with DeferWindowPos, for 10, 1,000 and
// 10,000 anchored controls on core windows. Each iteration flips the host between two sizes
// so that every control really moves; the peer defers the precomputed rectangles with the
// flags the engine would use, so the difference is the engine's own work per control.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <afxwin.h>

#include "bench/support/RunTimes.h"
#include "resizable/LayoutGeometry.h"
#include "resizable/ResizableLayout.h"
#include "support/TestDefaults.h"

namespace {

constexpr int kWidths[2] = {1000, 1013};
constexpr int kHeights[2] = {800, 807};

class BenchLayout : public CResizableLayout {
 public:
  explicit BenchLayout(CWnd* host) : host_(host) {}

 protected:
  CWnd* GetHostWindow() override { return host_; }

 private:
  CWnd* host_;
};

// A host with n static controls, all anchored top-left and bottom-right.
class Scene {
 public:
  explicit Scene(int n) {
    host_ = ::CreateWindowExW(0, u"Static", u"host", WS_POPUP, 0, 0, kWidths[0], kHeights[0], nullptr, nullptr,
                              nullptr, nullptr);
    hostObject_.Attach(host_);
    layout_ = std::make_unique<BenchLayout>(&hostObject_);
    for (int i = 0; i < n; ++i) {
      const int x = 5 + i % 50;
      const int y = 5 + i % 40;
      HWND control = ::CreateWindowExW(0, u"Static", u"text", WS_CHILD | WS_VISIBLE | SS_LEFT, x, y, 300 + i % 70,
                                       200 + i % 30, host_, nullptr, nullptr, nullptr);
      if (!control) missingControl_ = true;
      controls_.push_back(control);
      layout_->AnchorControl(control, AnchorTopLeft, AnchorBottomRight);
    }
    PrecomputeMoves();
  }

  ~Scene() {
    layout_->ClearLayout();
    ::DestroyWindow(host_);
    hostObject_.Detach();
  }

  bool Valid() const { return host_ != nullptr && !missingControl_; }

  void FlipHost() {
    state_ ^= 1;
    ::SetWindowPos(host_, nullptr, 0, 0, kWidths[state_], kHeights[state_], SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void ApplyLayout() { layout_->ApplyLayout(); }

  // The moves the engine makes for the current host size, deferred directly.
  void DeferDirectly() {
    const std::vector<Move>& moves = moves_[state_];
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(moves.size()));
    for (const Move& m : moves) {
      HDWP next = ::DeferWindowPos(batch, m.window, nullptr, m.rect.left, m.rect.top, m.rect.right - m.rect.left,
                                   m.rect.bottom - m.rect.top, m.flags);
      if (next) batch = next;
    }
    ::EndDeferWindowPos(batch);
  }

 private:
  struct Move {
    HWND window;
    RECT rect;
    UINT flags;
  };

  // Both sides start from the controls' anchored places; the rectangles of both host sizes
  // and the flags of the move into each come from the engine's arithmetic, outside the timing.
  void PrecomputeMoves() {
    std::vector<RECT> start(controls_.size());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
      ::GetWindowRect(controls_[i], &start[i]);
      ::MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&start[i]), 2);
    }
    RECT client0{};
    ::GetClientRect(host_, &client0);
    const LONG frameW = kWidths[0] - client0.right;
    const LONG frameH = kHeights[0] - client0.bottom;
    RECT areas[2] = {client0, {0, 0, kWidths[1] - frameW, kHeights[1] - frameH}};
    for (std::size_t i = 0; i < controls_.size(); ++i) {
      const LayoutGeometry::AnchorOffsets offsets =
          LayoutGeometry::ComputeOffsets(areas[0], start[i], AnchorTopLeft, AnchorBottomRight, false);
      RECT placed[2];
      for (int s = 0; s < 2; ++s) placed[s] = LayoutGeometry::PlaceControl(areas[s], AnchorTopLeft, offsets, AnchorBottomRight);
      for (int s = 0; s < 2; ++s) {
        const RECT& from = placed[s ^ 1];
        const RECT& to = placed[s];
        const bool repaint =
            LayoutGeometry::ClassNeedsRepaint(LayoutGeometry::ControlClass::Static, SS_LEFT, from, to, std::nullopt);
        moves_[s].push_back(Move{controls_[i], to, LayoutGeometry::MoveFlags(from, to, repaint)});
      }
    }
  }

  HWND host_ = nullptr;
  CWnd hostObject_;
  std::unique_ptr<BenchLayout> layout_;
  std::vector<HWND> controls_;
  std::vector<Move> moves_[2];
  bool missingControl_ = false;
  int state_ = 0;
};

// Both sides flip the host between the same two sizes; only the way the moves are made differs.
void MeasureMoves(benchmark::State& state, void (Scene::*makeMoves)()) {
  Scene scene(static_cast<int>(state.range(0)));
  if (!scene.Valid()) {
    state.SkipWithError("windows could not be created");
    return;
  }
  for (auto _ : state) {
    scene.FlipHost();
    (scene.*makeMoves)();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ApplyLayout(benchmark::State& state) { MeasureMoves(state, &Scene::ApplyLayout); }
void BM_DeferDirectly(benchmark::State& state) { MeasureMoves(state, &Scene::DeferDirectly); }

double ControlsOf(const std::string& args) {
  const double n = std::atof(args.c_str());
  return n > 0 ? n : 1.0;
}

// CPU time per control of a run, 0 when it was not measured.
double PerControl(const bench::RunTimesReporter& runs, const char* function, const char* controls) {
  const bench::RunTimes* times = runs.Find(std::string(function) + "/" + controls);
  return times == nullptr ? 0.0 : times->cpu / ControlsOf(controls);
}

void PrintRatios(const bench::RunTimesReporter& runs) {
  auto at = [&](const char* fn, const char* n) { return PerControl(runs, fn, n); };
  std::printf("\nCPU time per control, engine / bare deferred moves (target <= 2.0):\n");
  for (const char* n : {"10", "1000", "10000"}) {
    const double ours = at("BM_ApplyLayout", n);
    const double peer = at("BM_DeferDirectly", n);
    if (ours == 0 || peer == 0) {
      std::printf("  %6s controls: not measured\n", n);
      continue;
    }
    std::printf("  %6s controls: engine %.1f ns, bare %.1f ns, ratio %.2fx\n", n, ours, peer, ours / peer);
  }
  std::printf("\nper-control growth from 1,000 to 10,000 controls (target <= 1.2):\n");
  for (const char* fn : {"BM_ApplyLayout", "BM_DeferDirectly"}) {
    const double small = at(fn, "1000");
    const double large = at(fn, "10000");
    if (small == 0 || large == 0) continue;
    std::printf("  %-16s %.2fx\n", fn, large / small);
  }
  // What the engine adds to each move; the window manager's own cost per move shows in the
  // growth of the bare side.
  const double own1000 = at("BM_ApplyLayout", "1000") - at("BM_DeferDirectly", "1000");
  const double own10000 = at("BM_ApplyLayout", "10000") - at("BM_DeferDirectly", "10000");
  if (own1000 > 0 && own10000 > 0) {
    std::printf("\nengine's own cost per control (engine - bare): %.1f ns at 1,000, %.1f ns at 10,000, growth %.2fx\n",
                own1000, own10000, own10000 / own1000);
  }
}

}  // namespace

BENCHMARK(BM_ApplyLayout)->Arg(10)->Arg(1000)->Arg(10000);
BENCHMARK(BM_DeferDirectly)->Arg(10)->Arg(1000)->Arg(10000);

int main(int argc, char** argv) {
  InstallTestDefaults();  // the fixed desktop the tests measure on, not the machine's
  return bench::RunAndSummarize(argc, argv, PrintRatios);
}
