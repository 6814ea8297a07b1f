// The launcher's one application object. It lives in a unit of its own so that programs that
// link the launcher's library for its parts (tests, benchmarks) get no application object
// they did not make; the executable and the test of the whole launcher link this unit.
#include "app/TsrRunvaneApp.h"

CTsrRunvaneApp theApp;
