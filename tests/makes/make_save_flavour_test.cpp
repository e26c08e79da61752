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
    EXPECT_EQ(plat::fs::ListFiles(folder_, "*"), std::vector<std::string>{"locked.txt"});
}

// Fails every file replacement at the last step before the rename.
class FailingRename {
public:
    FailingRename() { plat::fs::SetBeforeRenameHookForTests([] { return false; }); }
    ~FailingRename() { plat::fs::SetBeforeRenameHookForTests(nullptr); }
};

TEST_F(MakeSaveTest, FailedWriteKeepsTheOldFile) {
    WriteFile("acme.txt", MakeFileText("Stored", 51));
    auto make = FullMake("Edited");
    auto callers = make;
    {
        FailingRename failing;
        EXPECT_FALSE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
    }
    EXPECT_EQ(makes::ReadMakesFile(Path("acme.txt"))->Name(), "Stored");
    EXPECT_EQ(plat::fs::ListFiles(folder_, "*"), std::vector<std::string>{"acme.txt"});
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
    auto make = FullMake("Edited");
    {
        FailingRename failing;
        EXPECT_FALSE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
    }
    EXPECT_EQ(ReadBytes("acme.txt"), "not a make");
    if constexpr (makes::kPluginBuild) EXPECT_TRUE(make);
    else EXPECT_FALSE(make);
}

TEST_F(MakeSaveTest, FailedWriteWithoutOldFileKeepsTheCallersMake) {
    plat::fs::CreateFolder(folder_);
    auto make = FullMake("Edited");
    auto callers = make;
    {
        FailingRename failing;
        EXPECT_FALSE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
    }
    EXPECT_EQ(make, callers);
    EXPECT_TRUE(plat::fs::ListFiles(folder_, "*").empty());
}

// A link at the make's name is replaced, never written through.
TEST_F(MakeSaveTest, LinkAtTheNameIsNotFollowed) {
    const std::string outside = root_ + "/outside.txt";
    WriteBelowRoot("outside.txt", "keep");
    plat::fs::CreateFolder(folder_);
    ASSERT_EQ(::symlink(outside.c_str(), Path("acme.txt").c_str()), 0);
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

// Names that a suffix on the temporary file would push past the 255-byte
// limit; and an old "<name>_T" of an earlier version is left alone.
TEST_F(MakeSaveTest, LongestNamesAreSavedAndOldTemporaryNamesAreNotTouched) {
    WriteFile("acme.txt_T", "stale");
    for (size_t length : {254u, 255u}) {
        const std::string name = std::string(length - 4, 'n') + ".txt";
        auto make = FullMake("Long " + std::to_string(length));
        ASSERT_TRUE(SaveMakesFile(make, name, makes::kRegistryKey)) << length;
        EXPECT_EQ(makes::ReadMakesFile(Path(name))->Name(), "Long " + std::to_string(length));
    }
    EXPECT_EQ(ReadBytes("acme.txt_T"), "stale");
    EXPECT_EQ(plat::fs::ListFiles(folder_, "*").size(), 3u);
}

TEST_F(MakeSaveTest, NewFilesGetTheModeOfANewFile) {
    const mode_t old = ::umask(027);
    auto make = FullMake("Mode");
    const bool saved = SaveMakesFile(make, "mode.txt", makes::kRegistryKey);
    ::umask(old);
    ASSERT_TRUE(saved);
    struct stat st {};
    ASSERT_EQ(::stat(Path("mode.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

}  // namespace
