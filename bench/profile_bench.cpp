// How long the parser takes on large profiles: it must stay linear, since the
// settings window re-parses its draft (up to 1 MiB) on every edit.

#include <benchmark/benchmark.h>

#include <string>

#include "layers/keys.h"
#include "layers/profile.h"
#include "main/profile_text.h"

namespace {

// About `bytes` of valid profile: many layers of bindings with comments.
std::string largeProfile(std::size_t bytes) {
  std::string text = "[Program]\r\nStartup=1\r\nExclude=a.exe, b.exe\r\n";
  // Up to half of it in layers (each code at most once), the rest comments.
  for (quillon::KeyCode layer = 1; layer <= 254 && text.size() < bytes / 2; ++layer) {
    text += '[';
    text += quillon::keyToken(layer);
    text += "]\r\n# navigation\r\n";
    for (char source = 'A'; source <= 'Z'; ++source) {
      text += source;
      text += "=Ctrl+Shift+PageUp\r\n";
    }
    text += "\r\n";
  }
  while (text.size() < bytes) text += "; a comment line that fills the profile up to its size\r\n";
  return text;
}

void parseDefaultProfile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(quillon::layout(quillon::defaultProfile));
}
BENCHMARK(parseDefaultProfile);

void parseLargeProfile(benchmark::State& state) {
  const std::string text = largeProfile(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(quillon::layout(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(parseLargeProfile)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
