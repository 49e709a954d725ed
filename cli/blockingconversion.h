#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// Runs one engine conversion and waits for its end message, for a program
// without a message loop. Status lines are handed to onStatus on the
// engine's thread, in order. Setting interrupt asks the engine to stop.
// Returns the end message's wParam (0 complete, 1 stopped, 2 failed), or -1
// when the engine refused to start.
int RunConversionBlocking(const QStringList &vector,
                          const std::function<void(const QString &)> &onStatus,
                          const std::atomic<bool> &interrupt);
