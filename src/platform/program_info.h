// What every Sendwerk program says about itself: its version line and the answers to
// "--help" and "--version", which go to stdout and end the program with status 0, as
// an administrator expects of any Linux command. The version comes from the project's
// build file. Callable from any thread before anything else runs.
#pragma once

#include <QString>

namespace sendwerk {

// "PROGRAM (Sendwerk) VERSION".
QString versionLine(const char* program);

// When the only argument is "--help" or "--version", prints the usage text or the
// version line on stdout and returns true; otherwise prints nothing and returns false.
bool answersHelpOrVersion(int argc, char** argv, const char* program, const char* usage);

}  // namespace sendwerk
