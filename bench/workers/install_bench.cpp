// A quiet install through the workers against minizip's miniunz extracting the same
// archive, in the same Wine prefix and the same run. Prints one line per run with
// both times, their ratio and the install's peak memory against the package size.
//   install_bench.exe [RUNS]   (next to kestro_worker_driver.exe and miniunz.exe)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "package_maker.h"
#include "services/json/jvalue.h"
#include "setup/engine/file_io.h"
#include "setup/engine/shell_file_ops.h"

using namespace kestro;
using namespace kestro::testing;

namespace {

const wchar_t kWork[] = L"C:\\kestro-bench";

std::wstring BinFolder() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\'));
}

// About 300 files (a 60 MB package) a few folders deep: text that compresses well and data that does not.
std::vector<ZipEntry> ProductEntries() {
    std::vector<ZipEntry> entries;
    std::string line = "Kestro game centre resource line, compressible text 0123456789 abcdefghij\n";
    for (int i = 0; i < 300; ++i) {
        std::string folder = "pack" + std::to_string(i % 6) + "/level" + std::to_string(i % 4) + "/";
        if (i % 3 == 0) {
            std::string text;
            while (text.size() < 120000) text += line + std::to_string(i * 7919 + text.size()) + "\n";
            entries.push_back({folder + "text" + std::to_string(i) + ".txt", text});
        } else {
            entries.push_back({folder + "data" + std::to_string(i) + ".bin", NoiseBytes(290000, uint32_t(i + 1))});
        }
    }
    return entries;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double TimedRun(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder) {
    std::wstring line = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        CloseHandle(nul);
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(nul);
    return Seconds(start, end);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : 5;
    std::wstring work = kWork;
    DeleteFolderTree(work);
    CreateDirectoryW(work.c_str(), nullptr);

    std::string archive = MakeZip(ProductEntries());
    JValue config;
    JValue::Parse(
        std::string("{\"channel\":30001,\"lastrun\":\"pack0/level0/text0.txt\",\"mode\":1,\"theme\":\"default\"}"),
        config);
    std::string image;
    // The driver as installers are shipped: without debug information.
    ReadWholeFile(BinFolder() + L"\\ship\\kestro_worker_driver.exe", image);
    std::string package = MakePackage(image, config.WriteCompact(), archive);
    std::wstring installer = work + L"\\setup.exe";
    std::wstring zip = work + L"\\product.zip";
    WriteWholeFile(installer, package);
    WriteWholeFile(zip, archive);
    printf("package %.1f MB (%zu files, archive %.1f MB)\n", package.size() / 1e6, ProductEntries().size(),
           archive.size() / 1e6);

    std::vector<double> ratios;
    for (int run = 1; run <= runs; ++run) {
        std::wstring unzipped = work + L"\\miniunz";
        std::wstring installed = work + L"\\install";
        DeleteFolderTree(unzipped);
        DeleteFolderTree(installed);
        CreateDirectoryW(unzipped.c_str(), nullptr);
        double miniunz = TimedRun(BinFolder() + L"\\miniunz.exe", L"-x -o \"" + zip + L"\"", unzipped);
        std::wstring result = work + L"\\result.json";
        double install = TimedRun(installer, L"--target \"" + installed + L"\" --result \"" + result + L"\"", work);
        std::string text;
        JValue outcome;
        ReadWholeFile(result, text);
        JValue::Parse(text, outcome);
        // Wine keeps no private-bytes peak; the working-set peak counts every page touched.
        double peak = double(outcome["peakWorkingSet"].AsInt64());
        printf(
            "run %d: miniunz %.3f s, install %.3f s, ratio install/miniunz %.2f, peak working set %.1f MB = %.2f x "
            "package, %s\n",
            run, miniunz, install, install / miniunz, peak / 1e6, peak / double(package.size()),
            outcome["posted"].AsInt() == 0x8401 ? "installed" : "INSTALL FAILED");
        ratios.push_back(install / miniunz);
        // Keep the registry and shortcuts of one run from turning the next into an install-over.
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KestroGC");
    }
    std::sort(ratios.begin(), ratios.end());
    if (!ratios.empty()) printf("median ratio install/miniunz %.2f over %d runs\n", ratios[ratios.size() / 2], runs);
    if (!getenv("KESTRO_BENCH_KEEP")) DeleteFolderTree(work);
    return 0;
}
