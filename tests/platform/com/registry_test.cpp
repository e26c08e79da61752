#include "platform/com/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "platform/com/fs.h"
#include "tests/support/temp_dir.h"

using plat::Hive;
using plat::Registry;
using plat::RegistryError;

namespace {

const char* const kKey = "Software\\Velam\\Orvik\\Pelmo2";

std::string Slurp(const std::string& path) {
    std::string bytes;
    plat::fs::ReadFile(path, bytes);
    return bytes;
}

class RegistryTest : public ::testing::Test {
protected:
    std::string File() const { return dir_.File("registry.reg"); }
    test_support::TempDir dir_;
};

TEST_F(RegistryTest, WritesPersistInTheRegExportLayout) {
    Registry reg(File());
    reg.WriteValue(Hive::LocalMachine, kKey, "Path", "/home/bench/makes/");
    reg.WriteValue(Hive::LocalMachine, kKey, "", "unnamed value");
    reg.WriteValue(Hive::LocalMachine, std::string(kKey) + "\\MtiData", "Type", "Q5");
    reg.WriteValue(Hive::LocalMachine, kKey, "Path", "/srv/makes/");  // replaced in place

    EXPECT_EQ(Slurp(File()),
              "Windows Registry Editor Version 5.00\n\n"
              "[HKEY_LOCAL_MACHINE\\Software]\n\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Velam]\n\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Velam\\Orvik]\n\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Velam\\Orvik\\Pelmo2]\n"
              "\"Path\"=\"/srv/makes/\"\n"
              "@=\"unnamed value\"\n\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Velam\\Orvik\\Pelmo2\\MtiData]\n"
              "\"Type\"=\"Q5\"\n\n");

    Registry other(File());
    EXPECT_EQ(other.ReadValue(Hive::LocalMachine, kKey, "Path"), "/srv/makes/");
    EXPECT_EQ(other.ReadValue(Hive::LocalMachine, kKey, ""), "unnamed value");
    EXPECT_EQ(other.ValueNames(Hive::LocalMachine, kKey), (std::vector<std::string>{"Path", ""}));
    EXPECT_EQ(other.SubKeys(Hive::LocalMachine, kKey), (std::vector<std::string>{"MtiData"}));
    EXPECT_EQ(other.ReadValue(Hive::CurrentUser, kKey, "Path"), "") << "hives are apart";
}

TEST_F(RegistryTest, QuotesAndBackslashesAreEscapedAndReadBack) {
    Registry reg(File());
    const std::string tricky = "C:\\makes\\\"new\"\\";
    const std::string lines = "one\ntwo\r\n";
    reg.WriteValue(Hive::LocalMachine, kKey, "Say \"hi\"", tricky);
    reg.WriteValue(Hive::LocalMachine, kKey, "Lines", lines);

    std::string file = Slurp(File());
    EXPECT_NE(file.find("\"Say \\\"hi\\\"\"=\"C:\\\\makes\\\\\\\"new\\\"\\\\\"\n"), std::string::npos) << file;
    Registry other(File());
    EXPECT_EQ(other.ReadValue(Hive::LocalMachine, kKey, "Say \"hi\""), tricky);
    EXPECT_EQ(other.ReadValue(Hive::LocalMachine, kKey, "Lines"), lines);

    EXPECT_THROW(reg.WriteValue(Hive::LocalMachine, "Bad\nKey", "A", "1"), RegistryError);
    EXPECT_EQ(Slurp(File()), file) << "a refused write leaves the file alone";
}

TEST_F(RegistryTest, KeysAndValueNamesIgnoreCaseAndKeepTheirFirstSpelling) {
    Registry reg(File());
    reg.WriteValue(Hive::LocalMachine, "Software\\Velam", "Path", "a");
    reg.WriteValue(Hive::LocalMachine, "SOFTWARE\\velam\\Sub", "PATH", "b");
    reg.WriteValue(Hive::LocalMachine, "software\\VELAM", "path", "c");

    EXPECT_EQ(reg.ReadValue(Hive::LocalMachine, "sOfTwArE\\VeLaM", "pAtH"), "c");
    EXPECT_EQ(reg.ValueNames(Hive::LocalMachine, "Software\\Velam"), (std::vector<std::string>{"Path"}));
    EXPECT_EQ(reg.SubKeys(Hive::LocalMachine, "software"), (std::vector<std::string>{"Velam"}));
    EXPECT_NE(Slurp(File()).find("[HKEY_LOCAL_MACHINE\\Software\\Velam\\Sub]\n\"PATH\"=\"b\""), std::string::npos);
    EXPECT_TRUE(reg.KeyExists(Hive::LocalMachine, "\\software\\velam\\sub\\"));
}

TEST_F(RegistryTest, MissingFileKeyOrValueReadsEmptyAndCreatesNothing) {
    std::string nested = dir_.File("new/folder/registry.reg");
    Registry reg(nested);
    EXPECT_EQ(reg.ReadValue(Hive::LocalMachine, kKey, "Path"), "");
    EXPECT_FALSE(reg.KeyExists(Hive::LocalMachine, kKey));
    EXPECT_FALSE(reg.ValueExists(Hive::LocalMachine, kKey, "Path"));
    EXPECT_TRUE(reg.SubKeys(Hive::LocalMachine, kKey).empty());
    EXPECT_FALSE(plat::fs::FolderExists(dir_.File("new")));

    reg.CreateKey(Hive::LocalMachine, kKey);  // the first write makes folder and file
    EXPECT_TRUE(reg.KeyExists(Hive::LocalMachine, kKey));
    EXPECT_FALSE(reg.ValueExists(Hive::LocalMachine, kKey, "Path"));
    EXPECT_EQ(reg.ReadValue(Hive::LocalMachine, kKey, "Path"), "");
    EXPECT_TRUE(plat::fs::FileExists(nested));
}

TEST_F(RegistryTest, DeletesRemoveValuesAndWholeSubtrees) {
    Registry reg(File());
    reg.WriteValue(Hive::ClassesRoot, "A.B\\InprocServer32", "", "/lib/a.so");
    reg.WriteValue(Hive::ClassesRoot, "A.B\\Other", "x", "1");
    reg.WriteValue(Hive::ClassesRoot, "A.BC", "", "keep");
    reg.DeleteValue(Hive::ClassesRoot, "A.B\\Other", "X");
    EXPECT_FALSE(reg.ValueExists(Hive::ClassesRoot, "A.B\\Other", "x"));
    reg.DeleteKey(Hive::ClassesRoot, "a.b");
    EXPECT_FALSE(reg.KeyExists(Hive::ClassesRoot, "A.B\\InprocServer32"));
    EXPECT_FALSE(reg.KeyExists(Hive::ClassesRoot, "A.B"));
    EXPECT_EQ(reg.ReadValue(Hive::ClassesRoot, "A.BC", ""), "keep") << "a name sharing the prefix stays";
    EXPECT_THROW(reg.DeleteKey(Hive::ClassesRoot, ""), RegistryError);
}

TEST_F(RegistryTest, CorruptFileIsReportedWithFileAndLineAndLeftUntouched) {
    const std::pair<const char*, const char*> cases[] = {
        {"REGEDIT4\n", "line 1"},
        {"Windows Registry Editor Version 5.00\n\n\"Path\"=\"x\"\n", "line 3"},
        {"Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software]\n\"N\"=dword:00000001\n", "line 4"},
        {"Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software]\n\"N\"=\"open\n", "line 3"},
        {"Windows Registry Editor Version 5.00\n[HKEY_NOWHERE\\Software]\n", "line 2"},
        {"Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\n", "line 2"},
    };
    for (const auto& [content, where] : cases) {
        SCOPED_TRACE(content);
        std::ofstream(File(), std::ios::binary | std::ios::trunc) << content;
        Registry reg(File());
        try {
            reg.ReadValue(Hive::LocalMachine, "Software", "N");
            ADD_FAILURE() << "no error on read";
        } catch (const RegistryError& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + File() + "\""), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(where), std::string::npos) << e.what();
        }
        EXPECT_THROW(reg.WriteValue(Hive::LocalMachine, "Software", "N", "2"), RegistryError);
        EXPECT_EQ(Slurp(File()), content);
    }
}

