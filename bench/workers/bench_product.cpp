#include "bench_product.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "package_maker.h"
#include "services/json/jvalue.h"
#include "services/win/unique_handle.h"
#include "tests/win/support/test_files.h"

namespace kestro {
namespace bench {

using testing::MakePackage;
using testing::MakeZip;
using testing::NoiseBytes;
using testing::ZipEntry;

const wchar_t kBenchFolder[] = L"C:\\kestro-bench";

namespace {

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

}  // namespace

BenchPackage WriteBenchPackage() {
    std::wstring work = kBenchFolder;
    test::RemoveFolderTree(work);
    CreateDirectoryW(work.c_str(), nullptr);

    std::vector<ZipEntry> entries = ProductEntries();
    std::string archive = MakeZip(entries);
    JValue config;
    JValue::Parse(
        std::string("{\"channel\":30001,\"lastrun\":\"pack0/level0/text0.txt\",\"mode\":1,\"theme\":\"default\"}"),
        config);
    // The driver as installers are shipped: without debug information.
    const std::string image = test::ReadBytes(test::BinFolder() + L"\\ship\\kestro_worker_driver.exe");
    std::string package = MakePackage(image, config.WriteCompact(), archive);

    BenchPackage written;
    written.installer = work + L"\\setup.exe";
    written.archive = work + L"\\product.zip";
    if (!test::WriteBytes(written.installer, package) || !test::WriteBytes(written.archive, archive)) {
        // Timings of a package that is not there would mean nothing.
        std::fprintf(stderr, "cannot write the bench package into %ls\n", work.c_str());
        std::exit(1);
    }
    written.installerBytes = package.size();
    written.archiveBytes = archive.size();
    written.files = entries.size();
    return written;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double SecondsSince(LARGE_INTEGER from) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return Seconds(from, now);
}

double TimedRun(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder) {
    std::wstring line = L"\"" + program + L"\" " + arguments;
    UniqueFile nul(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nul.get();
    PROCESS_INFORMATION info = {};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                        &info)) {
        return -1;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    return SecondsSince(start);
}

}  // namespace bench
}  // namespace kestro
