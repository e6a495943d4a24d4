#pragma once

// The two measured programs, each run in a process of its own; both return the exit
// code of the event loop, which the probe ends at the first paint.
int runProgram(int argc, char** argv);
enum class FloorText { None, Letters, Japanese };
// A plain window of the main window's size holding `panels` plain frames: blank, with a
// one-letter caption each, or with letters and one Japanese prompt in the first.
int runFloor(int argc, char** argv, int panels, FloorText text);
