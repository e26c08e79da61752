// The plug-in library as an in-process server: registration and creation by ProgID.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>

#include "platform/com/com.h"
#include "tests/plugin/config/config_fixture.h"

namespace {

using PluginServerTest = plugin_test::ConfigTest;

std::string LibraryPath() {
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    return std::string(bin ? bin : ".") + "/liborvikPelmo2.so";
}

std::string ServerPath(const std::string& progId) {
    return plat::Registry::Instance().ReadValue(plat::Hive::ClassesRoot, progId + "\\InprocServer32", "");
}

// The library's own answer, asked of the copy that CreateObject loaded.
int32_t CanUnloadNow() {
    void* library = ::dlopen(LibraryPath().c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!library) return -1;
    auto canUnload = reinterpret_cast<int32_t (*)()>(::dlsym(library, "DllCanUnloadNow"));
    int32_t answer = canUnload ? canUnload() : -1;
    ::dlclose(library);
    return answer;
}

TEST_F(PluginServerTest, RegistersAndServesItsClasses) {
    plat::RegisterServer(LibraryPath());
    for (const char* progId : {"OrvikPelmo2.CMtiData2", "OrvikPelmo2.XMTIData"}) {
        EXPECT_NE(ServerPath(progId).find("liborvikPelmo2.so"), std::string::npos);
    }
    {
        // Served by the library (this program has not registered the classes itself).
        plat::ObjectPtr data = plat::CreateObject("OrvikPelmo2.CMtiData2");
        plat::ObjectPtr control = plat::CreateObject("OrvikPelmo2.XMTIData");
        EXPECT_TRUE(data);
        EXPECT_TRUE(control);
        EXPECT_EQ(CanUnloadNow(), 1);
    }
    EXPECT_EQ(CanUnloadNow(), 0);
    EXPECT_THROW(plat::CreateObject("OrvikPelmo2.NoSuchClass"), plat::ComError);
    void* library = ::dlopen(LibraryPath().c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_TRUE(library);
    EXPECT_TRUE(::dlsym(library, "DllGetClassObject"));
    EXPECT_EQ(::dlsym(library, "_ZN6plugin13ConfigClassesEv"), nullptr) << "only the four exports leave the library";
    ::dlclose(library);
    plat::UnregisterServer(LibraryPath());
    EXPECT_EQ(ServerPath("OrvikPelmo2.CMtiData2"), "");
}

}  // namespace
