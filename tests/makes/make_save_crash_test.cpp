// Saves that die half-way and saves that race: the make folder must always
// hold whole makes, and nothing else may be listed as one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "makes/make_utils.h"
#include "tests/makes/make_fixture.h"

using makes::SaveMakesFile;
using makes_test::FullMake;
using makes_test::MakeFileText;

namespace {

using MakeSaveCrashTest = makes_test::MakeFolderTest;

// Runs `body` in a child process; its exit status (or the signal that ended it).
template <class Body>
int InChild(Body body) {
    pid_t pid = ::fork();
    if (pid == 0) {
        int code = 1;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

TEST_F(MakeSaveCrashTest, SaveKilledBeforeTheRenameLeavesTheOldFile) {
    WriteFile("acme.txt", MakeFileText("Old", 51));
    const int status = InChild([] {
        plat::fs::SetBeforeRenameHookForTests([] {
            ::raise(SIGKILL);
            return true;
        });
        auto make = FullMake("New");
        (void)SaveMakesFile(make, "acme.txt", makes::kRegistryKey);
        return 0;
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);

    EXPECT_EQ(ReadBytes("acme.txt"), MakeFileText("Old", 51));
    // The dead save's temporary file is still there, but no listing of makes shows it.
    EXPECT_EQ(plat::fs::ListFiles(folder_, ".orvik-tmp-??????").size(), 1u);
    EXPECT_EQ(plat::fs::ListFiles(folder_, makes::GetMakesExtensionPattern()), std::vector<std::string>{"acme.txt"});
    auto list = makes::ReadMakes(makes::kRegistryKey);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Item(1)->Name(), "Old");

    // Another program's temporary file of the common shape is not ours to remove.
    WriteFile(".tmp-a1B2c3", "another program's");
    auto make = FullMake("Later");
    ASSERT_TRUE(SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
    EXPECT_EQ(makes::ReadMakesFile(Path("acme.txt"))->Name(), "Later");
    EXPECT_EQ(plat::fs::ListFiles(folder_, "*"), (std::vector<std::string>{".tmp-a1B2c3", "acme.txt"}))
        << "the next save removes the dead save's temporary file, and only that";
}

// Two programs saving one make at once (the editor and the plug-in) while a
// third reads it.
TEST_F(MakeSaveCrashTest, ConcurrentSavesAllSucceedAndReadersSeeWholeMakes) {
    auto first = FullMake("Writer 0");
    ASSERT_TRUE(SaveMakesFile(first, "shared.txt", makes::kRegistryKey));
    constexpr int kSaves = 60;
    std::vector<pid_t> writers;
    for (int w = 0; w < 2; ++w) {
        pid_t pid = ::fork();
        if (pid == 0) {
            int failures = 0;
            for (int i = 0; i < kSaves; ++i) {
                auto make = FullMake("Writer " + std::to_string(w + 1));
                if (!SaveMakesFile(make, "shared.txt", makes::kRegistryKey)) ++failures;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
        writers.push_back(pid);
    }
    int invalidReads = 0;
    for (int i = 0; i < 200; ++i) {
        auto make = makes::ReadMakesFile(Path("shared.txt"));
        if (!make || make->Name().rfind("Writer ", 0) != 0) ++invalidReads;
    }
    for (pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save reported failure";
    }
    EXPECT_EQ(invalidReads, 0);
    EXPECT_EQ(plat::fs::ListFiles(folder_, "*"), std::vector<std::string>{"shared.txt"});
}

}  // namespace
