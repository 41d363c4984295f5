// The logging component for Windows ("qelsserv.dll"): an in-process COM server
// with the ILogWriter interface, writing "<local time> <level> 0x<colour>
// <text>" lines to the configured file in the current directory. It registers
// itself (DllRegisterServer) under HKEY_CLASSES_ROOT\CLSID with the threading
// model "Both": ILogWriter::Write takes a va_list, which no proxy can carry,
// so every caller, in whatever apartment, gets the object itself, and the
// object serialises its own calls.
#include <olectl.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/log_level_mask.h"
#include "platform/win32/log_writer_abi.h"

namespace {

using orbex::win32::ILogWriterAbi;
using orbex::win32::kClsidLogWriter;
using orbex::win32::kIidLogWriter;

HMODULE g_module = nullptr;
// What keeps the library loaded (DllCanUnloadNow): live objects, LockServer
// locks and references to the class factory.
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
std::atomic<long> g_factoryRefs{0};

class LogWriter final : public ILogWriterAbi {
public:
    LogWriter() { ++g_objects; }
    ~LogWriter() {
        if (m_file) std::fclose(m_file);
        --g_objects;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIidLogWriter)) {
            *out = static_cast<ILogWriterAbi*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG n = --m_refs;
        if (n == 0) delete this;
        return n;
    }

    HRESULT STDMETHODCALLTYPE NewHandle(ULONG* handle) override {
        if (!handle) return E_POINTER;
        std::lock_guard<std::mutex> hold(m_mutex);
        *handle = ++m_handles;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReleaseHandle(ULONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Configure(ULONG handle, ULONG levelMask, LPCSTR fileName, LPCSTR, LONG, LONG) override {
        std::lock_guard<std::mutex> hold(m_mutex);
        if (handle == 0 || handle > m_handles || !fileName) return E_INVALIDARG;
        m_mask = levelMask;
        if (m_file) std::fclose(m_file);
        m_file = std::fopen(fileName, "ab");
        return m_file ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Method6() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Method7() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Method8() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Write(ULONG handle, LONG level, ULONG colour, LPCSTR format, va_list args) override {
        std::lock_guard<std::mutex> hold(m_mutex);  // one whole line at a time, from any thread
        if (handle == 0 || handle > m_handles || !format) return E_INVALIDARG;
        if (!m_file) return E_FAIL;
        if (!orbex::LogLevelEnabled(m_mask, level)) return S_OK;
        SYSTEMTIME t;
        GetLocalTime(&t);
        std::fprintf(m_file, "%04u-%02u-%02uT%02u:%02u:%02u.%03u %ld 0x%08lX ", t.wYear, t.wMonth, t.wDay, t.wHour,
                     t.wMinute, t.wSecond, t.wMilliseconds, static_cast<long>(level),
                     static_cast<unsigned long>(colour));
        std::vfprintf(m_file, format, args);
        std::fputc('\n', m_file);
        std::fflush(m_file);
        return S_OK;
    }

private:
    std::atomic<ULONG> m_refs{1};
    std::mutex m_mutex;
    ULONG m_handles = 0;
    ULONG m_mask = 0xFFFFFFFF;
    std::FILE* m_file = nullptr;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // A static object: its references only keep the library loaded.
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++g_factoryRefs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--g_factoryRefs); }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* writer = new (std::nothrow) LogWriter();
        if (!writer) return E_OUTOFMEMORY;
        HRESULT hr = writer->QueryInterface(iid, out);
        writer->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        g_locks += lock ? 1 : -1;
        return S_OK;
    }
};

Factory g_factory;

std::string ClsidKey() {
    wchar_t wide[64];
    StringFromGUID2(kClsidLogWriter, wide, 64);
    char text[64];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return std::string("CLSID\\") + text;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, kClsidLogWriter)) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return g_objects == 0 && g_locks == 0 && g_factoryRefs == 0 ? S_OK : S_FALSE;
}

namespace {

HRESULT SetString(HKEY key, const char* name, const char* value) {
    LONG rc = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                             static_cast<DWORD>(std::strlen(value) + 1));
    return HRESULT_FROM_WIN32(rc);
}

// Deletes a key with everything below it (RegDeleteTree is not on Windows 2000).
LONG DeleteTree(HKEY parent, const char* name) {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(parent, name, 0, KEY_READ | KEY_WRITE, &key);
    if (rc != ERROR_SUCCESS) return rc;
    char sub[256];
    for (DWORD size = sizeof sub;
         RegEnumKeyExA(key, 0, sub, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; size = sizeof sub) {
        if ((rc = DeleteTree(key, sub)) != ERROR_SUCCESS) break;
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? RegDeleteKeyA(parent, name) : rc;
}

}  // namespace

// Registration answers with the registry's own error, as an HRESULT.
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
    if (n == 0) return HRESULT_FROM_WIN32(GetLastError());
    if (n >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    std::string key = ClsidKey();
    HKEY clsid = nullptr, server = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &clsid, nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    HRESULT hr = SetString(clsid, nullptr, "Orbex log writer");
    if (SUCCEEDED(hr)) {
        rc = RegCreateKeyExA(clsid, "InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &server, nullptr);
        hr = HRESULT_FROM_WIN32(rc);
    }
    RegCloseKey(clsid);
    if (FAILED(hr)) return hr;
    hr = SetString(server, nullptr, path);
    if (SUCCEEDED(hr)) hr = SetString(server, "ThreadingModel", "Both");
    RegCloseKey(server);
    return hr;
}

// Removes the whole class key; a key that is already gone is success.
extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    LONG rc = DeleteTree(HKEY_CLASSES_ROOT, ClsidKey().c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
}
