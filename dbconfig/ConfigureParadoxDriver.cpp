#include "dbconfig/ParadoxSettings.h"
#include "startup/Unit1.h"

void TForm1::ConfigureParadoxDriver() { dbconfig::WriteParadoxSettings(ProgramDir); }
