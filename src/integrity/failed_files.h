// Reading back the result texts a check leaves behind: systemResults holds
// "path checksum," per file, folderResults "path(slot) checksum,".
//
// Paths may hold spaces, commas and parentheses, so an entry is not cut at
// the first of them. An entry ends at a "," that is followed by the end of
// the text or by the start of the next full path (a drive "X:\" or "\\"),
// which no file name can contain. Within an entry the checksum is after the
// last space (checksum texts hold none) and the slot in the last "(...)".
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct ResultEntry {
  std::string path;
  int slot = 0;  // custom-folder entries only
  std::string checksum;
};

std::vector<ResultEntry> SystemResultEntries(std::string_view text);
// Entries without a slot number in parentheses are left out.
std::vector<ResultEntry> FolderResultEntries(std::string_view text);

// The entry text as folderResults and the folders' pending updates hold it.
std::string FolderResultEntryText(const ResultEntry& entry);

}  // namespace kv
