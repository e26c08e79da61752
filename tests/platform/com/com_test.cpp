#include "platform/com/com.h"

#include <gtest/gtest.h>
#include <dlfcn.h>
#include <stdlib.h>

#include <fstream>

#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "tests/platform/com/server/test_server.h"
#include "tests/support/temp_dir.h"

using comtest::ITestControl;
using plat::ComError;

namespace {

class Local : public plat::Object {};

std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    std::string out = real ? real : path;
    ::free(real);
    return out;
}

// Each test registers into its own registry file.
class ComTest : public ::testing::Test {
protected:
    void SetUp() override { plat::Registry::UseFile(dir_.File("registry.reg")); }
    void TearDown() override { plat::Registry::UseFile(dir_.File("gone.reg")); }

    plat::Registry& Reg() { return plat::Registry::Instance(); }

    template <class Fn>
    std::string ErrorOf(Fn fn) {
        try {
            fn();
        } catch (const ComError& e) {
            return e.what();
        }
        ADD_FAILURE() << "no ComError";
        return {};
    }

    test_support::TempDir dir_;
};

TEST_F(ComTest, RegisteredServerIsLoadedAndCreatesItsClassByProgIdInAnyCase) {
    plat::RegisterServer(ORVIK_COM_TEST_SERVER);

    EXPECT_EQ(Reg().ReadValue(plat::Hive::ClassesRoot, "OrvikComTest.TestControl\\InprocServer32", ""),
              RealPath(ORVIK_COM_TEST_SERVER));
    std::string file;
    ASSERT_TRUE(plat::fs::ReadFile(Reg().FilePath(), file));
    EXPECT_NE(file.find("[HKEY_CLASSES_ROOT\\OrvikComTest.TestControl\\InprocServer32]\n@=\""), std::string::npos);

    // The server compares names exactly; it is handed the spelling it recorded.
    auto control = plat::CreateObjectAs<ITestControl>("orvikcomtest.TESTCONTROL");
    ASSERT_TRUE(control);
    EXPECT_EQ(control->FiredCount(), 0);
    EXPECT_NE(plat::CreateObject(comtest::kControlProgId), control) << "each creation gives a new object";

    EXPECT_THROW(plat::CreateObjectAs<Local>(comtest::kControlProgId), ComError);
}

TEST_F(ComTest, EventReachesTheSinkAndTheControlOutlivesAHandlerThatReleasesIt) {
    plat::RegisterServer(ORVIK_COM_TEST_SERVER);
    auto control = plat::CreateObjectAs<ITestControl>(comtest::kControlProgId);
    std::weak_ptr<ITestControl> watch = control;
    ITestControl* raw = control.get();

    std::vector<std::string> seen;
    control->SetEventSink([&](const std::string& name, std::vector<plat::Variant>& params) {
        seen.push_back(name);
        EXPECT_EQ(params.size(), 2u);
        params.pop_back();  // by-reference arguments come back to the control
    });
    EXPECT_EQ(control->Fire("Ping").size(), 1u);
    EXPECT_EQ(control->FiredCount(), 1);

    // The handler drops the last outside reference and replaces the sink it runs in.
    auto releasingSink = [&](const std::string& name, std::vector<plat::Variant>&) {
        seen.push_back(name);
        control.reset();
        EXPECT_FALSE(watch.expired()) << "kept alive while its event runs";
        raw->SetEventSink(nullptr);
        seen.push_back("still running");
    };
    control->SetEventSink(releasingSink);
    raw->Fire("CommunicationError");
    EXPECT_TRUE(watch.expired()) << "released once the event is over";
    EXPECT_EQ(seen, (std::vector<std::string>{"Ping", "CommunicationError", "still running"}));

    // A member that goes on after its event holds the control itself.
    control = plat::CreateObjectAs<ITestControl>(comtest::kControlProgId);
    watch = control;
    raw = control.get();
    control->SetEventSink(releasingSink);
    raw->FireThenCount("Done");
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(seen.back(), "still running");

    // A control not held by a shared_ptr still delivers its events.
    struct Bare : ITestControl {
        std::vector<plat::Variant> Fire(const std::string& n) override { return RaiseEvent(n, {}); }
        void FireThenCount(const std::string&) override {}
        int FiredCount() const override { return 0; }
    } bare;
    bare.SetEventSink([&](const std::string& name, std::vector<plat::Variant>&) { seen.push_back(name); });
    bare.Fire("Bare");
    EXPECT_EQ(seen.back(), "Bare");
}

