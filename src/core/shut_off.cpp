#include "core/shut_off.h"

namespace kv {

bool IsNewerSystem(const SystemVersion& v) { return v.platformId == 2 && v.major > 4; }

std::optional<PowerRequest> ShutOffRequest(int action, const SystemVersion& v) {
  PowerRequest r;
  if (action == kHibernate || action == kStandby) {
    r.kind = PowerRequest::Kind::PowerState;
    r.suspend = action == kStandby;
    return r;
  }
  unsigned flags = 0;
  switch (action) {
    case kRestart: flags = 3; break;  // shut down and reboot
    case kLogOff: flags = 4; break;   // log off, forced
    case kTurnOff: flags = 9; break;  // shut down and power off
    default: return std::nullopt;     // an unknown code must not log the user off
  }
  r.exitFlags = flags | (IsNewerSystem(v) ? 16u : 4u);
  r.endDesktopOwner = action == kLogOff && v.platformId != 2;
  return r;
}

}  // namespace kv
