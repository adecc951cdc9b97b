// A flag held set for the whole length of an action, however it ends: the
// actions that pump messages use it to turn away a second click meanwhile.
#pragma once

namespace kv {

class BusyFlag {
 public:
  explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyFlag() { flag_ = false; }
  BusyFlag(const BusyFlag&) = delete;
  BusyFlag& operator=(const BusyFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace kv
