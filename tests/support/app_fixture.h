// An App over its own temporary program folder with the scripted Host.
#pragma once
#include <gtest/gtest.h>

#include "context/app.h"
#include "support/program_folder.h"
#include "support/scripted_host.h"

namespace kv::test {

class AppTest : public ::testing::Test {
 protected:
  AppTest() : app(host, ThisEdition(), folder.dir()) {}

  // The default settings file and Data folders, as a first start leaves them.
  void MakeDataFolders() {
    folder.MakeFolder("Data");
    folder.MakeFolder("Data\\Log");
  }

  ProgramFolder folder;
  ScriptedHost host;
  App app;
};

inline const char* kFirstRunQuestion =
    "This is your first time using Korvanel.  Korvanel is required to do a system file Integrity "
    "scan before proceeding.\r\nIf you are sure there are no viruses on your computer, it is safe "
    "to scan now. Otherwise, please do a full scan at a later time. The full scan should take no "
    "more than five minutes to complete.\r\n\r\nPerform scan now?";
inline const char* kFirstRunDeclined =
    "You have chosen not to do a full scan at this time.  You need to run the full scan before "
    "using the Integrity Checker.";

}  // namespace kv::test
