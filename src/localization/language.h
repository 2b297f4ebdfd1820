#pragma once
// The process-wide UI language. Only the main thread reads or writes it.

#include <string>
#include <string_view>

namespace quillon {

inline constexpr int russian = 0;
inline constexpr int english = 1;

int qlnUiLanguage();
// 1 selects English; any other value Russian.
void qlnSetUiLanguage(int language);

// The English text when the UI is English, else the Russian one. The Russian
// text always comes first.
std::string tr(std::string_view ru, std::string_view en);

}  // namespace quillon
