// The engine under any profile and any physical event stream: its invariants
// hold after every event, and once every key is released nothing is busy and
// nothing it emitted (or let pass) is left down.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../engine_driver.h"
#include "layers/profile.h"
#include "layers/value_error.h"

namespace {

using quillon::KeyCode;

void require(const std::string& failure, const std::string& profile) {
  if (failure.empty()) return;
  std::fprintf(stderr, "%s\nprofile:\n%s\n", failure.c_str(), profile.c_str());
  std::abort();
}

// The keys a parsed profile mentions, so that a stream drawn from them meets
// its layers, bindings and mouse keys.
std::vector<KeyCode> keysOf(const quillon::Layout& profile) {
  std::vector<KeyCode> keys{0xA0, 0xA2};
  const auto add = [&](KeyCode code) {
    if (code >= 1 && code <= 254) keys.push_back(code);
  };
  add(profile.options.mouseOn);
  add(profile.options.mouseOff);
  for (const auto& [layer, bindings] : profile.layers) {
    add(layer);
    for (const auto& [source, target] : bindings) add(source);
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto pick = [&](std::size_t n) {
    return input.ConsumeIntegralInRange<std::size_t>(0, n - 1);
  };
  std::string text;
  std::vector<KeyCode> keys;
  if (input.ConsumeBool()) {
    auto generated = quillon::testing::generateProfile(pick);
    text = std::move(generated.text);
    keys = std::move(generated.keys);
  } else {
    text = input.ConsumeRandomLengthString(2048);
  }
  quillon::Layout profile;
  try {
    profile = quillon::layout(text);
  } catch (const quillon::ValueError&) {
    return 0;
  }
  if (keys.empty()) keys = keysOf(profile);
  quillon::testing::EngineDriver driver(profile);
  while (input.remaining_bytes() > 0) {
    quillon::testing::applyEvent(driver, quillon::testing::generateEvent(driver, keys, pick));
    require(driver.invariantFailure(), text);
  }
  driver.releaseAll();
  require(driver.invariantFailure(), text);
  require(driver.quietFailure(), text);
  return 0;
}
