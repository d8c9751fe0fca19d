#include "ansicodepage.h"

#include <gtest/gtest.h>

using namespace brinevar;

// Code pages given by number, so that each system's own conversion is held
// to the same bytes (Wine's system code page is not fixed).

TEST(AnsiCodePage, MapsWindows1252BothWays)
{
    EXPECT_EQ(ToCodePage("plain 1.5", kWindows1252), "plain 1.5");
    EXPECT_EQ(ToCodePage("\u00e9\u00ff", kWindows1252), "\xe9\xff");
    EXPECT_EQ(ToCodePage("\u20ac \u2122 \u0178", kWindows1252), "\x80 \x99 \x9f");
    EXPECT_EQ(FromCodePage("\x80\x99\xe9", kWindows1252), "\u20ac\u2122\u00e9");
    // Unassigned bytes survive a round trip instead of being lost.
    EXPECT_EQ(ToCodePage(FromCodePage("\x81\x8d\x8f\x90\x9d", kWindows1252), kWindows1252),
              "\x81\x8d\x8f\x90\x9d");
}

TEST(AnsiCodePage, WhatItCannotHoldBecomesAQuestionMarkNeverALookAlike)
{
    EXPECT_EQ(ToCodePage("\u4e2d\u6587", kWindows1252), "??");
    // Windows' best fit would make these "-1" and "A".
    EXPECT_EQ(ToCodePage("\u22121", kWindows1252), "?1");
    EXPECT_EQ(ToCodePage("\u0100", kWindows1252), "?");
    EXPECT_EQ(ToCodePage("bad \xc3 end", kWindows1252), "bad ? end");
}

TEST(AnsiCodePage, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(ToCodePage(FromCodePage(all, kWindows1252), kWindows1252), all);
}

TEST(AnsiCodePage, Utf8PassesEveryWellFormedTextUnchanged)
{
    const std::string text = "Z\u00fcrich \u20ac \u4e2d \U0001F41F \u2212\u066b\u200f";
    EXPECT_EQ(ToCodePage(text, kUtf8CodePage), text);
    EXPECT_EQ(FromCodePage(text, kUtf8CodePage), text);
    EXPECT_EQ(UnstorableCharacters(text, kUtf8CodePage), U"");
}

TEST(AnsiCodePage, UnstorableCharactersEachOnceInOrder)
{
    EXPECT_EQ(UnstorableCharacters("7\u20ac\u00df\t \u2018\u201d", kWindows1252), U"");
    EXPECT_EQ(UnstorableCharacters("\u0436\u20ac\U0001F41F\u0436 \u2212", kWindows1252),
              U"\u0436\U0001F41F\u2212");
    // Malformed UTF-8 cannot be written exactly in any code page; an encoded
    // surrogate and an overlong form are malformed.
    for (unsigned codePage : {kWindows1252, kUtf8CodePage}) {
        EXPECT_EQ(UnstorableCharacters("a\xc3", codePage), U"\uFFFD") << codePage;
        EXPECT_EQ(UnstorableCharacters("\xed\xa0\x80", codePage), U"\uFFFD") << codePage;
        EXPECT_EQ(UnstorableCharacters("\xe0\x80\x80", codePage), U"\uFFFD") << codePage;
    }
}
