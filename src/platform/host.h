// The Host: every effect that waits for a person or reaches outside the
// program's own folder. Production talks to Win32; tests script it.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/shut_off.h"

struct HWND__;  // a window handle, without all of <windows.h>

namespace kv {

inline constexpr unsigned kNotifyIconMessage = 0x8000 + 0x31;  // WM_APP + 0x31

enum class MsgButtons { Ok, YesNo, OkCancel };
enum class MsgIcon { None, Error, Warning, Information, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int utcOffsetMinutes = 0;  // local time minus UTC, as records that leave the machine need it
};

// The kinds of entry in the system's event log.
enum class EventType { Information, Warning, Error };

// How a program that was waited for ended.
struct ProcessEnd {
  bool started = false;
  bool finished = false;       // false: still running when the wait gave up
  unsigned long exitCode = 0;  // when finished
};

// Show modes for started programs, with the values Windows gives them.
enum ShowMode { kHide = 0, kShowNormal = 1, kShowMinimized = 2 };

// An item of a popup menu: its text (with its "&" access key), the id the
// choice returns, and whether it can be chosen now. An empty text is a
// separator.
struct MenuItem {
  std::string text;
  int id = 0;
  bool enabled = true;
};

class Host {
 public:
  virtual ~Host() = default;

  // A modal message box; the title is always given by the caller.
  virtual MsgAnswer ShowMessage(const std::string& text, const std::string& title,
                               MsgButtons buttons, MsgIcon icon = MsgIcon::None) = 0;
  // The same box asked by a window: owned by it and centred on it, and the
  // window (with the windows that own it) takes no input until it is
  // answered. A null owner leaves the choice to ShowMessage.
  virtual MsgAnswer ShowMessageOver(HWND__* owner, const std::string& text, const std::string& title,
                                    MsgButtons buttons, MsgIcon icon = MsgIcon::None) {
    (void)owner;
    return ShowMessage(text, title, buttons, icon);
  }

  // Starts a command line as a new process without waiting for it.
  virtual bool StartProcess(const std::string& commandLine, int showMode) = 0;
  // Starts a command line and waits, at most timeoutMs, for it to end;
  // keepWaiting runs between waits (it may pump messages) and ends the wait
  // by returning false. The program is never ended by the wait.
  virtual ProcessEnd StartAndWait(const std::string& commandLine, int showMode,
                                  unsigned long timeoutMs,
                                  const std::function<bool()>& keepWaiting) = 0;

  // The shell's "Open" of a document, web page or mail link; returns the
  // shell's result code (values above 32 mean success).
  virtual long ShellOpen(const std::string& file, const std::string& directory, int showCmd) = 0;

  // A popup menu at a point of the screen, owned by `owner`, that waits for
  // the user: the id of the item chosen, 0 when the menu was dismissed.
  virtual int ChooseFromMenu(HWND__* owner, const std::vector<MenuItem>& items, int x, int y) = 0;

  // The shell's properties window of a file, owned by `owner`.
  virtual bool ShowFileProperties(const std::string& file, HWND__* owner) = 0;

  // Puts the text on the clipboard, as Unicode text; false when another
  // program holds the clipboard open.
  virtual bool CopyText(const std::string& text, HWND__* owner) = 0;

  // The filter is the dialog's pairs of description and pattern, each NUL-
  // (or "|"-) ended; owner is the window the dialog belongs to (an HWND).
  virtual std::string OpenFileDialog(const std::string& title, const std::string& filter,
                                     void* owner = nullptr) = 0;
  virtual std::string BrowseForFolder(const std::string& title) = 0;

  // Enables the shut-down privilege and suspends, hibernates, logs off,
  // restarts or powers off as asked. Only the production Host reaches the
  // system; nothing in a test ever does.
  virtual bool Power(const PowerRequest& request) = 0;

  // Asks the user to look at a window that is not in front: its taskbar
  // button flashes until the window is brought to the front.
  virtual void RequestAttention(HWND__* window) = 0;

  // A notification-area icon for `window` with a balloon saying `title` and
  // `text`: a click on the icon, the balloon or the icon's menu key comes to
  // the window as kNotifyIconMessage, its lParam the mouse or balloon
  // message. The icon stays until HideNotifyIcon.
  virtual void ShowNotifyIcon(HWND__* window, const std::wstring& title, const std::wstring& text) = 0;
  virtual void HideNotifyIcon(HWND__* window) = 0;

  // Production ends the process with the exit code; the test host records
  // it and returns, so callers return at once after calling it.
  virtual void EndProgram(int exitCode = 0) = 0;

  virtual LocalTime Now() = 0;

  // One event in the Application log under the source "Korvanel". A source
  // that no installer registered still takes it; the viewer then shows the
  // text without a message of its own around it.
  virtual void LogEvent(EventType type, unsigned long id, const std::string& text) = 0;
};

}  // namespace kv
