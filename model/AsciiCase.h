// The one comparison of names and paths that ignores letter case: ASCII letters only, byte
// by byte and without the C locale. The second byte of a Shift-JIS double-byte character
// may lie in 'A'..'Z' or 'a'..'z'; it is kept exact, so two different Japanese characters
// never match.
#pragma once
#include <string>
#include <string_view>

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
// The form under which equalsIgnoringAsciiCase compares: equal folds <=> equal texts.
// Look-up indexes hash it.
std::string foldAsciiCase(std::string_view text);
