#pragma once
// The profile as text: the built-in default profile and the edits the program
// makes to a profile text. No Windows headers: this is unit-tested natively.

#include <string>
#include <string_view>

namespace quillon {

// The built-in default profile: 29 lines, each ended by CR LF, 250 bytes.
extern const std::string_view defaultProfile;

// The profile text with the [Program] option `name` set to `value`: every
// existing line of that option is replaced, else the line is inserted right
// after the last [Program] header (a header is added at the top if there is
// none). The result uses CR LF throughout.
std::string programOption(std::string_view text, std::string_view name, std::string_view value);

// The text with its Language line set to the UI language in use.
std::string withLanguage(std::string_view text);

// True when the first Language line of a [Program] section says "en".
bool languageFromIni(std::string_view text);

}  // namespace quillon
