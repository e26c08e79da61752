#pragma once
// Element trees (a group with its tests) as the host saves them to text and
// prints them into a report, and as another computer (with a make folder of
// its own) loads them back.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/report.h"
#include "host/run_context.h"
#include "host/test_element_base.h"
#include "host/test_element.h"
#include "host/xml.h"
#include "platform/com/registry.h"
#include "tests/plugin/config/spo2_config_fixture.h"

namespace results_test {

class ElementTreeTest : public plugin_test::Spo2ConfigTest {
protected:
    static std::string Saved(host::ITestElement& element) {
        auto doc = host::XmlFactory().NewDocument();
        doc->AppendChild(element.Save(*doc, {}));
        return doc->Xml();
    }
    static std::vector<host::CReport::Table> Printed(host::ITestElement& element) {
        auto report = std::make_shared<host::CReport>("English", 1, 3);
        element.PrintReport(report, {});
        return report->Tables();
    }
    // The saved text loaded by the host with the make folder moved elsewhere.
    host::TestElementPtr LoadedElsewhere(const std::string& saved) {
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path",
                                              root_ + "/other-makes/");
        auto doc = host::XmlFactory().NewDocument();
        doc->LoadXml(saved);
        return host::LoadTestElement(*doc->DocumentElement(), std::make_shared<host::CLoadContext>());
    }
    static void ExpectSameTables(const std::vector<host::CReport::Table>& reprinted,
                                 const std::vector<host::CReport::Table>& printed) {
        ASSERT_EQ(reprinted.size(), printed.size());
        for (size_t i = 0; i < printed.size(); ++i) {
            EXPECT_EQ(reprinted[i].header, printed[i].header) << i;
            EXPECT_EQ(reprinted[i].body, printed[i].body) << i;
        }
    }
};

}  // namespace results_test
