#pragma once

namespace app {

// The whole program: texts, single-instance guard, options, window, then one
// scan or the event loop. Ends the process with exit code 0 on every path.
[[noreturn]] void Run();

}  // namespace app
