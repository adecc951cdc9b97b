// Waiting for windows in tests: pump the real message queue until a
// condition holds. No test sleeps for a fixed time.
#pragma once
#include <functional>

namespace kv::test {

// Pumps window messages until cond() holds; false (and a test failure
// message) when timeoutMs passes first.
bool PumpUntil(const std::function<bool()>& cond, int timeoutMs = 5000);

// Pumps whatever is waiting now (paints, posted messages, due timers).
void PumpPending();

// Runs `action` from the message loop after `ms`, the way a user's click
// arrives while a check is pumping messages. One action waits at a time.
void Later(int ms, std::function<void()> action);

}  // namespace kv::test
