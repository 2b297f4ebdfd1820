#pragma once
// Saving a profile from the settings window and the start-with-Windows
// toggle, apart from Windows: the order of the steps, what each failure
// leaves behind and what the user is told. The system side (the file, the Run
// value, message boxes) is handed in; tests hand in a fake one.

#include <concepts>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "layers/engine.h"
#include "layers/profile.h"
#include "localization/language.h"
#include "localization/texts.h"
#include "main/profile_text.h"

namespace quillon {

// The profile in force: the text, its Startup option and the engine built
// from it. They change together or not at all.
struct ProfileInForce {
  std::string& current;
  bool& startupEnabled;
  Engine& board;
};

template <typename System>
concept ProfileSystem = requires(System& system, bool enable, std::string_view text, TextId id) {
  { system.setStartup(enable) } -> std::same_as<bool>;  // true: the Run value follows
  system.persist(text);                                 // raises on failure
  system.showError(text);
  system.showError(id);
};

// Stores the draft and puts it in force; true when it was stored. Every
// failure has been shown when it returns false, and left the file, `current`,
// `startupEnabled` and the engine as they were.
template <ProfileSystem System>
bool saveProfile(std::string_view draft, ProfileInForce state, System& system) {
  try {
    // The stored profile always records the language in use.
    std::string text = withLanguage(draft);
    // Line numbers in its messages count the lines of the stored text, the
    // Language line that withLanguage may have added included.
    Layout parsed = layout(text);
    // A new engine would lose the held keys, and their releases would reach
    // programs that never saw the presses.
    if (busy(state.board)) {
      system.showError(tr("Отпустите клавиши слоя и повторите сохранение.",
                          "Release the layer keys and try saving again."));
      return false;
    }
    // Built before the file is written, so nothing can fail between writing
    // the file and putting it in force.
    Engine fresh = keyboard(std::move(parsed));
    system.persist(text);
    state.current = std::move(text);
    state.startupEnabled = fresh.layout.options.startup;
    state.board = std::move(fresh);
  } catch (const std::bad_alloc&) {
    system.showError(TextId::outOfMemory);
    return false;
  } catch (const std::exception& error) {
    system.showError(error.what());
    return false;
  }
  if (!system.setStartup(state.startupEnabled)) {
    system.showError(tr("Профиль сохранён. Windows не позволила изменить автозапуск.",
                        "Profile saved. Windows could not change startup."));
  }
  return true;
}

// Turns starting with Windows on or off in the Run value and in the profile
// together; returns the editor's text with the new Startup line, or nothing
// when the change was refused. The registry goes first and is put back when
// the profile cannot be written, so the two never disagree because of it.
template <ProfileSystem System>
std::optional<std::string> toggleStartup(std::string_view editorText, bool enable,
                                         ProfileInForce state, System& system) {
  try {
    const std::string_view value = enable ? "1" : "0";
    std::string fileText = withLanguage(programOption(state.current, "Startup", value));
    std::string editorResult = withLanguage(programOption(editorText, "Startup", value));
    if (!system.setStartup(enable)) {
      system.showError(
          tr("Не удалось изменить автозапуск в Windows.", "Could not change Windows startup."));
      return std::nullopt;
    }
    try {
      system.persist(fileText);
    } catch (...) {
      if (!system.setStartup(!enable)) {
        system.showError(tr("Не удалось восстановить прежнюю настройку автозапуска.",
                            "Could not restore the previous startup setting."));
      }
      throw;
    }
    state.current = std::move(fileText);
    state.startupEnabled = enable;
    return editorResult;
  } catch (const std::bad_alloc&) {
    system.showError(TextId::outOfMemory);
  } catch (const std::exception& error) {
    system.showError(error.what());
  }
  return std::nullopt;
}

}  // namespace quillon
