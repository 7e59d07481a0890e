// Where a quiet install's time goes, stage by stage, each timed in this process with
// the functions the install thread calls, next to the same run's miniunz and a
// program that starts and ends at once. Prints the median of each figure.
//   install_phases.exe [RUNS]   (next to kestro_worker_driver.exe and miniunz.exe)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench_product.h"
#include "services/json/jvalue.h"
#include "services/report/statistics_report.h"
#include "setup/engine/file_io.h"
#include "setup/engine/shell_file_ops.h"
#include "setup/engine/thread_group.h"
#include "setup/package/file_byte_source.h"
#include "setup/package/package_reader.h"
#include "setup/workers/archive_extraction.h"
#include "setup/workers/install_journal.h"
#include "setup/workers/uninstaller_file.h"
#include "tests/win/support/test_files.h"

using namespace kestro;
using namespace kestro::bench;

namespace {

struct Figures {
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> seconds;
    void Add(const std::string& name, double value) {
        if (!seconds.count(name)) order.push_back(name);
        seconds[name].push_back(value);
    }
    double Median(const std::string& name) {
        std::vector<double>& values = seconds[name];
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }
};

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : 7;
    BenchPackage package = WriteBenchPackage();
    std::wstring work = kBenchFolder;
    std::wstring target = work + L"\\install";
    std::wstring unzipped = work + L"\\miniunz";
    std::wstring oneThread = work + L"\\one-thread";
    printf("package %.1f MB (%zu files, archive %.1f MB), %d runs, medians:\n", package.installerBytes / 1e6,
           package.files, package.archiveBytes / 1e6, runs);

    Figures figures;
    for (int run = 0; run < runs; ++run) {
        DeleteFolderTree(unzipped);
        DeleteFolderTree(target);
        CreateDirectoryW(unzipped.c_str(), nullptr);
        figures.Add("peer: miniunz -x -o, start to exit",
                    TimedRun(test::BinFolder() + L"\\miniunz.exe", L"-x -o \"" + package.archive + L"\"", unzipped));
        // The driver without a package record ends right after reading its own file.
        figures.Add("peer: driver program without a record, start to exit",
                    TimedRun(test::BinFolder() + L"\\ship\\kestro_worker_driver.exe", L"", work));

        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        std::string whole;
        ReadWholeFile(package.installer, whole);
        figures.Add("read the whole installer (40,960-byte reads)", SecondsSince(start));
        whole.clear();
        whole.shrink_to_fit();

        QueryPerformanceCounter(&start);
        TempArchive temp;
        if (ExtractArchiveToTemp(package.installer, temp) != 0) return 1;
        figures.Add("ExtractArchiveToTemp: the read above + the temporary archive written", SecondsSince(start));

        ExtractionJournal journal;
        FileByteSource archive(std::move(temp.file));
        // The same extraction on one thread, into a folder of its own, is the peer; the two
        // alternate in order, since the second meets the write-back of the first.
        auto extractAlone = [&] {
            ExtractionJournal alone;
            LARGE_INTEGER from;
            QueryPerformanceCounter(&from);
            bool done = ExtractArchive(archive, oneThread, alone, nullptr, 1) == ExtractionResult::Done;
            figures.Add("ExtractArchive on one thread (peer)", SecondsSince(from));
            DeleteFolderTree(oneThread);
            return done;
        };
        auto extractThreaded = [&] {
            LARGE_INTEGER from;
            QueryPerformanceCounter(&from);
            bool done = ExtractArchive(archive, target, journal) == ExtractionResult::Done;
            figures.Add("ExtractArchive: every entry, with the journal, " + std::to_string(ProcessorCount()) +
                            " threads",
                        SecondsSince(from));
            return done;
        };
        if (run % 2 ? !(extractAlone() && extractThreaded()) : !(extractThreaded() && extractAlone())) return 1;

        QueryPerformanceCounter(&start);
        archive = FileByteSource(UniqueFile());
        figures.Add("delete the temporary archive", SecondsSince(start));

        QueryPerformanceCounter(&start);
        JValue record = BuildUninstallRecord(JValue::Object(), target, 30001, journal);
        WriteUninstaller(package.installer, record.WriteCompact(), target + L"\\unins000.exe");
        figures.Add("uninstall record built, unins000.exe written", SecondsSince(start));

        QueryPerformanceCounter(&start);
        ReportOperation(1, 0, 30001, 1, "", 0);
        figures.Add("statistics report (machine id, request, reply)", SecondsSince(start));
    }
    for (const std::string& name : figures.order) printf("  %-72s %7.3f s\n", name.c_str(), figures.Median(name));
    DeleteFolderTree(work);
    return 0;
}
