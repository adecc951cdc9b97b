#include "app/app.h"

#include "app/mForm1.h"
#include "integrity/checksum/clsHash.h"
#include "integrity/full_scan.h"
#include "integrity/intCheck.h"
#include "shutdown/sProg.h"

namespace kv {

App::App(Host& h, const Edition& e, std::string dir) : host(h), edition(e), appDir(std::move(dir)) {
  if (!appDir.empty() && appDir.back() != '\\') appDir += '\\';
  settingsFile = appDir + "Data\\Korvanel.dat";
  baselineFile = appDir + "Data\\Integrity.dat";
  registryFile = appDir + "Data\\Registry.dat";
}

App::~App() = default;

MsgAnswer App::Ask(const std::string& text, MsgButtons buttons, const std::string& title,
                   MsgIcon icon) {
  return host.ShowMessage(text, title.empty() ? edition.title : title, buttons, icon);
}

void App::EndProgram() {
  if (ended) return;
  ended = true;
  host.EndProgram();
}

intCheck& App::CheckWindow() {
  if (!checkWindow_) checkWindow_ = std::make_unique<intCheck>(*this);
  return *checkWindow_;
}

void App::DropCheckWindow() { checkWindow_.reset(); }

sProg& App::ShutDownProgress() {
  if (!progress_) progress_ = std::make_unique<sProg>();
  return *progress_;
}

mForm1& App::Form1() {
  if (!form1_) form1_ = std::make_unique<mForm1>(*this);
  return *form1_;
}

}  // namespace kv
