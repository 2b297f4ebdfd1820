#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine_driver.h"
#include "layers/profile.h"

namespace quillon {
namespace {

using testing::applyEvent;
using testing::EngineDriver;
using testing::generateEvent;
using testing::generateProfile;
using testing::scriptFailure;

// Every release follows a press of the same key, as on a real keyboard.
bool physicallyPossible(const std::vector<std::string>& script) {
  std::set<std::string> down;
  for (const std::string& token : script) {
    if (token.starts_with("d:")) down.insert(token.substr(2));
    if (token.starts_with("u:") && down.erase(token.substr(2)) == 0) return false;
  }
  return true;
}

// Drops events one at a time while the script still fails, so a report
// shows a short sequence rather than hundreds of random events.
std::vector<std::string> shrink(const Layout& profile, std::vector<std::string> script) {
  for (std::size_t i = script.size(); i-- > 0;) {
    std::vector<std::string> shorter = script;
    shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(i));
    if (physicallyPossible(shorter) && !scriptFailure(profile, shorter).empty())
      script = std::move(shorter);
  }
  return script;
}

// QUILLON_PROPERTY_ROUNDS and QUILLON_PROPERTY_SEED let a longer hunt run
// without editing the test.
unsigned long setting(const char* name, unsigned long fallback) {
  const char* value = std::getenv(name);
  return value == nullptr ? fallback : std::stoul(value);
}

std::string joined(const std::vector<std::string>& script) {
  std::string text;
  for (const std::string& token : script) text += (text.empty() ? "" : " ") + token;
  return text;
}

// Random valid profiles and random physical event streams: keys go down,
// auto-repeat and go up, layers overlap, time jumps, the mouse reports and the
// foreground program switches in and out of Exclude.
TEST(EngineProperty, NothingStaysDownOnceEveryKeyIsReleased) {
  std::mt19937 random(static_cast<std::uint32_t>(setting("QUILLON_PROPERTY_SEED", 20261208)));
  const auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  const unsigned long rounds = setting("QUILLON_PROPERTY_ROUNDS", 3000);
  for (unsigned long round = 0; round < rounds; ++round) {
    const auto [text, keys] = generateProfile(pick);
    Layout profile;
    ASSERT_NO_THROW(profile = layout(text)) << text;
    EngineDriver driver(profile);
    std::vector<std::string> script;
    const std::size_t length = 1 + pick(120);
    for (std::size_t i = 0; i < length; ++i) {
      script.push_back(generateEvent(driver, keys, pick));
      applyEvent(driver, script.back());
    }
    const std::string failure = scriptFailure(profile, script);
    if (failure.empty()) continue;
    const std::vector<std::string> smallest = shrink(profile, script);
    FAIL() << scriptFailure(profile, smallest) << "\nprofile:\n"
           << text << "script (then every held key released): " << joined(smallest);
  }
}

}  // namespace
}  // namespace quillon
