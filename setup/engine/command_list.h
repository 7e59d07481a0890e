#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "services/json/jvalue.h"

namespace kestro {

// How a command list is run: the install's "instoptions" and "instrun" start every
// element and wait for none; the uninstall's "uninstrun" starts only the programs it
// accepts and waits for each in turn.
struct CommandListRules {
    // Whether an element may start, given the program path it names (base folder +
    // "\" + ListedProgram); none: every element may.
    std::function<bool(const std::wstring& program)> mayStart;
    // Each started program is waited for before the next element, while the
    // messages of `window` keep being dispatched so the window stays alive.
    bool waitForEach = false;
    HWND window = nullptr;
};

// Starts every element of a JSON array of command texts (UTF-8, relative to
// `baseFolder`); an element that fails to start, or that the rules refuse, is skipped.
void RunCommandList(const std::wstring& baseFolder, const JValue& commands, const CommandListRules& rules = {});

}  // namespace kestro
