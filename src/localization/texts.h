#pragma once
// The fixed UI texts in both languages, indexed by TextId.

#include <array>
#include <cstddef>

namespace quillon {

enum class TextId : std::size_t {
  windowTitle,
  trayTip,
  menuSettings,
  menuStartup,
  menuAbout,
  menuDonate,
  menuExit,
  linkError,
  discardChanges,
  aboutError,
  aboutTitle,
  aboutVersion,
  aboutTelegram,
  aboutEmail,
  aboutClose,
  outOfMemory,
  lastLayer,
  mouseTimeoutRange,
  setKey,
  pressKey,
  delayLabel,
  holdCheck,
  layerKeysHeading,
  bindingsHeading,
  sourceHeading,
  targetHeading,
  layerAdd,
  layerRemove,
  mouseGuard,
  mouseTimeoutLabel,
  mouseEnableLabel,
  mouseDisableLabel,
  noneChoice,
  mouseMovementName,
  newBinding,
  removeBinding,
  specialKey,
  leftButton,
  rightButton,
  middleButton,
  delayRange,
  holdRange,
  mappingsFrame,
  layerFrame,
  save,
  close,
  count
};

inline constexpr std::size_t textCount = static_cast<std::size_t>(TextId::count);

extern const std::array<const char16_t*, textCount> qlnEnText;
extern const std::array<const char16_t*, textCount> qlnRuText;

// The text of `id` in the UI language in use.
const char16_t* text(TextId id);

}  // namespace quillon
