#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/values/collection.h"
#include "platform/values/text.h"

namespace {

// The keyed look-up must answer exactly as a scan of the keys would.
int32_t ScanIndexOf(const plat::Collection<int>& c, std::string_view key) {
    for (int32_t i = 1; i <= c.Count(); ++i)
        if (!c.KeyAt(i).empty() && plat::EqualsNoCase(c.KeyAt(i), key)) return i;
    return 0;
}

TEST(ValuesCollectionIndex, CopiesKeepTheirOwnIndex) {
    plat::Collection<int> a;
    ASSERT_TRUE(a.Add(1, "one"));
    ASSERT_TRUE(a.Add(2, "two"));
    plat::Collection<int> b = a;
    a.Remove("one");
    ASSERT_TRUE(a.Add(3, "three"));
    EXPECT_EQ(b.IndexOf("ONE"), 1);
    EXPECT_EQ(b.IndexOf("TWO"), 2);
    EXPECT_FALSE(b.Exists("three"));
    EXPECT_EQ(a.IndexOf("Two"), 1);
    EXPECT_EQ(a.IndexOf("three"), 2);

    b = a;
    EXPECT_FALSE(b.Exists("one"));
    EXPECT_EQ(b.Item("THREE"), 3);
    plat::Collection<int> moved = std::move(b);
    EXPECT_EQ(moved.Item("two"), 2);
    a.Clear();
    EXPECT_FALSE(a.Exists("two"));
    EXPECT_TRUE(a.Add(4, "two"));
}

TEST(ValuesCollectionIndex, OnlyAsciiLettersAreFolded) {
    plat::Collection<int> c;
    ASSERT_TRUE(c.Add(1, "\xC3\xA4"));       // a-umlaut
    EXPECT_TRUE(c.Add(2, "\xC3\x84"));       // A-umlaut: another key
    EXPECT_FALSE(c.Add(3, "\xC3\xA4"));
    ASSERT_TRUE(c.Add(4, std::string("a\0b", 3)));
    EXPECT_FALSE(c.Exists("a"));
    EXPECT_EQ(c.IndexOf(std::string("A\0B", 3)), 3);
    EXPECT_TRUE(c.Add(5, "[x]"));
    EXPECT_TRUE(c.Add(6, "{X}"));  // '[' and '{' differ by the case bit, but are no letters
}

TEST(ValuesCollectionIndex, RandomEditsAgreeWithAScan) {
    std::mt19937 random(7);
    plat::Collection<int> c;
    const std::vector<std::string> keys = {"", "a", "A", "b", "Bc", "bC", "make", "MAKE", "z", "Zz"};
    for (int step = 0; step < 3000; ++step) {
        const std::string& key = keys[random() % keys.size()];
        switch (random() % 4) {
            case 0: {
                bool free = key.empty() || ScanIndexOf(c, key) == 0;
                EXPECT_EQ(c.Add(step, key), free);
                break;
            }
            case 1: {
                int32_t before = 1 + static_cast<int32_t>(random() % (c.Count() + 1));
                bool free = key.empty() || ScanIndexOf(c, key) == 0;
                EXPECT_EQ(c.Insert(before, step, key), free);
                break;
            }
            case 2:
                if (c.Count() > 0) c.Remove(1 + static_cast<int32_t>(random() % c.Count()));
                break;
            default:
                if (!key.empty() && c.Exists(key)) c.Remove(key);
                break;
        }
        for (const std::string& k : keys) ASSERT_EQ(c.IndexOf(k), ScanIndexOf(c, k)) << "step " << step << " key " << k;
    }
}

}  // namespace
