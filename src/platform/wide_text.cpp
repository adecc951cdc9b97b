#include "platform/wide_text.h"

#include <windows.h>

#include <optional>

#include "core/escaped_text.h"

namespace kv {

namespace {

// These code pages refuse any conversion flag and the used-default
// question; a round trip tells whether their spelling was exact.
bool TakesNoFlags(UINT cp) {
  return cp == CP_UTF8 || cp == CP_UTF7 || cp == 42 || (cp >= 50220 && cp <= 50229) ||
         (cp >= 57002 && cp <= 57011) || cp == 54936;
}

// The code page's spelling of the whole wide text, when it is exact: no
// best fit, no default character, and it converts back to the same text.
bool ExactNarrow(UINT cp, const wchar_t* wide, int n, std::string& out) {
  out.clear();
  if (n == 0) return true;
  const bool plain = TakesNoFlags(cp);
  const DWORD flags = plain ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* used = plain ? nullptr : &usedDefault;
  const int len = WideCharToMultiByte(cp, flags, wide, n, nullptr, 0, nullptr, used);
  if (len <= 0 || usedDefault) return false;
  out.resize(size_t(len));
  if (WideCharToMultiByte(cp, flags, wide, n, out.data(), len, nullptr, used) != len ||
      usedDefault)
    return false;
  const int back = MultiByteToWideChar(cp, 0, out.data(), len, nullptr, 0);
  if (back != n) return false;
  std::wstring again(size_t(back), L'\0');
  MultiByteToWideChar(cp, 0, out.data(), len, again.data(), back);
  return again.compare(0, size_t(n), wide, size_t(n)) == 0;
}

std::wstring WidenRun(UINT cp, std::string_view run) {
  if (run.empty()) return {};
  const int n = MultiByteToWideChar(cp, 0, run.data(), int(run.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(size_t(n), L'\0');
  MultiByteToWideChar(cp, 0, run.data(), int(run.size()), out.data(), n);
  return out;
}

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";
// CreateDirectory's own limit is the lowest of the classic ones.
constexpr size_t kClassicLimit = 247;

}  // namespace

namespace {

// The code page's exact spelling of one code point, if it has one.
std::optional<std::string> Spell(UINT cp, char32_t c) {
  wchar_t w[2];
  int n = 1;
  if (c >= 0x10000) {
    w[0] = wchar_t(0xD800 + ((c - 0x10000) >> 10));
    w[1] = wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    n = 2;
  } else {
    w[0] = wchar_t(c);
  }
  std::string spelt;
  if (!ExactNarrow(cp, w, n, spelt)) return std::nullopt;
  return spelt;
}

}  // namespace

std::string NarrowText(std::wstring_view wide) {
  const UINT cp = GetACP();
  std::string out;
  if (ExactNarrow(cp, wide.data(), int(wide.size()), out) && HoldsNoEscapeOpening(out)) return out;
  const std::u16string units(wide.begin(), wide.end());
  return EscapeWide(units, [cp](char32_t c) { return Spell(cp, c); });
}

std::wstring WideText(std::string_view text) {
  const UINT cp = GetACP();
  if (HoldsNoEscapeOpening(text)) return WidenRun(cp, text);
  const std::u16string wide = UnescapeToWide(
      text,
      [cp](std::string_view run) {
        const std::wstring w = WidenRun(cp, run);
        return std::u16string(w.begin(), w.end());
      },
      [cp](char32_t c) { return Spell(cp, c); });
  return std::wstring(wide.begin(), wide.end());
}

std::wstring PrefixedPath(std::string_view path) {
  const std::wstring wide = WideText(path);
  if (wide.starts_with(kLongPrefix) || wide.starts_with(L"\\\\.\\")) return wide;
  const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return wide;
  std::wstring full(size_t(n), L'\0');
  const DWORD got = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  if (got == 0 || got >= n) return wide;
  full.resize(got);
  if (full.starts_with(L"\\\\")) return std::wstring(kLongUncPrefix) + full.substr(2);
  return std::wstring(kLongPrefix) + full;
}

std::wstring WidePath(std::string_view path) {
  std::wstring wide = WideText(path);
  if (wide.size() <= kClassicLimit) return wide;
  return PrefixedPath(path);
}

std::string NarrowPath(std::wstring_view path) {
  if (path.starts_with(kLongUncPrefix)) return "\\\\" + NarrowText(path.substr(kLongUncPrefix.size()));
  if (path.starts_with(kLongPrefix)) return NarrowText(path.substr(kLongPrefix.size()));
  return NarrowText(path);
}

std::string NameInFolder(std::string_view path) {
  const UINT cp = GetACP();
  return std::string(LastPathPart(path, [cp](unsigned char c) { return IsDBCSLeadByteEx(cp, c) != 0; }));
}

std::string Utf8Text(std::string_view text) {
  const std::wstring wide = WideText(text);
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace kv
