#pragma once
// The fixed UI texts in both languages, indexed by TextId.

#include <algorithm>
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

// Joins UTF-16 literals at compile time into one zero-terminated array.
template <std::size_t... N>
constexpr auto joinTexts(const char16_t (&... parts)[N]) {
  std::array<char16_t, (N + ...) - sizeof...(N) + 1> joined{};
  std::size_t at = 0;
  ((std::copy_n(parts, N - 1, joined.begin() + at), at += N - 1), ...);
  return joined;
}

// The maker's contacts. The About window's link buttons show them (rows
// aboutTelegram and aboutEmail) and open the links made from them, so a
// button always opens what it names.
inline constexpr char16_t messengerChannel[] = u"quillon_app";
inline constexpr char16_t emailAddress[] = u"hello@quillon.app";
inline constexpr auto messengerLink = joinTexts(u"https://t.me/", messengerChannel);
inline constexpr auto emailLink = joinTexts(u"mailto:", emailAddress);

extern const std::array<const char16_t*, textCount> qlnEnText;
extern const std::array<const char16_t*, textCount> qlnRuText;

// The text of `id` in the UI language in use.
const char16_t* text(TextId id);

}  // namespace quillon
