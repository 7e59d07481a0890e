// The Windows build of kestro-pack, run as a program: wide command lines, Chinese
// paths, the system's code-page tables and exit codes.
#include <gtest/gtest.h>

#include "package_fixture.h"

namespace kestro {
namespace {

using test::ScratchFolder;

struct Outcome {
    DWORD code = 999;
    std::string out;
    std::string err;
};

Outcome RunPack(const ScratchFolder& folder, const std::wstring& args) {
    Outcome outcome;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    std::wstring outPath = folder / L"stdout.txt", errPath = folder / L"stderr.txt";
    {
        UniqueFile out(CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
        UniqueFile err(CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
        std::wstring program = test::BinFolder() + L"\\kestro-pack.exe";
        std::wstring line = L"\"" + program + L"\" " + args;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.get();
        startup.hStdError = err.get();
        PROCESS_INFORMATION started = {};
        if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
            ADD_FAILURE() << "kestro-pack.exe did not start";
            return outcome;
        }
        UniqueHandle process(started.hProcess);
        UniqueHandle thread(started.hThread);
        EXPECT_EQ(WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
        GetExitCodeProcess(process.get(), &outcome.code);
    }
    ReadWholeFile(outPath, outcome.out);
    ReadWholeFile(errPath, outcome.err);
    return outcome;
}

TEST(KestroPackProgram, BuildsAndInspectsWithChinesePathsAndNames) {
    ScratchFolder folder(L"kestro_packexe");
    std::wstring product = folder / L"产品 folder";
    ASSERT_TRUE(EnsureFolder(product + L"\\数据\\深"));
    ASSERT_TRUE(WriteWholeFile(product + L"\\数据\\深\\文件.txt", "content"));
    ASSERT_TRUE(WriteWholeFile(product + L"\\KestroGC.exe", "program"));
    ASSERT_TRUE(WriteWholeFile(folder / L"记录.json", test::kInstallerRecord));
    std::wstring output = folder / L"安装包.exe";
    Outcome built = RunPack(folder, L"build --program \"" + test::StubProgram() + L"\" --config \"" +
                                        (folder / L"记录.json") + L"\" --product \"" + product + L"\" -o \"" + output +
                                        L"\"");
    ASSERT_EQ(built.code, 0u) << built.err;
    Outcome inspected = RunPack(folder, L"inspect --json \"" + output + L"\"");
    ASSERT_EQ(inspected.code, 0u) << inspected.err;
    JValue report;
    ASSERT_TRUE(JValue::Parse(inspected.out, report)) << inspected.out;
    ASSERT_EQ(report["archive"]["entries"].Size(), 4u) << inspected.out;
    EXPECT_EQ(report["archive"]["entries"].At(0)["name"].AsText(), "KestroGC.exe");
    EXPECT_EQ(report["archive"]["entries"].At(1)["name"].AsText(), test::Utf8(L"数据/"));
    EXPECT_EQ(report["archive"]["entries"].At(3)["name"].AsText(), test::Utf8(L"数据/深/文件.txt"));
    EXPECT_EQ(report["record"]["shortcut"]["desktop"].At(0)["name"].AsText(), test::Utf8(L"Kestro 模拟器"));
}

TEST(KestroPackProgram, HostileInputFailsWithOneMessageAndNoOutput) {
    ScratchFolder folder(L"kestro_packexe");
    ASSERT_TRUE(EnsureFolder(folder / L"product"));
    ASSERT_TRUE(WriteWholeFile(folder / L"nomode.json", "{\"channel\":1}"));
    std::wstring output = folder / L"out.exe";
    Outcome noMode = RunPack(folder, L"build --program \"" + test::StubProgram() + L"\" --config \"" +
                                         (folder / L"nomode.json") + L"\" --product \"" + (folder / L"product") +
                                         L"\" -o \"" + output + L"\"");
    EXPECT_EQ(noMode.code, 1u);
    EXPECT_NE(noMode.err.find("no \"mode\""), std::string::npos) << noMode.err;
    EXPECT_FALSE(test::Exists(output));
    Outcome notPackage = RunPack(folder, L"inspect \"" + test::StubProgram() + L"\"");
    EXPECT_EQ(notPackage.code, 1u);
    EXPECT_EQ(notPackage.err, "kestro-pack: not a package: no payload offset, or it lies past the end of the file\n");
    EXPECT_EQ(notPackage.out, "");
}

}  // namespace
}  // namespace kestro
