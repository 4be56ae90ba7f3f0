#pragma once
#include <string>

namespace idapi {

// The configuration file's full path: the environment variable IDAPI_CONFIG when
// set, else "IDAPI32.INI" beside this DLL. Empty when neither can be found out.
std::wstring ConfigFilePath();

}  // namespace idapi
