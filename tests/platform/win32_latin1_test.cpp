#include <gtest/gtest.h>

#include <string>

#include "platform/win32/latin1.h"

namespace {

TEST(Latin1ToUtf8, ConvertsEveryByteToItsCodePoint) {
    struct Case {
        const char* latin1;
        std::string utf8;
    };
    const Case cases[] = {
        {"", ""},
        {"AAAOUCHH!", "AAAOUCHH!"},
        {"Beurk, tu t'es viand\xE9! c'est comique!", "Beurk, tu t'es viand\xC3\xA9! c'est comique!"},
        {"\x7F\x80\xFF", "\x7F\xC2\x80\xC3\xBF"},
        {"c'\xE9tait ^^\n", "c'\xC3\xA9tait ^^\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.latin1);
        EXPECT_EQ(platform::latin1ToUtf8(c.latin1), c.utf8);
    }
    EXPECT_EQ(platform::latin1ToUtf8(nullptr), "");
}

TEST(Latin1ToUtf8, AllHighBytesMakeValidTwoByteSequences) {
    std::string latin1;
    for (int b = 0x80; b <= 0xFF; ++b) {
        latin1 += static_cast<char>(b);
    }
    std::string utf8 = platform::latin1ToUtf8(latin1.c_str());
    ASSERT_EQ(utf8.size(), 2 * latin1.size());
    for (std::size_t i = 0; i < latin1.size(); ++i) {
        unsigned lead = static_cast<unsigned char>(utf8[2 * i]);
        unsigned tail = static_cast<unsigned char>(utf8[2 * i + 1]);
        unsigned codePoint = ((lead & 0x1F) << 6) | (tail & 0x3F);
        EXPECT_EQ(lead & 0xE0, 0xC0u);
        EXPECT_EQ(tail & 0xC0, 0x80u);
        EXPECT_EQ(codePoint, static_cast<unsigned char>(latin1[i]));
    }
}

}  // namespace
