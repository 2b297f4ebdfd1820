#include "main/draft_edit.h"

#include <optional>
#include <vector>

#include "layers/profile.h"
#include "layers/text.h"
#include "layers/value_error.h"
#include "localization/language.h"
#include "main/profile_text.h"

namespace quillon {

namespace {

// A draft's lines. A final line break ends the text rather than opening an
// empty last line, so edits at the end keep the text ending as it did.
struct Lines {
  std::vector<std::string> lines;
  bool finalBreak = false;

  explicit Lines(std::string_view text) {
    for (std::string_view line : splitLines(text)) lines.emplace_back(line);
    finalBreak = lines.size() > 1 && lines.back().empty();
    if (finalBreak) lines.pop_back();
  }

  // Joined with CR LF and checked by the parser, which raises for a refused edit.
  std::string checked() const {
    std::string text = joinCrLf(lines);
    if (finalBreak) text += "\r\n";
    layout(text);
    return text;
  }
};

std::string hexByte(KeyCode code) {
  static constexpr char digits[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned>(code) & 0xFF;
  return {'0', 'x', digits[byte >> 4], digits[byte & 15]};
}

// A key name as the reader takes it, or nothing for a line the parser will
// refuse anyway.
std::optional<KeyCode> readKey(std::string_view name, bool layer) {
  try {
    return layer ? layerKey(name) : key(name);
  } catch (const ValueError&) {
    return std::nullopt;
  }
}

bool isProgramHeader(std::string_view line) {
  return lower(line) == "[program]";
}

// A header names its section between the brackets.
bool isLayerHeader(std::string_view line, KeyCode layer) {
  if (line.size() < 2) return false;
  return readKey(line.substr(1, line.size() - 2), true) == layer;
}

bool isComment(std::string_view line) {
  return line.empty() || line.front() == '#' || line.front() == ';';
}

}  // namespace

std::string rowLine(KeyCode source, ModifierMask mask, KeyCode target) {
  std::string line = keyToken(source) + "=";
  for (std::size_t bit = 0; bit < modifierNames.size(); ++bit) {
    if ((mask & (ModifierMask{1} << bit)) == 0) continue;
    line += modifierNames[bit];
    line += '+';
  }
  return line + keyToken(target);
}

std::string sectionHeader(KeyCode layer) {
  return "[" + keyToken(layer) + "]";
}

std::string editRow(std::string_view text, KeyCode layer, KeyCode oldSource, KeyCode newSource,
                    KeyCode target, ModifierMask mask) {
  Lines draft(text);
  std::optional<std::size_t> insertAt;
  std::optional<std::size_t> rowAt;
  bool inSection = false;
  for (std::size_t i = 0; i < draft.lines.size(); ++i) {
    const std::string_view line = trim(draft.lines[i]);
    if (line.starts_with('[')) {
      inSection = !isProgramHeader(line) && isLayerHeader(line, layer);
      if (inSection) insertAt = i + 1;
      continue;
    }
    if (!inSection) continue;
    insertAt = i + 1;
    if (isComment(line)) continue;
    const std::optional<KeyCode> source = readKey(line.substr(0, line.find('=')), false);
    if (source == oldSource && oldSource != noKey) {
      rowAt = i;
    } else if (source == newSource && newSource != noKey) {
      throw ValueError(tr("Эта клавиша уже назначена.", "This key is already assigned."));
    }
  }

  auto& lines = draft.lines;
  if (newSource == noKey) {
    if (rowAt) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*rowAt));
  } else if (rowAt) {
    lines[*rowAt] = rowLine(newSource, mask, target);
  } else if (!insertAt) {
    lines.push_back(sectionHeader(layer));
    lines.push_back(rowLine(newSource, mask, target));
  } else {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*insertAt),
                 rowLine(newSource, mask, target));
  }
  return draft.checked();
}

std::string removeLayerDraft(std::string_view text, KeyCode layer) {
  Lines draft(text);
  std::vector<std::string> kept;
  bool inProgram = false;
  bool dropping = false;
  for (std::string& raw : draft.lines) {
    const std::string_view line = trim(raw);
    if (line.starts_with('[')) {
      inProgram = isProgramHeader(line);
      dropping = !inProgram && isLayerHeader(line, layer);
    } else if (inProgram && lower(line).starts_with("timing.")) {
      const std::string_view name = trim(line.substr(0, line.find('='))).substr(7);
      if (readKey(name, false) == layer) continue;
    }
    if (!dropping) kept.push_back(std::move(raw));
  }
  draft.lines = std::move(kept);
  return draft.checked();
}

std::string timingDraft(std::string_view text, KeyCode layer, std::int64_t delay, bool enabled,
                        std::int64_t hold) {
  const std::string value =
      std::to_string(delay) + "," + (enabled ? "1" : "0") + "," + std::to_string(hold);
  return programOption(text, "Timing." + hexByte(layer), value);
}

std::string mouseDraft(std::string_view text, std::int64_t timeout, bool guard, KeyCode on,
                       KeyCode off) {
  auto keyValue = [](KeyCode code) { return code == noKey ? std::string("0") : hexByte(code); };
  std::string result = programOption(text, "MouseMs", std::to_string(timeout));
  result = programOption(result, "MouseGuard", guard ? "1" : "0");
  result = programOption(result, "MouseOn", keyValue(on));
  return programOption(result, "MouseOff", keyValue(off));
}

std::int64_t readTime(std::string_view text, std::int64_t lowest, std::int64_t highest) {
  // Inputs are read 15 characters at most, which keeps the value in range.
  text = text.substr(0, 15);
  if (text.empty()) return -1;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value < lowest || value > highest ? -1 : value;
}

TimingCheck checkTiming(const TimingInputs& inputs) {
  TimingCheck check;
  check.delay = readTime(inputs.delay, 0, 1000);
  if (check.delay < 0) {
    check.refused = TimingCheck::Refused::delay;
    return check;
  }
  const std::int64_t hold = readTime(inputs.hold, 500, 5000);
  check.enabled = inputs.holdChecked;
  if (hold >= 0) {
    check.hold = hold;
    return check;
  }
  if (inputs.holdChecked) {
    check.refused = TimingCheck::Refused::hold;
    return check;
  }
  check.hold = inputs.savedHold;
  return check;
}

}  // namespace quillon
