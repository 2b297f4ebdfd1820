#pragma once
// Start with Windows: the per-user Run value, kept in line with the
// profile's Startup option.

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// True when the Run value holds a string of at least one character; a value
// that cannot be read counts as absent.
bool runValueExists();

// Makes the Run value present (enable) or absent; 0 on success, 1 on failure.
int setStartup(bool enable);

// The sync at every normal start: the Run value follows `startupEnabled`, so
// an enabled one names the executable that runs now. A failure is shown and
// the program runs on.
void configureStartup();

// Sets Startup in the Run value and the profile together; returns the editor's
// text with the new option, or nothing when the change was refused (shown).
std::optional<std::wstring> toggleStartup(std::wstring_view editorText, int enable);

// The tray menu's "Start with Windows": flips the Run value's present state.
void startupToggleCommand();

}  // namespace quillon
