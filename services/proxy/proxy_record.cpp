#include "services/proxy/proxy_record.h"

#include <climits>

#include "services/encoding/split_text.h"
#include "services/json/jvalue.h"

namespace kestro {

const char kAutoConfigProxyRecord[] = "{\"type\":0, \"host\":\"\", \"port\":0, \"pac\":true}";

namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

int LeadingPort(const std::string& text) {
    long long value = 0;
    for (size_t i = 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) return 0;
    }
    return static_cast<int>(value);
}

bool SplitHostPort(const std::string& entry, std::string& host, std::string& rest) {
    size_t colon = entry.find(':');
    if (colon == std::string::npos) return false;
    host = entry.substr(0, colon);
    rest = entry.substr(colon + 1);
    return !host.empty() && !rest.empty();
}

}  // namespace

bool MakeProxyRecord(const std::string& entry, std::string& out) {
    std::string host, rest;
    if (!SplitHostPort(entry, host, rest)) return false;
    JValue record = JValue::Object();
    record.Set("type", 0);
    record.Set("host", host);
    record.Set("port", LeadingPort(rest));
    record.Set("pac", false);
    out = record.WriteCompact();
    return true;
}

bool ProxyRecordFromList(const std::string& proxyList, std::string& out) {
    out.clear();
    std::vector<std::string> entries;
    SplitText(Lower(proxyList), ";", entries);
    for (const std::string& entry : entries) {
        if (entry.find('=') != std::string::npos) {
            if (entry.compare(0, 5, "http=") != 0) continue;
            if (MakeProxyRecord(entry.substr(5), out)) return true;
        } else if (MakeProxyRecord(entry, out)) {
            return true;
        }
    }
    out.clear();
    return false;
}

bool ReadProxyRecord(const std::string& record, ProxyRecordFields& out) {
    JValue parsed;
    if (record.empty() || !JValue::Parse(record, parsed) || !parsed.HasMember("type")) return false;
    int type = parsed["type"].AsInt();
    if (type != 0 && type != 1) return false;
    out.host = parsed["host"].AsText();
    out.port = parsed["port"].AsInt();
    out.user = parsed["user"].AsText();
    out.password = parsed["password"].AsText();
    out.domain = parsed["domain"].AsText();
    out.pac = parsed["pac"].AsBool();
    return true;
}

bool ParsePacAnswer(const std::string& answer, std::string& host, int& port) {
    std::string text = Lower(answer);
    if (text.find('=') != std::string::npos) {
        if (text.compare(0, 5, "http=") != 0) return false;
        text.erase(0, 5);
    }
    std::string name, rest;
    if (!SplitHostPort(text, name, rest)) return false;
    host = name;
    port = LeadingPort(rest);
    return true;
}

}  // namespace kestro
