// A DLL that exists only to carry (or lack) a version resource for the
// file-version checks under Wine.
#include <windows.h>

extern "C" __declspec(dllexport) int VersionSample() {
    return 1;
}
