#pragma once

// True when the on-screen tests run on their own X server.
extern bool OnScreen;
