#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "cli.h"
#include "layers/profile.h"
#include "layers/value_error.h"
#include "localization/language.h"
#include "main/profile_text.h"

namespace quillon {

namespace {

// Opens a UTF-8 path: Windows takes file names in UTF-16.
std::FILE* openForReading(const std::string& path) {
#ifdef _WIN32
  const std::filesystem::path name(std::u8string(path.begin(), path.end()));
  return _wfopen(name.c_str(), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

}  // namespace

bool readProfileFile(const std::string& path, std::string& text, std::string& reason) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openForReading(path), &std::fclose);
  if (!file) {
    reason = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  text.clear();
  char buffer[65536];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
    text.append(buffer, got);
  if (std::ferror(file.get())) {
    reason = "cannot read " + path + ": read error";
    return false;
  }
  return true;
}

CliResult checkProfile(std::string_view profileText) {
  // The language comes from the text before parsing, as at start-up, so the
  // one localized message speaks the profile's language.
  qlnSetUiLanguage(languageFromIni(profileText) ? english : russian);
  try {
    const Layout parsed = layout(profileText);
    std::size_t bindings = 0;
    for (const auto& [code, layer] : parsed.layers) bindings += layer.size();
    return {0,
            "ok: " + std::to_string(parsed.layers.size()) + " layers, " + std::to_string(bindings) +
                " bindings\n",
            {}};
  } catch (const ValueError& error) {
    return {1, {}, std::string(error.what()) + "\n"};
  }
}

CliResult check(const std::string& profilePath) {
  std::string text;
  std::string reason;
  if (!readProfileFile(profilePath, text, reason)) return {1, {}, reason + "\n"};
  return checkProfile(text);
}

}  // namespace quillon
