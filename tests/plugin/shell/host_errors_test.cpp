#include "plugin/shell/host_errors.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "platform/values/abort_error.h"

namespace {

// What a host-facing member's handler makes of the failure `fail` throws.
void HandOn(const std::function<void()>& fail, std::initializer_list<host::ErrorNumber> passed, bool unchanged) {
    try {
        fail();
    } catch (...) {
        plugin::PassOnOrReport(passed, "Component.Module", unchanged);
    }
}

class PassOnOrReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::ErrorService().SetEcho(false);
        host::ErrorService().ClearLog();
    }
    void TearDown() override {
        host::ErrorService().ClearLog();
        host::ErrorService().SetEcho(true);
    }
};

TEST_F(PassOnOrReportTest, ListedNumbersGoOnOtherFailuresAreReportedAndAnAbortGoesOnUnreported) {
    const auto notInitialised = [] { plugin::RaisePlugInError(plugin::errors::NotInitialised, "inner", 4); };
    try {
        HandOn(notInitialised, {plugin::errors::NotInitialised}, false);
        FAIL() << "a listed number must reach the caller";
    } catch (const host::HostError& error) {
        EXPECT_EQ(error.Number(), plugin::errors::NotInitialised);
        EXPECT_EQ(error.Severity(), 1);
        EXPECT_EQ(error.Location(), "Component.Module");
    }
    EXPECT_THROW(HandOn(notInitialised, {plugin::errors::NotInitialised}, true), host::HostError);
    EXPECT_TRUE(host::ErrorService().Log().empty());

    HandOn(notInitialised, {plugin::errors::UnknownTestId}, true);
    HandOn([] { throw std::runtime_error("broken"); }, {plugin::errors::NotInitialised}, true);
    ASSERT_EQ(host::ErrorService().Log().size(), 2u);
    EXPECT_EQ(host::ErrorService().Log()[1].description, "broken");
    EXPECT_EQ(host::ErrorService().Log()[1].reportLocation, "Component.Module");

    host::ErrorService().ClearLog();
    EXPECT_THROW(HandOn([] { throw plat::AbortError("stalled"); }, {plugin::errors::NotInitialised}, false),
                 plat::AbortError);
    EXPECT_TRUE(host::ErrorService().Log().empty());
}

}  // namespace
