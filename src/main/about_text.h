#pragma once
// The About window's version label, apart from Windows.

#include <algorithm>
#include <string_view>

namespace quillon {

// The version in the template's label text: everything from its first decimal
// digit on, so the number is written once, in the template.
inline std::u16string_view versionIn(std::u16string_view label) {
  const auto digit =
      std::find_if(label.begin(), label.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
  return label.substr(static_cast<std::size_t>(digit - label.begin()));
}

}  // namespace quillon
