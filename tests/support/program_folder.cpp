#include "support/program_folder.h"

#include <windows.h>

#include <atomic>
#include <filesystem>

#include "platform/files.h"

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
}

ProgramFolder::~ProgramFolder() {
  std::error_code ec;
  std::filesystem::remove_all(std::filesystem::path(dir_), ec);
}

void ProgramFolder::Write(const std::string& relative, const std::string& bytes) const {
  WriteWholeFile(path(relative), bytes);
}

std::string ProgramFolder::Read(const std::string& relative) const {
  return ReadWholeFile(path(relative)).value_or("");
}

bool ProgramFolder::Exists(const std::string& relative) const {
  return GetFileAttributesA(path(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ProgramFolder::MakeFolder(const std::string& relative) const {
  CreateDirectoryA(path(relative).c_str(), nullptr);
}

}  // namespace kv::test
