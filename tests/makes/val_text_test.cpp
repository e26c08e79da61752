#include <gtest/gtest.h>

#include "makes/make_utils.h"
#include "platform/values/numfmt.h"

using makes::ValText;

namespace {

TEST(MakesValText, AcceptsEitherDecimalSignAndIgnoresBlanks) {
    EXPECT_DOUBLE_EQ(ValText("1,25"), 1.25);
    EXPECT_DOUBLE_EQ(ValText("1.25"), 1.25);
    EXPECT_DOUBLE_EQ(ValText(" 2 5 "), 25);
    EXPECT_DOUBLE_EQ(ValText("-0,5abc"), -0.5);
    EXPECT_DOUBLE_EQ(ValText("1,234.5"), 1.234);  // no thousands separator
}

TEST(MakesValText, ReadsHexExponentsAndNothing) {
    EXPECT_DOUBLE_EQ(ValText("&H1F"), 31);
    EXPECT_DOUBLE_EQ(ValText("&O17"), 15);
    EXPECT_DOUBLE_EQ(ValText("1E3"), 1000);
    EXPECT_DOUBLE_EQ(ValText("2,5D-1"), 0.25);
    EXPECT_DOUBLE_EQ(ValText(""), 0);
    EXPECT_DOUBLE_EQ(ValText("abc"), 0);
}

TEST(MakesValText, IgnoresTheUsersDecimalSign) {
    plat::ScopedDecimalSign comma(',');
    EXPECT_DOUBLE_EQ(ValText("1.25"), 1.25);
    EXPECT_DOUBLE_EQ(ValText("1,25"), 1.25);
}

TEST(MakesNames, BuiltInAndFirstListedNames) {
    EXPECT_FALSE(makes::ValidateMakeName("Nellcor"));
    EXPECT_FALSE(makes::ValidateMakeName("ohmeda & nova"));
    EXPECT_FALSE(makes::ValidateMakeName("PMS M1190"));
    EXPECT_TRUE(makes::ValidateMakeName(" Nellcor"));  // not trimmed
    EXPECT_TRUE(makes::ValidateMakeName("Nellcor2"));
    EXPECT_TRUE(makes::IsFirstListedMake("nonin"));
    EXPECT_TRUE(makes::IsFirstListedMake("N-10"));
    EXPECT_FALSE(makes::IsFirstListedMake("Nonin "));
    EXPECT_EQ(makes::GetMakesExtension(), "txt");
    EXPECT_EQ(makes::GetMakesExtensionPattern(), "*.txt");
}

}  // namespace
