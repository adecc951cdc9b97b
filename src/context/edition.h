// What makes each program itself. Each edition library defines ThisEdition();
// shared code asks it instead of being compiled twice.
#pragma once
#include <string>

namespace kv {

class Windows;

struct Edition {
  const char* ownFileName;   // the file name the program restarts and reads itself under
  const char* title;         // application title of message boxes
  int major, minor, revision;  // shown as "Version: major.minor.revision"
  const char* fileVersion;   // the version resource's file version text
  bool hasUpdateCheck;       // daily and on-demand update check, update settings keys
  bool hasSupportListDownload;
  bool plainControls;        // plainer custom controls and main window
  bool wizardWriteErrors;    // the wizard's Save shows "ERROR" for each write that fails
  Windows* windows;          // how the subsystems reach the layers above them

  std::string VersionText() const {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
  }
};

const Edition& ThisEdition();

}  // namespace kv
