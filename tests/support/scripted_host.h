// The test Host: records every call, answers message boxes from a script,
// fails the test on a box nobody expected and on any call after the program
// was ended.
#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"

namespace kv::test {

class ScriptedHost final : public Host {
 public:
  struct Box {
    std::string text, title;
    MsgButtons buttons;
    MsgIcon icon;
    HWND__* owner = nullptr;  // the window that asked, when one did
  };
  struct Start {
    std::string commandLine;
    int showMode;
  };
  struct Shell {
    std::string file, directory;
    int showCmd;
  };

  ~ScriptedHost() override;

  // The next message box must have exactly this text, title (the program's
  // "Korvanel" when none is given), icon, and buttons (when none are given,
  // those the answer belongs to: Yes/No for Yes or No, OK/Cancel for Cancel,
  // OK alone for OK); it is answered with `answer`.
  void ExpectBox(std::string text, MsgAnswer answer = MsgAnswer::Ok, std::string title = {},
                 MsgIcon icon = MsgIcon::None, std::optional<MsgButtons> buttons = {});
  bool AllBoxesShown() const { return expected_.empty(); }

  MsgAnswer ShowMessage(const std::string& text, const std::string& title, MsgButtons buttons,
                       MsgIcon icon) override;
  MsgAnswer ShowMessageOver(HWND__* owner, const std::string& text, const std::string& title,
                            MsgButtons buttons, MsgIcon icon) override;
  bool StartProcess(const std::string& commandLine, int showMode) override;
  // Recorded as a start; ends with the next of exitCodes (0 when none is
  // left), or still running when scannersFinish is false. keepWaiting is
  // called once, as the wait's first pause would.
  ProcessEnd StartAndWait(const std::string& commandLine, int showMode, unsigned long timeoutMs,
                          const std::function<bool()>& keepWaiting) override;
  long ShellOpen(const std::string& file, const std::string& directory, int showCmd) override;
  // Recorded; answered with the next of menuAnswers (0, dismissed, when none is left).
  int ChooseFromMenu(HWND__* owner, const std::vector<MenuItem>& items, int x, int y) override;
  bool ShowFileProperties(const std::string& file, HWND__* owner) override;
  bool CopyText(const std::string& text, HWND__* owner) override;
  std::string OpenFileDialog(const std::string& title, const std::string& filter,
                             void* owner = nullptr) override;
  std::string BrowseForFolder(const std::string& title) override;
  bool Power(const PowerRequest& request) override;
  void RequestAttention(HWND__* window) override;
  void ShowNotifyIcon(HWND__* window, const std::wstring& title, const std::wstring& text) override;
  void HideNotifyIcon(HWND__* window) override;
  void EndProgram(int exitCode = 0) override;
  LocalTime Now() override;
  void LogEvent(EventType type, unsigned long id, const std::string& text) override;

  std::vector<Box> boxes;
  std::vector<Start> starts;
  std::vector<Shell> shellCalls;
  std::vector<PowerRequest> powerCalls;
  struct Menu {
    std::vector<MenuItem> items;
    int x, y;
  };
  std::vector<Menu> menus;          // every popup menu shown
  std::deque<int> menuAnswers;
  std::vector<std::string> propertiesShown;  // files whose properties window was opened
  std::vector<std::string> copied;           // every text put on the clipboard
  std::vector<HWND__*> attention;  // windows whose taskbar button was made to flash
  struct Notice {
    HWND__* window;
    std::wstring title, text;
  };
  std::vector<Notice> notices;     // every balloon shown
  HWND__* iconShown = nullptr;     // the window whose notification icon is there
  bool startSucceeds = true;
  std::deque<unsigned long> exitCodes;
  bool scannersFinish = true;
  std::vector<unsigned long> waitTimeouts;  // the limit of each wait
  // Runs at each start, as the started program would while the caller goes on.
  std::function<void(const std::string& commandLine)> onStart;
  std::deque<long> shellResults;  // next results of ShellOpen; 42 (success) when empty
  std::string openFileAnswer, folderAnswer;
  struct FileDialog {
    std::string title, filter;
    void* owner;
  };
  std::vector<FileDialog> fileDialogs;
  LocalTime now{2007, 1, 5, 8, 17, 49};
  struct Event {
    EventType type;
    unsigned long id;
    std::string text;
  };
  std::vector<Event> events;
  bool ended = false;
  int exitCode = 0;

 private:
  void CheckNotEnded(const char* what);
  struct Expected {
    std::string text, title;
    MsgAnswer answer;
    MsgIcon icon;
    MsgButtons buttons;
  };
  std::deque<Expected> expected_;
};

}  // namespace kv::test
