#pragma once

// Gives the skinned controls their faces for assistive technology. Installed
// once at start, before any window exists.
void InstallAccessibleFactory();
