// Under AddressSanitizer: Chromium inside QtWebEngine frees some of its own
// objects with a sized delete of another size, which would end every window
// test at the first page load. That one check is off for this program only;
// ASAN_OPTIONS can still turn it back on.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0"; }
