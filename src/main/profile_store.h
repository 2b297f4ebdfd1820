#pragma once
// The profile as a file: where layers.ini lives, reading it, creating it with
// the default text, and replacing it safely.

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace quillon {

// A file-system failure of profile storage; the message names it for the user.
class FileError : public std::runtime_error {
 public:
  explicit FileError(const std::string& message) : std::runtime_error(message) {}
};

// Full path of the profile: the executable's directory joined with "layers.ini".
extern std::string path;
// The profile text in force.
extern std::string current;
// The last text handed to the settings window, zero-terminated.
extern std::wstring display;
// The Startup option of the profile in force.
extern bool startupEnabled;

// Sets `path` beside the running executable.
void locateProfile();

// The whole file at `path`, byte for byte; false when there is no such file.
// Raises FileError when it exists but cannot be read.
bool readProfile(std::string& text);

// Writes the default profile to `path`, which must not exist yet. Raises
// FileError and leaves no partial file behind on failure.
void writeDefaultProfile();

// `current` with CR LF line ends, stored in `display`; valid until the next store.
const wchar_t* editorText();

// Replaces the file at `path` with `text` through a temporary file beside it.
// Raises FileError; on failure the old file is intact and no temporary file is left.
void persist(std::string_view text);

// Writes the language (1 English, else Russian) into the file on disk and
// makes the result `current`. On failure shows the error, owned by the main
// window, and returns false; the file and `current` are unchanged.
bool qlnStoreUiLanguage(int language);

}  // namespace quillon
