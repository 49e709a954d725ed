#pragma once

// The program from start to end: single instance, the windows in their
// order, the message loop, and the orderly shutdown. Returns the process's
// exit status: -1 when another copy runs, otherwise 0.
int RunEntrySequence(int argc, char **argv);
