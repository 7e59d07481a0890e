#pragma once
#include <string>
#include <vector>

namespace kestro {

// The installer's command-line switches. Every element of the split command line
// is tested, the program path included; comparison is exact and case-sensitive.
struct SetupSwitches {
    bool quiet = false;       // "/q"
    bool update = false;      // "/update"
    bool hasBaseFolder = false;
    std::wstring baseFolder;  // the argument after "/D"; a "/D" at the end is ignored
};

SetupSwitches ParseSetupSwitches(const std::vector<std::wstring>& args);

}  // namespace kestro