TEST_F(ComTest, ClassRegisteredInProcessComesBeforeTheServerUntilUnregistered) {
    plat::RegisterServer(ORVIK_COM_TEST_SERVER);
    plat::RegisterClass("ORVIKCOMTEST.TestControl", [] { return std::make_shared<Local>(); });
    EXPECT_TRUE(std::dynamic_pointer_cast<Local>(plat::CreateObject(comtest::kControlProgId)));
    plat::UnregisterClass("orvikcomtest.testcontrol");
    EXPECT_TRUE(plat::CreateObjectAs<ITestControl>(comtest::kControlProgId));

    plat::RegisterClass("Test.Null", [] { return plat::ObjectPtr(); });
    EXPECT_NE(ErrorOf([] { plat::CreateObject("Test.Null"); }).find("\"Test.Null\""), std::string::npos);
    plat::UnregisterClass("Test.Null");
    EXPECT_THROW(plat::RegisterClass("Test.NoFactory", nullptr), ComError);
}

TEST_F(ComTest, BadRegistrationsGiveClearErrors) {
    EXPECT_EQ(ErrorOf([] { plat::CreateObject("Nobody.Here"); }), "The class \"Nobody.Here\" is not registered");

    // A registry entry that points at a file which is no library.
    std::string notLib = dir_.File("notalib.so");
    ASSERT_TRUE(plat::fs::WriteFileAtomic(notLib, "plain text\n"));
    Reg().WriteValue(plat::Hive::ClassesRoot, "Test.Text\\InprocServer32", "", notLib);
    std::string err = ErrorOf([] { plat::CreateObject("Test.Text"); });
    EXPECT_NE(err.find("\"" + notLib + "\""), std::string::npos) << err;
    EXPECT_NE(err.find("cannot be loaded: "), std::string::npos) << err;
    EXPECT_NE(err.find("notalib.so"), err.rfind("notalib.so")) << "includes the loader's reason: " << err;

    plat::RegisterServer(ORVIK_COM_TEST_NOEXPORT);
    err = ErrorOf([] { plat::CreateObject("OrvikComTest.NoExport"); });
    EXPECT_NE(err.find("does not export DllGetClassObject"), std::string::npos) << err;
    EXPECT_NE(ErrorOf([] { plat::UnregisterServer(ORVIK_COM_TEST_NOEXPORT); }).find("DllUnregisterServer"),
              std::string::npos);

    plat::RegisterServer(ORVIK_COM_TEST_SERVER);
    err = ErrorOf([] { plat::CreateObject(comtest::kUnservedProgId); });
    EXPECT_NE(err.find("does not serve the class \"OrvikComTest.Unserved\""), std::string::npos) << err;

    err = ErrorOf([this] { plat::RegisterServer(dir_.File("missing.so")); });
    EXPECT_NE(err.find("missing.so"), std::string::npos) << err;
}

TEST_F(ComTest, EachServerRecordsItsOwnPathWhateverWasLoadedBefore) {
    // Both servers hand in "&DllRegisterServer": each must resolve to its own,
    // and neither server's exports may reach the process's global scope.
    plat::RegisterServer(ORVIK_COM_TEST_NOEXPORT);
    plat::RegisterServer(ORVIK_COM_TEST_SERVER);
    plat::RegisterServer(ORVIK_COM_TEST_NOEXPORT);
    EXPECT_EQ(Reg().ReadValue(plat::Hive::ClassesRoot, "OrvikComTest.NoExport\\InprocServer32", ""),
              RealPath(ORVIK_COM_TEST_NOEXPORT));
    EXPECT_EQ(Reg().ReadValue(plat::Hive::ClassesRoot, "OrvikComTest.TestControl\\InprocServer32", ""),
              RealPath(ORVIK_COM_TEST_SERVER));
    EXPECT_TRUE(plat::CreateObjectAs<ITestControl>(comtest::kControlProgId));
    EXPECT_EQ(::dlsym(RTLD_DEFAULT, "DllRegisterServer"), nullptr) << "servers are loaded RTLD_LOCAL";
    EXPECT_EQ(::dlsym(RTLD_DEFAULT, "DllGetClassObject"), nullptr);
}

