#pragma once
// Starting a program elevated (where the system elevates) and waiting for it.
namespace kestro {

// `command` is a command line, or a string-table id of this program given as
// MAKEINTRESOURCEW(id). Splits it by the shell's path rules, starts it with "runas"
// (Vista and later) or "open", and waits without limit for it to end. Success means
// it was started; its exit code is not examined.
bool RunElevatedAndWait(const wchar_t* command);

}  // namespace kestro
