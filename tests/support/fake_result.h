#pragma once
// A result that answers its status and nothing else: no comment, no
// measurements, no dialog, nothing saved. Fakes of a particular result derive
// from it and answer what their tests look at.

#include <memory>
#include <string>

#include "host/test_element.h"

namespace test_support {

class FakeResult : public plat::Object, public host::IResultData {
public:
    int32_t status = 0;

    std::string Comment() const override { return {}; }
    void SetComment(const std::string&) override {}
    bool HasDialog() const override { return false; }
    int32_t Status() const override { return status; }
    std::shared_ptr<host::IMeasurement> Measurement(const plat::Variant&) const override { return nullptr; }
    int32_t MeasurementCount() const override { return 0; }
    plat::ObjectPtr ServiceRecord() const override { return nullptr; }
    int32_t MTIID() const override { return 0; }
    std::shared_ptr<host::IDialog> CreateDialog() override { return nullptr; }
    void Load(const host::IXmlElement&, const std::shared_ptr<host::ILoadContext>&) override {}
    host::XmlElementPtr Save(host::IXmlDocument&) const override { return nullptr; }
    void PrintReport(const std::shared_ptr<host::IReport>&, const plat::Variant&) override {}
};

}  // namespace test_support
