// The parser takes user-written text: whatever the bytes, it returns a Layout
// that keeps its invariants or raises the profile error, nothing else.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "layers/profile.h"
#include "layers/value_error.h"
#include "localization/language.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

bool isKey(quillon::KeyCode code) {
  return code >= 1 && code <= 254;
}

void checkInvariants(const quillon::Layout& parsed) {
  require(!parsed.layers.empty());
  const auto& options = parsed.options;
  require(options.mouseOn == 0 || options.mouseOn != options.mouseOff);
  require(options.mouseOn == 0 || isKey(options.mouseOn));
  require(options.mouseOff == 0 || isKey(options.mouseOff));
  std::size_t bindings = 0;
  for (const auto& [layer, sources] : parsed.layers) {
    require(isKey(layer) || layer == quillon::mouseLayerKey);
    require(layer == quillon::mouseLayerKey || !sources.empty());
    for (const auto& [source, target] : sources) {
      require(isKey(source) && isKey(target));
      const auto found = parsed.modifiers.find({layer, source});
      require(found != parsed.modifiers.end());
      for (std::size_t i = 0; i < found->second.size(); ++i)
        for (std::size_t j = i + 1; j < found->second.size(); ++j)
          require(found->second[i] != found->second[j]);
      ++bindings;
    }
  }
  require(parsed.modifiers.size() == bindings);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  quillon::qlnSetUiLanguage(size % 2);
  try {
    checkInvariants(quillon::layout(text));
  } catch (const quillon::ValueError&) {
  }
  return 0;
}
