#include "main/profile_store.h"

#include <bcrypt.h>

#include <array>
#include <cstdint>

#include "localization/language.h"
#include "main/handles.h"
#include "main/profile_files.h"
#include "main/profile_text.h"
#include "main/settings_window.h"
#include "main/win_text.h"

namespace quillon {

std::string path;
std::string current(defaultProfile);
std::wstring display;
bool startupEnabled = false;

namespace {

constexpr int temporaryAttempts = 10000;

[[noreturn]] void fail(std::string_view ru, std::string_view en, const std::wstring& file,
                       DWORD error) {
  throw FileError(tr(ru, en) + narrow(file) + tr(" (ошибка ", " (error ") + std::to_string(error) +
                  ").");
}

std::wstring directoryOf(const std::wstring& file) {
  return file.substr(0, file.find_last_of(L"\\/") + 1);
}

bool writeAll(HANDLE file, std::string_view text) {
  constexpr std::size_t chunk = 1 << 20;
  while (!text.empty()) {
    const auto size = static_cast<DWORD>(std::min(text.size(), chunk));
    DWORD written = 0;
    if (!WriteFile(file, text.data(), size, &written, nullptr) || written == 0) return false;
    text.remove_prefix(written);
  }
  return true;
}

// Closes the handle and reports whether the close itself succeeded: a failing
// close can be the first sign of a write that did not reach the disk.
bool closeFile(UniqueHandle& file) {
  return CloseHandle(file.release()) != 0;
}

// The temporary file, deleted unless it was moved onto the profile.
struct TemporaryFile {
  std::wstring name;
  UniqueHandle file;

  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    file.reset();
    if (!name.empty()) DeleteFileW(name.c_str());
  }
};

std::array<std::uint8_t, temporaryRandomLength> randomBytes(const std::wstring& folder) {
  std::array<std::uint8_t, temporaryRandomLength> bytes{};
  const NTSTATUS status =
      BCryptGenRandom(nullptr, bytes.data(), bytes.size(), BCRYPT_USE_SYSTEM_PREFERRED_RNG);
  if (status != 0) {
    fail("Не удалось выбрать имя временного файла в ", "Could not choose a temporary file name in ",
         folder, static_cast<DWORD>(status));
  }
  return bytes;
}

// Creates a temporary file of a fresh name beside the profile; a name already
// taken is never opened, so another file is never overwritten.
void createTemporary(const std::wstring& folder, TemporaryFile& temporary) {
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < temporaryAttempts; ++attempt) {
    const std::wstring name = folder + wide(temporaryName(randomBytes(folder)));
    temporary.file = fileHandle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (temporary.file) {
      temporary.name = name;
      return;
    }
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  fail("Не удалось создать временный файл в ", "Could not create a temporary file in ", folder,
       error);
}

}  // namespace

void locateProfile() {
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (length < module.size()) {
      module.resize(length);
      break;
    }
    module.resize(module.size() * 2);
  }
  path = narrow(directoryOf(module) + L"layers.ini");
}

bool readProfile(std::string& text) {
  const std::wstring name = wide(path);
  auto file = fileHandle(CreateFileW(name.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return false;
    fail("Не удалось открыть профиль ", "Could not open the profile ", name, error);
  }
  std::string content;
  std::array<char, 1 << 16> buffer;
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer.data(), buffer.size(), &read, nullptr)) {
      fail("Не удалось прочитать профиль ", "Could not read the profile ", name, GetLastError());
    }
    if (read == 0) break;
    content.append(buffer.data(), read);
  }
  text = std::move(content);
  return true;
}

void writeDefaultProfile() {
  const std::wstring name = wide(path);
  auto file = fileHandle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file)
    fail("Не удалось создать профиль ", "Could not create the profile ", name, GetLastError());
  const bool written = writeAll(file.get(), defaultProfile);
  DWORD error = GetLastError();
  const bool closed = closeFile(file);
  if (written && closed) return;
  if (written) error = GetLastError();
  // A half-written profile would be read as the user's at the next start.
  DeleteFileW(name.c_str());
  fail("Не удалось записать профиль ", "Could not write the profile ", name, error);
}

const wchar_t* editorText() {
  display = wide(editorText(current));
  return display.c_str();
}

void persist(std::string_view text) {
  const std::wstring target = wide(path);
  TemporaryFile temporary;
  createTemporary(directoryOf(target), temporary);
  // Flushed before the move and moved with write-through, so that a power cut
  // leaves the old profile or the new one, never a truncated file.
  const bool written =
      writeAll(temporary.file.get(), text) && FlushFileBuffers(temporary.file.get());
  const DWORD writeError = GetLastError();
  const bool closed = closeFile(temporary.file);
  if (!written) {
    fail("Не удалось записать временный файл ", "Could not write the temporary file ",
         temporary.name, writeError);
  }
  if (!closed) {
    fail("Не удалось закрыть временный файл ", "Could not close the temporary file ",
         temporary.name, GetLastError());
  }
  if (!MoveFileExW(temporary.name.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    fail("Не удалось заменить профиль ", "Could not replace the profile ", target, GetLastError());
  }
  temporary.name.clear();
}

bool qlnStoreUiLanguage(int language) {
  try {
    std::string text;
    if (!readProfile(text)) text = defaultProfile;
    text = programOption(text, "Language", language == english ? "en" : "ru");
    persist(text);
    current = std::move(text);
    return true;
  } catch (const std::exception& error) {
    showError(window, error.what());
    return false;
  }
}

}  // namespace quillon
