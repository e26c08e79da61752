// The results and limits served by the plug-in library by their ProgIDs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/com/com.h"
#include "platform/com/registry.h"
#include "tests/support/sandbox.h"

namespace {

using ResultsServerTest = test_support::SandboxTest;

TEST_F(ResultsServerTest, TheLibraryServesResultsAndLimits) {
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    const std::string library = std::string(bin ? bin : ".") + "/liborvikPelmo2.so";
    plat::RegisterServer(library);
    for (const char* progId : {"OrvikPelmo2.CResultData", "OrvikPelmo2.CResultTestGroup", "OrvikPelmo2.CLimitData"}) {
        SCOPED_TRACE(progId);
        const std::string server =
            plat::Registry::Instance().ReadValue(plat::Hive::ClassesRoot, std::string(progId) + "\\InprocServer32", "");
        EXPECT_NE(server.find("liborvikPelmo2.so"), std::string::npos);
        EXPECT_TRUE(plat::CreateObject(progId));
    }
    plat::UnregisterServer(library);
}

}  // namespace
