#include "jvalue.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>

#include <json/reader.h>
#include <json/writer.h>

namespace kestro {
namespace {

// Deep nesting is refused rather than recursed into.
constexpr int kMaxDepth = 256;

int64_t LeadingDecimal(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    uint64_t n = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (n > (UINT64_MAX - 9) / 10) break;  // saturate far past any 32-bit use
        n = n * 10 + uint64_t(s[i] - '0');
    }
    return negative ? int64_t(0 - n) : int64_t(n);
}

int64_t RealToInt64(double d) {
    if (std::isnan(d)) return 0;
    if (d >= 9.2233720368547758e18) return INT64_MAX;
    if (d <= -9.2233720368547758e18) return INT64_MIN;
    return int64_t(d);
}

}  // namespace

JValue JValue::Array() { return JValue(Json::Value(Json::arrayValue)); }
JValue JValue::Object() { return JValue(Json::Value(Json::objectValue)); }

bool JValue::Parse(const char* text, size_t length, JValue& out) {
    if (!text && length) return false;
    Json::CharReaderBuilder builder;
    builder["allowComments"] = true;
    builder["collectComments"] = false;
    builder["stackLimit"] = kMaxDepth;
    builder["failIfExtra"] = false;
    try {
        std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        Json::Value parsed;
        // No error text: JsonCpp 1.9.5 formats it by scanning line ends, and a text ending
        // in "\r" makes that scan read one byte past the end. Callers only need the result.
        if (!reader->parse(text, text + length, &parsed, nullptr)) return false;
        out.v_ = std::move(parsed);
        return true;
    } catch (...) {
        return false;
    }
}

JValue::Kind JValue::GetKind() const {
    switch (v_.type()) {
        case Json::nullValue: return Kind::Null;
        case Json::intValue:
        case Json::uintValue: return Kind::Int;
        case Json::realValue: return Kind::Real;
        case Json::stringValue: return Kind::String;
        case Json::booleanValue: return Kind::Bool;
        case Json::arrayValue: return Kind::Array;
        case Json::objectValue: return Kind::Object;
    }
    return Kind::Null;
}

bool JValue::HasMember(const std::string& key) const { return v_.isObject() && v_.isMember(key); }

JValue JValue::operator[](const std::string& key) const {
    if (!v_.isObject()) return JValue();
    const Json::Value* found = v_.find(key.data(), key.data() + key.size());
    return found ? JValue(*found) : JValue();
}

std::vector<std::string> JValue::MemberNames() const {
    return v_.isObject() ? v_.getMemberNames() : std::vector<std::string>();
}

void JValue::Set(const std::string& key, const JValue& value) {
    if (!v_.isObject()) v_ = Json::Value(Json::objectValue);
    v_[key] = value.v_;
}

void JValue::Remove(const std::string& key) {
    if (v_.isObject()) v_.removeMember(key);
}

size_t JValue::Size() const { return v_.isArray() ? v_.size() : 0; }

JValue JValue::At(size_t index) const {
    if (!v_.isArray() || index >= v_.size()) return JValue();
    return JValue(v_[Json::ArrayIndex(index)]);
}

void JValue::SetAt(size_t index, const JValue& value) {
    if (!v_.isArray()) v_ = Json::Value(Json::arrayValue);
    v_[Json::ArrayIndex(index)] = value.v_;
}

void JValue::Append(const JValue& value) {
    if (!v_.isArray()) v_ = Json::Value(Json::arrayValue);
    v_.append(value.v_);
}

int64_t JValue::AsInt64() const {
    switch (v_.type()) {
        case Json::intValue: return v_.asInt64();
        case Json::uintValue: return int64_t(v_.asUInt64());
        case Json::booleanValue: return v_.asBool() ? 1 : 0;
        case Json::realValue: return RealToInt64(v_.asDouble());
        case Json::stringValue: return LeadingDecimal(v_.asString());
        default: return 0;
    }
}

int JValue::AsInt() const { return int(uint32_t(uint64_t(AsInt64()) & 0xFFFFFFFFu)); }

bool JValue::AsBool() const {
    switch (v_.type()) {
        case Json::intValue: return v_.asInt64() != 0;
        case Json::uintValue: return v_.asUInt64() != 0;
        case Json::realValue: return v_.asDouble() != 0.0;
        case Json::booleanValue: return v_.asBool();
        case Json::stringValue: return !v_.asString().empty();
        case Json::arrayValue:
        case Json::objectValue: return v_.size() != 0;
        default: return false;
    }
}

double JValue::AsReal() const {
    switch (v_.type()) {
        case Json::intValue: return double(v_.asInt64());
        case Json::uintValue: return double(v_.asUInt64());
        case Json::realValue: return v_.asDouble();
        case Json::booleanValue: return v_.asBool() ? 1.0 : 0.0;
        case Json::stringValue: return std::strtod(v_.asString().c_str(), nullptr);
        default: return 0.0;
    }
}

std::string JValue::AsText() const { return v_.isString() ? v_.asString() : std::string(); }

std::string JValue::WriteCompact() const {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    builder["precision"] = 15;
    try {
        std::string text = Json::writeString(builder, v_);
        text += '\n';
        return text;
    } catch (...) {
        return "null\n";
    }
}

}  // namespace kestro
