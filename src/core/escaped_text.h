// Names and values as the system holds them (UTF-16), kept in the program's
// 8-bit texts without loss. A character the code page cannot spell exactly
// is written as "<U+XXXX>" (upper-case hex, at least four digits, one code
// point; a lone surrogate as itself). "<" can never stand in a file name or
// a path, so such a text can never be taken for another real name. A
// literal "<U+" (possible only in registry data) has its "<" written as
// "<U+003C>", so that every wide text has exactly one 8-bit form.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The code page's exact spelling of one code point, or nullopt when it has
// none (no character of its own, only a look-alike or the default one).
using SpellFn = std::function<std::optional<std::string>(char32_t codePoint)>;
// The wide form of a run of 8-bit text that holds no escape.
using WidenRunFn = std::function<std::u16string(std::string_view run)>;

// "<U+XXXX>" for one code point.
std::string CodePointEscape(char32_t codePoint);

// True when `text` needs no escape at all: no "<U+" in it. Callers that
// already converted a whole text exactly use it to skip the slow path.
bool HoldsNoEscapeOpening(std::string_view text);
bool HoldsNoEscapeOpening(std::u16string_view text);

// The 8-bit form of a wide text, one code point at a time.
std::string EscapeWide(std::u16string_view wide, const SpellFn& spell);

// The exact inverse of EscapeWide: every escape it writes becomes its code
// point again. Anything else that looks like one stays as it is written:
// lower-case hex, fewer than four digits, a leading zero beyond four, past
// U+10FFFF, no closing ">", and the escape of a character `spell` spells
// (other than "<"), which EscapeWide never writes. So a text from a log or
// a person cannot smuggle a quote or a separator into a name through an
// escape.
std::u16string UnescapeToWide(std::string_view text, const WidenRunFn& widenRun,
                              const SpellFn& spell);

// Whether a byte opens a two-byte character of the code page.
using LeadByteFn = std::function<bool(unsigned char)>;

// The text after the last "\" of a path that is a character of its own: in
// a two-byte code page the second byte of a character may be "\" too, and
// cutting there would make a file's key out of part of its name.
std::string_view LastPathPart(std::string_view path, const LeadByteFn& isLeadByte);

}  // namespace kv
