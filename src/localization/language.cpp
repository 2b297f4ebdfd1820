#include "localization/language.h"

#include <cstdint>

namespace quillon {

namespace {
std::uint8_t uiLanguage = russian;
}

int qlnUiLanguage() {
  return uiLanguage;
}

void qlnSetUiLanguage(int language) {
  uiLanguage = language == english ? english : russian;
}

std::string tr(std::string_view ru, std::string_view en) {
  return std::string(uiLanguage ? en : ru);
}

}  // namespace quillon
