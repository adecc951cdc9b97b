// How a secure shut-down action is carried out: a power state, or an exit
// request with its flags, which depend on the system's version.
#pragma once
#include <optional>

namespace kv {

// Action codes of the secure shut down.
inline constexpr int kHibernate = 0, kStandby = 1, kRestart = 2, kLogOff = 4, kTurnOff = 8,
                     kScheduledScan = 99;

struct SystemVersion {
  unsigned platformId = 2;  // 2: the NT family
  unsigned major = 5;
};

// NT family after version 4: a hung program may be forced, running ones
// get the chance to save.
bool IsNewerSystem(const SystemVersion& v);

struct PowerRequest {
  enum class Kind { PowerState, ExitWindows };
  Kind kind = Kind::ExitWindows;
  bool suspend = false;           // PowerState: standby (true) or hibernate
  bool force = true;              // PowerState
  unsigned exitFlags = 0;         // ExitWindows: action flags | force flag
  bool endDesktopOwner = false;   // older systems' log-off ends the shell first
};

// Nothing for a code that names no action (the scheduled scan among them).
std::optional<PowerRequest> ShutOffRequest(int action, const SystemVersion& v);

}  // namespace kv
