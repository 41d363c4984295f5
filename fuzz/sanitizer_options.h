// Sanitizer settings of the fuzz targets that build whole machines: no
// allocation stack traces, a small quarantine and no fill of fresh blocks.
// Every load and store is still checked against its block; what is given up
// is the allocation's stack in a report and the detection of a use long
// after a free. Without them an execution spends most of its time in the
// allocator and in page faults.
#pragma once

extern "C" const char* __asan_default_options() {
    return "malloc_context_size=0:quarantine_size_mb=4:max_malloc_fill_size=0";
}
