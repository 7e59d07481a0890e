#include "pack_command.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include "package_builder.h"
#include "product_archive.h"
#include "setup/package/package_layout.h"
#include "setup/package/package_records.h"

namespace kestro {
namespace fs = std::filesystem;
namespace {

constexpr const char kUsage[] =
    "usage: kestro-pack build --program IMAGE --config RECORD.json --product DIR -o OUT.exe [--codepage N]\n"
    "       kestro-pack inspect [--json] [--codepage N] FILE\n";

std::string Utf8(const fs::path& path) {
    auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

fs::path PathFromUtf8(const std::string& text) { return fs::u8path(text); }

bool ReadFileBytes(const fs::path& path, const char* what, std::string& bytes, std::string& error) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        error = std::string(what) + " is not a readable file: " + Utf8(path);
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    if (!in || !(content << in.rdbuf()) || in.bad()) {
        // An empty file leaves the stream failed without being unreadable.
        if (!in.bad() && fs::file_size(path, ec) == 0 && !ec) {
            bytes.clear();
            return true;
        }
        error = std::string("cannot read ") + what + ": " + Utf8(path);
        return false;
    }
    bytes = content.str();
    return true;
}

std::string Hex32(uint32_t value) {
    char text[9];
    snprintf(text, sizeof text, "%08X", value);
    return text;
}

bool ParseCodePage(const std::string& text, unsigned& codePage) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    codePage = unsigned(std::stoul(text));
    return codePage > 0;
}

int Fail(std::ostream& err, const std::string& message) {
    err << "kestro-pack: " << message << "\n";
    return 1;
}

int Usage(std::ostream& err, const std::string& message) {
    err << "kestro-pack: " << message << "\n" << kUsage;
    return 2;
}

int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    BuildOptions options;
    bool haveProgram = false, haveConfig = false, haveProduct = false, haveOutput = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size()) return Usage(err, "missing value after " + a);
        const std::string& value = args[++i];
        if (a == "--program") {
            options.program = PathFromUtf8(value), haveProgram = true;
        } else if (a == "--config") {
            options.config = PathFromUtf8(value), haveConfig = true;
        } else if (a == "--product") {
            options.product = PathFromUtf8(value), haveProduct = true;
        } else if (a == "-o" || a == "--output") {
            options.output = PathFromUtf8(value), haveOutput = true;
        } else if (a == "--codepage") {
            if (!ParseCodePage(value, options.codePage)) return Usage(err, "bad code page: " + value);
        } else {
            return Usage(err, "unknown option: " + a);
        }
    }
    if (!haveProgram || !haveConfig || !haveProduct || !haveOutput) {
        return Usage(err, "build needs --program, --config, --product and -o");
    }
    auto codec = MakeSystemNameCodec();
    std::string package, error;
    if (!BuildInstaller(options, *codec, package, error)) return Fail(err, error);
    if (!WriteFileAtomically(options.output, package, error)) return Fail(err, error);
    out << "wrote " << Utf8(options.output) << " (" << package.size() << " bytes)\n";
    return 0;
}

int RunInspect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    unsigned codePage = kDefaultNameCodePage;
    std::string file;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            json = true;
        } else if (a == "--codepage") {
            if (i + 1 >= args.size() || !ParseCodePage(args[i + 1], codePage)) return Usage(err, "bad code page");
            ++i;
        } else if (file.empty() && !a.empty() && a[0] != '-') {
            file = a;
        } else {
            return Usage(err, "unexpected argument: " + a);
        }
    }
    if (file.empty()) return Usage(err, "inspect needs a FILE");
    std::string bytes, error;
    if (!ReadFileBytes(PathFromUtf8(file), "package", bytes, error)) return Fail(err, error);
    auto codec = MakeSystemNameCodec();
    Inspection inspection;
    if (!InspectPackage(bytes, *codec, codePage, inspection, error)) return Fail(err, error);
    out << (json ? InspectionJson(inspection).WriteCompact() : FormatInspection(inspection));
    return 0;
}

}  // namespace

bool BuildInstaller(const BuildOptions& options, const NameCodec& codec, std::string& package, std::string& error) {
    std::string image, record;
    if (!ReadFileBytes(options.program, "program image", image, error)) return false;
    if (!CheckProgramImage(image, error)) return false;
    if (!ReadFileBytes(options.config, "configuration record", record, error)) return false;
    PackageConfig config;
    if (!JValue::Parse(record, config.record) || !config.record.IsObject()) {
        error = "configuration record is not a JSON object: " + Utf8(options.config);
        return false;
    }
    if (!config.HasMode()) {
        error = "configuration record has no \"mode\": " + Utf8(options.config);
        return false;
    }
    if (config.IsUninstaller()) {
        error = "configuration record has \"mode\" 0 (an uninstaller); an installer needs another mode";
        return false;
    }
    std::vector<ArchiveEntry> entries;
    std::string zip;
    if (!CollectProductEntries(options.product, codec, options.codePage, entries, error)) return false;
    if (!WriteProductArchive(entries, zip, error)) return false;
    return AssemblePackage(image, record, &zip, package, error);
}

