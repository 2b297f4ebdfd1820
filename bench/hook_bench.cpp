// Nanoseconds per key event through the keyboard hook's own work: the
// injected check, the capture test, the typing flag, the Exclude lookup and
// the engine, with the Windows calls stubbed by constant answers and emit
// counting instead of posting. Also reports allocations per event, which must
// stay 0.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "layers/engine.h"
#include "layers/profile.h"
#include "main/hook_logic.h"
#include "main/profile_text.h"
#include "unit/allocation_counter.h"

namespace {

using namespace quillon;

struct StubSystem {
  std::uint64_t emitted = 0;

  bool stopping() const { return false; }
  bool captureWindowInFront() const { return false; }
  void postCaptured(int, std::uint32_t) const {}
  bool producesCharacter(std::uint32_t vk) const { return vk >= 'A' && vk <= 'Z'; }
  bool ctrlDown() const { return false; }
  bool altDown() const { return false; }
  std::string_view foregroundName() const { return "notepad.exe"; }
  void emit(KeyCode, bool) { ++emitted; }
};

// Typing, layer taps, Space+H, Space then an unbound key, CapsLock digits,
// and the program's own injected output coming back: every key ends up.
std::vector<HookEvent> stream() {
  std::vector<HookEvent> events;
  const auto add = [&](std::uint32_t vk, bool up, bool injected = false) {
    events.push_back({vk, injected, up, static_cast<std::uint32_t>(events.size() * 40)});
  };
  const auto tap = [&](std::uint32_t vk) {
    add(vk, false);
    add(vk, true);
  };
  for (std::uint32_t letter : {'Q', 'U', 'I', 'L', 'L', 'O', 'N'}) tap(letter);
  tap(32);
  add(32, false), add('H', false), add('H', true), add(32, true);
  add(33, false, true), add(33, true, true);
  add(32, false), add('J', false), add('K', false), add('J', true), add('K', true), add(32, true);
  add(32, false), add('X', false), add('X', true), add(32, true);
  add(20, false), add('M', false), add('M', true), add('J', false), add('J', true), add(20, true);
  return events;
}

void hookPath(benchmark::State& state) {
  Engine board = keyboard(layout(defaultProfile));
  std::int32_t captureField = 0;
  std::int32_t capturedKey = 0;
  StubSystem system;
  const std::vector<HookEvent> events = stream();
  std::size_t next = 0;
  const std::size_t allocationsBefore = quillon::testing::allocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(hookSwallows(board, captureField, capturedKey, events[next], system));
    if (++next == events.size()) next = 0;
  }
  state.counters["allocs/event"] = benchmark::Counter(
      static_cast<double>(quillon::testing::allocationCount() - allocationsBefore),
      benchmark::Counter::kAvgIterations);
  benchmark::DoNotOptimize(system.emitted);
}
BENCHMARK(hookPath);

}  // namespace
