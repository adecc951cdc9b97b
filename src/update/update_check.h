// The update check: the maker's update file names the checksum of the
// newest release's executable; any other checksum than our own means a newer
// release exists, and updating is handed to the maker's update utility.
#pragma once
#include <string>

#include "controls/Downloader.h"

namespace kv {

class App;

// The daily update check at start-up (compares lastcheckedupdates with today
// and starts the download of the update file).
void StartupUpdateCheck(App& app);
// The Options page's update button, whose caption is also its mode:
// "Check for Updates" or "Download Updates".
void UpdatesButtonClick(App& app);
std::string UpdatesButtonCaption(const App& app);

inline constexpr char kCheckForUpdates[] = "Check for Updates";
inline constexpr char kDownloadUpdates[] = "Download Updates";

class UpdateCheck {
 public:
  explicit UpdateCheck(App& app);

  // Data\update.zip under the program folder.
  std::string CachedFile() const;
  // Evaluates the cached update file; with downloadIfMissing a missing file
  // is fetched first (its evaluation follows when the download ends).
  void CheckUpdateFile(bool downloadIfMissing);
  // Today's date as lastcheckedupdates stores it.
  std::string Today() const;

  void Startup();
  void ButtonClick();
  const std::string& Caption() const { return caption_; }
  // What the main window shows of the check; a main window made later
  // takes it from here.
  const std::string& Status() const { return status_; }
  bool Available() const { return caption_ == kDownloadUpdates; }

  Downloader Downloader1;

 private:
  void BeginUpdateFileDownload();
  void SetStatus(const std::string& text);
  void ShowUpdates(bool available);

  App& app_;
  std::string caption_ = kCheckForUpdates;
  std::string status_;
};

// Starts the update utility from its uninstall entry with " Korvanel2", or
// offers its download when it is not installed.
void StartUpdateUtility(App& app);

// The App's update check, made on first use; FindUpdates does not make it.
UpdateCheck& Updates(App& app);
const UpdateCheck* FindUpdates(const App& app);

}  // namespace kv
