#pragma once
// The plug-in itself, its elements made from the shipped template in the
// bin folder, registered with the host for the length of a test.

#include <cstdlib>
#include <memory>
#include <string>

#include "host/test_element_base.h"
#include "platform/com/registry.h"
#include "plugin/config/spo2_config_part.h"
#include "plugin/results/results_classes.h"
#include "plugin/shell/pelmo2_plugin.h"
#include "tests/plugin/results/element_tree_test.h"

namespace results_test {

class TemplatePlugInTest : public ElementTreeTest {
protected:
    void SetUp() override {
        ElementTreeTest::SetUp();
        plugin::RegisterSpO2ConfigurationPart();
        plugin::RegisterResultsParts();
        const char* bin = std::getenv("ORVIK_BIN_DIR");
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Configuration",
                                              std::string(bin ? bin : ".") + "/orvikPelmo2.mpc");
        plugIn_->Initialize(nullptr);
        host::RegisterPlugIn(plugIn_);
    }
    void TearDown() override {
        host::UnregisterPlugIn("Pelmo2");
        ElementTreeTest::TearDown();
    }

    std::shared_ptr<plugin::CPelmo2Plugin> plugIn_ = std::make_shared<plugin::CPelmo2Plugin>();
};

}  // namespace results_test
