// The program's start: one instance, the driver made creatable, the checks of
// the light values and the grid, the language setting.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>

#include "driver/vti_interface.h"
#include "editor/driver_registration.h"
#include "editor/load_language.h"
#include "editor/main_mod.h"
#include "editor/single_instance_lock.h"
#include "host/host_application.h"
#include "host/language_service.h"
#include "platform/com/registry.h"
#include "platform/ui/window_identity.h"
#include "tests/editor/editor_fixture.h"
#include "tests/support/saved_variable.h"

namespace editor_test {
namespace {

class StartTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (runtime) savedRuntime_ = runtime;
        hadRuntime_ = runtime != nullptr;
        ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
    }
    void TearDown() override {
        if (hadRuntime_) ::setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1);
        else ::unsetenv("XDG_RUNTIME_DIR");
        EditorTest::TearDown();
    }
    std::string savedRuntime_;
    bool hadRuntime_ = false;
};

TEST_F(StartTest, ASecondStartEndsAtOnceAndTheFirstKeepsRunning) {
    const std::string temp = root_ + "/tmp";  // the fixed place's, not the machine's
    std::filesystem::create_directories(temp);
    const auto lock = [&] { return std::make_unique<editor::SingleInstanceLock>(editor::MainMod::kApplicationTitle, temp); };
    const auto start = [&](const std::function<void()>& prepare) { return editor::MainMod::Main(root_, prepare, temp); };
    auto first = lock();
    ASSERT_TRUE(first->Acquire());
    EXPECT_EQ(first->Path(), root_ + "/Tamblin.lock");
    bool prepared = false;
    EXPECT_EQ(start([&] { prepared = true; }), 0);
    EXPECT_FALSE(prepared);
    EXPECT_EQ(plat::ui::FindForm("frmCustomRcurve"), nullptr);
    // Nor does one without the runtime folder (a shell after su - user), nor the other way round.
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(start([] { throw std::logic_error("ran without the runtime folder"); }), 0);
    first->Release();
    ASSERT_TRUE(first->Acquire());
    ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
    EXPECT_EQ(start([] { throw std::logic_error("ran with the runtime folder"); }), 0);
    EXPECT_TRUE(first->Held());

    // Once the first copy is gone, a start runs until its window closes, and then lets go.
    first->Release();
    ScriptedOperator op;
    op.Do("frmCustomRcurve", "running", [&](plat::ui::Form&) { EXPECT_FALSE(lock()->Acquire()); })
        .Click("frmCustomRcurve", "cmdClose");
    // It names its windows as its menu entry does, so that a task bar groups them under it.
    plat::ui::WindowIdentity named;
    EXPECT_EQ(start([&] {
                  prepared = true;
                  named = plat::ui::WindowIdentity::Current();
              }),
              0);
    EXPECT_TRUE(prepared);
    EXPECT_EQ(plat::ui::FindForm("frmCustomRcurve"), nullptr);
    EXPECT_TRUE(lock()->Acquire());
    std::ifstream entry(ORVIK_DESKTOP_ENTRY);
    std::string line, entryClass;
    while (std::getline(entry, line))
        if (line.starts_with("StartupWMClass=")) entryClass = line.substr(line.find('=') + 1);
    EXPECT_EQ(named.windowClass, entryClass);
    EXPECT_EQ(named.desktopFileName + ".desktop.in", std::filesystem::path(ORVIK_DESKTOP_ENTRY).filename());
}

struct RemovedAtEnd {  // nothing left in a real session's folder
    std::string path;
    ~RemovedAtEnd() { ::unlink(path.c_str()); }
};

