// The engine runs inside the keyboard hook: after keyboard() has built it, no
// event may allocate. This executable replaces the global operator new to
// count every allocation while events are fed (allocation_counter.cpp).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "allocation_counter.h"
#include "layers/engine.h"
#include "main/profile_text.h"

namespace quillon {

namespace {

using testing::allocationCount;

struct Counts {
  int downs = 0;
  std::array<bool, 256> down{};
};

// Feeds a day's worth of every kind of event the engine sees: typing, layer
// navigation with modifiers, nested layers, the mouse layer with buttons,
// MouseOn and MouseOff, and a foreground program in Exclude.
std::size_t allocationsWhileTyping(Engine& engine, Counts& counts) {
  const auto emit = [&](KeyCode code, bool down) {
    counts.downs += down;
    counts.down[static_cast<std::size_t>(code)] = down;
  };
  std::string_view program = "notepad.exe";
  const auto foreground = [&]() -> std::string_view { return program; };
  std::uint32_t time = 0;
  const auto tap = [&](KeyCode code) {
    translateKey(engine, code, true, true, time += 7, foreground, emit);
    translateKey(engine, code, true, true, time += 30, foreground, emit);
    translateKey(engine, code, false, true, time += 9, foreground, emit);
  };
  const auto press = [&](KeyCode code, bool down) {
    translateKey(engine, code, down, true, time += 11, foreground, emit);
  };
  const std::size_t before = allocationCount();
  for (int round = 0; round < 2000; ++round) {
    for (KeyCode letter : {'Q', 'W', 'E', 'R', 'T', 'Y'}) tap(letter);
    press(32, true);
    for (KeyCode navigation : {'H', 'J', 'K', 'L', 'I'}) tap(navigation);
    press(20, true);
    tap('J');
    press(20, false);
    press(32, false);
    press(32, true);
    press('H', true);
    press('X', true);
    press('X', false);
    press('H', false);
    press(32, false);
    mouseEvent(engine, true, time += 5);
    tap('F');
    tap('G');
    mouseEvent(engine, false, time += 5);
    tap(0x78);
    tap('F');
    tap(0x79);
    program = round % 2 == 0 ? "Game.EXE" : "notepad.exe";
    press(32, true);
    press(0xA2, true);
    tap('H');
    press(0xA2, false);
    press(32, false);
    busy(engine);
  }
  return allocationCount() - before;
}

TEST(EngineAllocation, NoEventAllocatesAfterConstruction) {
  const std::string profile = std::string(defaultProfile) +
                              "[Program]\r\nExclude=game.exe\r\nMouseOn=F9\r\nMouseOff=F10\r\n"
                              "[MouseMove]\r\nF=0x01\r\nG=Ctrl+0x02\r\n"
                              "[Program]\r\nTiming.Space=80,1,500\r\n";
  Engine engine = keyboard(layout(profile));
  Counts counts;
  EXPECT_EQ(allocationsWhileTyping(engine, counts), 0u);
  // The stream really was translated, and everything it pressed came up.
  EXPECT_GT(counts.downs, 20000);
  EXPECT_EQ(std::count(counts.down.begin(), counts.down.end(), true), 0);
  EXPECT_FALSE(busy(engine));
  const std::size_t before = allocationCount();
  int* volatile probe = new int(0);
  delete probe;
  EXPECT_EQ(allocationCount() - before, 1u);  // the counter does count
}

}  // namespace
}  // namespace quillon