TEST_F(RegistryTest, AcceptsWindowsLineEndsAndComments) {
    std::ofstream(File(), std::ios::binary) << "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                                               "; made by hand\r\n  [HKEY_CURRENT_USER\\Software\\X] \r\n"
                                               "\t\"A\"=\"1\"\r\n";
    EXPECT_EQ(Registry(File()).ReadValue(Hive::CurrentUser, "Software\\X", "A"), "1");
}

TEST_F(RegistryTest, SecondInstanceAndOtherProcessesSeeEveryWrite) {
    Registry first(File());
    Registry second(File());
    first.WriteValue(Hive::LocalMachine, kKey, "Path", "one");
    EXPECT_EQ(second.ReadValue(Hive::LocalMachine, kKey, "Path"), "one");
    second.WriteValue(Hive::LocalMachine, kKey, "Path", "two");
    EXPECT_EQ(first.ReadValue(Hive::LocalMachine, kKey, "Path"), "two");

    // Concurrent read-modify-writes from several processes lose nothing.
    constexpr int kProcesses = 4, kWrites = 20;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int rc = 0;
            try {
                Registry reg(File());
                for (int i = 0; i < kWrites; ++i)
                    reg.WriteValue(Hive::LocalMachine, kKey, "V" + std::to_string(p) + "_" + std::to_string(i), "x");
            } catch (...) {
                rc = 1;
            }
            ::_exit(rc);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(first.ValueNames(Hive::LocalMachine, kKey).size(), 1u + kProcesses * kWrites);
    EXPECT_EQ(plat::fs::ListFiles(dir_.Path(), "*"), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}))
        << "no temporary file is left behind";
}

