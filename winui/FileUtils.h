#pragma once
// Path and file helpers of the run-time library, on ANSI paths.
#include <string>

namespace winui {

// The folder part of a path: everything up to and including the last '\' or ':'.
std::string ExtractFilePath(const std::string& fileName);
std::string IncludeTrailingBackslash(const std::string& path);
// The file name without its folder and without its extension.
std::string ExtractFileBaseName(const std::string& fileName);

// True only for an existing file; a folder of that name does not count.
bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& path);
// Creates the folder and any missing parents; true when it exists afterwards.
bool ForceDirectories(const std::string& path);

// Full path of the running executable.
std::string ExeFileName();

}  // namespace winui
