// store_test.exe FOLDER: profile storage against Windows' real file system,
// run under Wine. Each case works on FOLDER\<case>\layers.ini and prints
// "ok: ..." or "FAIL: ..."; the exit code is the number of failures.

#include <windows.h>

#include <cstdio>
#include <string>

#include "main/profile_store.h"
#include "main/profile_text.h"
#include "main/win_text.h"

namespace quillon {
// Profile storage owns its error boxes to the main window; here there is none.
HWND window = nullptr;
}  // namespace quillon

namespace {

using namespace quillon;

int failures = 0;
std::wstring root;

void check(bool condition, const std::string& what) {
  std::printf("%s: %s\n", condition ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!condition) ++failures;
}

// A fresh folder for one case; `path` points at its layers.ini.
std::wstring useFolder(const wchar_t* name) {
  const std::wstring folder = root + L"\\" + name + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  path = narrow(folder + L"layers.ini");
  return folder;
}

void writeFile(const std::string& text) {
  HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

std::string fileText() {
  SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  std::string text;
  return readProfile(text) ? text : "(missing)";
}

// The folder holds only layers.ini: no temporary file was left behind.
bool onlyProfile(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  bool clean = true;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L".." && name != L"layers.ini") clean = false;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return clean;
}

// persist(text) raised a FileError.
bool persistFails(const std::string& text) {
  try {
    persist(text);
    return false;
  } catch (const FileError& error) {
    std::printf("   (%s)\n", error.what());
    return true;
  }
}

// Holds the profile open without sharing, as another program may.
HANDLE lockProfile() {
  return CreateFileW(wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

void persistReplaces() {
  const std::wstring folder = useFolder(L"replace");
  writeFile("old\r\n");
  persist("[Space]\r\nH=PageUp\r\n");
  check(fileText() == "[Space]\r\nH=PageUp\r\n", "persist replaces the profile");
  check(onlyProfile(folder), "persist leaves no temporary file");
  persist("");
  check(fileText().empty(), "persist writes an empty text");
}

void persistIntoLockedProfile(bool readOnly) {
  const std::wstring folder = useFolder(readOnly ? L"readonly" : L"locked");
  writeFile("old\r\n");
  if (readOnly) SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
  HANDLE lock = lockProfile();
  const std::string what = readOnly ? "a read-only, locked profile" : "a locked profile";
  check(lock != INVALID_HANDLE_VALUE, "holding " + what);
  check(persistFails("new\r\n"), "persist into " + what + " raises");
  CloseHandle(lock);
  check(fileText() == "old\r\n", "persist into " + what + " leaves the old file intact");
  check(onlyProfile(folder), "persist into " + what + " leaves no temporary file");
}

void persistIntoMissingFolder() {
  path = narrow(root + L"\\no such folder\\layers.ini");
  check(persistFails("new\r\n"), "persist into a missing folder raises");
}

void defaultProfileFile() {
  const std::wstring folder = useFolder(L"default");
  std::string text;
  check(!readProfile(text), "a missing profile reads as missing");
  writeDefaultProfile();
  check(fileText() == defaultProfile, "the default profile is written, 250 bytes");
  writeFile("mine\r\n");
  bool raised = false;
  try {
    writeDefaultProfile();
  } catch (const FileError&) {
    raised = true;
  }
  check(raised && fileText() == "mine\r\n", "the default never overwrites an existing profile");
  HANDLE lock = lockProfile();
  raised = false;
  try {
    readProfile(text);
  } catch (const FileError&) {
    raised = true;
  }
  CloseHandle(lock);
  check(raised, "a profile that cannot be opened raises instead of reading as missing");
}

void storeLanguage() {
  const std::wstring folder = useFolder(L"language");
  writeFile(std::string(defaultProfile));
  current = "stale";
  check(qlnStoreUiLanguage(1), "the language is stored");
  const std::string expected = programOption(defaultProfile, "Language", "en");
  check(fileText() == expected, "the file says Language=en and nothing else changed");
  check(current == expected, "the stored text is the one in force");
  check(onlyProfile(folder), "storing the language leaves no temporary file");
}

void editorCopy() {
  current = "[Space]\nH=PageUp\r; \xD0\xBC\xD0\xBE\xD0\xB9\r\n";
  const std::wstring expected = L"[Space]\r\nH=PageUp\r\n; \u043C\u043E\u0439\r\n";
  check(editorText() == expected, "the editor gets the profile in UTF-16 with CR LF line ends");
  check(display == expected, "the editor's copy is kept in display");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 100;
  root = argv[1];
  persistReplaces();
  persistIntoLockedProfile(false);
  persistIntoLockedProfile(true);
  persistIntoMissingFolder();
  defaultProfileFile();
  storeLanguage();
  editorCopy();
  return failures;
}