// Whatever lies at the lock's name, a write neither goes through a link nor waits on a FIFO.
TEST_F(RegistryTest, ALockNameThatIsNoRegularFileFailsAWriteAtOnce) {
    Registry reg(File());
    const std::string lock = File() + ".lock", target = dir_.File("target");
    ASSERT_EQ(::symlink(target.c_str(), lock.c_str()), 0);
    try {
        reg.WriteValue(Hive::LocalMachine, kKey, "Path", "x");
        ADD_FAILURE() << "written through a link";
    } catch (const RegistryError& e) {
        EXPECT_NE(std::string(e.what()).find("\"" + lock + "\" cannot be opened: it is a link"), std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(plat::fs::FileExists(target));
    ASSERT_EQ(::unlink(lock.c_str()), 0);
    ASSERT_EQ(::mkfifo(lock.c_str(), 0400), 0);  // a user other than root falls back to read-only
    EXPECT_THROW(reg.WriteValue(Hive::LocalMachine, kKey, "Path", "x"), RegistryError);
}

TEST(RegistryPath, ComesFromTheEnvironment) {
    struct Saved {
        const char* name;
        std::string value;
        bool set;
    };
    std::vector<Saved> saved;
    for (const char* name : {"ORVIK_REGISTRY_FILE", "XDG_CONFIG_HOME", "HOME"}) {
        const char* v = ::getenv(name);
        saved.push_back({name, v ? v : "", v != nullptr});
    }
    ::setenv("ORVIK_REGISTRY_FILE", "/tmp/x/reg.reg", 1);
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    ::setenv("HOME", "/home/bench", 1);
    EXPECT_EQ(Registry::DefaultFilePath(), "/tmp/x/reg.reg");
    ::unsetenv("ORVIK_REGISTRY_FILE");
    EXPECT_EQ(Registry::DefaultFilePath(), "/cfg/orvik/registry.reg");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(Registry::DefaultFilePath(), "/home/bench/.config/orvik/registry.reg");
    for (const auto& s : saved) {
        if (s.set) ::setenv(s.name, s.value.c_str(), 1);
        else ::unsetenv(s.name);
    }
}

TEST(RegistryPath, UseFileRedirectsTheProcessRegistry) {
    test_support::TempDir dir;
    Registry& reg = Registry::Instance();
    Registry::UseFile(dir.File("a.reg"));
    EXPECT_EQ(&Registry::Instance(), &reg);
    EXPECT_EQ(reg.FilePath(), dir.File("a.reg"));
    reg.WriteValue(Hive::CurrentUser, "K", "v", "1");
    EXPECT_EQ(Registry(dir.File("a.reg")).ReadValue(Hive::CurrentUser, "k", "V"), "1");
    EXPECT_EQ(plat::HiveName(Hive::ClassesRoot), "HKEY_CLASSES_ROOT");
}

}  // namespace
