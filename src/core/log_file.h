// Log files in Data\Log\: their names, made from the date and time texts in
// the user's formats, and their one line of content. The reports viewer reads
// both back, so the name rules and their reverse live together here.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// "1/5/2007" + "8:17:49 AM" -> "01-05-2007(8_17_49AM).log". Date fields
// separated by "/" or "-" are padded to two characters, except the last.
std::string LogFileName(std::string_view dateText, std::string_view timeText);

// The file's content: the header (the text up to and including its first
// ",") followed by the scanner items turned into "path1,path2,...", then
// CR LF.
std::string LogLine(std::string_view text);

// A free name for a log when `baseName` is taken by a log of the same
// second: the time part gets "-2", "-3", ... inside its parentheses. Empty
// when no free name is found.
std::string UniqueLogName(std::string_view baseName,
                          const std::function<bool(const std::string& name)>& exists);

// What the reports viewer shows for a log file name, and the way back from
// the shown texts to the name.
std::string LogDateTextOf(std::string_view fileName);  // "01-05-2007"
std::string LogTimeTextOf(std::string_view fileName);  // "8:17:49 AM"; empty without "(...)"
std::string LogFileNameOf(std::string_view dateText, std::string_view timeText);

// The lines the viewer shows for a log's text: the header without its comma,
// then every file of the list. Empty items (",," where an entry came out
// empty) are passed over, so the files after them are still shown.
std::vector<std::string> ReportItems(std::string_view fileText);

// The files a log names, whole, for handing them to the scanners again. The
// log writes a space inside a path as "," (and ", " as ","), so a path is
// cut into pieces there; a piece that does not start a full path ("X:\" or
// "\\") belongs to the path before it. Its separators are restored as
// spaces unless another spelling (",", ", ") names a file that `exists`.
std::vector<std::string> LoggedFiles(std::string_view fileText,
                                     const std::function<bool(const std::string& path)>& exists);

}  // namespace kv
