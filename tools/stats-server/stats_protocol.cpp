#include "stats_protocol.h"

#include <zlib.h>

#include <cstdint>
#include <set>

namespace kestro::stats {
namespace {

const char kSetPath[] = "/clt_v2_set";
const char kFeedbackPath[] = "/clt_v2_fb";

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

// Signed decimal as the client's "%ld" writes it.
bool ParseDecimal(const std::string& text, int64_t& out) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == '-') negative = true, ++i;
    if (i == text.size() || text.size() - i > 18) return false;
    int64_t n = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        n = n * 10 + (text[i] - '0');
    }
    out = negative ? -n : n;
    return true;
}

bool IsMachineId(const std::string& text) {
    if (text.size() != 32) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

// Query parameters exactly as sent: no percent or "+" decoding, because the
// client inserts its values (Base64 included) unescaped.
bool SplitQuery(const std::string& query, std::map<std::string, std::string>& out, std::string& error) {
    size_t pos = 0;
    while (pos <= query.size()) {
        size_t end = query.find('&', pos);
        if (end == std::string::npos) end = query.size();
        std::string pair = query.substr(pos, end - pos);
        size_t eq = pair.find('=');
        if (eq == std::string::npos || eq == 0) {
            error = "malformed parameter \"" + pair + "\"";
            return false;
        }
        std::string key = pair.substr(0, eq);
        if (!out.emplace(key, pair.substr(eq + 1)).second) {
            error = "repeated parameter " + key;
            return false;
        }
        pos = end + 1;
    }
    return true;
}

TargetVerdict Refuse(int status, const std::string& target, const std::string& error) {
    TargetVerdict v;
    v.status = status;
    v.record = JValue::Object();
    v.record.Set("target", target);
    v.record.Set("error", error);
    return v;
}

bool CheckKeys(const std::map<std::string, std::string>& params, const std::set<std::string>& required,
               const std::set<std::string>& optional, std::string& error) {
    for (const auto& key : required)
        if (!params.count(key)) {
            error = "missing parameter " + key;
            return false;
        }
    for (const auto& kv : params)
        if (!required.count(kv.first) && !optional.count(kv.first)) {
            error = "unknown parameter " + kv.first;
            return false;
        }
    return true;
}

// The decoded feedback must be the JSON object the client writes: "check" an array
// of reason codes, "feedback" an array of texts, at least one of them present.
bool CheckFeedback(const JValue& fb, std::string& error) {
    if (!fb.IsObject()) return error = "feedback is not a JSON object", false;
    if (!fb.HasMember("check") && !fb.HasMember("feedback")) return error = "feedback has neither check nor feedback", false;
    for (const auto& name : fb.MemberNames())
        if (name != "check" && name != "feedback") return error = "unknown feedback member " + name, false;
    JValue check = fb["check"];
    if (fb.HasMember("check")) {
        if (!check.IsArray() || check.Size() == 0) return error = "check is not a non-empty array", false;
        for (size_t i = 0; i < check.Size(); ++i)
            if (check.At(i).GetKind() != JValue::Kind::Int) return error = "check holds a non-integer", false;
    }
    JValue texts = fb["feedback"];
    if (fb.HasMember("feedback")) {
        if (!texts.IsArray() || texts.Size() == 0) return error = "feedback is not a non-empty array", false;
        for (size_t i = 0; i < texts.Size(); ++i)
            if (!texts.At(i).IsString()) return error = "feedback holds a non-string", false;
    }
    return true;
}

}  // namespace

bool ParseRequestHead(const std::string& head, RequestHead& out) {
    size_t lineEnd = head.find("\r\n");
    if (lineEnd == std::string::npos) return false;
    std::string line = head.substr(0, lineEnd);
    size_t s1 = line.find(' ');
    size_t s2 = s1 == std::string::npos ? s1 : line.find(' ', s1 + 1);
    if (s1 == std::string::npos || s2 == std::string::npos || line.find(' ', s2 + 1) != std::string::npos) return false;
    RequestHead h;
    h.method = line.substr(0, s1);
    h.target = line.substr(s1 + 1, s2 - s1 - 1);
    h.version = line.substr(s2 + 1);
    if (h.method.empty() || h.target.empty() || h.version.compare(0, 7, "HTTP/1.") != 0 || h.version.size() != 8)
        return false;
    for (char c : h.target)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return false;
    size_t pos = lineEnd + 2;
    while (pos < head.size()) {
        size_t end = head.find("\r\n", pos);
        if (end == std::string::npos) end = head.size();
        std::string field = head.substr(pos, end - pos);
        pos = end + 2;
        if (field.empty()) break;
        size_t colon = field.find(':');
        if (colon == std::string::npos) return false;
        std::string name = Lower(Trim(field.substr(0, colon)));
        if (name.empty()) return false;
        h.headers[name] = Trim(field.substr(colon + 1));
    }
    out = std::move(h);
    return true;
}