// The shared bodies of the four exports, called as a server's exports call them.
namespace served {
int64_t live = 0;
bool failList = false;
plat::ServedClasses Classes() {
    if (failList) throw std::runtime_error("list failed");
    return {{"Srv.Plain", [] { return plat::ObjectPtr(std::make_shared<Local>()); }},
            {"Srv.Null", [] { return plat::ObjectPtr(); }},
            {"Srv.Throws", []() -> plat::ObjectPtr { throw std::runtime_error("no"); }}};
}
int64_t Live() {
    if (live < 0) throw std::runtime_error("count failed");
    return live;
}
}  // namespace served

TEST_F(ComTest, ServerExportsCreateByProgIdInAnyCaseAndTurnFailuresIntoCodes) {
    plat::ObjectPtr obj;
    EXPECT_EQ(plat::ServerGetClassObject(served::Classes, "srv.PLAIN", &obj), plat::kServerOk);
    EXPECT_TRUE(std::dynamic_pointer_cast<Local>(obj));
    for (const char* id : {"Srv.Null", "Srv.Throws", "Srv.Unknown", ""}) {
        plat::ObjectPtr none;
        EXPECT_EQ(plat::ServerGetClassObject(served::Classes, id, &none), plat::kServerClassNotAvailable) << id;
        EXPECT_FALSE(none) << id;
    }
    EXPECT_EQ(plat::ServerGetClassObject(served::Classes, nullptr, &obj), plat::kServerClassNotAvailable);
    EXPECT_EQ(plat::ServerGetClassObject(served::Classes, "Srv.Plain", nullptr), plat::kServerClassNotAvailable);

    served::live = 0;
    EXPECT_EQ(plat::ServerCanUnloadNow(served::Live), plat::kServerOk);
    served::live = 2;
    EXPECT_EQ(plat::ServerCanUnloadNow(served::Live), plat::kServerFalse);
    served::live = -1;
    EXPECT_EQ(plat::ServerCanUnloadNow(served::Live), plat::kServerFalse) << "a failed count never allows unloading";
}

TEST_F(ComTest, ServerExportsRegisterEveryClassWithTheModuleOfTheAnchor) {
    static const char anchor = 0;
    served::failList = false;
    ASSERT_EQ(plat::ServerRegister(served::Classes, &anchor), plat::kServerOk);
    for (const char* id : {"Srv.Plain", "Srv.Null", "Srv.Throws"})
        EXPECT_EQ(Reg().ReadValue(plat::Hive::ClassesRoot, std::string(id) + "\\InprocServer32", ""),
                  RealPath("/proc/self/exe"))
            << id;
    served::failList = true;
    EXPECT_EQ(plat::ServerUnregister(served::Classes), plat::kServerRegistrationFailed);
    EXPECT_EQ(plat::ServerRegister(served::Classes, &anchor), plat::kServerRegistrationFailed);
    served::failList = false;
    EXPECT_EQ(plat::ServerUnregister(served::Classes), plat::kServerOk);
    EXPECT_FALSE(Reg().KeyExists(plat::Hive::ClassesRoot, "Srv.Plain"));
}

TEST_F(ComTest, UnregisteringAServerRemovesItsClasses) {
    plat::RegisterServer(ORVIK_COM_TEST_SERVER);
    plat::UnregisterServer(ORVIK_COM_TEST_SERVER);
    EXPECT_FALSE(Reg().KeyExists(plat::Hive::ClassesRoot, comtest::kControlProgId));
    EXPECT_THROW(plat::CreateObject(comtest::kControlProgId), ComError);
}

TEST_F(ComTest, CorruptRegistryIsReportedAsComErrorOnCreation) {
    std::ofstream(Reg().FilePath()) << "not a registry\n";
    EXPECT_NE(ErrorOf([] { plat::CreateObject("Any.Thing"); }).find("line 1"), std::string::npos);
}

TEST(ModulePath, NamesTheProgramForItsOwnCode) {
    static const int anchor = 0;
    EXPECT_EQ(plat::ModulePath(&anchor), RealPath("/proc/self/exe"));
}

}  // namespace

namespace {
// No test of this program may reach the user's own registry file.
struct PrivateRegistry : ::testing::Environment {
    void SetUp() override {
        std::string dir = (std::filesystem::temp_directory_path() / "orvik-com-env-XXXXXX").string();
        if (::mkdtemp(dir.data())) ::setenv("ORVIK_REGISTRY_FILE", (dir + "/registry.reg").c_str(), 1);
        plat::Registry::UseFile(plat::Registry::DefaultFilePath());
        dir_ = dir;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string dir_;
};
[[maybe_unused]] auto* const kPrivateRegistry = ::testing::AddGlobalTestEnvironment(new PrivateRegistry);
}  // namespace
