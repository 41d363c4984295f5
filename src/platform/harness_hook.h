/* The in-process hook through which the virtual board and the result library
   hand their events to a hosting harness. The harness exports the function;
   the others look it up by name and stay silent without it. */
#ifndef ORBEX_HARNESS_HOOK_H
#define ORBEX_HARNESS_HOOK_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OrbexEventField {
    const char* name;
    const char* text; /* the value when isNumber is 0 */
    long long number; /* the value when isNumber is 1 */
    int isNumber;
} OrbexEventField;

typedef void (*OrbexHarnessEventFn)(const char* event, const OrbexEventField* fields, int count);

#define ORBEX_HARNESS_EVENT_SYMBOL "OrbexHarnessEvent"

/* How a program exports the hook. */
#if defined(_WIN32)
#define ORBEX_HOOK_EXPORT __declspec(dllexport)
#else
#define ORBEX_HOOK_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
}
#endif

#endif
