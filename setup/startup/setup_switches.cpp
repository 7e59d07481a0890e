#include "setup_switches.h"

namespace kestro {

SetupSwitches ParseSetupSwitches(const std::vector<std::wstring>& args) {
    SetupSwitches switches;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg == L"/q") {
            switches.quiet = true;
        } else if (arg == L"/update") {
            switches.update = true;
        } else if (arg == L"/D" && i + 1 < args.size()) {
            switches.hasBaseFolder = true;
            switches.baseFolder = args[i + 1];
        }
    }
    return switches;
}

}  // namespace kestro
