// The two builds of the library save differently; each test program checks
// the build it links.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "makes/make_utils.h"
#include "tests/makes/make_fixture.h"

using makes::SaveMakesFile;
using makes_test::FullMake;
using makes_test::MakeFileText;

namespace {

using MakeSaveTest = makes_test::MakeFolderTest;

TEST_F(MakeSaveTest, ReplacesAnExistingFileWithoutLeavingTheTemporaryFile) {
    WriteFile("acme.txt", MakeFileText("Old", 51));
    auto make = FullMake("New");
    ASSERT_TRUE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
    EXPECT_EQ(makes::ReadMakesFile(Path("acme.txt"))->Name(), "New");
    EXPECT_EQ(plat::fs::ListFiles(folder_, "*"), std::vector<std::string>{"acme.txt"});
}

TEST_F(MakeSaveTest, ReadOnlyTarget) {
    WriteFile("locked.txt", MakeFileText("Old", 51));
    ASSERT_TRUE(plat::fs::SetReadOnly(Path("locked.txt"), true));
    auto make = FullMake("New");
    bool saved = SaveMakesFile(make, "locked.txt", makes::kRegistryKey);
    if constexpr (makes::kPluginBuild) {
        EXPECT_FALSE(saved);
        EXPECT_EQ(makes::ReadMakesFile(Path("locked.txt"))->Name(), "Old");
        EXPECT_TRUE(plat::fs::IsReadOnly(Path("locked.txt")));
        EXPECT_EQ(make->Name(), "New");
    } else {
        EXPECT_TRUE(saved);
        EXPECT_EQ(makes::ReadMakesFile(Path("locked.txt"))->Name(), "New");
        EXPECT_FALSE(plat::fs::IsReadOnly(Path("locked.txt")));
    }
    EXPECT_FALSE(plat::fs::FileExists(Path("locked.txt_T")));
}

// A folder in the way of the temporary file makes the write fail.
TEST_F(MakeSaveTest, FailedWriteKeepsTheOldFile) {
    WriteFile("acme.txt", MakeFileText("Stored", 51));
    ASSERT_TRUE(plat::fs::CreateFolder(Path("acme.txt_T")));
    auto make = FullMake("Edited");
    auto callers = make;
    EXPECT_FALSE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
    EXPECT_EQ(makes::ReadMakesFile(Path("acme.txt"))->Name(), "Stored");
    ASSERT_TRUE(make);
    if constexpr (makes::kPluginBuild) {
        EXPECT_EQ(make, callers);
    } else {
        // Roll-back: the caller now holds what the make folder holds.
        EXPECT_NE(make, callers);
        EXPECT_EQ(make->Name(), "Stored");
        EXPECT_EQ(make->File(), "acme.txt");
    }
}

TEST_F(MakeSaveTest, FailedWriteOverAnInvalidFile) {
    WriteFile("acme.txt", "not a make");
    ASSERT_TRUE(plat::fs::CreateFolder(Path("acme.txt_T")));
    auto make = FullMake("Edited");
    EXPECT_FALSE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
    EXPECT_EQ(ReadBytes("acme.txt"), "not a make");
    if constexpr (makes::kPluginBuild) EXPECT_TRUE(make);
    else EXPECT_FALSE(make);
}

TEST_F(MakeSaveTest, FailedWriteWithoutOldFileKeepsTheCallersMake) {
    ASSERT_TRUE(plat::fs::CreateFolder(Path("acme.txt_T")));
    auto make = FullMake("Edited");
    auto callers = make;
    EXPECT_FALSE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
    EXPECT_EQ(make, callers);
    EXPECT_FALSE(plat::fs::FileExists(Path("acme.txt")));
}

// A link left under the temporary name is replaced, never written through.
TEST_F(MakeSaveTest, LinkUnderTheTemporaryNameIsNotFollowed) {
    const std::string outside = root_ + "/outside.txt";
    WriteBelowRoot("outside.txt", "keep");
    plat::fs::CreateFolder(folder_);
    ASSERT_EQ(::symlink(outside.c_str(), Path("acme.txt_T").c_str()), 0);
    auto make = FullMake("Linked");
    ASSERT_TRUE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
    std::string kept;
    ASSERT_TRUE(plat::fs::ReadFile(outside, kept));
    EXPECT_EQ(kept, "keep");
    struct stat st {};
    ASSERT_EQ(::lstat(Path("acme.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(makes::ReadMakesFile(Path("acme.txt"))->Name(), "Linked");
}

TEST_F(MakeSaveTest, StaleTemporaryFileIsOverwritten) {
    WriteFile("acme.txt_T", "stale");
    auto make = FullMake("Fresh");
    ASSERT_TRUE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
    EXPECT_EQ(makes::ReadMakesFile(Path("acme.txt"))->Name(), "Fresh");
    EXPECT_FALSE(plat::fs::FileExists(Path("acme.txt_T")));
}

}  // namespace
