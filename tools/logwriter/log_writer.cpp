// The logging component for Windows ("qelsserv.dll"): an in-process COM server
// with the ILogWriter interface, writing "<local time> <level> 0x<colour>
// <text>" lines to the configured file in the current directory. It registers
// itself (DllRegisterServer) under HKEY_CLASSES_ROOT\CLSID.
#include <olectl.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "platform/log_level_mask.h"
#include "platform/win32/log_writer_abi.h"

namespace {

using orbex::win32::ILogWriterAbi;
using orbex::win32::kClsidLogWriter;
using orbex::win32::kIidLogWriter;

HMODULE g_module = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

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
        *handle = ++m_handles;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReleaseHandle(ULONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Configure(ULONG handle, ULONG levelMask, LPCSTR fileName, LPCSTR, LONG, LONG) override {
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
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // static lifetime
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
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
    if (!IsEqualCLSID(clsid, kClsidLogWriter)) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return E_FAIL;
    std::string key = ClsidKey();
    HKEY clsid = nullptr, server = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &clsid, nullptr) !=
        ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    static const char kName[] = "Orbex log writer";
    RegSetValueExA(clsid, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kName), sizeof kName);
    LONG rc = RegCreateKeyExA(clsid, "InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &server, nullptr);
    RegCloseKey(clsid);
    if (rc != ERROR_SUCCESS) return SELFREG_E_CLASS;
    RegSetValueExA(server, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), n + 1);
    static const char kModel[] = "Apartment";
    RegSetValueExA(server, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(kModel), sizeof kModel);
    RegCloseKey(server);
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    std::string key = ClsidKey();
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (key + "\\InprocServer32").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
    return S_OK;
}
