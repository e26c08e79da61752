#include <gtest/gtest.h>

#include <cmath>

#include "platform/values/collection.h"
#include "platform/values/numfmt.h"
#include "platform/values/text.h"
#include "platform/values/variant.h"

namespace {

using plat::Variant;
using plat::VarType;

struct Thing : plat::Object {
    int n = 0;
};

TEST(ValuesVariant, KindsAndEmpty) {
    EXPECT_EQ(Variant().Type(), VarType::Empty);
    EXPECT_EQ(Variant(true).Type(), VarType::Boolean);
    EXPECT_EQ(Variant(3).Type(), VarType::Long);
    EXPECT_EQ(Variant(3.0).Type(), VarType::Double);
    EXPECT_EQ(Variant("x").Type(), VarType::String);
    EXPECT_EQ(Variant(std::make_shared<Thing>()).Type(), VarType::Object);
    Variant e;
    EXPECT_FALSE(e.AsBool());
    EXPECT_EQ(e.AsLong(), 0);
    EXPECT_EQ(e.AsDouble(), 0);
    EXPECT_EQ(e.AsString(), "");
    EXPECT_EQ(e.AsObject(), nullptr);
}

TEST(ValuesVariant, ToText) {
    EXPECT_EQ(Variant(true).AsString(), "True");
    EXPECT_EQ(Variant(false).AsString(), "False");
    EXPECT_EQ(Variant(-42).AsString(), "-42");
    EXPECT_EQ(Variant(1.5).AsString(), "1.5");
    EXPECT_EQ(Variant(1e20).AsString(), "1E+20");
    plat::ScopedDecimalSign comma(',');
    EXPECT_EQ(Variant(0.25).AsString(), "0,25");
}

TEST(ValuesVariant, ToNumber) {
    EXPECT_EQ(Variant(true).AsLong(), -1);
    EXPECT_EQ(Variant(true).AsDouble(), -1);
    EXPECT_EQ(Variant(2.5).AsLong(), 2);
    EXPECT_EQ(Variant(3.5).AsLong(), 4);
    EXPECT_EQ(Variant(" 12 ").AsLong(), 12);
    EXPECT_EQ(Variant("2.5").AsLong(), 2);
    EXPECT_EQ(Variant("1E3").AsDouble(), 1000);
    EXPECT_EQ(Variant("-.5").AsDouble(), -0.5);
    EXPECT_THROW(Variant(2147483647.5).AsLong(), plat::Overflow);
    EXPECT_THROW(Variant(std::nan("")).AsLong(), plat::Overflow);
    EXPECT_THROW(Variant("1E10").AsLong(), plat::Overflow);
    for (const char* bad : {"", "abc", "3x", "1,5", "1e"}) {
        EXPECT_THROW(Variant(bad).AsDouble(), plat::TypeMismatch) << bad;
        EXPECT_THROW(Variant(bad).AsLong(), plat::TypeMismatch) << bad;
    }
    EXPECT_THROW(Variant(std::make_shared<Thing>()).AsDouble(), plat::TypeMismatch);
}

TEST(ValuesVariant, ToBool) {
    EXPECT_TRUE(Variant(7).AsBool());
    EXPECT_FALSE(Variant(0.0).AsBool());
    EXPECT_TRUE(Variant(0.1).AsBool());
    EXPECT_TRUE(Variant("true").AsBool());
    EXPECT_TRUE(Variant(" TRUE ").AsBool());
    EXPECT_FALSE(Variant("False").AsBool());
    EXPECT_TRUE(Variant("-1").AsBool());
    EXPECT_FALSE(Variant("0").AsBool());
    EXPECT_THROW(Variant("yes").AsBool(), plat::TypeMismatch);
    EXPECT_THROW(Variant("").AsBool(), plat::TypeMismatch);
    EXPECT_THROW(Variant(std::make_shared<Thing>()).AsBool(), plat::TypeMismatch);
}

TEST(ValuesVariant, ObjectsAndEquality) {
    auto t = std::make_shared<Thing>();
    t->n = 5;
    Variant v(t);
    ASSERT_NE(v.As<Thing>(), nullptr);
    EXPECT_EQ(v.As<Thing>()->n, 5);
    EXPECT_EQ(Variant(3).As<Thing>(), nullptr);
    EXPECT_THROW(v.AsString(), plat::TypeMismatch);
    EXPECT_TRUE(v == Variant(t));
    EXPECT_FALSE(v == Variant(std::make_shared<Thing>()));
    EXPECT_TRUE(Variant(3) == Variant(3.0));
    EXPECT_FALSE(Variant(3) == Variant("3"));
    EXPECT_TRUE(Variant() == Variant());
    EXPECT_FALSE(Variant() == Variant(0));
}

TEST(ValuesCollection, PositionsAndKeys) {
    plat::Collection<int> c;
    ASSERT_TRUE(c.Add(10, "Alpha"));
    ASSERT_TRUE(c.Add(20));
    ASSERT_TRUE(c.Add(30, "beta"));
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Item(1), 10);
    EXPECT_EQ(c.Item(3), 30);
    EXPECT_EQ(c.Item("ALPHA"), 10);
    EXPECT_EQ(c.Item("Beta"), 30);
    EXPECT_EQ(c.IndexOf("BETA"), 3);
    EXPECT_EQ(c.KeyAt(2), "");
    EXPECT_FALSE(c.Exists(""));
    EXPECT_THROW(c.Item(0), std::out_of_range);
    EXPECT_THROW(c.Item(4), std::out_of_range);
    EXPECT_THROW(c.Item("gamma"), std::out_of_range);
    EXPECT_THROW(c.Item(""), std::out_of_range);

