// The system's own (wide) names and values in the program's 8-bit texts,
// and back. A name converts to the code page only when the conversion is
// exact; a character it cannot spell becomes a visible "<U+XXXX>" escape,
// never a look-alike or the default character, and widening undoes exactly
// that. Every file name, path and registry text crosses here.
#pragma once
#include <string>
#include <string_view>

namespace kv {

std::string NarrowText(std::wstring_view wide);
std::wstring WideText(std::string_view text);

// The wide path to hand to the system. Past the classic length limit the
// path is made absolute and given the long-path prefix ("\\?\" or
// "\\?\UNC\"), so that deep files are reached too.
std::wstring WidePath(std::string_view path);
// The same path absolute and prefixed whatever its length, for walks that
// go deeper from it.
std::wstring PrefixedPath(std::string_view path);
// A path the system gave back, in the program's form: without the prefix
// WidePath may have added.
std::string NarrowPath(std::wstring_view path);

// A program text as UTF-8, for records read by other programs: escapes
// become their characters again.
std::string Utf8Text(std::string_view text);

// The name of a file within its folder: the path after its last separator
// that is a character of the system code page of its own.
std::string NameInFolder(std::string_view path);

}  // namespace kv
