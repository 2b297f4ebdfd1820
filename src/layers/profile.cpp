#include "layers/profile.h"

#include <limits>
#include <optional>

#include "layers/text.h"
#include "layers/value_error.h"
#include "localization/language.h"

namespace quillon {

namespace {

// Decimal with an optional sign; underscores between digits are ignored.
std::int64_t integer(std::string_view text) {
  const std::string_view value = trim(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  const std::string_view body = value.substr(i);
  bool valid = !body.empty() && body.front() != '_' && body.back() != '_';
  for (char c : body) valid = valid && ((c >= '0' && c <= '9') || c == '_');
  if (!valid) throw ValueError("invalid integer: " + std::string(value));

  // Accumulate towards the negative end, which holds one more value.
  constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
  std::int64_t result = 0;
  for (char c : body) {
    if (c == '_') continue;
    const int digit = c - '0';
    if (result < (lowest + digit) / 10) throw ValueError("Parsed integer outside of valid range");
    result = result * 10 - digit;
  }
  if (negative) return result;
  if (result == lowest) throw ValueError("Parsed integer outside of valid range");
  return -result;
}

std::int64_t integerIn(std::string_view text, std::int64_t low, std::int64_t high,
                       const char* message) {
  const std::int64_t value = integer(text);
  if (value < low || value > high) throw ValueError(message);
  return value;
}

bool flag(std::string_view value, const char* message) {
  if (value == "0") return false;
  if (value == "1") return true;
  throw ValueError(message);
}

KeyCode mouseKey(std::string_view value) {
  return value == "0" ? noKey : key(value);
}

void timingOption(Layout& result, std::string_view layerName, std::string_view value) {
  const KeyCode layer = key(layerName);
  std::string_view pieces[3];
  std::size_t count = 0;
  forEachPiece(value, ',', [&](std::string_view piece) {
    if (count < 3) pieces[count] = trim(piece);
    ++count;
  });
  if (count != 3) throw ValueError("Expected delay,enabled,hold");
  const std::int64_t delay = integer(pieces[0]);
  const std::int64_t hold = integer(pieces[2]);
  if (delay < 0 || delay > 1000) throw ValueError("Invalid layer timing");
  if ((pieces[1] != "0" && pieces[1] != "1") || hold < 500 || hold > 5000)
    throw ValueError("Invalid layer timing");
  result.timings[layer] = {static_cast<std::int32_t>(delay), pieces[1] == "1", hold};
}

void excludeOption(ProgramOptions& options, std::string_view value) {
  forEachPiece(value, ',', [&](std::string_view piece) {
    const std::string_view item = trim(piece);
    if (!item.empty()) options.exclude.push_back(lower(item));
  });
}

void option(Layout& result, std::string_view left, std::string_view right) {
  const std::string name = lower(trim(left));
  const std::string_view value = trim(right);
  ProgramOptions& options = result.options;
  if (name.starts_with("timing."))
    return timingOption(result, std::string_view(name).substr(7), value);
  if (name == "startup") {
    options.startup = flag(value, "Startup expects 0 or 1");
  } else if (name == "language") {
    const std::string language = lower(value);
    if (language != "ru" && language != "en") throw ValueError("Language expects ru or en");
  } else if (name == "exclude") {
    excludeOption(options, value);
  } else if (name == "mouseguard") {
    options.mouseGuard = flag(value, "MouseGuard expects 0 or 1");
  } else if (name == "mousems") {
    options.mouseMs =
        static_cast<std::uint32_t>(integerIn(value, 1, 600000, "MouseMs expects 1..600000"));
  } else if (name == "mouseon") {
    options.mouseOn = mouseKey(value);
  } else if (name == "mouseoff") {
    options.mouseOff = mouseKey(value);
  } else if (name == "holdms") {
    options.holdMs = integerIn(value, 500, 5000, "HoldMs expects 500..5000");
  } else if (name == "holdseconds") {
    options.holdMs = integerIn(value, 2, 5, "HoldSeconds expects 2..5") * 1000;
  } else if (name == "ignorelonghold") {
    options.ignoreLongHold = flag(value, "IgnoreLongHold expects 0 or 1");
  } else if (name == "delayms") {
    options.delayMs =
        static_cast<std::int32_t>(integerIn(value, 0, 1000, "DelayMs expects 0..1000"));
  } else if (name != "spacebyrelease") {
    throw ValueError("Unknown program option");
  }
}

void binding(Layout& result, KeyCode layer, std::string_view left, std::string_view right) {
  const KeyCode source = key(left);
  Layer& bindings = result.layers[layer];
  if (bindings.contains(source)) throw ValueError("Duplicate binding");
  std::vector<KeyCode> modifiers;
  std::size_t start = 0;
  for (std::size_t plus = right.find('+'); plus != std::string_view::npos;
       plus = right.find('+', start)) {
    const std::optional<KeyCode> code =
        modifierCode(upper(trim(right.substr(start, plus - start))));
    if (!code) throw ValueError("Unknown modifier");
    for (KeyCode existing : modifiers)
      if (existing == *code) throw ValueError("Duplicate modifier");
    modifiers.push_back(*code);
    start = plus + 1;
  }
  result.modifiers[{layer, source}] = std::move(modifiers);
  bindings[source] = key(right.substr(start));
}

struct Parser {
  Layout result;
  bool inProgram = false;
  KeyCode layer = noKey;

  void line(std::string_view raw) {
    const std::string_view text = trim(raw);
    if (text.empty() || text.front() == '#' || text.front() == ';') return;
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') return header(text);
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || (!inProgram && layer == noKey))
      throw ValueError("Expected [key] or source=target");
    const std::string_view left = text.substr(0, equals);
    const std::string_view right = text.substr(equals + 1);
    if (inProgram) return option(result, left, right);
    binding(result, layer, left, right);
  }

  void header(std::string_view text) {
    if (lower(text) == "[program]") {
      inProgram = true;
      return;
    }
    const KeyCode code = layerKey(text.substr(1, text.size() - 2));
    if (result.layers.contains(code)) throw ValueError("Duplicate layer");
    result.layers[code];
    layer = code;
    inProgram = false;
  }

  void finish() {
    if (result.layers.empty()) throw ValueError("No layers defined");
    const ProgramOptions& options = result.options;
    if (options.mouseOn != noKey && options.mouseOn == options.mouseOff)
      throw ValueError(tr("Выберите разные клавиши включения и выключения.",
                          "Choose different enable and disable keys."));
    for (const auto& [code, bindings] : result.layers)
      if (code != mouseLayerKey && bindings.empty()) throw ValueError("Empty layer");
  }
};

}  // namespace

Layout layout(std::string_view text) {
  Parser parser;
  std::size_t number = 0;
  forEachLine(text, [&](std::string_view line) {
    ++number;
    try {
      parser.line(line);
    } catch (const ValueError& error) {
      throw ValueError("Line " + std::to_string(number) + ": " + error.what());
    }
    return true;
  });
  parser.finish();
  return std::move(parser.result);
}

LayerTiming timing(const Layout& layout, KeyCode layer) {
  if (const auto found = layout.timings.find(layer); found != layout.timings.end())
    return found->second;
  if (layer == 32)
    return {layout.options.delayMs, layout.options.ignoreLongHold, layout.options.holdMs};
  return {};
}

}  // namespace quillon
