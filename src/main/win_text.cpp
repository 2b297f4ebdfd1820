#include "main/win_text.h"

#include <new>

namespace quillon {

namespace {
bool silent = false;
}  // namespace

static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring wide(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, result.data(), length);
  return result;
}

std::string narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), length, nullptr, nullptr);
  return result;
}

const wchar_t* uiText(TextId id) {
  return reinterpret_cast<const wchar_t*>(text(id));
}

void showError(HWND owner, std::string_view message) noexcept {
  try {
    showError(owner, wide(message).c_str());
  } catch (const std::bad_alloc&) {
    showError(owner, uiText(TextId::outOfMemory));
  }
}

void silenceErrors() {
  silent = true;
}

void showError(HWND owner, const wchar_t* message) noexcept {
  if (silent) return;
  MessageBoxW(owner, message, L"Quillon", MB_OK | MB_ICONERROR);
}

}  // namespace quillon
