#include <gtest/gtest.h>

#include "makes/make_utils.h"
#include "tests/makes/make_fixture.h"

using makes_test::MakeFileText;

namespace {

using MakeListTest = makes_test::MakeFolderTest;

std::vector<std::string> Names(const makes::MakeList& list) {
    std::vector<std::string> names;
    for (const auto& make : list) names.push_back(make->Name());
    return names;
}

TEST_F(MakeListTest, FirstListedMakesComeFirstThenTheOthersInListingOrder) {
    WriteFile("a.txt", MakeFileText("Zeta", 51));
    WriteFile("b.txt", MakeFileText("Nonin", 51));
    WriteFile("c.TXT", MakeFileText("Alpha", 51));
    WriteFile("d.txt", MakeFileText("palco", 51));
    WriteFile(".hidden.txt", MakeFileText("Hidden", 51));
    WriteFile("ro.txt", MakeFileText("ReadOnly", 51));
    ASSERT_TRUE(plat::fs::SetReadOnly(Path("ro.txt"), true));
    WriteFile("default.txt", "[MANUFACTURER]\r\n\r\n[LIGHT]\r\n\r\n[RVALUE]\r\n" + MakeFileText("", 51).substr(MakeFileText("", 0).size()));
    WriteFile("other.dat", MakeFileText("Data", 51));

    auto list = makes::ReadMakes(makes::kRegistryKey);
    ASSERT_TRUE(list);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"Nonin", "palco", "Hidden", "Zeta", "Alpha", "<<Custom oximeter>>", "ReadOnly"}));
    EXPECT_TRUE(list->Exists("ZETA"));
    EXPECT_EQ(list->Item("nonin")->File(), "b.txt");
}

TEST_F(MakeListTest, DuplicateEmptyBuiltInAndInvalidMakesAreSkipped) {
    WriteFile("a.txt", MakeFileText("Acme", 51));
    WriteFile("b.txt", MakeFileText("ACME", 51));
    WriteFile("c.txt", MakeFileText("masimo", 51));
    WriteFile("d.txt", MakeFileText("Ohmeda & Nova", 51));
    WriteFile("e.txt", MakeFileText("", 51));
    WriteFile("f.txt", MakeFileText("Broken", 50));
    WriteFile("g.txt", MakeFileText("NONIN", 51));
    WriteFile("h.txt", MakeFileText("Nonin", 51));

    auto list = makes::ReadMakes(makes::kRegistryKey);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"NONIN", "Acme"}));
    EXPECT_EQ(list->Item("acme")->File(), "a.txt");
    EXPECT_EQ(list->Item("nonin")->File(), "g.txt");
}

// Which of two makes differing only in letter case is kept must not depend on
// the file system: the listing goes by the folded file name.
TEST_F(MakeListTest, LetterCaseOfFileNamesDoesNotDecideWhichMakeIsKept) {
    WriteFile("B.txt", MakeFileText("ACME", 51));
    WriteFile("a.txt", MakeFileText("acme", 51));
    WriteFile("y.txt", MakeFileText("zeta", 51));
    WriteFile("Y.txt", MakeFileText("Zeta", 51));
    auto list = makes::ReadMakes(makes::kRegistryKey);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"acme", "Zeta"}));
    EXPECT_EQ(list->Item("ACME")->File(), "a.txt");
    EXPECT_EQ(list->Item("zeta")->File(), "Y.txt");
}

TEST_F(MakeListTest, MissingFolderIsCreatedAndListsNothing) {
    auto list = makes::ReadMakes(makes::kRegistryKey);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_TRUE(plat::fs::FolderExists(folder_));
}

TEST_F(MakeListTest, SavedMakesAreListed) {
    auto make = makes_test::FullMake("Saved make");
    ASSERT_TRUE(makes::SaveMakesFile(make, "saved.txt", makes::kRegistryKey));
    auto list = makes::ReadMakes(makes::kRegistryKey);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Item(1)->Name(), "Saved make");
    EXPECT_EQ(list->Item(1)->File(), "saved.txt");
}

}  // namespace
