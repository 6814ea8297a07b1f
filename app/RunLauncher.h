// The whole launcher between its start-up services and its exit status. The executable
// installs the machine's services (registry hive, paths, shell, presenter, browser engine)
// and calls it; tests install doubles and call it the same way.
#pragma once

// Registers the application's resources, enables the logs the environment asks for and runs
// the application object through the framework (InitInstance shows the main window until it
// closes). Answers the process's exit status: 0 after a normal close, 1 when the guide could
// not be shown or an error ended the run; the user has been told why by then. Needs the one
// application object (CTsrRunvaneApp) to be linked in; without it the answer is -1.
int RunLauncher();
