#include "ansicodepage.h"

#include <gtest/gtest.h>

using namespace brinevar;

#ifndef _WIN32 // Windows uses the system code page, which these bytes assume is not.

TEST(AnsiCodePage, MapsWindows1252BothWays)
{
    EXPECT_EQ(ToAnsi("plain 1.5"), "plain 1.5");
    EXPECT_EQ(ToAnsi("\u00e9\u00ff"), "\xe9\xff");
    EXPECT_EQ(ToAnsi("\u20ac \u2122 \u0178"), "\x80 \x99 \x9f");
    EXPECT_EQ(FromAnsi("\x80\x99\xe9"), "\u20ac\u2122\u00e9");
    // Unassigned bytes survive a round trip instead of being lost.
    EXPECT_EQ(ToAnsi(FromAnsi("\x81\x8d\x8f\x90\x9d")), "\x81\x8d\x8f\x90\x9d");
}

TEST(AnsiCodePage, WhatItCannotHoldBecomesAQuestionMark)
{
    EXPECT_EQ(ToAnsi("\u4e2d\u6587"), "??");
    EXPECT_EQ(ToAnsi("a\U0001F41Fb"), "a?b");
    EXPECT_EQ(ToAnsi("bad \xc3 end"), "bad ? end");
    EXPECT_EQ(ToAnsi("\xe0\x80\x80"), "?"); // overlong encoding of NUL
}

TEST(AnsiCodePage, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(ToAnsi(FromAnsi(all)), all);
}

#endif

#ifdef _WIN32

TEST(AnsiCodePage, WritesEveryTextWhereTheSystemCodePageIsUtf8)
{
    // Wine ignores a prefix's ANSI code page setting, so 65001 is given here
    // as the system would give it.
    EXPECT_EQ(ToCodePage("Z\u00fcrich \u20ac 1.5", 65001), "Z\u00fcrich \u20ac 1.5");
    EXPECT_EQ(FromCodePage("Z\u00fcrich", 65001), "Z\u00fcrich");
    EXPECT_EQ(ToCodePage("Z\u00fcrich \u20ac \u4e2d", 1252), "Z\xfcrich \x80 ?");
    EXPECT_EQ(FromCodePage("\x80\xe9", 1252), "\u20ac\u00e9");
}

#endif
