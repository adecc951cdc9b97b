#include <gtest/gtest.h>

#include "core/support_list.h"
#include "core/update_file.h"

using namespace kv;

namespace {
std::string TwoProducts(const std::string& count) {
  return "; the maker's list\r\n[Korvanel]\r\nAVSupported=" + count +
         "\r\nAVName0=Beta Scan\r\nAVExe0=beta.exe\r\nAVCMD0=/log:%PATH%b.log\r\nAVSupport0=\r\n"
         "AVName1=Alpha Guard\r\nAVExe1=ag.exe\r\nAVCMD1= \r\nAVSupport1=http://alpha.example/setup\r\n"
         "[Other]\r\nAVName2=not a product\r\n";
}
}  // namespace

TEST(SupportList, ProductsInFileOrderAndTheCountHeldToTheNames) {
  for (const char* count : {"2", "2000000000", "9223372036854775807"}) {
    const auto products = ParseSupportList(TwoProducts(count));
    ASSERT_EQ(products.size(), 2u) << count;
    EXPECT_EQ(products[0].name, "Beta Scan");
    EXPECT_EQ(products[0].cmd, "/log:%PATH%b.log");
    EXPECT_EQ(products[1].name, "Alpha Guard");
    EXPECT_EQ(products[1].support, "http://alpha.example/setup");
  }
  // A smaller claim shows fewer; none, junk or a negative count shows nothing.
  EXPECT_EQ(ParseSupportList(TwoProducts("1")).size(), 1u);
  for (const char* count : {"", "many", "-5", "0"})
    EXPECT_TRUE(ParseSupportList(TwoProducts(count)).empty()) << count;
  // A product missing keys is still listed, with what could be read.
  const auto sparse = ParseSupportList("[korvanel]\nAVSupported=2\nAVName0=Only\nAVName1=\n");
  ASSERT_EQ(sparse.size(), 2u);
  EXPECT_EQ(sparse[0].exe, "");
}

TEST(SupportList, DownloadsKeptOnlyWhenTheyAreAList) {
  EXPECT_TRUE(IsSupportListText(TwoProducts("2")));
  EXPECT_FALSE(IsSupportListText("<html><body>Not Found</body></html>"));
  EXPECT_FALSE(IsSupportListText("[Korvanel]\r\nAVSupported=lots\r\n"));
  EXPECT_FALSE(IsSupportListText(TwoProducts("2") + std::string(1, '\0')));
  EXPECT_TRUE(IsUpdateFileText("<!--- ZEMU Update File\r\nkorvanel2=1A,\r\n---!>\t"));
  EXPECT_FALSE(IsUpdateFileText(std::string("PK\x03\x04", 4)));
}

TEST(SupportList, FoundScannerBecomesFolderAndArguments) {
  EXPECT_EQ(FolderOfPath("C:\\PROGRA~1\\Scan Tools\\scan.exe"), "C:\\PROGRA~1\\Scan Tools\\");
  EXPECT_EQ(FolderOfPath("scan.exe"), "");
  // Only the exact "%PATH%" stands for the folder; every one is replaced.
  EXPECT_EQ(FillArgumentTemplate("/p=%PATH% /l=%PATH%x.log %path%", "C:\\S\\"),
            "/p=C:\\S\\ /l=C:\\S\\x.log %path%");
}

TEST(SupportList, OnlyWebPagesCountAsDocumentation) {
  for (const char* ok : {"http://a.example/x", "HTTPS://a.example", " https://1.2.3.4/ "})
    EXPECT_TRUE(IsWebAddress(ok)) << ok;
  for (const char* bad : {"C:\\Windows\\System32\\calc.exe", "calc.exe", "file:///C:/x.exe",
                          "\\\\server\\share\\x.exe", "http://", "http:///x", "mailto:a@b", "",
                          "javascript:alert(1)", "ftp://a.example/"})
    EXPECT_FALSE(IsWebAddress(bad)) << bad;
  // One address, whole: nothing after a NUL, a space or a quote.
  for (const std::string bad : {std::string("https://a.example/\0C:\\x.exe", 27),
                                std::string("https://a.example/ C:\\x.exe"),
                                std::string("https://a.example/\"x"), std::string("http://a\tb")})
    EXPECT_FALSE(IsWebAddress(bad)) << bad;
}

TEST(UpdateFile, MarkersInAnyCaseDelimitTheBody) {
  EXPECT_EQ(UpdateFileBody("junk <!--- zemu update FILE a=1,korvanel2=ABC, ---!> b ---!>"),
            " a=1,korvanel2=ABC, ");
  EXPECT_EQ(ExpectedChecksum(" a=1,KORVANEL2=ABC,x=2,"), "ABC");
  EXPECT_EQ(ExpectedChecksum("korvanel2=ABC"), "");  // no closing ","
  EXPECT_EQ(ExpectedChecksum("korvanel=ABC,"), "");
  for (const char* corrupt : {"", "<!--- ZEMU Update File korvanel2=1,", "korvanel2=1, ---!>",
                              "---!> <!--- ZEMU Update File korvanel2=1,", "<!--- ZEMU Update File---!>"})
    EXPECT_FALSE(UpdateFileBody(corrupt).has_value()) << corrupt;
}
