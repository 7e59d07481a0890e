#pragma once
// The fixture programs' side of a test's wait: the test makes a named event and hands its
// name over on the command line; the program sets it once it is ready.
#include <windows.h>

#include "services/win/unique_handle.h"

namespace kestro::test {

// Sets the named event when it exists; nothing otherwise.
inline void SignalNamedEvent(const wchar_t* name) {
    UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, name));
    if (event) SetEvent(event.get());
}

}  // namespace kestro::test
