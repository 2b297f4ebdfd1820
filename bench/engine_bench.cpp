// Nanoseconds per event through translate, the call the keyboard hook makes
// for every key event in the system. Each benchmark iteration is one event
// from a recorded stream that ends with every key up, so it can be replayed
// in a loop.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "layers/engine.h"
#include "layers/profile.h"
#include "main/profile_text.h"

namespace {

using quillon::KeyCode;

struct Event {
  KeyCode key;  // 0: a mouse report
  bool down;
  std::uint32_t time;
};

class Stream {
 public:
  explicit Stream(std::uint32_t seed) : random_(seed) {}

  void tap(KeyCode key) {
    add(key, true);
    add(key, false);
  }
  void add(KeyCode key, bool down) { events_.push_back({key, down, time_ += step()}); }
  void mouse() { events_.push_back({0, true, time_ += step()}); }
  void typeWord() {
    for (std::size_t n = 2 + pick(6); n > 0; --n) tap('A' + static_cast<KeyCode>(pick(26)));
  }
  std::size_t pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }
  std::vector<Event> take() { return std::move(events_); }

 private:
  std::uint32_t step() { return 20 + static_cast<std::uint32_t>(pick(100)); }

  std::mt19937 random_;
  std::vector<Event> events_;
  std::uint32_t time_ = 0;
};

void replay(benchmark::State& state, const std::string& profile, const std::vector<Event>& events) {
  quillon::Engine engine = quillon::keyboard(quillon::layout(profile));
  std::uint64_t emitted = 0;
  const auto emit = [&](KeyCode, bool) { ++emitted; };
  std::size_t next = 0;
  for (auto _ : state) {
    const Event& event = events[next];
    next = next + 1 == events.size() ? 0 : next + 1;
    if (event.key == 0)
      quillon::mouseEvent(engine, true, event.time);
    else
      benchmark::DoNotOptimize(
          quillon::translate(engine, event.key, event.down, emit, event.time, true, true));
  }
  benchmark::DoNotOptimize(emitted);
}

// (a) Plain typing: words and spaces tapped, no layer used.
void plainTyping(benchmark::State& state) {
  Stream stream(1);
  for (int word = 0; word < 500; ++word) {
    stream.typeWord();
    stream.tap(0xBC);
  }
  replay(state, std::string(quillon::defaultProfile), stream.take());
}

// (b) Typing with frequent navigation: Space held, 1 to 4 of H/J/K/L tapped,
// Space released, between words that end with a tapped Space.
void spaceNavigation(benchmark::State& state) {
  Stream stream(2);
  for (int word = 0; word < 500; ++word) {
    stream.typeWord();
    stream.tap(32);
    stream.add(32, true);
    for (std::size_t n = 1 + stream.pick(4); n > 0; --n)
      stream.tap(std::vector<KeyCode>{'H', 'J', 'K', 'L'}[stream.pick(4)]);
    stream.add(32, false);
  }
  replay(state, std::string(quillon::defaultProfile), stream.take());
}

// (c) The mouse layer live: mouse reports between clicks and drags through
// keys bound to mouse buttons, with some typing into the live layer.
void mouseButtons(benchmark::State& state) {
  Stream stream(3);
  for (int round = 0; round < 500; ++round) {
    stream.mouse();
    stream.mouse();
    stream.tap(std::vector<KeyCode>{'F', 'D', 'S'}[stream.pick(3)]);
    stream.add('F', true);
    for (std::size_t n = 1 + stream.pick(4); n > 0; --n) stream.mouse();
    stream.add('F', false);
    stream.tap('X');
  }
  replay(state,
         std::string(quillon::defaultProfile) +
             "[Program]\r\nMouseMs=650\r\n[MouseMove]\r\nF=0x01\r\nD=0x02\r\nS=Ctrl+0x01\r\n",
         stream.take());
}

}  // namespace

BENCHMARK(plainTyping)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(spaceNavigation)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(mouseButtons)->Repetitions(5)->ReportAggregatesOnly(true);
