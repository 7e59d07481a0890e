#include "setup/startup/target_folder.h"

#include <gtest/gtest.h>

#include <set>

namespace kestro {
namespace {

TargetFolderInputs Inputs(std::set<std::wstring> existing) {
    TargetFolderInputs in;
    in.programFilesFolder = L"C:\\Program Files (x86)";
    in.folderExists = [existing](const std::wstring& f) { return existing.count(f) > 0; };
    return in;
}

TEST(TargetFolder, SlashDWinsOverEverything) {
    auto in = Inputs({L"E:\\Old"});
    in.hasBaseFolder = true;
    in.baseFolder = L"C:\\Games";
    in.previousUninstaller = L"E:\\Old\\unins000.exe";
    EXPECT_EQ(ChooseTargetFolder(in), L"C:\\Games\\Tarnwell\\KestroGC");
}

TEST(TargetFolder, AnOlderInstallationsFolderIsReusedOnlyWhileItExists) {
    auto in = Inputs({L"E:\\Old\\Kestro"});
    in.previousUninstaller = L"E:\\Old\\Kestro\\unins000.exe";
    EXPECT_EQ(ChooseTargetFolder(in), L"E:\\Old\\Kestro");
    auto gone = Inputs({});
    gone.previousUninstaller = L"E:\\Old\\Kestro\\unins000.exe";
    EXPECT_EQ(ChooseTargetFolder(gone), L"C:\\Program Files (x86)\\Tarnwell\\KestroGC");
}

TEST(TargetFolder, ProgramFilesIsTheDefault) {
    EXPECT_EQ(ChooseTargetFolder(Inputs({})), L"C:\\Program Files (x86)\\Tarnwell\\KestroGC");
}

TEST(TargetFolder, FolderPartDropsTheLastElement) {
    EXPECT_EQ(FolderPartOf(L"C:\\A\\B\\unins000.exe"), L"C:\\A\\B");
    EXPECT_EQ(FolderPartOf(L"unins000.exe"), L"");
}

}  // namespace
}  // namespace kestro
