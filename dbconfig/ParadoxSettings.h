#pragma once
#include <string>

namespace dbconfig {

// Points the engine's Paradox driver at programDir ("NET DIR") and sets its
// language driver ("LANGDRIVER") to "thai". Without an engine it does nothing;
// an engine that lacks one of its functions raises EngineFunctionMissing.
void WriteParadoxSettings(const std::string& programDir);

}  // namespace dbconfig
