#include "antivirus/s_avir.h"

#include "context/app.h"

namespace kv {

// Placeholder until the window itself lands: the fields without a window.
s_avir::s_avir(App& app) : app_(app) {}
s_avir::~s_avir() = default;
void s_avir::Open() {}
const ScannerFields& s_avir::Fields() const { return app_.scanners; }
void s_avir::SetFirst(const std::string& program, const std::string& args) {
  app_.scanners.Text5 = program;
  app_.scanners.Text6 = args;
}
void s_avir::SetFirstArguments(const std::string& args) { app_.scanners.Text6 = args; }
void s_avir::SetSecond(const std::string& program, const std::string& args) {
  app_.scanners.Text1 = program;
  app_.scanners.Text2 = args;
}
void s_avir::norms() {}

std::string AutomaticArguments(const std::string&) { return " "; }
std::string ShowOpenFileDialog(App& app, const std::string& title, const std::string& filter) {
  return app.host.OpenFileDialog(title, filter);
}
std::string ExecutableFilter() {
  return std::string("Executable Files (*.exe, *.com)\0*.EXE;*.COM\0All Files (*.*)\0*.*\0", 64);
}

s_avir& App::AntivirusSetup() {
  if (!antivirusSetup_) antivirusSetup_ = MakeOwned<s_avir>(*this);
  return *antivirusSetup_;
}

}  // namespace kv
