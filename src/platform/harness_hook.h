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

/* The window a hosting harness lends the library (its timers reach the
   harness's message loop); 0 when it lends none. Optional export. */
typedef unsigned long long (*OrbexHarnessHostWindowFn)(void);
#define ORBEX_HARNESS_HOST_WINDOW_SYMBOL "OrbexHarnessHostWindow"

/* What a virtual machine offers its host: waiting for the machine's next
   timer lets virtual time pass until it expires. waitForTimer returns 0 when
   no timer is armed, else 1 with the timer's window and identifier.
   openReferences gives the number of objects and handles the machine handed
   out and nobody released yet. elapsedMs gives the virtual time passed since
   the machine started, in milliseconds. reportOverlayBuffers sends an
   OverlayBuffer event for each overlay buffer, as a lock would show it now. */
typedef struct OrbexVirtualMachine {
    void* context;
    int (*waitForTimer)(void* context, unsigned long long* window, unsigned long long* id);
    long long (*openReferences)(void* context);
    long long (*elapsedMs)(void* context);
    void (*reportOverlayBuffers)(void* context);
} OrbexVirtualMachine;

/* Called by a virtual machine when it starts (and with null when it goes),
   so that the harness can deliver its timers. Optional export. */
typedef void (*OrbexHarnessAttachMachineFn)(const OrbexVirtualMachine* machine);
#define ORBEX_HARNESS_ATTACH_MACHINE_SYMBOL "OrbexHarnessAttachMachine"

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
