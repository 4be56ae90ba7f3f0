#include "setacl/Registration.h"

#include <new>

#include "common/result_macros.h"
#include "common/unique_any.h"
#include "setacl/Guids.h"

namespace setacl {

const wchar_t kProgId[] = L"SetACL.SetACLCtrl.1";

namespace {

const wchar_t kClassName[] = L"SetACL Control";
const wchar_t kTypeLibName[] = L"SetACL ActiveX Control module";
// Automation's own marshaler: dispinterfaces need no proxy of ours.
const wchar_t kOleAutomationProxy[] = L"{00020420-0000-0000-C000-000000000046}";

std::wstring GuidText(REFGUID guid) {
    wchar_t text[39] = {};
    StringFromGUID2(guid, text, ARRAYSIZE(text));
    return text;
}

// Creates the key if needed and sets one string value (nullptr name: the default value).
HRESULT SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    common::unique_hkey hkey;
    RETURN_IF_WIN32_ERROR(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_SET_VALUE, nullptr, hkey.put(), nullptr));
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    RETURN_IF_WIN32_ERROR(RegSetValueExW(hkey.get(), name, 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(value.c_str()), bytes));
    return S_OK;
}

HRESULT CreateKey(const std::wstring& key) {
    common::unique_hkey hkey;
    RETURN_IF_WIN32_ERROR(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_SET_VALUE, nullptr, hkey.put(), nullptr));
    return S_OK;
}

HRESULT RegisterInterface(REFIID iid, const wchar_t* name, const std::wstring& libid) {
    const std::wstring key = L"Interface\\" + GuidText(iid);
    RETURN_IF_FAILED(SetValue(key, nullptr, name));
    RETURN_IF_FAILED(SetValue(key + L"\\ProxyStubClsid", nullptr, kOleAutomationProxy));
    RETURN_IF_FAILED(SetValue(key + L"\\ProxyStubClsid32", nullptr, kOleAutomationProxy));
    RETURN_IF_FAILED(SetValue(key + L"\\TypeLib", nullptr, libid));
    RETURN_IF_FAILED(SetValue(key + L"\\TypeLib", L"Version", L"1.0"));
    return S_OK;
}

HRESULT WriteKeys(const std::wstring& modulePath) {
    const std::wstring clsid = GuidText(CLSID_SetACL);
    const std::wstring libid = GuidText(LIBID_SETACLLib);
    const std::wstring classKey = L"CLSID\\" + clsid;

    RETURN_IF_FAILED(SetValue(classKey, nullptr, kClassName));
    RETURN_IF_FAILED(SetValue(classKey + L"\\InprocServer32", nullptr, modulePath));
    RETURN_IF_FAILED(SetValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"));
    RETURN_IF_FAILED(SetValue(classKey + L"\\ProgID", nullptr, kProgId));
    RETURN_IF_FAILED(CreateKey(classKey + L"\\Control"));
    RETURN_IF_FAILED(SetValue(classKey + L"\\TypeLib", nullptr, libid));
    RETURN_IF_FAILED(SetValue(classKey + L"\\Version", nullptr, L"1.0"));

    RETURN_IF_FAILED(SetValue(kProgId, nullptr, kClassName));
    RETURN_IF_FAILED(SetValue(std::wstring(kProgId) + L"\\CLSID", nullptr, clsid));

    const std::wstring libKey = L"TypeLib\\" + libid + L"\\1.0";
    const std::wstring folder = modulePath.substr(0, modulePath.find_last_of(L'\\'));
    RETURN_IF_FAILED(SetValue(libKey, nullptr, kTypeLibName));
    RETURN_IF_FAILED(SetValue(libKey + L"\\0\\win32", nullptr, modulePath));
    RETURN_IF_FAILED(SetValue(libKey + L"\\FLAGS", nullptr, L"2"));  // LIBFLAG_FCONTROL
    RETURN_IF_FAILED(SetValue(libKey + L"\\HELPDIR", nullptr, folder));

    RETURN_IF_FAILED(RegisterInterface(DIID_DSetACL, L"_DSetACL", libid));
    RETURN_IF_FAILED(RegisterInterface(DIID_DSetACLEvents, L"_DSetACLEvents", libid));
    return S_OK;
}

HRESULT DeleteTree(const std::wstring& key) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    if (status == ERROR_FILE_NOT_FOUND) return S_OK;
    RETURN_IF_WIN32_ERROR(status);
    return S_OK;
}

HRESULT DeleteKeys() {
    // Every key below is ours alone (our own GUIDs and ProgID); the parents are shared.
    HRESULT result = S_OK;
    const std::wstring keys[] = {
        L"CLSID\\" + GuidText(CLSID_SetACL),
        kProgId,
        L"TypeLib\\" + GuidText(LIBID_SETACLLib),
        L"Interface\\" + GuidText(DIID_DSetACL),
        L"Interface\\" + GuidText(DIID_DSetACLEvents),
    };
    for (const std::wstring& key : keys) {
        const HRESULT hr = DeleteTree(key);
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    return result;
}

}  // namespace

HRESULT RegisterServer(const std::wstring& modulePath) noexcept {
    try {
        const HRESULT hr = WriteKeys(modulePath);
        // Half a registration is worse than none: it makes the class look creatable.
        if (FAILED(hr)) (void)DeleteKeys();
        return hr;
    } catch (const std::bad_alloc&) {
        (void)UnregisterServer();
        return E_OUTOFMEMORY;
    }
}

HRESULT UnregisterServer() noexcept {
    try {
        return DeleteKeys();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace setacl
