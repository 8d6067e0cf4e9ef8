// Leaks that belong to the system libraries under Qt, not to this program: the
// sanitizer build would otherwise fail every Qt test at exit. Read by
// LeakSanitizer when present; an unused function elsewhere.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
