#include "plugin/factory/plugin_factory.h"

namespace plugin {

void PluginFactory::Install(Part part, Maker maker) { makers_[static_cast<size_t>(part)] = std::move(maker); }

bool PluginFactory::Installed(Part part) const { return static_cast<bool>(makers_[static_cast<size_t>(part)]); }

void PluginFactory::ResetForTests() {
    for (Maker& maker : makers_) maker = nullptr;
}

plat::ObjectPtr PluginFactory::New(Part part) const {
    const Maker& maker = makers_[static_cast<size_t>(part)];
    return maker ? maker() : nullptr;
}

std::shared_ptr<host::IConfigData> PluginFactory::NewConfiguration() const {
    return std::dynamic_pointer_cast<host::IConfigData>(New(Part::Configuration));
}

std::shared_ptr<host::ILimitData> PluginFactory::NewLimits() const {
    return std::dynamic_pointer_cast<host::ILimitData>(New(Part::Limits));
}

std::shared_ptr<host::IResultData> PluginFactory::NewTestResult() const {
    return std::dynamic_pointer_cast<host::IResultData>(New(Part::TestResult));
}

std::shared_ptr<host::IResultData> PluginFactory::NewGroupResult() const {
    return std::dynamic_pointer_cast<host::IResultData>(New(Part::GroupResult));
}

std::shared_ptr<host::IDialog> PluginFactory::NewSetupDialog() const {
    return std::dynamic_pointer_cast<host::IDialog>(New(Part::SetupDialog));
}

PluginFactory& Factory() {
    static PluginFactory factory;
    return factory;
}

}  // namespace plugin
