#pragma once

#include <functional>

// Dispatches this thread's messages until done() holds. It gives up, and
// returns false, only when no message at all arrives for several seconds,
// so a test that waits for Windows never hangs and never measures time.
bool pumpUntil(const std::function<bool()>& done);
