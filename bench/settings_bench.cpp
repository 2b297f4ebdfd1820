// One edit in the settings window: rewrite a row of the draft and list the
// result again, on a profile of 2000 bindings. It runs after every change the
// user makes, so it has to stay far below what a user can notice.

#include <benchmark/benchmark.h>

#include <string>

#include "layers/keys.h"
#include "main/draft_edit.h"
#include "main/draft_list.h"

namespace {

using quillon::KeyCode;

// 2000 bindings: eight layers of 250 rows each, with a comment per layer.
std::string profileOf2000Bindings() {
  std::string text = "[Program]\r\nStartup=1\r\nLanguage=en\r\n\r\n";
  int rows = 0;
  for (KeyCode layer = 112; rows < 2000; ++layer) {
    text += quillon::sectionHeader(layer) + "\r\n# layer " + std::to_string(layer) + "\r\n";
    for (KeyCode source = 1; source <= 254 && rows < 2000; ++source) {
      if (source == layer) continue;
      text += quillon::rowLine(source, 1 << (source % 12), 33 + source % 10) + "\r\n";
      if (++rows % 250 == 0) break;
    }
    text += "\r\n";
  }
  return text;
}

void editAndRelist(benchmark::State& state) {
  const std::string profile = profileOf2000Bindings();
  constexpr KeyCode layer = 115;
  const quillon::DraftListing before = quillon::listRows(profile, layer, 0);
  const KeyCode source = before.rows[before.rows.size() / 2];
  quillon::ModifierMask mask = 0;
  for (auto _ : state) {
    mask ^= 1 << 9;
    const std::string edited = quillon::editRow(profile, layer, source, source, 'X', mask);
    benchmark::DoNotOptimize(quillon::listRows(edited, layer, source));
  }
}
BENCHMARK(editAndRelist)->Unit(benchmark::kMillisecond);

void removeLayer(benchmark::State& state) {
  const std::string profile = profileOf2000Bindings();
  for (auto _ : state) {
    const std::string edited = quillon::removeLayerDraft(profile, 113);
    benchmark::DoNotOptimize(quillon::listRows(edited, 0, 0));
  }
}
BENCHMARK(removeLayer)->Unit(benchmark::kMillisecond);

}  // namespace
