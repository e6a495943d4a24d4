#pragma once

// The two measured programs, each run in a process of its own; both return the exit
// code of the event loop, which the probe ends at the first paint.
int runProgram(int argc, char** argv);
// A plain window of the main window's size holding `panels` plain frames, with or
// without a one-letter caption each.
int runFloor(int argc, char** argv, int panels, bool captions);
