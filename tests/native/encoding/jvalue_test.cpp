#include "services/json/jvalue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace kestro {
namespace {

JValue P(const std::string& text) {
    JValue v;
    EXPECT_TRUE(JValue::Parse(text, v)) << text;
    return v;
}

TEST(JValue, ParsesWithCommentsAndRejectsBrokenText) {
    JValue v = P("// record\n{\"mode\": 1, /* inline */ \"theme\": \"default\"}");
    EXPECT_EQ(v["mode"].AsInt(), 1);
    JValue untouched = P("{\"keep\":1}");
    EXPECT_FALSE(JValue::Parse("{\"mode\":", untouched));
    EXPECT_FALSE(JValue::Parse("", untouched));
    EXPECT_EQ(untouched["keep"].AsInt(), 1);
}

// Found by jvalue_fuzz: a broken text ending in "\r" made the reader look one byte past
// the end. The bytes are copied to a buffer of their exact size so the sanitizer sees it.
TEST(JValue, ABrokenTextEndingInCarriageReturnsIsReadOnlyWithinItsLength) {
    for (const std::string& text : {std::string("//\r\r\r\r\r\r\r\r\r\r"), std::string("{\"a\":\r"), std::string("\r")}) {
        std::unique_ptr<char[]> exact(new char[text.size()]);
        memcpy(exact.get(), text.data(), text.size());
        JValue v;
        EXPECT_FALSE(JValue::Parse(exact.get(), text.size(), v));
    }
}

TEST(JValue, DeepNestingIsRefusedNotRecursedInto) {
    std::string deep(100000, '[');
    JValue v;
    EXPECT_FALSE(JValue::Parse(deep, v));
}

TEST(JValue, MissingMembersAndElementsReadAsNullOnAnyShape) {
    JValue v = P("{\"a\":[1,2],\"s\":\"x\"}");
    EXPECT_TRUE(v["missing"].IsNull());
    EXPECT_FALSE(v.HasMember("missing"));
    EXPECT_TRUE(v.HasMember("a"));
    EXPECT_TRUE(v["s"]["deeper"].IsNull());
    EXPECT_TRUE(v["a"].At(5).IsNull());
    EXPECT_EQ(v["s"].Size(), 0u);
    EXPECT_EQ(v["missing"].Size(), 0u);
    EXPECT_EQ(v["a"].Size(), 2u);
    EXPECT_FALSE(v["a"].HasMember("x"));
}

TEST(JValue, IntegerReadingFollowsTheConversionRules) {
    JValue v = P(R"({"big":4294967297,"neg":-5,"t":true,"f":false,"r":2.9,"nr":-2.9,
                    "s":"42abc","sneg":"-7","sx":"x1","arr":[1],"obj":{},"huge":1e300})");
    EXPECT_EQ(v["big"].AsInt(), 1);  // low 32 bits
    EXPECT_EQ(v["neg"].AsInt(), -5);
    EXPECT_EQ(v["t"].AsInt(), 1);
    EXPECT_EQ(v["f"].AsInt(), 0);
    EXPECT_EQ(v["r"].AsInt(), 2);
    EXPECT_EQ(v["nr"].AsInt(), -2);
    EXPECT_EQ(v["s"].AsInt(), 42);
    EXPECT_EQ(v["sneg"].AsInt(), -7);
    EXPECT_EQ(v["sx"].AsInt(), 0);
    EXPECT_EQ(v["arr"].AsInt(), 0);
    EXPECT_EQ(v["obj"].AsInt(), 0);
    EXPECT_EQ(v["missing"].AsInt(), 0);
    (void)v["huge"].AsInt();  // defined, whatever it gives
}

TEST(JValue, BooleanAndTextReading) {
    JValue v = P(R"({"z":0,"n":3,"r":0.5,"e":"","s":"a","ea":[],"a":[0],"eo":{},"o":{"k":null}})");
    EXPECT_FALSE(v["z"].AsBool());
    EXPECT_TRUE(v["n"].AsBool());
    EXPECT_TRUE(v["r"].AsBool());
    EXPECT_FALSE(v["e"].AsBool());
    EXPECT_TRUE(v["s"].AsBool());
    EXPECT_FALSE(v["ea"].AsBool());
    EXPECT_TRUE(v["a"].AsBool());
    EXPECT_FALSE(v["eo"].AsBool());
    EXPECT_TRUE(v["o"].AsBool());
    EXPECT_FALSE(v["missing"].AsBool());
    EXPECT_EQ(v["s"].AsText(), "a");
    EXPECT_EQ(v["n"].AsText(), "");
    EXPECT_EQ(v["a"].AsText(), "");
}

TEST(JValue, CompactWriterSortsKeysKeepsUtf8AndEndsWithALineFeed) {
    JValue record = JValue::Object();
    record.Set("mode", 0);
    record.Set("channel", 30001);
    JValue shortcut = JValue::Object();
    JValue item = JValue::Object();
    item.Set("name", "Kestro 模拟器");
    item.Set("file", "KestroGC.exe");
    JValue desktop;
    desktop.Append(item);
    shortcut.Set("desktop", desktop);
    record.Set("setup", shortcut);
    record.Set("ok", true);
    EXPECT_EQ(record.WriteCompact(),
              "{\"channel\":30001,\"mode\":0,\"ok\":true,\"setup\":{\"desktop\":[{\"file\":\"KestroGC.exe\","
              "\"name\":\"Kestro 模拟器\"}]}}\n");
}

TEST(JValue, ShippedRecordRoundTripsByteForByte) {
    const std::string shipped =
        "{\"channel\":30001,\"lastrun\":\"KestroGC.exe\",\"mode\":1,\"shortcut\":{\"desktop\":[{\"file\":"
        "\"KestroGC.exe\",\"name\":\"Kestro 模拟器\"}],\"taskbar\":[{\"file\":\"KestroGC.exe\",\"name\":"
        "\"Kestro 模拟器\"}]},\"theme\":\"default\"}";
    EXPECT_EQ(P(shipped).WriteCompact(), shipped + "\n");
}

TEST(JValue, AssignmentPastTheEndGrowsTheArrayWithNulls) {
    JValue list;
    list.SetAt(2, "c");
    EXPECT_EQ(list.Size(), 3u);
    EXPECT_TRUE(list.At(0).IsNull());
    EXPECT_EQ(list.At(2).AsText(), "c");
    JValue notArray("text");
    notArray.Append(1);
    EXPECT_EQ(notArray.Size(), 1u);
    EXPECT_EQ(list.WriteCompact(), "[null,null,\"c\"]\n");
}

}  // namespace
}  // namespace kestro
