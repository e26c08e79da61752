#pragma once
// CMeasurementColl: the measurements of one result, in the order added, under
// their keys (compared without regard to case; a key occurs once). Saved as
//   <AllMeasurements> <Measurement .../> ... </AllMeasurements>

#include <cstdint>
#include <memory>
#include <vector>

#include "host/limits.h"
#include "host/xml.h"
#include "plugin/factory/server_lock.h"
#include "plugin/results/measurement.h"

namespace plugin {

class CMeasurementColl : public plat::Object {
public:
    std::vector<std::shared_ptr<CMeasurement>> NewEnum() const { return items_; }
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // By 1-based position (a number) or key (a text); nullptr when absent.
    std::shared_ptr<CMeasurement> Item(const plat::Variant& index) const;
    // The measurement added last (also when its key was taken), or nullptr.
    std::shared_ptr<CMeasurement> Current() const { return current_; }
    // Appends it under its key unless the key is taken; it becomes Current
    // either way. True when it was added.
    bool Add(const std::shared_ptr<CMeasurement>& measurement);
    // A position or key that is not present changes nothing.
    void Remove(const plat::Variant& index);
    void Clear();
    host::XmlElementPtr Save(host::IXmlDocument& document) const;
    // Adds the measurements of the element's "Measurement" children.
    void Load(const host::IXmlElement& element, const std::shared_ptr<host::ILoadContext>& context = nullptr);

private:
    // 0-based position, or -1.
    int32_t Find(const plat::Variant& index) const;

    ServerLock lock_;
    std::vector<std::shared_ptr<CMeasurement>> items_;
    std::shared_ptr<CMeasurement> current_;
};

}  // namespace plugin
