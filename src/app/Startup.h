#pragma once
// The start-up sequence: the splash for three seconds, the lasting windows in their
// order, the event loop until the program is told to end, then everything torn down.

#include <functional>

namespace luvir {

class LuvirApplication;

// Runs the program in `app`; `whenShown` (if any) runs once the main window is on
// screen. Returns the exit code, always 0: a failure that escapes start-up is shown in
// the error box.
int runProgram(LuvirApplication &app, const std::function<void()> &whenShown = {});

} // namespace luvir
