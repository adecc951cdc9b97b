// Text rules shared by every file format of the program. Texts are 8-bit
// code-page strings, one character per byte; letter case is folded for
// ASCII only, as the data files use it.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr std::string_view CRLF = "\r\n";

// Blanks (spaces) taken off both ends; the view is of the text given, for a
// caller that only looks at it and need not copy it.
std::string_view TrimView(std::string_view s);
std::string Trim(std::string_view s);
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool EndsWithNoCase(std::string_view s, std::string_view suffix);
std::string Right(std::string_view s, size_t n);  // last n characters (all when shorter)

// Position of needle in hay at or after `from` (0-based), letter case
// ignored; npos when absent.
size_t FindNoCase(std::string_view hay, std::string_view needle, size_t from = 0);

std::string ReplaceAll(std::string_view s, std::string_view what, std::string_view with);
std::string ReplaceAllNoCase(std::string_view s, std::string_view what, std::string_view with);

// Split at every separator; an empty text gives one empty field.
std::vector<std::string> Split(std::string_view s, char sep);

// The text between the first `opening` at or after 1-based position `start`
// and the first `closing` after the end of that opening. Letter case is
// ignored in both searches; empty when either delimiter is missing.
std::string TextBetween(std::string_view text, long start, std::string_view opening,
                        std::string_view closing);

// Decimal text of an integer without leading zeros; integers parsed from a
// settings value the lenient way ("" or junk gives 0, leading digits count).
std::string Dec(long long v);
long long ParseLong(std::string_view s);
// The strict reading: blanks around an optional sign and decimal digits, and
// nothing else; nullopt for an empty text, junk or a number out of range.
std::optional<long long> ParseNumber(std::string_view s);

}  // namespace kv
