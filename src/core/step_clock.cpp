#include "core/step_clock.h"

#include <cstdio>

namespace kv {

std::string StepClock::Report() const {
  static constexpr const char* kNames[] = {"listing", "checksums", "listbox", "handover",
                                           "log",     "acceptance", "save"};
  std::string text;
  for (size_t i = 0; i < seconds_.size(); ++i) {
    char field[64];
    std::snprintf(field, sizeof field, "%s%s=%.3f", i ? " " : "", kNames[i], seconds_[i]);
    text += field;
  }
  return text;
}

}  // namespace kv
