#include "main/apply_logic.h"

#include <charconv>
#include <vector>

#include "layers/text.h"
#include "layers/value_error.h"

namespace quillon {

namespace {

constexpr std::string_view linePrefix = "Line ";

// The number of the first line of `stored` that `draft` does not have, and
// how many lines were added there: saving only ever inserts the Language
// line (and a [Program] header before it) or replaces lines in place.
struct Insertion {
  std::size_t first = 0;
  std::size_t count = 0;
};

Insertion insertion(std::string_view draft, std::string_view stored) {
  const std::vector<std::string_view> before = splitLines(draft);
  const std::vector<std::string_view> after = splitLines(stored);
  Insertion result;
  if (after.size() <= before.size()) return result;
  result.count = after.size() - before.size();
  while (result.first < before.size() && before[result.first] == after[result.first])
    ++result.first;
  ++result.first;
  return result;
}

}  // namespace

Layout parseStored(std::string_view draft, std::string_view stored) {
  try {
    return layout(stored);
  } catch (const ValueError& error) {
    const std::string_view message = error.what();
    if (!message.starts_with(linePrefix)) throw;
    const char* digits = message.data() + linePrefix.size();
    std::size_t line = 0;
    const auto [end, status] = std::from_chars(digits, message.data() + message.size(), line);
    const Insertion added = insertion(draft, stored);
    if (status != std::errc() || added.count == 0 || line < added.first + added.count) throw;
    throw ValueError(std::string(linePrefix) + std::to_string(line - added.count) +
                     std::string(end, message.data() + message.size()));
  }
}

}  // namespace quillon
