// Test helper: runs the settings step in a process of its own, so that each test
// decides which engine, if any, the DLL search finds beside it.
// Usage: dbconfig_step <program folder> <file that receives an error's text>
// Exit code 0 when the step returned, 3 when it raised an error.
#include <cstdio>
#include <exception>

#include "dbconfig/ParadoxSettings.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: dbconfig_step <program folder> <error file>\n");
        return 2;
    }
    try {
        dbconfig::WriteParadoxSettings(argv[1]);
    } catch (const std::exception& e) {
        if (std::FILE* out = std::fopen(argv[2], "wb")) {
            std::fputs(e.what(), out);
            std::fclose(out);
        }
        return 3;
    }
    return 0;
}
