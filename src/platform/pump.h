// Yielding to the message queue inside long loops, so pause and stop clicks
// and repaints are handled between items.
#pragma once

namespace kv {

// Handles every waiting message once (the program's DoEvents).
void PumpMessages();

// The same for loops that yield after every item of a long list: the queue
// is asked at most every few milliseconds (asking costs a round trip to the
// window server under Wine), and messages of any kind are then handled.
void PumpWaitingMessages();

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
