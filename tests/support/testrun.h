#pragma once

// Runs every GoogleTest test under an application object, with HOME and the
// XDG folders pointed at a temporary folder so no test touches the real
// user's settings or output folder. The platform is chosen by the caller.
int RunTestsInPrivateHome(int &argc, char **argv);
