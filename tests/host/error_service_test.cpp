#include <gtest/gtest.h>

#include "host/error_service.h"

namespace {

using host::CErrorService;
using host::HostError;

TEST(ErrorServiceTest, RaiseCarriesSourceNumberLocationSeverity) {
    CErrorService service;
    try {
        service.Raise("Pelmo2", 0x8004A22C, "Component.Module", 3);
        FAIL() << "Raise returned";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Source(), "Pelmo2");
        EXPECT_EQ(e.Number(), 0x8004A22Cu);
        EXPECT_EQ(e.Location(), "Component.Module");
        EXPECT_EQ(e.Severity(), 3);
        EXPECT_NE(std::string(e.what()).find("8004A22C"), std::string::npos);
    }
    // The first optional value carries a description.
    try {
        service.Raise("Pelmo2", 0x8004A2C3, "CTestGroup", 1, plat::Variant("no element"));
    } catch (const HostError& e) {
        EXPECT_EQ(e.Description(), "no element");
    }
}

TEST(ErrorServiceTest, EmptyRaiseInsideHandlerPassesTheErrorOnUnchanged) {
    CErrorService service;
    try {
        try {
            service.Raise("Pelmo2", 0x8004A229, "Component.Module", 4);
        } catch (const HostError&) {
            service.Raise("", 0, "", 1);
        }
        FAIL() << "nothing passed on";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), 0x8004A229u);
        EXPECT_EQ(e.Severity(), 4);
        EXPECT_EQ(e.Source(), "Pelmo2");
    }
    // Outside a handler there is nothing to pass on: a plain host error 0.
    try {
        service.Raise("", 0, "", 1);
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), 0u);
    }
}

TEST(ErrorServiceTest, ReportRecordsHostAndOtherErrors) {
    CErrorService service;
    service.SetEcho(false);
    try {
        service.Raise("Pelmo2", 0x8004A2C8, "CTestGroup", 4);
    } catch (...) {
        service.ReportCurrent("CTestGroup");
    }
    service.Report(std::runtime_error("disk full"), "Component.Module");
    service.Report(std::exception_ptr(), "ignored");
    try {
        throw 42;
    } catch (...) {
        service.ReportCurrent("Odd");
    }
    ASSERT_EQ(service.Log().size(), 3u);
    EXPECT_EQ(service.Log()[0].number, 0x8004A2C8u);
    EXPECT_EQ(service.Log()[0].source, "Pelmo2");
    EXPECT_EQ(service.Log()[0].severity, 4);
    EXPECT_EQ(service.Log()[0].reportLocation, "CTestGroup");
    EXPECT_EQ(service.Log()[1].number, 0u);
    EXPECT_EQ(service.Log()[1].description, "disk full");
    EXPECT_EQ(service.Log()[1].reportLocation, "Component.Module");
    EXPECT_EQ(service.Log()[2].description, "unknown error");
    service.ClearLog();
    EXPECT_TRUE(service.Log().empty());
}

TEST(ErrorServiceTest, ReportWritesToStderr) {
    CErrorService service;
    ::testing::internal::CaptureStderr();
    service.Report(HostError("Pelmo2", 0x8004A233, "Component.Module", 1, "no such test"), "CPelmo2Plugin");
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("0x8004A233"), std::string::npos);
    EXPECT_NE(err.find("CPelmo2Plugin"), std::string::npos);
    EXPECT_NE(err.find("no such test"), std::string::npos);
}

}  // namespace
