// The main window's commands that reach outside the program: the restart
// for a missing integrity database, the help files, the maker's web site
// and mail, and the end of the program.
#include "context/app.h"
#include "app/maker.h"
#include "app/mForm1.h"
#include "core/baseline.h"
#include "platform/files.h"

namespace kv {

namespace {

// ShellExecute results of 32 and below are failures; 2 is "file not found",
// 31 "no program is associated".
bool ShellFailed(long result) { return result <= 32; }

}  // namespace

void mForm1::Image5_Click() {
  if (intF.Content()) intF.Content()->Opening();  // loadf: the folder choice is fresh
  norms2();
  if (!FileExists(app_.baselineFile)) {
    if (app_.Ask("You have not yet completed the full system scan.  This is required before using "
                 "the Integrity Checker.  Perform scan now?",
                 MsgButtons::YesNo, "Missing File") != MsgAnswer::Yes)
      return;
    app_.Ask("Korvanel needs to be re-started");
    DeleteFileAt(BackupFileOf(app_.baselineFile));
    // Quoted: a program folder with a space in its path would otherwise let
    // the system try a shorter, different program first.
    const bool started = app_.host.StartProcess(
        "\"" + app_.appDir + app_.edition.ownFileName + "\"", kShowMinimized);
    if (!Plain())
      app_.Ask(started ? "Restarting Korvanel..." : "Restart Failed - try restarting Korvanel manually");
    app_.EndProgram();
    return;
  }
  OpenToolPage(intF, "Integrity Checker",
               "\r\n\r\n\r\nIntegrity Checker - Using a CRC32 algorithm, Korvanel scans the "
               "following system files: DLL, DRV, SYS, 386, OCX, EXE and COM files. The result of "
               "the check is a digital fingerprint of the file. If the fingerprints don't match, "
               "then you will have an option to scan those files for possible viruses.",
               2);
}

void mForm1::Help() { app_.OpenHelp(); }

void mForm1::VisitWebSite() {
  const std::string web = maker::kWebAddress;
  if (app_.Ask("Would you like to visit " + std::string(maker::kName) + " Online (" + web + ")?",
               MsgButtons::YesNo) == MsgAnswer::No)
    return;
  if (ShellFailed(app_.host.ShellOpen(web, {}, SW_SHOWNORMAL)))
    app_.Ask("Could not shell web address. You will need to manually visit the website: " + web);
}

void mForm1::Label37_Click() {
  const std::string subject = "Korvanel(v" + std::to_string(app_.edition.major) + "." +
                              std::to_string(app_.edition.minor) + ")";
  const std::string link = std::string("mailto:") + maker::kContactMail + "?subject=" + subject;
  if (ShellFailed(app_.host.ShellOpen(link, {}, SW_SHOWNORMAL)))
    app_.Ask(std::string("Could not execute default mail client.\r") + "Please write to " +
                 maker::kContactMail + " or " + maker::kSupportMail);
}

void mForm1::cButton9_Click() { app_.EndProgram(); }

}  // namespace kv
