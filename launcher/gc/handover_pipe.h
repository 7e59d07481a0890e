#pragma once
// Passes this process's command line to the running game centre through the hand-over pipe.
namespace kestro::launcher {

// True when the message was written; three failed attempts give up silently.
bool HandOverCommandLine(const wchar_t* commandLine);

}  // namespace kestro::launcher
