#include "setup/engine/shell_file_ops.h"

#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace kestro {
namespace {

using test::Exists;
using test::IsFolder;
using test::ScratchFolder;

std::string Read(const std::wstring& path) {
    std::string bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

void MakeTree(const std::wstring& root) {
    ASSERT_TRUE(EnsureFolder(root + L"\\子目录\\deep"));
    ASSERT_TRUE(WriteWholeFile(root + L"\\a.txt", "a"));
    ASSERT_TRUE(WriteWholeFile(root + L"\\子目录\\deep\\b.txt", "b"));
}

TEST(ShellFileOps, CopyAndMoveWholeTrees) {
    ScratchFolder folder;
    MakeTree(folder / L"src");
    ASSERT_TRUE(CopyPath(folder / L"copy", folder / L"src"));
    EXPECT_EQ(Read(folder / L"copy\\子目录\\deep\\b.txt"), "b");
    EXPECT_EQ(Read(folder / L"src\\a.txt"), "a");
    ASSERT_TRUE(MovePath(folder / L"moved", folder / L"src"));
    EXPECT_FALSE(Exists(folder / L"src"));
    EXPECT_EQ(Read(folder / L"moved\\子目录\\deep\\b.txt"), "b");
}

TEST(ShellFileOps, CopyReplacesAnExistingFile) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder / L"new", "new"));
    ASSERT_TRUE(WriteWholeFile(folder / L"old", "old content"));
    ASSERT_TRUE(CopyPath(folder / L"old", folder / L"new"));
    EXPECT_EQ(Read(folder / L"old"), "new");
}

TEST(ShellFileOps, CopyOfAMissingSourceFails) {
    ScratchFolder folder;
    EXPECT_FALSE(CopyPath(folder / L"dest", folder / L"missing"));
    EXPECT_FALSE(MovePath(folder / L"dest", folder / L"missing"));
}

TEST(DeleteFolderTree, DeletesTheFolderAndItsContent) {
    ScratchFolder folder;
    MakeTree(folder / L"X");
    EXPECT_TRUE(DeleteFolderTree(L"  " + (folder / L"X") + L" "));
    EXPECT_FALSE(Exists(folder / L"X"));
    EXPECT_TRUE(IsFolder(folder.Path()));
}

TEST(DeleteFolderTree, RefusesDriveRootsRelativePathsAndWildcardsWithoutTouchingAnything) {
    ScratchFolder folder;
    MakeTree(folder / L"keep");
    EXPECT_FALSE(DeleteFolderTree(L"C:\\"));
    EXPECT_FALSE(DeleteFolderTree(L" C:\\ "));
    EXPECT_FALSE(DeleteFolderTree(folder / L"kee?"));
    EXPECT_FALSE(DeleteFolderTree(folder / L"*"));
    // A relative name would resolve against the current folder.
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
    EXPECT_FALSE(DeleteFolderTree(L"keep"));
    EXPECT_FALSE(DeleteFolderTree(L".\\keep"));
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(Read(folder / L"keep\\子目录\\deep\\b.txt"), "b");
    EXPECT_TRUE(IsFolder(L"C:\\windows"));
}

}  // namespace
}  // namespace kestro
