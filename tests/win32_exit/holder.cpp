// A library holding an object of another module in a static reference, as
// orbex.dll's process objects hold the objects of the libraries it loaded,
// with orbex.dll's own loader notification (dll_main.cpp).
#include <windows.h>

#include "platform/win32/com_ref.h"

namespace {
orbex::win32::ComRef<IUnknown> g_held;
}

extern "C" __declspec(dllexport) void HoldObject(IUnknown* object) {
    object->AddRef();
    g_held = orbex::win32::ComRef<IUnknown>(object);
}
