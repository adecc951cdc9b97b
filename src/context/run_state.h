// The values every kind of check run shares: how it was started, what it
// checks, what the user asked for and what it found.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace kv {

struct RunState {
  int16_t shutDownAction = -1;  // -1 normal; else the secure shut-down action, 99 scheduled scan
  bool scheduledScan = false;
  bool autoLoadRun = false;
  // Started with "/r", "/s" or "/a": a changed data file is reported, not
  // decided about; quietRun ("/s", "/a") reports it in the log alone.
  bool unattendedRun = false;
  bool quietRun = false;
  bool baselineScanActive = false;
  bool baselineScanGuard = false;
  bool manualScan = false;
  bool noAutoScanFailing = false;
  bool customFolderFirstScan = false;
  bool scanDLL = false, scanDRV = false, scanSYS = false, scanOCX = false, scanEXE = false,
       scanPIF = false;
  int currentFolderSlot = 0;
  std::string currentFolderPath;
  bool shutDownFindings = false;

  // A secure shut down or scheduled scan is running: nobody may be there to
  // answer a question.
  bool InSecureShutDown() const { return shutDownAction != -1; }

  bool* CategoryFlag(int category) {
    bool* flags[] = {&scanDLL, &scanDRV, &scanSYS, &scanOCX, &scanEXE, &scanPIF};
    return (category >= 1 && category <= 6) ? flags[category - 1] : nullptr;
  }
  void ClearCategories() {
    for (int c = 1; c <= 6; ++c) *CategoryFlag(c) = false;
  }
  void SetCategories(const std::array<bool, 6>& on) {
    for (int c = 1; c <= 6; ++c) *CategoryFlag(c) = on[size_t(c - 1)];
  }
};

}  // namespace kv
