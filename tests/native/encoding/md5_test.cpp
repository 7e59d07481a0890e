#include "services/encoding/md5.h"

#include <gtest/gtest.h>

#include <string>

namespace kestro {
namespace {

std::string Hex(const std::string& s) { return Md5Hex(s.data(), s.size()); }

TEST(Md5, MatchesTheRfc1321SuiteInUpperCase) {
    EXPECT_EQ(Hex(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(Hex("a"), "0CC175B9C0F1B6A831C399E269772661");
    EXPECT_EQ(Hex("abc"), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(Hex("message digest"), "F96B697D7CB7938D525A2F31AAF161D0");
    EXPECT_EQ(Hex("abcdefghijklmnopqrstuvwxyz"), "C3FCD3D76192E4007DFB496CCA67E13B");
    EXPECT_EQ(Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "D174AB98D277D9F5A5611C2C9F419D9F");
    EXPECT_EQ(Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57EDF4A22BE3C955AC49DA2E2107B67A");
}

TEST(Md5, PiecewiseUpdatesAcrossBlockBoundariesEqualOneUpdate) {
    std::string data(1000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = char(i * 7 + 3);
    const std::string whole = Hex(data);
    for (size_t piece : {1u, 55u, 56u, 63u, 64u, 65u, 200u}) {
        Md5 md5;
        for (size_t at = 0; at < data.size(); at += piece)
            md5.Update(data.data() + at, std::min(piece, data.size() - at));
        uint8_t digest[16];
        md5.Final(digest);
        char text[33];
        for (int i = 0; i < 16; ++i) snprintf(text + 2 * i, 3, "%02X", digest[i]);
        EXPECT_EQ(whole, text) << "piece " << piece;
    }
}

}  // namespace
}  // namespace kestro
