// The anti-virus support list (Data\avsupportlist.dat) as text: what a
// downloaded copy must look like to be kept, how its products are read, and
// how a found scanner becomes its arguments.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct SupportProduct {
  std::string name;     // AVName<i>: the line shown in the list
  std::string exe;      // AVExe<i>: the scanner's file name, searched for on disk
  std::string cmd;      // AVCMD<i>: arguments, "%PATH%" standing for its folder
  std::string support;  // AVSupport<i>: online documentation, empty when none
};

// The products of a list file's [Korvanel] section in file order. The count
// "AVSupported" is believed only as far as the file really holds product
// names: a file claiming two billion products costs no more than its lines.
std::vector<SupportProduct> ParseSupportList(std::string_view text);

// Text a person could have written: no NUL bytes and no other control
// characters than tab and line ends. A server's binary error page is not.
bool IsPlainText(std::string_view bytes);
// A downloaded list is kept only when it is plain text with a [Korvanel]
// section that names a product count.
bool IsSupportListText(std::string_view bytes);
// No real list comes near this size; a larger download is refused.
inline constexpr size_t kSupportListMaxBytes = 256 * 1024;

// The folder of a found file: the path up to and including its last "\".
// Taking the folder this way leaves it whatever letter case the list gives
// the executable's name.
std::string FolderOfPath(std::string_view path);

// The product's arguments: every "%PATH%" (letter case as written) replaced
// by the scanner's folder.
std::string FillArgumentTemplate(std::string_view templ, std::string_view folder);

// Only web pages are handed to the shell from a list: "http://" or
// "https://" (any letter case) followed by a host. Anything else (a program,
// a document, a UNC path) could start something on the user's machine.
bool IsWebAddress(std::string_view address);

}  // namespace kv
