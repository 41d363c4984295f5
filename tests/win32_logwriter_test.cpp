// The logging component's server (qelsserv.dll beside the tests, under Wine):
// a failed request leaves no pointer, references to the class factory keep
// the library loaded, and callers on several threads of the multithreaded
// apartment each get whole lines written.
// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstdarg>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/host.h"
#include "platform/win32/log_writer_abi.h"

namespace orbex::win32 {
namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

HRESULT WriteLine(ILogWriterAbi* writer, ULONG handle, const char* format, ...) {
    va_list args;
    va_start(args, format);
    HRESULT hr = writer->Write(handle, 0, 0x00AF00, format, args);
    va_end(args);
    return hr;
}

TEST(LoggingComponent, TheServerKeepsItselfLoadedAndSerialisesItsCallers) {
    HMODULE dll = ::LoadLibraryA("qelsserv.dll");
    ASSERT_TRUE(dll) << "qelsserv.dll beside the tests";
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(::GetProcAddress(dll, "DllGetClassObject"));
    auto canUnloadNow = reinterpret_cast<CanUnloadNowFn>(::GetProcAddress(dll, "DllCanUnloadNow"));
    ASSERT_TRUE(getClassObject && canUnloadNow);

    void* out = &out;
    EXPECT_EQ(getClassObject(IID_IUnknown, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr) << "no pointer after a failure";
    out = &out;
    EXPECT_EQ(getClassObject(kClsidLogWriter, IID_IDispatch, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(canUnloadNow(), S_OK);

    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(kClsidLogWriter, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "a reference to the factory keeps the library loaded";

    host::TempDirectory dir("orbex-logwriter");
    const std::string file = dir.Path() + "\\log.txt";
    constexpr int kThreads = 4, kLines = 200;
    std::vector<std::thread> threads;
    std::vector<HRESULT> results(kThreads, E_FAIL);
    ILogWriterAbi* writer = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, kIidLogWriter, reinterpret_cast<void**>(&writer)), S_OK);
    ULONG handle = 0;
    ASSERT_EQ(writer->NewHandle(&handle), S_OK);
    ASSERT_EQ(writer->Configure(handle, 0xFFFFFFFF, file.c_str(), "tests", 0, 10), S_OK);
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            // Each thread in the multithreaded apartment, the object itself in hand.
            HRESULT init = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            HRESULT hr = S_OK;
            for (int i = 0; i < kLines && hr == S_OK; ++i)
                hr = WriteLine(writer, handle, "thread %d line %d of a line long enough to be cut", t, i);
            results[t] = hr;
            if (SUCCEEDED(init)) ::CoUninitialize();
        });
    for (std::thread& t : threads) t.join();
    writer->Release();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(results[t], S_OK) << t;
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    factory->Release();
    EXPECT_EQ(canUnloadNow(), S_OK);

    std::ifstream in(file);
    int lines = 0;
    for (std::string line; std::getline(in, line); ++lines) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        EXPECT_NE(line.find(" 0 0x0000AF00 thread "), std::string::npos) << line;
        EXPECT_NE(line.find(" of a line long enough to be cut"), std::string::npos) << line;
    }
    EXPECT_EQ(lines, kThreads * kLines);
    ::FreeLibrary(dll);
}

}  // namespace
}  // namespace orbex::win32
