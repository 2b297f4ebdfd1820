#pragma once
// Small text helpers shared by the profile reader and the profile writers.
// Profiles are bytes; only ASCII is ever folded or trimmed.

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Blanks as the profile format knows them: space, tab, LF, VT, FF, CR.
bool isBlank(char c);
std::string_view trim(std::string_view text);
std::string lower(std::string_view text);
std::string upper(std::string_view text);

// Splits at CR LF, lone LF or lone CR. Text after the last break is a last
// line, so a text ending with a break yields an empty last line.
std::vector<std::string_view> splitLines(std::string_view text);

// Calls visit(line) for each line, as splitLines would list them but without
// building the list; stops early when visit returns false.
template <typename Visit>
void forEachLine(std::string_view text, Visit&& visit) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
    if (!visit(text.substr(start, i - start))) return;
    if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
}

// Calls visit(piece) for each piece of text between separators (a text
// without one is a single piece).
template <typename Visit>
void forEachPiece(std::string_view text, char separator, Visit&& visit) {
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != std::string_view::npos;
       at = text.find(separator, start)) {
    visit(text.substr(start, at - start));
    start = at + 1;
  }
  visit(text.substr(start));
}

std::string joinCrLf(const std::vector<std::string>& lines);

}  // namespace quillon
