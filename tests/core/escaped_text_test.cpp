#include "core/escaped_text.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

// A single-byte code page that spells Latin-1 and nothing beyond it.
std::optional<std::string> SpellLatin1(char32_t cp) {
  if (cp > 0xFF) return std::nullopt;
  return std::string(1, char(cp));
}

std::u16string WidenLatin1(std::string_view run) {
  std::u16string out;
  for (char c : run) out += char16_t(static_cast<unsigned char>(c));
  return out;
}

std::string Narrow(std::u16string_view w) { return EscapeWide(w, SpellLatin1); }
std::u16string Widen(std::string_view s) { return UnescapeToWide(s, WidenLatin1, SpellLatin1); }

}  // namespace

TEST(EscapedText, EveryWideNameHasOneExactNarrowFormAndComesBack) {
  const struct {
    std::u16string wide;
    std::string narrow;
  } cases[] = {
      {u"kernel32.dll", "kernel32.dll"},  // spelt exactly: as it always was
      {u"C:\\Windows\\caf\u00E9.exe", "C:\\Windows\\caf\xE9.exe"},
      {u"\uFF4Bernel32.dll", "<U+FF4B>ernel32.dll"},
      {u"zz\uFF3C..\uFF3Cxcopy.exe", "zz<U+FF3C>..<U+FF3C>xcopy.exe"},
      {u"x\U0001F600.exe", "x<U+1F600>.exe"},     // a pair is one code point
      {u"a\xD800" u"b", "a<U+D800>b"},            // lone surrogates as themselves
      {u"\xDC00\xD800", "<U+DC00><U+D800>"},      // a pair in the wrong order
      {u"\xD800", "<U+D800>"},
      {u"<U+0041>", "<U+003C>U+0041>"},           // a literal opening is escaped
      {u"<U+FF4B>\uFF4B", "<U+003C>U+FF4B><U+FF4B>"},
      {u"<U", "<U"},
      {u"<u+0041>", "<u+0041>"},
      {u"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Narrow(c.wide), c.narrow);
    EXPECT_EQ(Widen(c.narrow), c.wide) << c.narrow;
  }
  EXPECT_EQ(CodePointEscape(0x10FFFF), "<U+10FFFF>");
  EXPECT_EQ(CodePointEscape(0x3C), "<U+003C>");
}

TEST(EscapedText, OnlyWellFormedEscapesWiden) {
  // An escape of a character the code page spells is never written, so it
  // is no escape: a quote or "\\" cannot be brought into a name this way.
  for (const char* literal : {"<U+ff4b>", "<U+FF4>", "<U+0FF4B>", "<U+110000>", "<U+FF4B",
                              "<U+1234567>", "<U+>", "<U+FF4B >", "x<U+<U+", "C:\\x<U+0022>.dll",
                              "a<U+005C>..<U+005C>b", "<U+00E9>"})
    EXPECT_EQ(Widen(literal), WidenLatin1(literal)) << literal;
  // A malformed opening does not hide a well-formed escape right after it.
  EXPECT_EQ(Widen("<U+<U+FF4B>"), u"<U+\uFF4B");
  EXPECT_EQ(Widen("<U+10000>"), u"\U00010000");
}

TEST(EscapedText, AFileNameEndsAtARealSeparatorOnly) {
  // Shift-JIS: 0x81-0x9F and 0xE0-0xFC open a character whose second byte
  // may be 0x5C, the byte of "\\".
  const LeadByteFn sjis = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || c >= 0xE0; };
  EXPECT_EQ(LastPathPart("C:\\Windows\\x\x95\\kernel32.dll", sjis), "x\x95\\kernel32.dll");
  EXPECT_EQ(LastPathPart("C:\\Windows\\zz<U+FF3C>..<U+FF3C>xcopy.exe", sjis),
            "zz<U+FF3C>..<U+FF3C>xcopy.exe");
  EXPECT_EQ(LastPathPart("C:\\a\x95\\", sjis), "a\x95\\");  // one character, not a folder
  EXPECT_EQ(LastPathPart("plain.dll", nullptr), "plain.dll");
  EXPECT_EQ(LastPathPart("C:\\x\x95\\kernel32.dll", nullptr), "kernel32.dll");  // single-byte
}
