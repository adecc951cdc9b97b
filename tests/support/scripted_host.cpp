#include "support/scripted_host.h"

#include "core/scanner.h"

#include <gtest/gtest.h>

namespace kv::test {

ScriptedHost::~ScriptedHost() {
  for (const auto& e : expected_) ADD_FAILURE() << "expected message box never shown: " << e.text;
}

void ScriptedHost::ExpectBox(std::string text, MsgAnswer answer, std::string title, MsgIcon icon,
                             std::optional<MsgButtons> buttons) {
  const MsgButtons implied = answer == MsgAnswer::Yes || answer == MsgAnswer::No ? MsgButtons::YesNo
                             : answer == MsgAnswer::Cancel                       ? MsgButtons::OkCancel
                                                                                 : MsgButtons::Ok;
  expected_.push_back({std::move(text), title.empty() ? "Korvanel" : std::move(title), answer, icon,
                       buttons.value_or(implied)});
}

void ScriptedHost::CheckNotEnded(const char* what) {
  if (ended) ADD_FAILURE() << what << " after the program was ended";
}

MsgAnswer ScriptedHost::ShowMessage(const std::string& text, const std::string& title,
                                   MsgButtons buttons, MsgIcon icon) {
  CheckNotEnded("message box");
  boxes.push_back({text, title, buttons, icon});
  if (expected_.empty()) {
    ADD_FAILURE() << "unexpected message box: [" << title << "] " << text;
    return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
  }
  Expected e = expected_.front();
  expected_.pop_front();
  EXPECT_EQ(text, e.text);
  EXPECT_EQ(title, e.title) << text;
  EXPECT_EQ(int(buttons), int(e.buttons)) << "buttons of: " << text;
  EXPECT_EQ(int(icon), int(e.icon)) << "icon of: " << text;
  return e.answer;
}

MsgAnswer ScriptedHost::ShowMessageOver(HWND__* owner, const std::string& text, const std::string& title,
                                       MsgButtons buttons, MsgIcon icon) {
  const size_t before = boxes.size();
  const MsgAnswer answer = ShowMessage(text, title, buttons, icon);
  if (boxes.size() > before) boxes[before].owner = owner;
  return answer;
}

bool ScriptedHost::StartProcess(const std::string& commandLine, int showMode) {
  CheckNotEnded("process start");
  starts.push_back({commandLine, showMode});
  // The production host starts nothing else, so a caller that forgets the
  // quotes or the full path fails here rather than on a user's machine.
  const auto program = ProgramOfCommandLine(commandLine);
  EXPECT_TRUE(program || !startSucceeds) << "not a quoted full program path: " << commandLine;
  if (onStart) onStart(commandLine);
  return startSucceeds && program;
}

ProcessEnd ScriptedHost::StartAndWait(const std::string& commandLine, int showMode,
                                      unsigned long timeoutMs,
                                      const std::function<bool()>& keepWaiting) {
  ProcessEnd end;
  end.started = StartProcess(commandLine, showMode);
  if (!end.started) return end;
  waitTimeouts.push_back(timeoutMs);
  const bool stopped = keepWaiting && !keepWaiting();
  end.finished = scannersFinish && !stopped;
  if (!exitCodes.empty()) {
    end.exitCode = exitCodes.front();
    exitCodes.pop_front();
  }
  return end;
}

long ScriptedHost::ShellOpen(const std::string& file, const std::string& directory, int showCmd) {
  CheckNotEnded("shell open");
  shellCalls.push_back({file, directory, showCmd});
  if (shellResults.empty()) return 42;
  long r = shellResults.front();
  shellResults.pop_front();
  return r;
}

int ScriptedHost::ChooseFromMenu(HWND__*, const std::vector<MenuItem>& items, int x, int y) {
  CheckNotEnded("popup menu");
  menus.push_back({items, x, y});
  if (menuAnswers.empty()) return 0;
  const int chosen = menuAnswers.front();
  menuAnswers.pop_front();
  return chosen;
}

bool ScriptedHost::ShowFileProperties(const std::string& file, HWND__*) {
  CheckNotEnded("properties window");
  propertiesShown.push_back(file);
  return true;
}

bool ScriptedHost::CopyText(const std::string& text, HWND__*) {
  CheckNotEnded("clipboard copy");
  copied.push_back(text);
  return true;
}

std::string ScriptedHost::OpenFileDialog(const std::string& title, const std::string& filter,
                                         void* owner) {
  CheckNotEnded("open-file dialog");
  fileDialogs.push_back({title, filter, owner});
  return openFileAnswer;
}

std::string ScriptedHost::BrowseForFolder(const std::string&) {
  CheckNotEnded("folder dialog");
  return folderAnswer;
}

bool ScriptedHost::Power(const PowerRequest& request) {
  CheckNotEnded("power action");
  powerCalls.push_back(request);
  return true;
}

void ScriptedHost::RequestAttention(HWND__* window) {
  CheckNotEnded("attention request");
  attention.push_back(window);
}

void ScriptedHost::ShowNotifyIcon(HWND__* window, const std::wstring& title, const std::wstring& text) {
  CheckNotEnded("notification");
  notices.push_back({window, title, text});
  iconShown = window;
}

void ScriptedHost::HideNotifyIcon(HWND__* window) {
  if (iconShown == window) iconShown = nullptr;
}

void ScriptedHost::EndProgram(int code) {
  CheckNotEnded("end of program");
  ended = true;
  exitCode = code;
}

LocalTime ScriptedHost::Now() { return now; }

void ScriptedHost::LogEvent(EventType type, unsigned long id, const std::string& text) {
  CheckNotEnded("event");
  events.push_back({type, id, text});
}

}  // namespace kv::test
