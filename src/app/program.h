// The whole program as an operator starts it: `Main` with its services (settings file,
// drive map, table engine, clock, process start, event queue, tone), the start-up
// window and checks, the start mode, the main window's build and rebuild loop, the
// orderly shutdown and `NotAus`, all under the default error report.
// Called once by main() with the application object; returns the exit status.
#pragma once

namespace sendwerk {

class GuardedApplication;

int runProgram(GuardedApplication& app);

}  // namespace sendwerk
