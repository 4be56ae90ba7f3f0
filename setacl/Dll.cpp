// Entry points of the control's DLL: module lifetime, class objects, self-registration.
#include <windows.h>
#include <olectl.h>

#include <new>

#include "common/result_macros.h"
#include "setacl/ClassFactory.h"
#include "setacl/ControlWindow.h"
#include "setacl/Guids.h"
#include "setacl/Module.h"
#include "setacl/Registration.h"
#include "setacl/SetAclControl.h"

namespace setacl {

namespace {

HMODULE g_module = nullptr;
LONG g_locks = 0;

struct ClassEntry {
    const CLSID* clsid;
    ClassFactory::CreateFn create;
};

const ClassEntry kClasses[] = {
    {&CLSID_SetACL, &SetAclControl::Create},
};

}  // namespace

HMODULE ModuleHandle() noexcept { return g_module; }

void ModuleAddRef() noexcept { InterlockedIncrement(&g_locks); }

void ModuleRelease() noexcept { InterlockedDecrement(&g_locks); }

HRESULT GetModulePath(std::wstring& path) noexcept {
    try {
        std::wstring buffer(MAX_PATH, L'\0');
        for (;;) {
            const DWORD size = static_cast<DWORD>(buffer.size());
            const DWORD length = GetModuleFileNameW(g_module, &buffer[0], size);
            if (length == 0) return common::last_error_hr();
            if (length < size) {
                buffer.resize(length);
                path = std::move(buffer);
                return S_OK;
            }
            buffer.resize(buffer.size() * 2);
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace setacl

using namespace setacl;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded by FreeLibrary: a class left behind would point into freed code
        // once the DLL is loaded again at another address.
        UnregisterControlWindowClass();
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return g_locks == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    for (const ClassEntry& entry : kClasses) {
        if (clsid != *entry.clsid) continue;
        ClassFactory* factory = new (std::nothrow) ClassFactory(entry.create);
        if (factory == nullptr) return E_OUTOFMEMORY;
        const HRESULT hr = factory->QueryInterface(riid, ppv);
        factory->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllRegisterServer() {
    std::wstring path;
    RETURN_IF_FAILED(GetModulePath(path));
    return RegisterServer(path);
}

STDAPI DllUnregisterServer() { return UnregisterServer(); }
