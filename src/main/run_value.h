#pragma once
// The Run value that starts the program with Windows, apart from the
// registry: its data is the executable's path in double quotes.

#include <cstddef>
#include <cstdint>

namespace quillon {

// The most that GetModuleFileNameW may write; a result that reaches it is a
// truncated path, and a truncated path would start some other program.
inline constexpr std::size_t modulePathCapacity = 32768;
// The data buffer: both quotes and the terminating NUL around the longest path.
inline constexpr std::size_t runDataCapacity = modulePathCapacity + 4;

// True when GetModuleFileNameW returned a whole path of `length` characters.
constexpr bool wholeModulePath(std::uint32_t length) {
  return length != 0 && length < modulePathCapacity;
}

// The REG_SZ size of a value of `quotedLength` characters, quotes included:
// the terminating NUL is stored too.
constexpr std::uint32_t runDataBytes(std::size_t quotedLength) {
  return static_cast<std::uint32_t>((quotedLength + 1) * sizeof(char16_t));
}

// The Run value counts as present when it holds at least one character; an
// empty string (its NUL alone) does not start anything.
constexpr bool runValueCounts(std::uint32_t reportedBytes) {
  return reportedBytes > sizeof(char16_t);
}

}  // namespace quillon
