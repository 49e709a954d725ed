// Keeps the tests away from the real user's settings, caches and output
// folder: every test program runs with a home of its own.
#pragma once

#include <QString>

// Points HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR at folder (which must
// exist) and leaves it to its owner alone.
void UseTestHome(const QString &folder);
