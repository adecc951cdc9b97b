// The App context: everything process-wide, owned in one place. Every test
// makes its own App over its own temporary program folder.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "context/edition.h"
#include "context/kept.h"
#include "core/baseline.h"
#include "context/run_report.h"
#include "core/step_clock.h"
#include "context/seals.h"
#include "context/start_mode.h"
#include "context/upper_windows.h"
#include "platform/host.h"

namespace kv {

// Exit codes for a task history or a management tool, which has three
// things to tell apart: nothing to look at; something was found (files,
// registry entries, pending operations; accepted or not); the run could not
// do its work and needs someone (no first full scan yet, a baseline that
// cannot be read, a data file whose seal does not match, a scanner that did
// not pass the findings or could not be started, findings whose log could
// not be written). The worse of two outcomes wins.
inline constexpr int kExitClean = 0;
inline constexpr int kExitFindings = 1;
inline constexpr int kExitCouldNotRun = 2;

struct ScanDocument;

// Values loadSettings puts on the settings pages and the anti-virus setup
// window; the pages take them from here when they are built.
struct SettingsBoxes {
  int Check1 = 0;                                                      // auto-load shortcut
  int Check2 = 0, Check3 = 0, Check4 = 0, Check5 = 0, Check6 = 0, Check9 = 0;  // auto-load categories
  int Check8 = 0;                                                      // Auto-Scan Failed Files
  int Check7 = 0;                                                      // Auto-Logging
  int Check15 = 0, Check14 = 0, Check13 = 0, Check12 = 0, Check16 = 0, Check17 = 0;  // secure shut down
  int Check10 = 0, Check11 = 0, avfocus = 0;                           // scanner options
};

struct ScannerFields {  // the anti-virus setup window's four fields
  std::string Text5, Text6;  // first scanner: program, arguments
  std::string Text1, Text2;  // second scanner: program, arguments
};

class App {
 public:
  // dataRoot: the folder that holds Data\ (empty: appDir).
  App(Host& host, const Edition& edition, std::string appDir, std::string dataRoot = {});
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  Host& host;
  const Edition& edition;

  // Paths fixed at start-up; directory paths end in "\". appDir holds the
  // program and its help, dataRoot its Data\ folder: the same folder unless
  // a per-machine installation points the data elsewhere.
  std::string appDir, dataRoot, settingsFile, baselineFile, registryFile;
  // Where the support list and the update file come from: empty means the
  // maker's server (maker::kDownloadServer). Only tests set it, to a server
  // of their own on the loopback address.
  std::string downloadServer;
  std::string DownloadUrl(const char* path) const;

  // Settings values (loadSettings).
  int32_t readBufferSize = 0;
  int32_t filesPerBatch = 0;
  int16_t useScriptingHost = 0;
  bool autoScanFailed = false;
  std::string quoteChar;
  bool useShortPaths = false;
  std::string algorithmName;
  bool autoCheckUpdates = false;
  SettingsBoxes boxes;
  ScannerFields scanners;

  // The settings file as the program last read or wrote it (context/settings.h).
  struct SettingsText {
    bool loaded = false;
    bool exists = false;
    std::string path, text;
    uint64_t writeTime = 0, size = 0;  // of the file the text was read from
  } settingsText;

  // How the program was started. Start-up sets it before its first step;
  // nothing changes it afterwards.
  const StartMode& Start() const { return start_; }
  void SetStart(const StartMode& mode) { start_ = mode; }

 private:
  StartMode start_;

 public:
  // Another copy of this program was already running when this one started.
  bool anotherInstance = false;
  // Set for one registry pass: it stores every entry instead of comparing.
  bool registryAcceptMode = false;
  Baseline systemBaseline, folderBaseline;
  // The seals of the data files in Data\.
  SealStore seals;

  // Message box with the application title unless another is given.
  MsgAnswer Ask(const std::string& text, MsgButtons buttons = MsgButtons::Ok,
                const std::string& title = {}, MsgIcon icon = MsgIcon::None);
  // The same, asked by a window of the program: the box is owned by it,
  // centred on it, and keeps it from taking input until answered.
  MsgAnswer AskOver(HWND__* owner, const std::string& text, MsgButtons buttons = MsgButtons::Ok,
                    const std::string& title = {}, MsgIcon icon = MsgIcon::None);

  // A message that needs no answer. A scheduled scan runs with nobody at the
  // screen, and a box would keep it waiting for ever: there the text goes
  // into a dated log instead.
  void Tell(const std::string& text, MsgIcon icon = MsgIcon::None);

  // Opens a page of the help beside the program ("index.html",
  // "integrity.html" ...); where it cannot be opened, offers the maker's web
  // site instead. F1 in every window and "View Help Files" come here.
  void OpenHelp(const std::string& page = "index.html");

  // Ends the program. In production the process is gone; under the test host
  // `ended` is set and every caller returns at once. A run that could not do
  // its work ends with a non-zero exit code, for whoever scheduled it.
  void EndProgram(int exitCode = 0);
  bool ended = false;
  // Where a run's time goes, for the scale benchmark: written at the end
  // to the file KORVANEL_STEP_TIMES names, when it names one.
  StepClock steps;
  std::string stepTimesFile;
  // What the process ends with (kExitClean, kExitFindings or
  // kExitCouldNotRun); NoteExit keeps the worst outcome seen.
  int exitCode = kExitClean;
  void NoteExit(int code) {
    if (code > exitCode) exitCode = code;
  }
  // What this run found and how it ended, for the event log and
  // findings.jsonl; written once, when the run ends.
  RunReport report;

  // How the subsystems reach the layers above them (the edition's).
  Windows& windows;
  // The main window's caption, kept for it when it is not made yet: runs
  // that never show it ("/r", "/s", "/a") never make it.
  void SetMainCaption(const std::string& text);
  std::string mainCaption;
  // The main window's status line, kept the same way (what start-up found
  // of the data files' seals).
  void SetMainStatus(const std::string& text);
  std::string mainStatus;

  // The baseline file a first full scan is filling, held in memory.
  std::unique_ptr<ScanDocument> scanDocument;

  // The windows and the other objects of the layers above, each made on
  // first use by the layer that defines it, which alone knows its class and
  // reaches it through an accessor of its own (CheckWindow in
  // integrity/intCheck.h, Form1 in app/mForm1.h, ...). A window dropped
  // here is made anew by its next use.
  // Declared last, so they go first, while everything they may touch stands.
  Keeper kept;
};

}  // namespace kv
