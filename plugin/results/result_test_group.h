#pragma once
// CResultTestGroup: the result of a test group, a status rolled up from the
// results of the group's children. Saved as a "ResultItem" holding the
// status alone.

#include <cstdint>
#include <memory>
#include <string>

#include "host/error_service.h"
#include "host/test_element.h"
#include "plugin/factory/server_lock.h"
#include "plugin/factory/plugin_factory.h"

namespace plugin {

// Raised when a group result meets saved data of another form, or cannot
// make its element.
inline constexpr host::ErrorNumber kGroupResultLoadFailed = 0x8004A3EB;
inline constexpr host::ErrorNumber kGroupResultSaveFailed = 0x8004A3EC;

class CResultTestGroup : public plat::Object, public host::IResultData, public IGroupResult {
public:
    void SetStatus(int32_t status) { status_ = status; }

    // Over the children of the group (a host::ITestContainer) that have a
    // result: 2 when a child its filter selects failed; else 3 when every one
    // is 3; else 1 when one passed; else 0. A group in which nothing passed is
    // never passed. Without a group the status stays; the standards are not
    // used.
    void UpdateStatus(const host::TestElementPtr& group,
                      const std::shared_ptr<host::ILimitStandards>& standards) override;

    std::string Comment() const override { return {}; }
    void SetComment(const std::string&) override {}
    bool HasDialog() const override { return false; }
    int32_t Status() const override { return status_; }
    // A group result has no measurements, yet counts one: callers check for nothing.
    std::shared_ptr<host::IMeasurement> Measurement(const plat::Variant&) const override { return nullptr; }
    int32_t MeasurementCount() const override { return 1; }
    plat::ObjectPtr ServiceRecord() const override { return nullptr; }
    int32_t MTIID() const override { return 0; }
    std::shared_ptr<host::IDialog> CreateDialog() override { return nullptr; }
    // Reads the status of a "ResultItem"; another element raises
    // kGroupResultLoadFailed before the load context is entered. A status
    // outside 0..3 reads as 0.
    void Load(const host::IXmlElement& element, const std::shared_ptr<host::ILoadContext>& context) override;
    host::XmlElementPtr Save(host::IXmlDocument& document) const override;
    void PrintReport(const std::shared_ptr<host::IReport>&, const plat::Variant&) override {}

private:
    void RollUpChildren(const host::ITestContainer& children);

    ServerLock lock_;
    int32_t status_ = 0;
};

}  // namespace plugin
