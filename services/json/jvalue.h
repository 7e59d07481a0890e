#pragma once
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include <json/value.h>

namespace kestro {

// The JSON value of configuration records, uninstall records, skin descriptions,
// proxy records and feedback reports. A value type over JsonCpp that never throws:
// a missing member or element reads as null, and every conversion has a defined result.
class JValue {
public:
    enum class Kind { Null, Int, Bool, Real, Array, Object, String };

    JValue() = default;
    template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
    JValue(T n) : v_(Json::Int64(n)) {}
    JValue(bool b) : v_(b) {}
    JValue(double d) : v_(d) {}
    JValue(const char* text) : v_(text ? text : "") {}
    JValue(const std::string& text) : v_(text) {}
    static JValue Array();
    static JValue Object();

    // Parses UTF-8 JSON text, comments tolerated. False (and `out` untouched) on any error.
    static bool Parse(const char* text, size_t length, JValue& out);
    static bool Parse(const std::string& text, JValue& out) { return Parse(text.data(), text.size(), out); }

    Kind GetKind() const;
    bool IsNull() const { return GetKind() == Kind::Null; }
    bool IsObject() const { return GetKind() == Kind::Object; }
    bool IsArray() const { return GetKind() == Kind::Array; }
    bool IsString() const { return GetKind() == Kind::String; }

    bool HasMember(const std::string& key) const;
    JValue operator[](const std::string& key) const;
    JValue operator[](const char* key) const { return (*this)[std::string(key)]; }
    std::vector<std::string> MemberNames() const;
    // Turns a non-object into an object first.
    void Set(const std::string& key, const JValue& value);
    void Remove(const std::string& key);

    // Elements; size is 0 for null and non-arrays.
    size_t Size() const;
    JValue At(size_t index) const;
    // Assignment past the end grows the array with nulls; a non-array becomes an array first.
    void SetAt(size_t index, const JValue& value);
    void Append(const JValue& value);

    // Integer: low 32 bits; boolean 0/1; real truncated; string: its leading decimal number; else 0.
    int AsInt() const;
    int64_t AsInt64() const;
    // True for a non-zero number, true, a non-empty string, array or object.
    bool AsBool() const;
    double AsReal() const;
    // The string itself; anything else reads as empty.
    std::string AsText() const;

    // No white space, members in ascending key order, UTF-8 as is, one line feed appended.
    std::string WriteCompact() const;

    bool operator==(const JValue& other) const { return v_ == other.v_; }
    bool operator!=(const JValue& other) const { return !(v_ == other.v_); }

private:
    explicit JValue(const Json::Value& v) : v_(v) {}
    Json::Value v_;
};

}  // namespace kestro
