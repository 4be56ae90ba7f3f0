#pragma once
// Files and folders for tests that lay out what the program under test works on.
// Failures throw std::runtime_error naming the path and the system's error code.
#include <windows.h>

#include <string>

namespace testfiles {

// Adds a trailing backslash if missing.
std::wstring WithSlash(const std::wstring& folder);
// Creates the folder with every missing parent.
void MakeFolder(const std::wstring& path);
// Deletes a folder with everything in it; links are removed, never followed.
void RemoveTree(const std::wstring& path);
void WriteText(const std::wstring& path, const std::string& text);
// The whole file; empty when it cannot be read.
std::string ReadText(const std::wstring& path);

std::wstring TempFolder();
DWORD Attributes(const std::wstring& path);
bool IsFile(const std::wstring& path);
bool IsFolder(const std::wstring& path);

}  // namespace testfiles
