// A temporary program folder per test (the folder the executable would sit
// in), removed with everything in it when the test ends.
#pragma once
#include <string>
#include <vector>

namespace kv::test {

class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::string& dir() const { return dir_; }  // ends in "\"
  std::string path(const std::string& relative) const { return dir_ + relative; }
  void Write(const std::string& relative, const std::string& bytes) const;
  std::string Read(const std::string& relative) const;  // empty when missing
  bool Exists(const std::string& relative) const;
  void MakeFolder(const std::string& relative) const;
  // The texts of the logs in Data\Log, in sorted order.
  std::vector<std::string> Logs() const;

 private:
  std::string dir_;
};

}  // namespace kv::test
