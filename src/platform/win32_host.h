#pragma once
#include "platform/host.h"

namespace kv {

class Win32Host final : public Host {
 public:
  MsgAnswer ShowMessage(const std::string& text, const std::string& title, MsgButtons buttons,
                       MsgIcon icon) override;
  MsgAnswer ShowMessageOver(HWND__* owner, const std::string& text, const std::string& title,
                            MsgButtons buttons, MsgIcon icon) override;
  bool StartProcess(const std::string& commandLine, int showMode) override;
  ProcessEnd StartAndWait(const std::string& commandLine, int showMode, unsigned long timeoutMs,
                          const std::function<bool()>& keepWaiting) override;
  long ShellOpen(const std::string& file, const std::string& directory, int showCmd) override;
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
};

}  // namespace kv
