#pragma once
// The text forms profile storage works with, apart from the file system: the
// editor's copy of a profile and the names of temporary files.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// The profile text prepared for the settings window's editor: the same lines,
// every line end written as CR LF.
std::string editorText(std::string_view text);

inline constexpr std::size_t temporaryRandomLength = 8;

// "layers-" + 8 characters of a..z, A..Z, 0..9 chosen by the random bytes +
// ".tmp".
std::string temporaryName(const std::array<std::uint8_t, temporaryRandomLength>& random);

}  // namespace quillon
