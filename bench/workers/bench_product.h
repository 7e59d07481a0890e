#pragma once
// What the install benches share: the 60 MB product package, written once per bench
// run, and timing of whole processes.
#include <windows.h>

#include <string>

namespace kestro {
namespace bench {

extern const wchar_t kBenchFolder[];  // C:\kestro-bench, emptied by WriteBenchPackage

struct BenchPackage {
    std::wstring installer;  // kBenchFolder\setup.exe: the driver program with the product
    std::wstring archive;    // kBenchFolder\product.zip: the same archive alone, for miniunz
    size_t installerBytes = 0;
    size_t archiveBytes = 0;
    size_t files = 0;
};
BenchPackage WriteBenchPackage();

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to);
double SecondsSince(LARGE_INTEGER from);
// Start to exit of a program run in `folder` with its output discarded; -1 when it did not start.
double TimedRun(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder);

}  // namespace bench
}  // namespace kestro
