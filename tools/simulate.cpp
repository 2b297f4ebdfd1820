#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "cli.h"
#include "layers/engine.h"
#include "layers/profile.h"
#include "layers/text.h"
#include "layers/value_error.h"
#include "localization/language.h"
#include "main/profile_text.h"

namespace quillon {

namespace {

// Keys that give a character on a US English layout.
bool producesCharacter(KeyCode code) {
  return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9') || code == 32 || code == 13 ||
         code == 9 || code == 8 || code == 27 || (code >= 0xBA && code <= 0xC0) ||
         (code >= 0xDB && code <= 0xDF) || code == 0xE2;
}

std::optional<std::uint32_t> milliseconds(std::string_view text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

// What the system would see: the hook's front end and the engine, with the
// key state the typing flag is computed from.
class Simulation {
 public:
  explicit Simulation(Layout parsed) : engine_(keyboard(std::move(parsed))) {}

  // Handles one token; false when it is no event (the error is in `error`).
  bool run(std::string_view token, std::string& out, std::string& error) {
    if (token.starts_with("d:") || token.starts_with("u:")) {
      KeyCode code;
      try {
        code = key(token.substr(2));
      } catch (const ValueError& failure) {
        error = failure.what();
        return false;
      }
      keyEvent(code, token[0] == 'd', out);
      return true;
    }
    if (token.starts_with("t:")) {
      const auto elapsed = milliseconds(token.substr(2));
      if (!elapsed) return unknown(token, error);
      time_ += *elapsed;
      return true;
    }
    if (token.starts_with("fg:")) {
      foreground_ = std::string(token.substr(3));
      return true;
    }
    if (token == "m" || token == "b") {
      mouseEvent(engine_, token == "m", time_);
      return true;
    }
    return unknown(token, error);
  }

 private:
  static bool unknown(std::string_view token, std::string& error) {
    error = "Unknown event: " + std::string(token);
    return false;
  }

  bool ctrlOrAltDown() const {
    return systemDown_[0x11] || systemDown_[0x12] || systemDown_[0xA2] || systemDown_[0xA3] ||
           systemDown_[0xA4] || systemDown_[0xA5];
  }

  void keyEvent(KeyCode code, bool down, std::string& out) {
    const bool typing = producesCharacter(code) && !ctrlOrAltDown();
    std::vector<std::pair<KeyCode, bool>> emitted;
    const auto emit = [&](KeyCode output, bool outputDown) {
      emitted.emplace_back(output, outputDown);
    };
    const auto foreground = [&]() -> std::string_view { return foreground_; };
    const bool swallow = translateKey(engine_, code, down, typing, time_, foreground, emit);
    out += (down ? "d:" : "u:") + keyToken(code) + (swallow ? " swallow" : " pass");
    // The emitted events reach the system after the hook has answered.
    if (!swallow) systemDown_[static_cast<std::size_t>(code)] = down;
    for (const auto& [output, outputDown] : emitted) {
      out += (outputDown ? " dn:" : " up:") + keyToken(output);
      systemDown_[static_cast<std::size_t>(output)] = outputDown;
    }
    out += '\n';
  }

  Engine engine_;
  std::array<bool, 256> systemDown_{};
  std::uint32_t time_ = 0;
  std::string foreground_;
};

}  // namespace

CliResult simulateProfile(std::string_view profileText, std::string_view script) {
  qlnSetUiLanguage(languageFromIni(profileText) ? english : russian);
  std::optional<Simulation> simulation;
  try {
    simulation.emplace(layout(profileText));
  } catch (const ValueError& error) {
    return {1, {}, std::string(error.what()) + "\n"};
  }
  CliResult result;
  std::size_t start = 0;
  while (start < script.size()) {
    if (isBlank(script[start])) {
      ++start;
      continue;
    }
    std::size_t end = start;
    while (end < script.size() && !isBlank(script[end])) ++end;
    std::string error;
    if (!simulation->run(script.substr(start, end - start), result.out, error))
      return {2, std::move(result.out), error + "\n"};
    start = end;
  }
  return result;
}

CliResult simulate(const std::string& profilePath, std::string_view script) {
  std::string text;
  std::string reason;
  if (!readProfileFile(profilePath, text, reason)) return {1, {}, reason + "\n"};
  return simulateProfile(text, script);
}

}  // namespace quillon
