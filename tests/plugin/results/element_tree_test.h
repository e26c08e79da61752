#pragma once
// Element trees (a group with its tests) as the host saves them to text and
// prints them into a report.

#include <memory>
#include <string>
#include <vector>

#include "host/report.h"
#include "host/test_element.h"
#include "host/xml.h"
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
};

}  // namespace results_test
