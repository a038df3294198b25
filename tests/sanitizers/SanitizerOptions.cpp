// Linked into every program of the asan preset, so that a program started
// by hand, by ctest, by test discovery or by libFuzzer stops at the first
// report and knows the leaks that are not ours.

// The sanitizers look these names up. NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" {

const char* __asan_default_options() {
    return "halt_on_error=1:detect_leaks=1:strict_init_order=1";
}

const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

const char* __lsan_default_options() {
    return "suppressions=" VANTOREL_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

} // extern "C"
// NOLINTEND(bugprone-reserved-identifier)
