#pragma once
// The start-up sequence: the splash for three seconds, the lasting windows in their
// order, the event loop until the program is told to end, then everything torn down.

#include <functional>

namespace luvir {

class LuvirApplication;

// Exit codes of the program.
constexpr int kExitOk = 0;
constexpr int kExitStartupFailed = 1;

// Runs the program in `app`; `whenShown` (if any) runs once the main window is on
// screen. Returns the exit code (see runGuarded).
int runProgram(LuvirApplication &app, const std::function<void()> &whenShown = {});

// Runs `program`. An exception that escapes it is shown in the error box and gives
// kExitStartupFailed, so whoever started the program sees the failure; otherwise kExitOk.
int runGuarded(const std::function<void()> &program);

} // namespace luvir