bool InspectPackage(const std::string& bytes, const NameCodec& codec, unsigned codePage, Inspection& result,
                    std::string& error) {
    MemoryByteSource source(bytes);
    Inspection inspection;
    ByteSlice record;
    if (!ReadPayloadOffset(source, inspection.offset)) {
        error = "not a package: no payload offset, or it lies past the end of the file";
        return false;
    }
    if (!ReadRecordSlice(source, inspection.offset, record)) {
        error = "damaged package: the record length does not fit in the file";
        return false;
    }
    inspection.recordLength = uint32_t(record.length);
    std::string text = bytes.substr(size_t(record.start), size_t(record.length));
    if (!JValue::Parse(text, inspection.record) || !inspection.record.IsObject()) {
        error = "damaged package: the record is not a JSON object";
        return false;
    }
    PackageConfig config{inspection.record};
    if (!config.HasMode()) {
        error = "damaged package: the record has no \"mode\"";
        return false;
    }
    inspection.uninstaller = config.IsUninstaller();
    if (inspection.uninstaller) {
        UninstallRecord uninstall{inspection.record};
        inspection.root = uninstall.Root();
        inspection.files = uninstall.Files();
        inspection.folders = uninstall.Folders();
    } else {
        ByteSlice archive;
        uint32_t offset = 0;
        if (LocateInstallerPayload(source, offset, record, archive) != kSetupOk) {
            error = "damaged package: the archive length does not fit in the file";
            return false;
        }
        inspection.archiveLength = archive.length;
        if (!ListArchive(bytes.substr(size_t(archive.start), size_t(archive.length)), codec, codePage,
                         inspection.entries, error)) {
            return false;
        }
    }
    result = std::move(inspection);
    return true;
}

std::string FormatInspection(const Inspection& in) {
    std::ostringstream out;
    out << "payload offset: " << in.offset << " (0x" << Hex32(in.offset) << ")\n";
    out << "kind: " << (in.uninstaller ? "uninstaller" : "installer") << "\n";
    out << "record: " << in.recordLength << " bytes\n" << in.record.WriteCompact();
    if (in.uninstaller) {
        out << "root: " << in.root << "\n";
        out << "files: " << in.files.size() << "\n";
        for (const auto& f : in.files) out << "  " << f << "\n";
        out << "folders: " << in.folders.size() << "\n";
        for (const auto& f : in.folders) out << "  " << f << "\n";
    } else {
        out << "archive: " << in.archiveLength << " bytes, " << in.entries.size() << " entries\n";
        for (const ListedEntry& e : in.entries) {
            char line[64];
            snprintf(line, sizeof line, "  %-6s %12llu  %s  ", e.folder ? "folder" : "file",
                     static_cast<unsigned long long>(e.size), Hex32(e.crc).c_str());
            out << line << e.name << "\n";
        }
    }
    return out.str();
}

JValue InspectionJson(const Inspection& in) {
    JValue root = JValue::Object();
    root.Set("offset", in.offset);
    root.Set("kind", in.uninstaller ? "uninstaller" : "installer");
    root.Set("recordLength", in.recordLength);
    root.Set("record", in.record);
    if (in.uninstaller) {
        JValue uninstall = JValue::Object();
        uninstall.Set("root", in.root);
        JValue files = JValue::Array(), folders = JValue::Array();
        for (const auto& f : in.files) files.Append(f);
        for (const auto& f : in.folders) folders.Append(f);
        uninstall.Set("files", files);
        uninstall.Set("folders", folders);
        root.Set("uninstall", uninstall);
    } else {
        JValue archive = JValue::Object();
        archive.Set("length", in.archiveLength);
        JValue entries = JValue::Array();
        for (const ListedEntry& e : in.entries) {
            JValue entry = JValue::Object();
            entry.Set("name", e.name);
            entry.Set("folder", e.folder);
            entry.Set("size", e.size);
            entry.Set("compressedSize", e.compressedSize);
            entry.Set("crc", Hex32(e.crc));
            entries.Append(entry);
        }
        archive.Set("entries", entries);
        root.Set("archive", archive);
    }
    return root;
}

bool WriteFileAtomically(const fs::path& path, const std::string& bytes, std::string& error) {
    std::random_device random;
    std::ostringstream suffix;
    suffix << ".tmp-" << std::hex << random() << std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path temporary = path;
    temporary += suffix.str();
    std::error_code ec;
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) {
            error = "cannot write " + Utf8(path);
            return false;
        }
        file.write(bytes.data(), std::streamsize(bytes.size()));
        file.close();
        if (!file) {
            fs::remove(temporary, ec);
            error = "cannot write " + Utf8(path) + " (disk full?)";
            return false;
        }
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        error = "cannot write " + Utf8(path);
        return false;
    }
    return true;
}

int RunKestroPack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return Usage(err, "no command");
    if (args[0] == "build") return RunBuild(args, out, err);
    if (args[0] == "inspect") return RunInspect(args, out, err);
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kUsage;
        return 0;
    }
    return Usage(err, "unknown command: " + args[0]);
}

}  // namespace kestro
