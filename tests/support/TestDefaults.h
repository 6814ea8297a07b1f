// What every test program and benchmark starts on instead of the machine: the fixed desktop
// and a profile in memory. Installed once, before the first test or measurement.
#pragma once

void InstallTestDefaults();
// Put back one of the two after a test took it away.
void InstallTestDesktop();
void InstallTestProfileStore();
