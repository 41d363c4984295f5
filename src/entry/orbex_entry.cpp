// The library's one export. The process-wide objects are built when the
// library is loaded and destroyed when it is unloaded.
#include <cstdio>
#include <memory>
#include <string>

#include "entry/orbex_process.h"
#include "platform/factory.h"

#if defined(_WIN32)
#define ORBEX_EXPORT extern "C" __declspec(dllexport)
#else
#define ORBEX_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

struct Library {
    std::string error;
    std::unique_ptr<orbex::port::IPlatform> platform;
    std::unique_ptr<orbex::COrbexProcess> process;

    Library() {
        try {
            platform = orbex::port::CreatePlatform(error);
            if (platform) process = std::make_unique<orbex::COrbexProcess>(*platform);
        } catch (const std::exception& e) {
            error = e.what();
        }
    }
    ~Library() {
        process.reset();  // the process objects go before the platform they use
        platform.reset();
    }
};

Library g_library;

}  // namespace

ORBEX_EXPORT int OrbexEntry(const char* commandLine, int reserved) {
    if (!g_library.process) {
        std::fprintf(stderr, "orbex: the test bench cannot start: %s\n", g_library.error.c_str());
        return 0;
    }
    try {
        return g_library.process->OrbexEntry(commandLine, reserved);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orbex: internal error: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "orbex: internal error\n");
    }
    return 0;
}