// Without a runtime folder each user's lock lies in a folder of their own in
// the temporary folder (the test's own here). Nothing another user made can
// block a copy or let a second one start: a folder of that name that is theirs
// gives way to the user's cache folder, a lock file of theirs (held) to the
// next place. Root, the tests' user, and "nobody" are the two users.
TEST_F(StartTest, WithoutARuntimeFolderEachUserKeepsTheirOwnOneCopyRule) {
    const test_support::SavedVariable savedHome("HOME"), savedCache("XDG_CACHE_HOME");
    namespace fs = std::filesystem;
    const std::string temp = root_ + "/tmp", squattedTemp = root_ + "/tmp2";
    for (const std::string& folder : {temp, squattedTemp, squattedTemp + "/orvik-65534"}) {
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms::all | fs::perms::sticky_bit);
    }
    ::unsetenv("XDG_RUNTIME_DIR");
    ::unsetenv("XDG_CACHE_HOME");
    ::setenv("HOME", (root_ + "/home").c_str(), 1);

    editor::SingleInstanceLock first("A/B", temp);
    ASSERT_TRUE(first.Acquire());
    EXPECT_TRUE(first.Held());
    // A login session of the test's user gives its runtime folder, which comes first.
    const std::string session = "/run/user/" + std::to_string(::geteuid());
    const std::string own = temp + "/orvik-" + std::to_string(::geteuid());
    struct stat st {};
    const bool inSession = ::lstat(session.c_str(), &st) == 0 && st.st_uid == ::geteuid();
    const RemovedAtEnd lockFile{inSession ? session + "/A_B.lock" : ""};
    EXPECT_EQ(first.Path(), (inSession ? session : own) + "/A_B.lock");
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_FALSE(editor::SingleInstanceLock("A/B", temp).Acquire()) << "a second copy of the same user";
    if (::geteuid() != 0) GTEST_SKIP() << "only root can be another user";

    const std::string nobodyHome = root_ + "/nobody", nobodyRuntime = root_ + "/run";
    fs::create_directories(nobodyHome);
    fs::create_directories(nobodyRuntime);
    fs::permissions(nobodyRuntime, fs::perms::owner_all);
    // Root's lock file in nobody's runtime folder, open to all and held.
    const int foreign = ::open((nobodyRuntime + "/A_B.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(foreign, 0);
    ASSERT_EQ(::fchmod(foreign, 0666), 0);
    ASSERT_EQ(::flock(foreign, LOCK_EX), 0);
    for (const std::string& folder : {nobodyHome, nobodyRuntime}) ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    fs::permissions(root_, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        ::setenv("HOME", nobodyHome.c_str(), 1);
        const auto keepsTheRule = [](const std::string& tempFolder, const std::string& expectedPath) {
            editor::SingleInstanceLock copy("A/B", tempFolder);
            return copy.Acquire() && copy.Held() && copy.Path() == expectedPath &&
                   !editor::SingleInstanceLock("A/B", tempFolder).Acquire();
        };
        if (!keepsTheRule(temp, temp + "/orvik-65534/A_B.lock")) ::_exit(3);
        ::setenv("XDG_RUNTIME_DIR", nobodyRuntime.c_str(), 1);
        if (!keepsTheRule(temp, temp + "/orvik-65534/A_B.lock")) ::_exit(4);
        // Root's runtime folder, as after su without a login, is not nobody's either.
        ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
        ::_exit(keepsTheRule(squattedTemp, nobodyHome + "/.cache/orvik/A_B.lock") ? 0 : 5);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(foreign);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "root cannot become the user nobody here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "3: in nobody's own temporary folder, 4: past root's lock file in nobody's "
                                         "runtime folder, 5: past root's folder of nobody's name";
    EXPECT_TRUE(first.Held());
    EXPECT_FALSE(editor::SingleInstanceLock("A/B", temp).Acquire()) << "root's copy still runs alone";
}

// What others could have planted in the runtime folder is passed over: a link
// at the lock's name is not followed and lets no second copy start; a folder
// open to others or of another user gets no lock file.
TEST_F(StartTest, ALinkOrARuntimeFolderNotTheUsersAloneIsPassedOver) {
    namespace fs = std::filesystem;
    const std::string temp = root_ + "/tmp", target = root_ + "/target";
    fs::create_directories(temp);
    const RemovedAtEnd lockFile{"/run/user/" + std::to_string(::geteuid()) + "/L.lock"};
    ASSERT_EQ(::symlink(target.c_str(), (root_ + "/L.lock").c_str()), 0);
    editor::SingleInstanceLock first("L", temp);
    ASSERT_TRUE(first.Acquire() && first.Held());
    EXPECT_FALSE(editor::SingleInstanceLock("L", temp).Acquire());
    EXPECT_FALSE(fs::exists(target));
    first.Release();
    // The runtime folder is most often another place too (/run/user/<uid>): its lock file is taken once.
    ::setenv("XDG_RUNTIME_DIR", (temp + "/orvik-" + std::to_string(::geteuid())).c_str(), 1);
    EXPECT_TRUE(editor::SingleInstanceLock("L", temp).Acquire());

    const std::string runtime = root_ + "/run";
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::all);
    for (const char* how : {"open to others", "of another user"}) {
        editor::SingleInstanceLock copy("L", temp);
        EXPECT_TRUE(copy.Acquire() && copy.Held()) << how;
        EXPECT_FALSE(fs::exists(runtime + "/L.lock")) << how;
        fs::remove(runtime + "/L.lock");
        if (::geteuid() != 0) GTEST_SKIP() << "only root can give a folder to another user";
        fs::permissions(runtime, fs::perms::owner_all);
        ASSERT_EQ(::chown(runtime.c_str(), 65534, 65534), 0);
    }
}

TEST_F(StartTest, TheDriverBesideTheProgramIsTheOneRegistered) {
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    ASSERT_NE(bin, nullptr);
    const std::string key = std::string(drv::kXVTIControlProgId) + "\\InprocServer32";
    auto& registry = plat::Registry::Instance();
    EXPECT_EQ(registry.ReadValue(plat::Hive::ClassesRoot, key, ""), "");
    EXPECT_FALSE(editor::EnsureDriverRegistered(root_));  // no library there
    EXPECT_EQ(registry.ReadValue(plat::Hive::ClassesRoot, key, ""), "");

    ASSERT_TRUE(editor::EnsureDriverRegistered(bin));
    const std::string registered = registry.ReadValue(plat::Hive::ClassesRoot, key, "");
    EXPECT_TRUE(plat::fs::FileExists(registered));
    EXPECT_NE(plat::CreateObject(drv::kXVTIControlProgId), nullptr);

    // A registration that names a library no longer there, or another one (a
    // build tree's, when the installed program starts), is made again.
    for (const std::string& other : {root_ + "/gone/liborvikPelmo2VTI.so", root_ + "/liborvikPelmo2VTI.so"}) {
        registry.WriteValue(plat::Hive::ClassesRoot, key, "", other);
        ASSERT_TRUE(editor::EnsureDriverRegistered(bin));
        EXPECT_EQ(registry.ReadValue(plat::Hive::ClassesRoot, key, ""), registered);
        std::ofstream(root_ + "/liborvikPelmo2VTI.so") << "another driver";
    }
    // A program without the library beside it keeps a registration that works.
    EXPECT_TRUE(editor::EnsureDriverRegistered(root_ + "/gone"));
    EXPECT_EQ(registry.ReadValue(plat::Hive::ClassesRoot, key, ""), registered);
}

TEST_F(StartTest, LanguageComesFromTheHostSettingAndAnEmptyOneIsEnglish) {
    std::filesystem::create_directories(root_ + "/languages/French");
    std::ofstream(root_ + "/languages/French/Pelmo2.lng") << "21021=Enregistrer\n";
    auto key = std::make_shared<host::CRegistryKey>();
    key->Create(host::HKey::LocalMachine, host::HostResources().Text(host::CHostResources::LanguageKeyText));
    key->WriteValue("GUI", "French");
    editor::LoadLanguage();
    EXPECT_EQ(host::LanguageService().Language(), "French");
    EXPECT_EQ(host::LanguageService().Translate("Pelmo2", "21021::Save"), "Enregistrer");

    key->WriteValue("GUI", "");
    editor::LoadLanguage();
    EXPECT_EQ(host::LanguageService().Translate("Pelmo2", "21021::Save"), "Save");
}

TEST(MakeChecks, IsValueOKTakesWholeNumbersThatFitSixteenBits) {
    for (const char* good : {"0", "0007", "4095", "32767", " 12 ", "000000000000000000000032767"})
        EXPECT_TRUE(editor::IsValueOK(good)) << good;
    for (const char* bad : {"32768", "99999", "-1", "+1", "1.5", "1,5", "1 2", "   ", "", "12a",
                            "99999999999999999999999999999999"})
        EXPECT_FALSE(editor::IsValueOK(bad)) << bad;
}

TEST(MakeChecks, IsGridOKFindsTheFirstEmptyDataCell) {
    plat::ui::Grid grid;
    grid.SetRows(52);
    grid.SetCols(3);
    for (int32_t row = 1; row < 52; ++row) grid.SetCellText(row, 2, "1");
    EXPECT_TRUE(editor::IsGridOK(grid, 2));  // the empty header is never looked at
    EXPECT_EQ(editor::BadGridRow(), 0);
    grid.SetCellText(5, 2, "");
    grid.SetCellText(9, 2, "");
    grid.SetCellText(51, 2, " ");  // a blank is content
    EXPECT_FALSE(editor::IsGridOK(grid, 2));
    EXPECT_EQ(editor::BadGridRow(), 5);
    EXPECT_FALSE(editor::IsGridOK(grid, 0));
    EXPECT_EQ(editor::BadGridRow(), 1);
    grid.SetCellText(5, 2, "1");
    grid.SetCellText(9, 2, "1");
    EXPECT_TRUE(editor::IsGridOK(grid, 2));
    EXPECT_EQ(editor::BadGridRow(), 0);
}

TEST_F(StartTest, AskForFileNameKeepsBothTextsWhenRefused) {
    std::string file = "a.txt", name = "A";
    auto listed = std::make_shared<makes::MakeList>();
    (void)listed->Add(SampleMake("Taken"), "Taken");
    ScriptedOperator op;
    op.Type("FSaveMake", "tbOximeter", "B").Type("FSaveMake", "tbOximeterFile", "b").Click("FSaveMake", "cmdRefuse");
    EXPECT_FALSE(editor::AskForFileName(file, name, listed));
    EXPECT_EQ(file, "a.txt");
    EXPECT_EQ(name, "A");
    // A listed name is refused by the dialog itself; then a free one is taken.
    op.Type("FSaveMake", "tbOximeter", "taken")
        .Type("FSaveMake", "tbOximeterFile", "b")
        .Click("FSaveMake", "cmdAccept")
        .Answer(plat::ui::vbOK)
        .Do("FSaveMake", "clear", [](plat::ui::Form& f) { f.Controls().FindAs<plat::ui::TextBox>("tbOximeter")->SetText(""); })
        .Type("FSaveMake", "tbOximeter", "B")
        .Click("FSaveMake", "cmdAccept");
    EXPECT_TRUE(editor::AskForFileName(file, name, listed));
    EXPECT_EQ(file, "b.txt");
    EXPECT_EQ(name, "B");
}

}  // namespace
}  // namespace editor_test
