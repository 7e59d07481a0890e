#include "statistics_request.h"

#include <cstdio>

#include "services/encoding/base64.h"
#include "services/json/jvalue.h"

namespace kestro {
namespace {

std::string EscapeQueryValue(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        bool safe = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '.' ||
                    c == '_' || c == '~';
        if (safe) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

}  // namespace

std::string FormatOperationPath(const std::string& machineId, long op, long v, long l, long c, const std::string& md5,
                                long e) {
    char numbers[128];
    snprintf(numbers, sizeof numbers, "&plat=30&op=%ld&v=%ld&l=%ld&c=%ld&md5=", op, v, l, c);
    std::string path = "/clt_v2_set?machid=" + machineId + numbers + EscapeQueryValue(md5);
    if (e != 0) {
        char error[32];
        snprintf(error, sizeof error, "&e=%ld", e);
        path += error;
    }
    return path;
}

std::string BuildFeedbackJson(const std::vector<int>& reasons, const std::vector<std::string>& utf8Texts) {
    if (reasons.empty() && utf8Texts.empty()) return std::string();
    JValue report = JValue::Object();
    if (!reasons.empty()) {
        JValue check = JValue::Array();
        for (int code : reasons) check.Append(code);
        report.Set("check", check);
    }
    if (!utf8Texts.empty()) {
        JValue texts = JValue::Array();
        for (const auto& text : utf8Texts) texts.Append(text);
        report.Set("feedback", texts);
    }
    return report.WriteCompact();
}

std::string FormatFeedbackPath(const std::string& machineId, const std::string& feedbackJson) {
    ConversionArena arena;
    return "/clt_v2_fb?machid=" + machineId + "&plat=30&fb=" + Base64Encode(arena, feedbackJson.c_str());
}

}  // namespace kestro
