#include "support/program_folder.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "platform/files.h"
#include "platform/protect.h"

namespace kv::test {

ProgramFolder::ProgramFolder() {
  static std::atomic<int> counter{0};
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  for (;;) {
    std::string candidate = std::string(temp) + "kvtest-" + std::to_string(GetCurrentProcessId()) +
                            "-" + std::to_string(counter++) + "\\";
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      dir_ = candidate;
      break;
    }
  }
  // Folder names come round again in later runs of the same prefix; the
  // registry's note that seals were made belongs to the folder that is gone.
  ForgetSealsMade(dir_ + "Data\\");
}

ProgramFolder::~ProgramFolder() {
  ForgetSealsMade(dir_ + "Data\\");
  std::error_code ec;
  std::filesystem::remove_all(std::filesystem::path(dir_), ec);
}

void ProgramFolder::Write(const std::string& relative, const std::string& bytes) const {
  WriteWholeFile(path(relative), bytes);
}

std::string ProgramFolder::Read(const std::string& relative) const {
  return ReadWholeFile(path(relative)).value_or("");
}

std::vector<std::string> ProgramFolder::Logs() const {
  std::vector<std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(path("Data\\Log\\*.log").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do out.push_back(Read("Data\\Log\\" + std::string(fd.cFileName)));
  while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(out.begin(), out.end());
  return out;
}

bool ProgramFolder::Exists(const std::string& relative) const {
  return GetFileAttributesA(path(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ProgramFolder::MakeFolder(const std::string& relative) const {
  CreateDirectoryA(path(relative).c_str(), nullptr);
}

}  // namespace kv::test