bool DecodeBase64Strict(const std::string& text, std::string& out) {
    auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z') return c - 'A';
        if (c >= 'a' && c <= 'z') return c - 'a' + 26;
        if (c >= '0' && c <= '9') return c - '0' + 52;
        if (c == '+') return 62;
        if (c == '/') return 63;
        return -1;
    };
    if (text.size() % 4 != 0) return false;
    std::string result;
    for (size_t i = 0; i < text.size(); i += 4) {
        bool last = i + 4 == text.size();
        int pad = 0;
        if (last && text[i + 3] == '=') pad = text[i + 2] == '=' ? 2 : 1;
        uint32_t n = 0;
        for (int k = 0; k < 4; ++k) {
            int v = k >= 4 - pad ? 0 : value(text[i + k]);
            if (v < 0) return false;
            n = n << 6 | uint32_t(v);
        }
        result += char(n >> 16);
        if (pad < 2) result += char((n >> 8) & 0xff);
        if (pad < 1) result += char(n & 0xff);
    }
    out = std::move(result);
    return true;
}

TargetVerdict JudgeTarget(const std::string& target) {
    size_t q = target.find('?');
    std::string path = target.substr(0, q);
    if (path != kSetPath && path != kFeedbackPath) return Refuse(404, target, "unknown path " + path);
    if (q == std::string::npos) return Refuse(400, target, "no query");
    std::map<std::string, std::string> params;
    std::string error;
    if (!SplitQuery(target.substr(q + 1), params, error)) return Refuse(400, target, error);

    bool isSet = path == kSetPath;
    bool keysOk = isSet ? CheckKeys(params, {"machid", "plat", "op", "v", "l", "c", "md5"}, {"e"}, error)
                        : CheckKeys(params, {"machid", "plat", "fb"}, {}, error);
    if (!keysOk) return Refuse(400, target, error);
    if (!IsMachineId(params["machid"])) return Refuse(400, target, "machid is not 32 upper-case hexadecimal digits");
    if (params["plat"] != "30") return Refuse(400, target, "plat is not 30");

    TargetVerdict v;
    v.status = 200;
    v.record = JValue::Object();
    v.record.Set("target", target);
    v.record.Set("machid", params["machid"]);
    if (isSet) {
        v.record.Set("kind", "set");
        for (const char* key : {"op", "v", "l", "c", "e"}) {
            if (!params.count(key)) continue;
            int64_t n = 0;
            if (!ParseDecimal(params[key], n)) return Refuse(400, target, std::string(key) + " is not a decimal number");
            v.record.Set(key, n);
        }
        // The client never omits e by writing 0: absent means no error.
        if (params.count("e") && v.record["e"].AsInt64() == 0) return Refuse(400, target, "e=0 is sent only when absent");
        v.record.Set("md5", params["md5"]);
        return v;
    }
    v.record.Set("kind", "fb");
    v.record.Set("fb", params["fb"]);
    std::string decoded;
    if (!DecodeBase64Strict(params["fb"], decoded)) return Refuse(400, target, "fb is not Base64");
    JValue fb;
    if (!JValue::Parse(decoded, fb)) return Refuse(400, target, "fb is not JSON");
    if (!CheckFeedback(fb, error)) return Refuse(400, target, error);
    v.record.Set("fb_text", decoded);
    if (fb.HasMember("check")) v.record.Set("check", fb["check"]);
    if (fb.HasMember("feedback")) v.record.Set("feedback", fb["feedback"]);
    return v;
}

std::string EncodeReplyBody(const std::string& json, ReplyForm form) {
    if (form == ReplyForm::kEmpty) return std::string();
    uint32_t length = form == ReplyForm::kZeroLength ? 0 : uint32_t(json.size());
    std::string body;
    body += char(length >> 24);
    body += char((length >> 16) & 0xff);
    body += char((length >> 8) & 0xff);
    body += char(length & 0xff);
    if (form == ReplyForm::kNotZlib) return body + json;
    uLongf size = compressBound(uLong(json.size()));
    std::string packed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(json.data()),
                  uLong(json.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        return std::string();
    packed.resize(size);
    return body + packed;
}

std::string BuildHttpResponse(int status, const std::string& body) {
    const char* reason = "Error";
    switch (status) {
        case 200: reason = "OK"; break;
        case 400: reason = "Bad Request"; break;
        case 404: reason = "Not Found"; break;
        case 405: reason = "Method Not Allowed"; break;
        case 500: reason = "Internal Server Error"; break;
        case 503: reason = "Service Unavailable"; break;
    }
    std::string r = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
    r += "Content-Type: application/octet-stream\r\n";
    r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    r += "Connection: close\r\n\r\n";
    return r + body;
}

}  // namespace kestro::stats
