// The anti-virus setup window: where the user names up to two scanners. Its
// four fields are the run's scanner configuration (App::scanners): the
// settings load, the support list, the wizard and the pending-reboot scan
// read and write them through this window.
#pragma once
#include <string>

#include "controls/window.h"

namespace kv {

class App;
struct ScannerFields;

class s_avir : public controls::Window {
 public:
  explicit s_avir(App& app);  // made hidden; loads both scanner keys
  ~s_avir() override;

  void Open();  // shown, not modal
  const ScannerFields& Fields() const;
  // Writes into the fields; an open window shows them at once.
  void SetFirst(const std::string& program, const std::string& args);  // Text5, Text6
  void SetFirstArguments(const std::string& args);                     // Text6
  void SetSecond(const std::string& program, const std::string& args);  // Text1, Text2
  void norms();

 private:
  App& app_;
};

// The arguments a scanner picked in a file dialog gets: by its upper-cased path.
std::string AutomaticArguments(const std::string& program);

// The open-file dialog for a scanner executable, owned by the setup window
// (made when missing). Empty when cancelled.
std::string ShowOpenFileDialog(App& app, const std::string& title, const std::string& filter);
inline constexpr char kChooseScannerTitle[] = "Choose Anti-Virus Executable File";
// "Executable Files (*.exe, *.com)" "*.EXE;*.COM" "All Files (*.*)" "*.*", each NUL-ended.
std::string ExecutableFilter();

}  // namespace kv
