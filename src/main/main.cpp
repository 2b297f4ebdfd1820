// quillon.exe: the command line decides the mode. "--check" validates the
// profile beside the executable and answers only with the exit code;
// "--smoke-test" starts the program under its test names; anything else is a
// normal run.

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "layers/profile.h"
#include "layers/value_error.h"
#include "localization/language.h"
#include "main/profile_store.h"
#include "main/profile_text.h"
#include "main/startup.h"

namespace quillon {
namespace {

enum class Mode { normal, check, smokeTest };

// Only a command line of exactly one known argument selects a mode.
Mode commandLineMode() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return Mode::normal;
  Mode mode = Mode::normal;
  if (count == 2 && std::wstring_view(arguments[1]) == L"--check") mode = Mode::check;
  if (count == 2 && std::wstring_view(arguments[1]) == L"--smoke-test") mode = Mode::smokeTest;
  LocalFree(arguments);
  return mode;
}

// The profile on disk, or the built-in default text when there is none; never
// writes anything.
int checkProfile() {
  try {
    locateProfile();
    std::string text;
    if (!readProfile(text)) text = defaultProfile;
    qlnSetUiLanguage(languageFromIni(text) ? english : russian);
    layout(text);
    return 0;
  } catch (const std::exception&) {
    return 1;
  }
}

}  // namespace
}  // namespace quillon

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace quillon;
  switch (commandLineMode()) {
    case Mode::check:
      return checkProfile();
    case Mode::smokeTest:
      return run(true);
    case Mode::normal:
      return run(false);
  }
  return 0;
}
