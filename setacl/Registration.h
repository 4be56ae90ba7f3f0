#pragma once
// The registry keys that make the control creatable and describable: its class,
// its ProgID, its type library and its two dispatch interfaces.
#include <windows.h>
#include <string>

namespace setacl {

extern const wchar_t kProgId[];

[[nodiscard]] HRESULT RegisterServer(const std::wstring& modulePath) noexcept;
// Removes every key RegisterServer writes; keys already gone are fine.
[[nodiscard]] HRESULT UnregisterServer() noexcept;

}  // namespace setacl
