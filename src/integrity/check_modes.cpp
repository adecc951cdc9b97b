#include "integrity/check_modes.h"

#include "context/app.h"
#include "integrity/intCheck.h"

namespace kv {

void StartAutoLoadCheck(App& app) {
  intCheck& window = app.CheckWindow();
  window.Show();
  window.lUp();
  if (!app.ended) window.Minimize();
}

}  // namespace kv
