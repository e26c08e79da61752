#include "plugin/results/measurement_coll.h"

#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"

namespace plugin {

int32_t CMeasurementColl::Find(const plat::Variant& index) const {
    if (index.IsNumeric()) {
        std::optional<int32_t> position;
        plat::PassOver([&] { position = plat::TryRoundToLong(index.AsDouble()); });
        if (!position || *position < 1 || *position > Count()) return -1;
        return *position - 1;
    }
    if (index.Type() != plat::VarType::String) return -1;
    const std::string key = index.AsString();
    for (size_t i = 0; i < items_.size(); ++i)
        if (plat::EqualsNoCase(items_[i]->Key(), key)) return static_cast<int32_t>(i);
    return -1;
}

std::shared_ptr<CMeasurement> CMeasurementColl::Item(const plat::Variant& index) const {
    const int32_t at = Find(index);
    return at < 0 ? nullptr : items_[static_cast<size_t>(at)];
}

bool CMeasurementColl::Add(const std::shared_ptr<CMeasurement>& measurement) {
    if (!measurement) return false;
    current_ = measurement;
    if (Find(plat::Variant(measurement->Key())) >= 0) return false;
    items_.push_back(measurement);
    return true;
}

void CMeasurementColl::Remove(const plat::Variant& index) {
    const int32_t at = Find(index);
    if (at >= 0) items_.erase(items_.begin() + at);
}

void CMeasurementColl::Clear() {
    items_.clear();
    current_.reset();
}

host::XmlElementPtr CMeasurementColl::Save(host::IXmlDocument& document) const {
    auto element = document.CreateElement("AllMeasurements");
    for (const auto& measurement : items_) element->AppendChild(measurement->SaveElement(document));
    return element;
}

void CMeasurementColl::Load(const host::IXmlElement& element, const std::shared_ptr<host::ILoadContext>&) {
    auto children = element.ChildNodes();
    const int32_t count = children ? children->Count() : 0;
    for (int32_t i = 0; i < count; ++i) {
        auto child = children->ElementAt(i);
        if (!child || child->Name() != "Measurement") continue;
        auto measurement = std::make_shared<CMeasurement>();
        measurement->Init({}, {}, {}, {}, true);
        measurement->LoadElement(*child);
        Add(measurement);
    }
}

}  // namespace plugin
