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
    // In its normal form when the install accepts it; as given (to be refused) when not.
    in.baseFolder = L"C:/Games/";
    EXPECT_EQ(ChooseTargetFolder(in), L"C:\\Games\\Tarnwell\\KestroGC");
    in.baseFolder = L"";
    EXPECT_EQ(ChooseTargetFolder(in), L"\\Tarnwell\\KestroGC");
}

TEST(TargetFolder, AnOlderInstallationsFolderIsReusedOnlyWhileItExists) {
    auto in = Inputs({L"E:\\Old\\Kestro"});
    in.previousUninstaller = L"E:\\Old\\Kestro\\unins000.exe";
    EXPECT_EQ(ChooseTargetFolder(in), L"E:\\Old\\Kestro");
    auto gone = Inputs({});
    gone.previousUninstaller = L"E:\\Old\\Kestro\\unins000.exe";
    EXPECT_EQ(ChooseTargetFolder(gone), L"C:\\Program Files (x86)\\Tarnwell\\KestroGC");
    // An entry written with mixed separators names the same folder, in its normal form.
    auto mixed = Inputs({L"E:\\Old\\Kestro"});
    mixed.previousUninstaller = L"E:/Old//Kestro/unins000.exe";
    EXPECT_EQ(ChooseTargetFolder(mixed), L"E:\\Old\\Kestro");
    // An installation in a drive root could not be removed again: not offered.
    auto root = Inputs({L"C:", L"C:\\"});
    root.previousUninstaller = L"C:\\unins000.exe";
    EXPECT_EQ(ChooseTargetFolder(root), L"C:\\Program Files (x86)\\Tarnwell\\KestroGC");
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
