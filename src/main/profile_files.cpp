#include "main/profile_files.h"

#include "layers/text.h"

namespace quillon {

std::string editorText(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  bool first = true;
  forEachLine(text, [&](std::string_view line) {
    if (!first) result += "\r\n";
    first = false;
    result += line;
    return true;
  });
  return result;
}

std::string temporaryName(const std::array<std::uint8_t, temporaryRandomLength>& random) {
  static constexpr std::string_view alphabet =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = "layers-";
  for (std::uint8_t byte : random) name += alphabet[byte % alphabet.size()];
  return name + ".tmp";
}

}  // namespace quillon
