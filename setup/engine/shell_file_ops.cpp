#include "shell_file_ops.h"

#include <windows.h>
#include <shellapi.h>

#include "path_rules.h"
#include "services/base/path_queries.h"

namespace kestro {
namespace {

// FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI
constexpr FILEOP_FLAGS kSilentFlags = 0x0414;

// The shell takes lists of paths, each NUL-terminated, the list ending in a second NUL.
std::wstring OnePathList(const std::wstring& path) {
    std::wstring list = path;
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

// Some shells report success for a source that does not exist; a missing source
// without wildcards is a failure before anything is attempted.
bool SourceMissing(const std::wstring& from) {
    return from.find_first_of(L"*?") == std::wstring::npos && !PathExists(from);
}

bool RunShellOperation(UINT operation, const std::wstring& from, const std::wstring* to) {
    if (SourceMissing(from)) return false;
    std::wstring fromList = OnePathList(from);
    std::wstring toList = to ? OnePathList(*to) : std::wstring();
    SHFILEOPSTRUCTW op = {};
    op.wFunc = operation;
    op.pFrom = fromList.c_str();
    op.pTo = to ? toList.c_str() : nullptr;
    op.fFlags = kSilentFlags;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace

bool CopyPath(const std::wstring& destination, const std::wstring& source) {
    return RunShellOperation(FO_COPY, source, &destination);
}

bool MovePath(const std::wstring& destination, const std::wstring& source) {
    return RunShellOperation(FO_MOVE, source, &destination);
}

bool DeleteFolderTree(const std::wstring& path) {
    if (!IsDeletableFolderPath(path)) return false;
    return RunShellOperation(FO_DELETE, TrimBlanks(path), nullptr);
}

}  // namespace kestro
