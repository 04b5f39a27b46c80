// The directory that holds the program's executable, fixed at start-up.
#pragma once

#include "encoding/text.h"

// The directory part of an executable's path: everything before its last "/".
// A program in "/" has the empty directory text.
Text DirectoryOf(const Text& executablePath);

// Works out the program's directory from /proc/self/exe and makes it the working
// directory. Returns false when the executable's path cannot be read.
bool PrepareProcess();

// The program's directory, without a trailing "/".
Text ProgramDirectory();
