// What GTK, WebKit and the libraries under them keep until the process ends (font caches,
// the accessibility bridge, the D-Bus connection, JavaScriptCore's atom strings) is no leak
// of the code under test: the leak checker of the sanitizer build is told so. Without that
// build nothing calls this.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libdbus-1.so\n"
         "leak:libatk-bridge-2.0.so\n"
         "leak:libjavascriptcoregtk-4.1.so\n"
         "leak:libwebkit2gtk-4.1.so\n"
         "leak:libgtk-3.so\n"
         "leak:libgdk-3.so\n"
         "leak:libpango-1.0.so\n"
         "leak:libpangoft2-1.0.so\n"
         "leak:libcairo.so\n";
}

// Those libraries are built without frame pointers: only the slow unwinder follows a stack
// through them to the library that made the allocation.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
