// Yielding to the message queue inside long loops, so pause and stop clicks
// and repaints are handled between items.
#pragma once
#include <functional>

namespace kv {

// Handles every waiting message once (the program's DoEvents).
void PumpMessages();

// The same for loops that yield after every item of a long list: the queue
// is asked at most every few milliseconds (asking costs a round trip to the
// window server under Wine), and messages of any kind are then handled.
void PumpWaitingMessages();

// Runs `work` on another thread while this one handles its messages as they
// come, so that a step of a few hundred milliseconds (accepting two hundred
// thousand files into a baseline) leaves the window answering. Handlers may
// run meanwhile: `work` touches nothing they can reach. An exception it
// throws is thrown here.
void WorkWhilePumping(const std::function<void()>& work);

// Pumps only when input or paint messages of the kinds in QueueUsed wait,
// which keeps tight loops cheap. The queue is asked at most every few
// milliseconds, however many objects ask.
class clsDoEvents {
 public:
  static constexpr unsigned kDefaultQueue = 165;  // keys, mouse buttons, paint, hot keys
  void QueueUsed(unsigned vData) { queueUsed_ = vData; }
  unsigned QueueUsed() const { return queueUsed_; }
  void GetInputState() const;
  // Whether GetInputState would pump now (the same rate limit applies).
  bool InputWaiting() const;

 private:
  unsigned queueUsed_ = kDefaultQueue;
};

}  // namespace kv
