#pragma once
// A plug-in that answers only with its ID and the elements it makes: the
// tests that load saved elements through the host derive their own
// CreateTest from it.

#include <memory>
#include <string>
#include <utility>

#include "host/test_element.h"

namespace test_support {

class FakePlugIn : public plat::Object, public host::IPlugIn {
public:
    explicit FakePlugIn(std::string id) : id_(std::move(id)) {}
    std::string ID() const override { return id_; }
    std::shared_ptr<host::CPicture> Icon(int32_t, int32_t, const plat::Variant&) const override { return nullptr; }
    std::string Name() const override { return id_; }
    int32_t Flags() const override { return 0; }
    std::shared_ptr<host::ISetup> Setup() const override { return nullptr; }
    std::shared_ptr<host::ISetup> ControlPanel() const override { return nullptr; }
    std::shared_ptr<host::ITestContainer> Tests() const override { return nullptr; }
    std::string Version() const override { return "1.0.0"; }
    plat::ObjectPtr PlugInMenu() const override { return nullptr; }
    void Initialize(const plat::ObjectPtr&) override {}
    std::shared_ptr<host::IConfigData> CreateDUTData() override { return nullptr; }

private:
    std::string id_;
};

}  // namespace test_support
