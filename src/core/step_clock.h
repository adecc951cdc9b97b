// Where a long run spends its time, step by step. Kept only when asked for
// (the scale benchmark sets KORVANEL_STEP_TIMES); otherwise every timer is a
// test of one flag.
#pragma once
#include <array>
#include <chrono>
#include <string>

namespace kv {

enum class Step { Listing, Checksums, ListBox, HandOver, Log, Acceptance, Save, Count };

class StepClock {
 public:
  bool on = false;
  void Add(Step step, double seconds) { seconds_[size_t(step)] += seconds; }
  double Seconds(Step step) const { return seconds_[size_t(step)]; }
  // "listing=0.125 checksums=..." in step order.
  std::string Report() const;

  // Adds the time from its making to its end to a step.
  class Timer {
   public:
    Timer(StepClock& clock, Step step) : clock_(clock.on ? &clock : nullptr), step_(step) {
      if (clock_) start_ = std::chrono::steady_clock::now();
    }
    ~Timer() {
      if (clock_)
        clock_->Add(step_, std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count());
    }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

   private:
    StepClock* clock_;
    Step step_;
    std::chrono::steady_clock::time_point start_;
  };

 private:
  std::array<double, size_t(Step::Count)> seconds_{};
};

}  // namespace kv
