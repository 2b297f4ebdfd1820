#pragma once
// Texts at the Windows boundary: the program keeps UTF-8 inside and hands
// UTF-16 to Windows through this one pair of conversions.

#include <windows.h>

#include <string>
#include <string_view>

#include "localization/texts.h"

namespace quillon {

std::wstring wide(std::string_view text);
std::string narrow(std::wstring_view text);

// A fixed UI text in the language in use, as Windows takes it.
const wchar_t* uiText(TextId id);

// The program's error box: title "Quillon", error icon.
// Never throws, so window procedures can report from their catch blocks.
void showError(HWND owner, std::string_view message) noexcept;
void showError(HWND owner, const wchar_t* message) noexcept;
// The self-check shows nothing: from then on an error box is left out and
// only the step that met the error fails.
void silenceErrors();

}  // namespace quillon
