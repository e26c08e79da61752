#include "platform/com/fs.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/temp_dir.h"

namespace fs = plat::fs;

namespace {

std::string Slurp(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(fs::ReadFile(path, bytes)) << path;
    return bytes;
}

TEST(Fs, ListFilesMatchesPatternsWithoutRegardToCase) {
    test_support::TempDir dir;
    for (const char* name : {"a.txt", "B.TXT", "c.Txt", "d.txt.bak", ".hidden.txt", "e.tx", "notes"})
        ASSERT_TRUE(fs::WriteFileAtomic(dir.File(name), "x"));
    ASSERT_TRUE(fs::CreateFolder(dir.File("folder.txt")));

    EXPECT_EQ(fs::ListFiles(dir.Path(), "*.txt"), (std::vector<std::string>{".hidden.txt", "a.txt", "B.TXT", "c.Txt"}));
    EXPECT_EQ(fs::ListFiles(dir.Path(), "?.T*"),
              (std::vector<std::string>{"a.txt", "B.TXT", "c.Txt", "d.txt.bak", "e.tx"}));
    EXPECT_EQ(fs::ListFiles(dir.Path(), "*").size(), 7u) << "folders are not listed";
    EXPECT_EQ(fs::ListFiles(dir.Path() + "/", "NOTES"), (std::vector<std::string>{"notes"}));
    EXPECT_TRUE(fs::ListFiles(dir.File("missing"), "*").empty());
}

// Folded to upper case, so '_' (0x5F) sorts after every letter and bytes
// decide only between names that fold alike.
TEST(Fs, ListingOrderIgnoresLetterCaseThenTakesBytes) {
    test_support::TempDir dir;
    for (const char* name : {"x.txt", "X.txt", "a_b.txt", "ab.txt", "AB.txt", "Z.txt", "\xC3\xA9.txt", "a.txt"})
        ASSERT_TRUE(fs::WriteFileAtomic(dir.File(name), "x"));
    EXPECT_EQ(fs::ListFiles(dir.Path(), "*"), (std::vector<std::string>{"a.txt", "AB.txt", "ab.txt", "a_b.txt", "X.txt",
                                                                         "x.txt", "Z.txt", "\xC3\xA9.txt"}));
}

TEST(Fs, ReplaceFileReplacesTheEntryAndReportsFailures) {
    test_support::TempDir dir;
    const std::string target = dir.File("t.txt");
    const std::string other = dir.File("other.txt");
    ASSERT_TRUE(fs::WriteFileAtomic(other, "other"));
    ASSERT_EQ(::symlink(other.c_str(), target.c_str()), 0);
    std::string error;
    ASSERT_TRUE(fs::ReplaceFile(target, "new", 0600, &error)) << error;
    EXPECT_EQ(Slurp(other), "other") << "a link is replaced, not written through";
    EXPECT_EQ(Slurp(target), "new");
    struct stat st {};
    ASSERT_EQ(::lstat(target.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    ASSERT_TRUE(fs::CreateFolder(dir.File("sub")));
    EXPECT_FALSE(fs::ReplaceFile(dir.File("sub"), "x", 0644, &error));
    EXPECT_NE(error.find("sub"), std::string::npos) << error;
    EXPECT_FALSE(fs::ReplaceFile(dir.File("missing/x.txt"), "x", 0644, &error));

    fs::SetBeforeRenameHookForTests([] { return false; });
    EXPECT_FALSE(fs::ReplaceFile(target, "lost", 0644, &error));
    fs::SetBeforeRenameHookForTests(nullptr);
    EXPECT_EQ(Slurp(target), "new");
    EXPECT_EQ(fs::ListFiles(dir.Path(), "*"), (std::vector<std::string>{"other.txt", "t.txt"}));
}

// Every entry of the folder, whatever it is.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// A save touches its own file only: every other entry of the folder stays,
// an abandoned temporary file of ours among them. The cleaning of a folder of
// ours removes a temporary file of ours whose writer is gone; one a writer
// still holds (its flock) stays, and so does every entry that is not a
// regular file of exactly that name shape (another program's ".tmp-" file).
TEST(Fs, OnlyTheCleaningRemovesTemporaryFilesAndOnlyOursWhoseWriterIsGone) {
    test_support::TempDir dir;
    dir.Write(".orvik-tmp-Ab3xY9", "left by a killed save");
    const std::string held = dir.Write(".orvik-tmp-LIVE01", "being written");
    // A lock of an open file description of its own: to the save, a writer in
    // another process.
    const int writer = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    for (const char* name : {".orvik-tmp-abcde", ".orvik-tmp-abcdefg", ".orvik-tmp-ab-def", ".orvik-tmp-ab.def",
                             ".ORVIK-TMP-abcdef", "orvik-tmp-abcdef", ".orvik-tmp-abcdef.txt", ".tmp-a1B2c3",
                             ".hidden"})
        dir.Write(name, "other");
    ASSERT_TRUE(fs::CreateFolder(dir.File(".orvik-tmp-folder")));
    dir.Write("target.txt", "linked");
    ASSERT_EQ(::symlink(dir.File("target.txt").c_str(), dir.File(".orvik-tmp-link01").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.File(".orvik-tmp-fifo01").c_str(), 0600), 0);
    std::vector<std::string> kept = Entries(dir.Path());
    kept.push_back("m.txt");
    std::sort(kept.begin(), kept.end());

    ASSERT_TRUE(fs::WriteFileAtomic(dir.File("m.txt"), "saved"));
    EXPECT_EQ(Entries(dir.Path()), kept) << "a save cleans nothing";
    fs::RemoveAbandonedTemporaryFiles(dir.Path());
    kept.erase(std::find(kept.begin(), kept.end(), ".orvik-tmp-Ab3xY9"));
    EXPECT_EQ(Entries(dir.Path()), kept);
    EXPECT_EQ(Slurp(held), "being written");
    EXPECT_EQ(Slurp(dir.File("target.txt")), "linked");

    ::close(writer);
    fs::RemoveAbandonedTemporaryFiles(dir.Path() + "/");
    kept.erase(std::find(kept.begin(), kept.end(), ".orvik-tmp-LIVE01"));
    EXPECT_EQ(Entries(dir.Path()), kept) << "the writer is gone now";

    // Another save's cleaner may take a new temporary file for an abandoned one
    // before its writer has locked it: the writer then makes another.
    int created = 0;
    fs::SetBeforeLockHookForTests([&](const std::string& temp) {
        if (++created == 1) ::unlink(temp.c_str());
    });
    std::string error;
    EXPECT_TRUE(fs::ReplaceFile(dir.File("m.txt"), "third", 0644, &error)) << error;
    fs::SetBeforeLockHookForTests(nullptr);
    EXPECT_EQ(created, 2);
    EXPECT_EQ(Slurp(dir.File("m.txt")), "third");
    EXPECT_EQ(Entries(dir.Path()), kept);
}

TEST(Fs, ReadOnlyIsTheOwnerWriteBitAndHiddenALeadingDot) {
    test_support::TempDir dir;
    std::string file = dir.File("make.txt");
    ASSERT_TRUE(fs::WriteFileAtomic(file, "old"));
    EXPECT_FALSE(fs::IsReadOnly(file));

    ASSERT_TRUE(fs::SetReadOnly(file, true));
    EXPECT_TRUE(fs::IsReadOnly(file));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0222, 0u);
    EXPECT_FALSE(fs::WriteFileAtomic(file, "new")) << "a read-only file is not replaced";
    EXPECT_EQ(Slurp(file), "old");

    ASSERT_TRUE(fs::SetReadOnly(file, false));
    EXPECT_FALSE(fs::IsReadOnly(file));
    EXPECT_TRUE(fs::WriteFileAtomic(file, "new"));
    EXPECT_FALSE(fs::SetReadOnly(dir.File("missing"), true));

    EXPECT_TRUE(fs::IsHidden(dir.File(".make.txt")));
    EXPECT_TRUE(fs::IsHidden(".x"));
    EXPECT_FALSE(fs::IsHidden(file));
    EXPECT_FALSE(fs::IsHidden("/a/.b/c"));
}

TEST(Fs, WriteFileAtomicReplacesWholeFilesAndLeavesNoTemporaryFile) {
    test_support::TempDir dir;
    std::string file = dir.File("m.txt");
    ASSERT_TRUE(fs::WriteFileAtomic(file, std::string("a\0b", 3)));
    EXPECT_EQ(Slurp(file), std::string("a\0b", 3));
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(fs::WriteFileAtomic(file, ""));
    EXPECT_EQ(Slurp(file), "");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the replaced file keeps its mode";
    EXPECT_EQ(fs::ListFiles(dir.Path(), "*"), (std::vector<std::string>{"m.txt"}));

    // Through a link the file it names is replaced and the link stays.
    ASSERT_EQ(::symlink(file.c_str(), (dir.File("link.txt")).c_str()), 0);
    ASSERT_TRUE(fs::WriteFileAtomic(dir.File("link.txt"), "via link"));
    EXPECT_EQ(Slurp(file), "via link");
    struct stat lst {};
    ASSERT_EQ(::lstat((dir.File("link.txt")).c_str(), &lst), 0);
    EXPECT_TRUE(S_ISLNK(lst.st_mode));

    EXPECT_FALSE(fs::WriteFileAtomic(dir.File("no/such/folder.txt"), "x"));
    EXPECT_FALSE(fs::WriteFileAtomic(dir.Path(), "x")) << "a folder is no file";
    std::string bytes = "kept";
    EXPECT_FALSE(fs::ReadFile(dir.File("missing.txt"), bytes));
    EXPECT_FALSE(fs::ReadFile(dir.Path(), bytes));
    EXPECT_EQ(bytes, "kept");
}

TEST(Fs, FoldersRenameAndDelete) {
    test_support::TempDir dir;
    std::string deep = dir.File("a/b/c");
    EXPECT_TRUE(fs::CreateFolder(deep));
    EXPECT_TRUE(fs::CreateFolder(deep + "/"));
    EXPECT_TRUE(fs::FolderExists(deep));
    EXPECT_FALSE(fs::FileExists(deep));

    ASSERT_TRUE(fs::WriteFileAtomic(dir.File("x"), "x"));
    ASSERT_TRUE(fs::WriteFileAtomic(dir.File("y"), "y"));
    EXPECT_FALSE(fs::CreateFolder(dir.File("x/sub"))) << "a file is in the way";
    EXPECT_TRUE(fs::RenameFile(dir.File("x"), dir.File("y")));
    EXPECT_EQ(Slurp(dir.File("y")), "x");
    EXPECT_FALSE(fs::FileExists(dir.File("x")));
    EXPECT_FALSE(fs::RenameFile(dir.File("x"), dir.File("z")));
    EXPECT_TRUE(fs::DeleteFile(dir.File("y")));
    EXPECT_FALSE(fs::DeleteFile(dir.File("y")));
}

TEST(Fs, PathHelpers) {
    EXPECT_EQ(fs::AddSeparator("a/b"), "a/b/");
    EXPECT_EQ(fs::AddSeparator("a/b/"), "a/b/");
    EXPECT_EQ(fs::AddSeparator(""), "");
    EXPECT_EQ(fs::FileName("/x/y/make.txt"), "make.txt");
    EXPECT_EQ(fs::FileName("make.txt"), "make.txt");
    EXPECT_EQ(fs::FileName("/x/"), "");
    EXPECT_EQ(fs::FolderOf("/x/y/make.txt"), "/x/y/");
    EXPECT_EQ(fs::FolderOf("make.txt"), "");
    EXPECT_EQ(fs::Join("/x", "m.txt"), "/x/m.txt");
    EXPECT_EQ(fs::Join("/x/", "m.txt"), "/x/m.txt");
    EXPECT_EQ(fs::Join("", "m.txt"), "m.txt");
}

}  // namespace
