// The loader notification of a library that holds the process objects
// (orbex.dll). DLL_PROCESS_DETACH comes before the C runtime destroys the
// static objects; a non-null reserved pointer says the process is exiting
// rather than unloading the library with FreeLibrary.
#include <windows.h>

#include "platform/win32/process_exit.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved) orbex::win32::SetProcessExiting(true);
    return TRUE;
}
