// The program's main routine: start-up sequence, event loop, exit.
#pragma once

#include <string_view>

// Runs the program and returns its exit status (0 after the window is closed).
int RunProgram(int argc, char** argv);

// Reports an error the program cannot go on from (stderr, and a message box when
// a display is there) and ends the process with exit status 255.
[[noreturn]] void FatalError(std::string_view message);
