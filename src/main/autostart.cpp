#include "main/autostart.h"

#include <windows.h>

namespace quillon {

namespace {
constexpr const wchar_t* runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* runValue = L"Quillon";
}  // namespace

bool runValueExists() {
  DWORD size = 0;
  const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, runKey, runValue, RRF_RT_REG_SZ, nullptr,
                                      nullptr, &size);
  // An empty string is the terminator alone: 2 bytes.
  return status == ERROR_SUCCESS && size > sizeof(wchar_t);
}

}  // namespace quillon
