// The notice a scheduled scan leaves when it found something ("/n" and the
// counts): a notification-area icon with a balloon, in a process of its
// own, so that the scan itself ends at once and its task records its exit
// code. A click opens the newest log; the icon's menu can dismiss it; the
// window being closed dismisses it too. Either ends the process.
#pragma once
#include <string>

#include "controls/window.h"
#include "core/findings_notice.h"

namespace kv {

class App;

class ScanNotice : public controls::Window {
 public:
  ScanNotice(App& app, const FindingCounts& counts);
  ~ScanNotice() override;
  void Review();
  void Dismiss();

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnClose() override;

  App& app_;
};

// The log written last in Data\Log; empty when there is none.
std::string NewestLog(const App& app);

}  // namespace kv
