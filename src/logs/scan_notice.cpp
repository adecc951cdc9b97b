#include "logs/scan_notice.h"

#include "context/app.h"
#include "controls/notice_menu.h"
#include "core/text.h"
#include "platform/file_stamp.h"
#include "platform/files.h"

namespace kv {

namespace {
constexpr char kClassName[] = "KorvanelNotice";
}  // namespace

ScanNotice::ScanNotice(App& app, const FindingCounts& counts) : app_(app) {
  // Never shown: it is there for the icon's messages.
  if (!Create(controls::WindowClass{kClassName, 0, nullptr, true}, WS_EX_TOOLWINDOW, "Korvanel", WS_POPUP, 0, 0,
              0, 0, nullptr))
    return;
  app_.host.ShowNotifyIcon(hwnd_, FindingsNoticeTitle(counts), FindingsNoticeText(counts));
}

ScanNotice::~ScanNotice() { Destroy(); }

void ScanNotice::Review() {
  const std::string log = NewestLog(app_);
  if (!log.empty()) app_.host.ShellOpen(log, app_.dataRoot + "Data\\Log\\", SW_SHOWNORMAL);
  Dismiss();
}

void ScanNotice::Dismiss() {
  if (hwnd_) app_.host.HideNotifyIcon(hwnd_);
  app_.EndProgram();
}

bool ScanNotice::OnClose() {
  Dismiss();
  return true;
}

LRESULT ScanNotice::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != kNotifyIconMessage) return Window::OnMessage(msg, wp, lp);
  switch (controls::NoticeActionOf(hwnd_, lp)) {
    case controls::NoticeAction::Review: Review(); break;
    case controls::NoticeAction::Dismiss: Dismiss(); break;
    case controls::NoticeAction::None: break;
  }
  return 0;
}

std::string NewestLog(const App& app) {
  const std::string folder = app.dataRoot + "Data\\Log\\";
  std::string newest;
  uint64_t newestTime = 0;
  for (const std::string& name : ListDirectory(folder).value_or(std::vector<std::string>{})) {
    if (!EndsWithNoCase(name, ".log")) continue;
    const auto stamp = StampOf(folder + name);
    if (stamp && (newest.empty() || stamp->writeTime > newestTime)) {
      newest = folder + name;
      newestTime = stamp->writeTime;
    }
  }
  return newest;
}

}  // namespace kv
