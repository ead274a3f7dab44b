// Texts on their way to Windows' wide calls: UTF-8 decoded, bad bytes
// shown as replacement characters, and tips cut to their field without
// leaving half a character.
#include "Utf16.h"
#include "Win32NotifyIcon.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf16, Utf8IsDecodedAndBadBytesReplaced) {
    EXPECT_EQ(Utf16::fromUtf8("\xe8\xa8\xad\xe5\xae\x9a(&S)"), L"\u8a2d\u5b9a(&S)");
    EXPECT_EQ(Utf16::fromUtf8("\xf0\x9f\x98\x80"), L"\xd83d\xde00");
    EXPECT_EQ(Utf16::fromUtf8("a\xff"
                              "b"),
              L"a\xfffd"
              L"b");
    EXPECT_EQ(Utf16::fromUtf8(""), L"");
}

TEST(Utf16, TipsAreCutToTheFieldWithoutHalfACharacter) {
    const std::string a = "\xe3\x81\x82";        // one unit
    const std::string face = "\xf0\x9f\x98\x80"; // two units
    std::string fits;
    for (int i = 0; i < 127; ++i)
        fits += a;
    EXPECT_EQ(Win32NotifyIcon::tipText(fits).size(), 127u);
    EXPECT_EQ(Win32NotifyIcon::tipText(fits + a).size(), 127u);
    std::string split; // 126 units, then a pair that would end past the field
    for (int i = 0; i < 126; ++i)
        split += a;
    EXPECT_EQ(Win32NotifyIcon::tipText(split + face).size(), 126u);
    EXPECT_EQ(Win32NotifyIcon::tipText(std::string("kuvi\0to", 7)), L"kuvi");
}

} // namespace
