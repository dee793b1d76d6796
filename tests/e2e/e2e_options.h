// Where the end-to-end tests find the programs and put their screenshots (from the command
// line: --cnfkor=PATH --probe=PATH --screenshots=DIR, Unix or Windows paths).
#pragma once

#include <string>

namespace e2e
{
struct Options {
    std::wstring cnfkor;      // CnfKor.exe
    std::wstring probe;       // the menu probe DLL
    std::wstring screenshots; // folder for the screenshots
};
const Options& GetOptions();
} // namespace e2e
