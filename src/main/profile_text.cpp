#include "main/profile_text.h"

#include <optional>
#include <vector>

#include "layers/text.h"
#include "localization/language.h"

namespace quillon {

const std::string_view defaultProfile =
    "[Program]\r\n"
    "Startup=1\r\n"
    "Language=ru\r\n"
    "Exclude=quakelive_steam.exe\r\n"
    "\r\n"
    "[Space]\r\n"
    "H=PageUp\r\n"
    "I=Up\r\n"
    "J=Left\r\n"
    "K=Down\r\n"
    "L=Right\r\n"
    "M=Delete\r\n"
    "N=PageDown\r\n"
    "O=End\r\n"
    "P=Backspace\r\n"
    "U=Home\r\n"
    "Y=Insert\r\n"
    "\r\n"
    "[CapsLock]\r\n"
    "M=1\r\n"
    "0xBC=2\r\n"
    "0xBE=3\r\n"
    "J=4\r\n"
    "K=5\r\n"
    "L=6\r\n"
    "U=7\r\n"
    "I=8\r\n"
    "O=9\r\n"
    "Space=0\r\n";

std::string programOption(std::string_view text, std::string_view name, std::string_view value) {
  std::vector<std::string> lines;
  for (std::string_view line : splitLines(text)) lines.emplace_back(line);

  const std::string wanted = lower(name);
  const std::string replacement = std::string(name) + "=" + std::string(value);
  bool inProgram = false;
  bool replaced = false;
  std::optional<std::size_t> lastHeader;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = lower(trim(lines[i]));
    if (line.starts_with("[")) {
      inProgram = line == "[program]";
      if (inProgram) lastHeader = i;
      continue;
    }
    if (!inProgram) continue;
    if (trim(std::string_view(line).substr(0, line.find('='))) != wanted) continue;
    lines[i] = replacement;
    replaced = true;
  }
  if (!replaced) {
    if (!lastHeader) {
      lines.insert(lines.begin(), "[Program]");
      lastHeader = 0;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastHeader + 1), replacement);
  }
  return joinCrLf(lines);
}

std::string withLanguage(std::string_view text) {
  return programOption(text, "Language", qlnUiLanguage() == english ? "en" : "ru");
}

bool languageFromIni(std::string_view text) {
  bool inProgram = false;
  std::optional<bool> english;
  forEachLine(text, [&](std::string_view raw) {
    const std::string_view line = trim(raw);
    if (line.empty() || line.front() == '#' || line.front() == ';') return true;
    if (line.front() == '[' && line.back() == ']') {
      inProgram = lower(line) == "[program]";
      return true;
    }
    const std::size_t equals = line.find('=');
    if (!inProgram || equals == std::string_view::npos) return true;
    if (lower(trim(line.substr(0, equals))) != "language") return true;
    english = lower(trim(line.substr(equals + 1))) == "en";
    return false;
  });
  return english.value_or(false);
}

}  // namespace quillon
