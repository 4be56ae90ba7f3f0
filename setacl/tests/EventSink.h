#pragma once
// An event sink that records what the control raises.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "setacl/Guids.h"

namespace setacl::test {

struct Event {
    DISPID id;
    UINT argCount;
    VARTYPE type;
    std::wstring text;
};

// Records every event; answers to the event interface only when asked to.
class EventSink final : public IDispatch {
public:
    explicit EventSink(bool speaksEvents) : speaksEvents_(speaksEvents) {}

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || (speaksEvents_ && (riid == IID_IDispatch || riid == DIID_DSetACLEvents))) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    IFACEMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    IFACEMETHODIMP_(ULONG) Release() override { return --refs; }  // lives on the test's stack
    IFACEMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    IFACEMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    IFACEMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    IFACEMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                          UINT*) override {
        Event event{id, params->cArgs, VT_EMPTY, L""};
        if (params->cArgs > 0) {
            event.type = V_VT(&params->rgvarg[0]);
            if (event.type == VT_BSTR) event.text = V_BSTR(&params->rgvarg[0]);
        }
        events.push_back(event);
        return S_OK;
    }

    std::vector<Event> events;
    ULONG refs = 1;

private:
    bool speaksEvents_;
};

}  // namespace setacl::test
