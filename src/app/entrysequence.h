#pragma once

#include <QIcon>
#include <QString>

// The program from start to end: single instance, the windows in their
// order, the message loop, and the orderly shutdown. Returns the process's
// exit status: -1 when another copy runs, otherwise 0.
int RunEntrySequence(int argc, char **argv);

// The program's icon, for every window's title bar and the task bar: the
// sizes drawn into the data folder's icons/ at build time, else the
// installed theme's.
QIcon ProgramIcon(const QString &dataFolder);