    // a duplicate key in any case fails and changes nothing
    EXPECT_FALSE(c.Add(99, "alpha"));
    EXPECT_FALSE(c.Insert(1, 99, "BETA"));
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Item("alpha"), 10);

    ASSERT_TRUE(c.Insert(1, 5, "first"));
    ASSERT_TRUE(c.Insert(c.Count() + 1, 40));
    EXPECT_THROW((void)c.Insert(0, 1), std::out_of_range);
    EXPECT_THROW((void)c.Insert(c.Count() + 2, 1), std::out_of_range);
    std::vector<int> order(c.begin(), c.end());
    EXPECT_EQ(order, (std::vector<int>{5, 10, 20, 30, 40}));

    c.Remove("ALPHA");
    c.Remove(1);
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Item(1), 20);
    EXPECT_EQ(c.IndexOf("beta"), 2);
    EXPECT_TRUE(c.Add(11, "alpha"));  // a removed key is free again
    EXPECT_THROW(c.Remove(9), std::out_of_range);
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
}

TEST(ValuesText, Helpers) {
    EXPECT_TRUE(plat::EqualsNoCase("RValue", "rvALUE"));
    EXPECT_FALSE(plat::EqualsNoCase("abc", "abd"));
    EXPECT_FALSE(plat::EqualsNoCase("\xC4", "\xE4"));  // bytes beyond ASCII keep their case
    EXPECT_EQ(plat::ToUpper("aBc1\xE4"), "ABC1\xE4");
    EXPECT_EQ(plat::ToLower("AbC"), "abc");
    EXPECT_EQ(plat::Trim("  a b \t "), "a b \t");
    EXPECT_EQ(plat::Trim("   "), "");
    EXPECT_EQ(plat::TrimLeft("  a "), "a ");
    EXPECT_EQ(plat::TrimRight("  a "), "  a");
    EXPECT_EQ(plat::InStr("abcabc", "c"), 3);
    EXPECT_EQ(plat::InStr("abcabc", "c", 4), 6);
    EXPECT_EQ(plat::InStr("abcabc", "x"), 0);
    EXPECT_EQ(plat::InStr("abc", "", 2), 2);
    EXPECT_EQ(plat::InStr("abc", "c", 9), 0);
    EXPECT_EQ(plat::InStr("", ""), 0);
    EXPECT_EQ(plat::InStr("ab", "abc"), 0);
    EXPECT_EQ(plat::InStrNoCase("xxRVALUE", "rvalue"), 3);
    EXPECT_EQ(plat::Replace("1,2,3", ",", "."), "1.2.3");
    EXPECT_EQ(plat::Replace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(plat::Replace("abc", "", "x"), "abc");
    EXPECT_EQ(plat::ReplaceNoCase("Key=key", "KEY", "k"), "k=k");
    EXPECT_TRUE(plat::StartsWithNoCase("RVALUE50=1", "rvalue"));
    EXPECT_FALSE(plat::StartsWithNoCase("RV", "rvalue"));
}

}  // namespace
