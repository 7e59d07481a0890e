// kestro-pack's command line; see pack_command.h.
#include <iostream>
#include <string>
#include <vector>

#include "pack_command.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "services/win/unique_handle.h"

namespace {

// The arguments as UTF-8, whatever the ANSI code page.
std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    const kestro::UniqueLocal owner(reinterpret_cast<HLOCAL>(argv));
    for (int i = 1; argv && i < count; ++i) {
        int bytes = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(size_t(bytes > 0 ? bytes : 1), '\0');
        if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, &arg[0], bytes, nullptr, nullptr);
        arg.resize(arg.size() - 1);
        args.push_back(arg);
    }
    return args;
}

}  // namespace

int main() {
    SetConsoleOutputCP(CP_UTF8);
    // The same bytes as the Linux build: line feeds only.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return kestro::RunKestroPack(Arguments(), std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    return kestro::RunKestroPack(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
#endif
