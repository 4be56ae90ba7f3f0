// The control's saved state in a container's stream (IPersistStreamInit).
#include <array>

#include "common/result_macros.h"
#include "setacl/Guids.h"
#include "setacl/SetAclControl.h"

namespace setacl {

IFACEMETHODIMP SetAclControl::GetClassID(CLSID* clsid) {
    if (clsid == nullptr) return E_POINTER;
    *clsid = CLSID_SetACL;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

IFACEMETHODIMP SetAclControl::Load(IStream* stream) {
    if (stream == nullptr) return E_POINTER;
    if (initialized_) return E_UNEXPECTED;
    // Ask for exactly the state's size, never more: what follows in the stream is the
    // container's. A stream may hand out less than asked per call, so read until full.
    std::array<std::uint8_t, kSavedStateSize> bytes{};
    ULONG total = 0;
    while (total < bytes.size()) {
        ULONG read = 0;
        RETURN_IF_FAILED(stream->Read(bytes.data() + total, static_cast<ULONG>(bytes.size()) - total, &read));
        if (read == 0) break;
        total += read;
    }
    if (total != bytes.size()) return STG_E_READFAULT;
    const std::optional<SavedState> state = ParseSavedState(bytes.data(), bytes.size());
    if (!state) return E_FAIL;
    state_ = *state;
    initialized_ = true;
    dirty_ = false;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::Save(IStream* stream, BOOL clearDirty) {
    if (stream == nullptr) return E_POINTER;
    const auto bytes = SerializeSavedState(state_);
    ULONG written = 0;
    RETURN_IF_FAILED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written));
    if (written != bytes.size()) return STG_E_WRITEFAULT;
    if (clearDirty) dirty_ = false;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::GetSizeMax(ULARGE_INTEGER* size) {
    if (size == nullptr) return E_POINTER;
    size->QuadPart = kSavedStateSize;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::InitNew() {
    if (initialized_) return E_UNEXPECTED;
    state_ = SavedState{};
    initialized_ = true;
    dirty_ = false;
    return S_OK;
}

}  // namespace setacl
