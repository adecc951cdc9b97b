// Files and directories, in the form the program uses them. Paths are 8-bit
// code-page texts (with the escapes of wide_text.h for what the code page
// cannot spell), handed to the system through the wide calls; directory
// paths end in "\".
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/name_list.h"

namespace kv {

// True when the file can be opened for reading (closed again at once);
// false for a missing file, a directory, an empty path or no access.
bool FileExists(const std::string& path);

// Why a file can or cannot be opened for reading. A file another program
// holds open, or one we may not read, is there all the same: it must never
// be taken for a missing one and replaced or restored over.
enum class FileProbe { Readable, Missing, InUse, NoAccess };
FileProbe ProbeFile(const std::string& path);
inline bool Unreadable(FileProbe p) { return p == FileProbe::InUse || p == FileProbe::NoAccess; }
bool DirectoryExists(const std::string& path);

std::string SystemDirectory();   // with a trailing "\"
std::string WindowsDirectory();  // with a trailing "\"; empty when unusable
std::string ExecutableDirectory();  // the running program's folder, with "\"

// Names in a folder (files and sub-directories, "." and ".." left out), in
// the order the system lists them; nullopt when the folder cannot be listed.
std::optional<std::vector<std::string>> ListDirectory(const std::string& folder);
// The same, listed on another thread while `meanwhile` is called on this one
// every few milliseconds: a folder of a hundred thousand files takes long
// enough to list (most of it inside the system's first call) that the
// caller keeps its window answering meanwhile.
std::optional<std::vector<std::string>> ListDirectory(const std::string& folder,
                                                      const std::function<void()>& meanwhile);
// The same names held in one block: for the folders a check walks, which may
// hold hundreds of thousands of files.
std::optional<NameList> ListNames(const std::string& folder, const std::function<void()>& meanwhile = {});

std::optional<std::string> ReadWholeFile(const std::string& path);
// Hands the file to `take` a piece (up to a megabyte) at a time, for a
// reader that need not hold the whole of a file of tens of megabytes.
enum class PiecesRead {
  NotOpened,  // missing, held by another program, or not ours to read: nothing was taken
  CutShort,   // a read failed: what was taken is not the whole file
  Whole,
};
PiecesRead ReadFileInPieces(const std::string& path, const std::function<void(std::string_view piece)>& take);
// Writes the whole file in place (creating it when missing).
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Crash-safe rewrite: a temporary file beside the target, flushed, then moved
// over it with write-through, so the old or the new file always survives.
// A read-only target stays as it is.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

// The same rewrite made in steps, for contents that come in pieces: they go
// into the temporary file as they come, and only Place moves it over the
// target. Never placed, it leaves the target as it was and removes the
// temporary file.
class PendingFile {
 public:
  explicit PendingFile(const std::string& path);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  bool Write(std::string_view bytes);
  bool Place();  // false: nothing was placed

 private:
  void Discard();
  std::wstring target_, temp_;
  void* handle_ = nullptr;  // the temporary file while it is written
  bool ok_ = false;
};
bool AppendToFile(const std::string& path, const std::string& bytes);
// Appends whole lines to a record file that other programs follow as it
// grows: the file keeps its identity (a rewrite through a temporary file
// would make a following agent read it all again), the lines go down in one
// write and are flushed before this returns, and a line a crash left
// unfinished is ended first, so it can never run into the next record.
bool AppendLines(const std::string& path, const std::string& lines);
// The same for a record too long to be held whole: `next` fills its text
// with the next whole lines and returns false once none are left; each
// piece goes down as it comes, and the file is flushed once at the end.
bool AppendLines(const std::string& path, const std::function<bool(std::string& lines)>& next);
bool CopyFileTo(const std::string& from, const std::string& to);  // overwrites
bool DeleteFileAt(const std::string& path);
bool CreateFolder(const std::string& path);

// Short (8.3) form of an existing file's path; empty when it cannot be had.
std::string ShortPathOf(const std::string& path);

}  // namespace kv
