#pragma once
// CPelmo2Plugin: the plug-in's entry object, the one object the host creates
// itself ("OrvikPelmo2.CPelmo2Plugin"). Initialize makes the settings object
// and reads the template file into a tree of test groups and tests; the host
// then takes fresh copies of template elements by ID.
//
// Template file ("orvikPelmo2.mpc" beside the library, or the registry value
// HKEY_LOCAL_MACHINE\Software\Velam\Orvik\Pelmo2 "Configuration"):
//   <TemplateData>
//     <TestElement ClassName="OrvikPelmo2.CTestGroup" ID="1">
//       <Name LID="20000::..."/> <Description LID=".."/> <Type LID=".."/> <Parameter LID=".."/>
//       <ExpectedResult> limit standards in the host's form </ExpectedResult>
//       <TestElement ClassName="OrvikPelmo2.CTestData" ID="<test ID>"> ... </TestElement>
//     </TestElement>
//   </TemplateData>
// Texts come only from the "LID" attributes, translated. ID 1 is the group
// class, every other ID the test class. Any fault in an element fails the whole
// load (0x8004A22C) and keeps the tree and settings of an earlier load.

#include <cstdint>
#include <memory>
#include <string>

#include "host/host_application.h"
#include "host/test_element_base.h"
#include "plugin/factory/server_lock.h"

namespace plugin {

class CPluginSetup;

class CPelmo2Plugin : public plat::Object, public host::IPlugIn {
public:
    static constexpr int32_t kMaxTemplateDepth = 64;

    // The value Flags gives (the class's own IPlugIn_Flags).
    int32_t IPlugIn_Flags() const { return flags_; }
    bool Initialized() const { return initialized_; }

    // IPlugIn
    std::string ID() const override;
    std::shared_ptr<host::CPicture> Icon(int32_t iconId, int32_t size, const plat::Variant& third) const override;
    std::string Name() const override;
    int32_t Flags() const override { return flags_; }
    std::shared_ptr<host::ISetup> Setup() const override;
    std::shared_ptr<host::ISetup> ControlPanel() const override { return nullptr; }
    std::shared_ptr<host::ITestContainer> Tests() const override;
    std::string Version() const override;
    plat::ObjectPtr PlugInMenu() const override { return nullptr; }
    void Initialize(const plat::ObjectPtr& hostObject) override;
    host::TestElementPtr CreateTest(int32_t id) override;
    std::shared_ptr<host::IConfigData> CreateDUTData() override { return nullptr; }

    // The resource name of an icon; "" for an unknown icon id.
    static std::string IconResourceName(int32_t iconId, int32_t size);
    // The template file's path: the registry's, else the file beside the library.
    static std::string GetTemplatePath();

private:
    std::shared_ptr<host::CTestContainerBase> LoadTemplate(const std::string& path,
                                                           const std::shared_ptr<CPluginSetup>& settings) const;
    host::TestElementPtr CreateElement(const host::IXmlElement& node, const std::shared_ptr<CPluginSetup>& settings,
                                       int32_t depth) const;
    void ReadElementInfo(const host::TestElementPtr& element, const host::IXmlElement& node) const;
    static std::string GetNodeText(const host::IXmlElement* node);

    ServerLock lock_;
    std::shared_ptr<host::CTestContainerBase> root_;
    std::shared_ptr<CPluginSetup> settings_;
    bool initialized_ = false;
    int32_t flags_ = 0;
};

}  // namespace plugin
