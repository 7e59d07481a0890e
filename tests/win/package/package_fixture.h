#pragma once
// Packages for the reader tests, made by kestro-pack's own code from the stub program.
#include <string>

#include "engine_test_support.h"
#include "tools/kestro-pack/pack_command.h"

namespace kestro {
namespace test {

inline std::string Utf8(const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(bytes), '\0');
    if (bytes) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &out[0], bytes, nullptr, nullptr);
    return out;
}

// Points the system temporary folder (TMP) elsewhere for a scope.
class ScopedTempFolder {
public:
    explicit ScopedTempFolder(const std::wstring& folder) {
        had_ = GetEnvironmentVariableW(L"TMP", previous_, MAX_PATH) > 0;
        SetEnvironmentVariableW(L"TMP", folder.c_str());
    }
    ~ScopedTempFolder() { SetEnvironmentVariableW(L"TMP", had_ ? previous_ : nullptr); }
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

private:
    wchar_t previous_[MAX_PATH] = {};
    bool had_ = false;
};

inline std::wstring StubProgram() { return BinFolder() + L"\\kestro_stub_program.exe"; }

constexpr const char kInstallerRecord[] =
    "{\"channel\":30001,\"lastrun\":\"KestroGC.exe\",\"mode\":1,\"shortcut\":{\"desktop\":[{\"file\":\"KestroGC.exe\","
    "\"name\":\"Kestro 模拟器\"}],\"taskbar\":[{\"file\":\"KestroGC.exe\",\"name\":\"Kestro 模拟器\"}]},"
    "\"theme\":\"default\"}";

// A product folder and an installer built from it, inside a scratch folder.
struct BuiltInstaller {
    ScratchFolder folder{L"kestro_pkg"};
    std::wstring path = folder / L"安装 setup.exe";
    std::string bytes;

    // `extra`, when given, becomes one more file of the product.
    bool Build(const std::string& extra = std::string()) {
        std::wstring product = folder / L"product";
        if (!EnsureFolder(product + L"\\data\\子目录") || !EnsureFolder(product + L"\\empty")) return false;
        if (!WriteWholeFile(product + L"\\KestroGC.exe", "program") ||
            !WriteWholeFile(product + L"\\data\\子目录\\模拟器.txt", "中文内容") ||
            !WriteWholeFile(folder / L"record.json", kInstallerRecord) ||
            (!extra.empty() && !WriteWholeFile(product + L"\\extra.bin", extra))) {
            return false;
        }
        BuildOptions options;
        options.program = StubProgram();
        options.config = folder / L"record.json";
        options.product = product;
        auto codec = MakeSystemNameCodec();
        std::string error;
        if (!BuildInstaller(options, *codec, bytes, error)) {
            ADD_FAILURE() << error;
            return false;
        }
        return WriteWholeFile(path, bytes);
    }
};

}  // namespace test
}  // namespace kestro
