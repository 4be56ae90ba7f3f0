#pragma once
// What every object of this DLL shares: the module handle and the lock count
// that DllCanUnloadNow reads.
#include <windows.h>
#include <string>

namespace setacl {

HMODULE ModuleHandle() noexcept;
void ModuleAddRef() noexcept;
void ModuleRelease() noexcept;

// Full path of this DLL, as registration and the type library loader need it.
[[nodiscard]] HRESULT GetModulePath(std::wstring& path) noexcept;

}  // namespace setacl
