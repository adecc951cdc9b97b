// The check run window: every integrity check runs through it, from lUp's
// preparation to the result panels. The whole check runs inside the first
// tick of a 1 ms one-shot timer so that lUp returns to its caller first.
#pragma once
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/cButton.h"
#include "controls/theme.h"
#include "controls/window.h"

namespace kv {

class App;
class ChecksumPipeline;

// Whether a file name's last four characters, upper-cased, are one of a
// category's two extensions (".DLL", ".386", ...).
bool InCategory(const std::string& name, const std::string& ext1, const std::string& ext2);
class HashProvider;

struct ScanVerdict;

class intCheck : public controls::Window {
 public:
  explicit intCheck(App& app);
  ~intCheck() override;

  void Show();
  void Hide();
  void Minimize();
  bool Visible() const;
  std::string Title() const;
  void SetTitle(const std::string& text);

  // --- procedures ---------------------------------------------------------
  void lUp();
  void IntegrityChecker2(const std::string& typeCheck1, const std::string& typeCheck2,
                         const std::string& savF = {});
  void Command1_Click();
  void PauseToggle();
  void Label2_Click();
  // Scan, log and accept the failing files (failed_files.cpp).
  void Label12_Click();
  // False when a baseline could not be written: the list stays for another try.
  bool UpdateDatFile();
  bool SpecialSave(int slot);
  void resetCategoryLabels();
  // The first tick of Timer1 runs the whole check.
  void RunCheck();
  bool TimerArmed() const { return timerArmed_; }
  // Files read and checksummed ahead of the walk on this many threads (as
  // many as the machine has cores); 0 reads each file on this thread when
  // the walk reaches it.
  void SetReadAheadWorkers(size_t workers) { readAheadWorkers_ = workers; }
  bool Running() const { return running_; }

  // --- controls, read and written as working data ---------------------------
  static std::string Text(HWND control);
  static void SetText(HWND control, const std::string& text);
  std::vector<std::string> ListLines() const;
  void AddListLine(const std::string& line);
  void ClearList();

  HWND List1 = nullptr;
  HWND Frame1 = nullptr, Frame2 = nullptr, Frame3 = nullptr;
  HWND Label2 = nullptr, Label6 = nullptr, Label7 = nullptr, Label8 = nullptr, Label9 = nullptr,
       Label11 = nullptr, Label12 = nullptr, Label13 = nullptr, Label14 = nullptr;
  // Category lines 1..6 and the custom-folder line (index 7): title, file
  // and percent labels (l_dll2, l_dll, l_sdll ... l_cust2, l_cust, l_scust).
  std::array<HWND, 8> titleLabel{}, fileLabel{}, percentLabel{};
  HWND l_cust2 = nullptr;  // the custom-folder line's title
  // Pause and close controls.
  cButton Image9, Image11;
  static bool IsShown(HWND control);  // its own visible flag, whatever the window's state
  COLORREF LabelColor(HWND label) const;

  // Hidden number and text fields.
  std::string pb1max = "0", pbm = "0", pb2max = "1";
  std::string Text1, Text2, textav1, textav2;
  std::string extensionSet;
  std::array<int, 7> categoryTotal{};  // 1..6
  std::array<std::string, 21> pendingFolderUpdates;  // slots 1..20

 private:
  bool OnTimer(UINT_PTR id) override;
  bool OnCommand(int id, int code, HWND from) override;
  bool OnClose() override;
  void OnDpiChanged() override;
  std::optional<LabelLook> OnLabelLook(HWND label) override;
  bool OnEraseBackground(HDC dc) override;
  HBRUSH Ground() const;
  HCURSOR OnChildPointer(HWND child) override;
  void CreateControls();
  void ShowPanel(int panel);  // 1 progress, 2 result, 3 failed files
  void SetLabelColor(HWND label, COLORREF color);
  void LoadScannerFields();
  void ReadCategories();
  void CountFolder(const std::string& folderPath);
  void CheckFolderPass();
  void CheckCategory();
  std::string CheckedFolder() const;
  std::unique_ptr<ChecksumPipeline> StartPipeline(std::vector<std::string> paths);
  void StartPassPipeline();
  void ShowProgress(int category, const std::string& fileName, long running, bool force);
  void EndOfRun();
  void LogNotWritten();
  // A scanner that did not pass the files: the log says which and what it
  // returned; the files stay listed, unaccepted.
  void ScannerObjected(const ScanVerdict& verdict, const std::string& items);
  bool ConfirmLeavingFailedFiles();
  bool CloseBox();
  bool StopOrClose(bool closeBox);

  App& app_;
  std::array<HWND, 3> stepLabel_{};
  std::array<COLORREF, 3> stepColor_{};
  std::array<std::vector<HWND>, 4> panels_;
  int panel_ = 1;
  std::map<HWND, COLORREF> labelColors_;
  bool timerArmed_ = false;
  bool scanningFailedFiles_ = false;
  // The scan of failing files that ends a baseline run: nothing it finds is
  // logged or accepted twice.
  bool endingBaselineRun_ = false;
  bool running_ = false;
  long runTotal_ = 0;
  int folderCount_ = 0, folderCounter_ = 0;
  // Engine inputs of the current call.
  std::string typeCheck1_, typeCheck2_, savF_;
  // Progress shown at most every few tens of milliseconds; the texts are
  // written to the labels in full at the end of every category.
  unsigned long long lastShown_ = 0;
  int categoryPercent_ = 0;
  size_t readAheadWorkers_;
  // One provider per reading thread, kept between runs: acquiring one costs
  // more than hashing most files.
  std::vector<std::unique_ptr<HashProvider>> workerProviders_;
  // The readers of a whole folder pass, every category in checking order,
  // so that they read on into the next category while the walk finishes
  // one; passTaken_ results of it are taken.
  std::unique_ptr<ChecksumPipeline> passPipeline_;
  size_t passTaken_ = 0;
};

}  // namespace kv
