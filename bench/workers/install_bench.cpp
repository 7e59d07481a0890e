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

#include "bench_product.h"
#include "services/json/jvalue.h"
#include "setup/engine/file_io.h"
#include "setup/engine/shell_file_ops.h"
#include "tests/win/support/test_files.h"

using namespace kestro;
using namespace kestro::bench;

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : 5;
    std::wstring work = kBenchFolder;
    BenchPackage package = WriteBenchPackage();
    const std::wstring& installer = package.installer;
    const std::wstring& zip = package.archive;
    printf("package %.1f MB (%zu files, archive %.1f MB)\n", package.installerBytes / 1e6, package.files,
           package.archiveBytes / 1e6);

    std::vector<double> ratios;
    for (int run = 1; run <= runs; ++run) {
        std::wstring unzipped = work + L"\\miniunz";
        std::wstring installed = work + L"\\install";
        DeleteFolderTree(unzipped);
        DeleteFolderTree(installed);
        CreateDirectoryW(unzipped.c_str(), nullptr);
        std::wstring result = work + L"\\result.json";
        auto runMiniunz = [&] {
            return TimedRun(test::BinFolder() + L"\\miniunz.exe", L"-x -o \"" + zip + L"\"", unzipped);
        };
        auto runInstall = [&] {
            return TimedRun(installer, L"--target \"" + installed + L"\" --result \"" + result + L"\"", work);
        };
        // Whichever runs second meets the write-back of the first one's 60 to 120 MB
        // (up to twice as slow here), so the order alternates from run to run.
        double miniunz = 0, install = 0;
        if (run % 2) {
            miniunz = runMiniunz();
            install = runInstall();
        } else {
            install = runInstall();
            miniunz = runMiniunz();
        }
        std::string text;
        JValue outcome;
        ReadWholeFile(result, text);
        JValue::Parse(text, outcome);
        // Wine keeps no private-bytes peak; the working-set peak counts every page touched.
        double peak = double(outcome["peakWorkingSet"].AsInt64());
        printf(
            "run %d: miniunz %.3f s, install %.3f s, ratio install/miniunz %.2f, peak working set %.1f MB = %.2f x "
            "package, %s\n",
            run, miniunz, install, install / miniunz, peak / 1e6, peak / double(package.installerBytes),
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
