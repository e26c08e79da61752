#include "plugin/shell/pelmo2_plugin.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>

#include "host/limit_standards.h"
#include "host/path_helper.h"
#include "host/registry_key.h"
#include "host/translate_text.h"
#include "host/xml.h"
#include "makes/make_utils.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "plugin/shell/host_errors.h"
#include "plugin/shell/pelmo2_utils.h"
#include "plugin/shell/plugin_resources.h"
#include "plugin/shell/plugin_setup.h"
#include "plugin/shell/test_data.h"
#include "plugin/shell/test_group.h"
#include "plugin/shell/test_kind.h"
#include "plugin/shell/utilities.h"

#ifndef ORVIK_PLUGIN_VERSION_MAJOR
#error "the plug-in's version comes from the build (ORVIK_PLUGIN_VERSION_*)"
#endif

namespace plugin {

namespace {

constexpr const char* kLocation = "orvikPelmo2.CPelmo2Plugin";
constexpr const char* kTemplateFile = "orvikPelmo2.mpc";
const char kLibraryAnchor = 0;

[[noreturn]] void TemplateError(const std::string& why) { RaisePlugInError(errors::Template, kLocation, 3, why); }

// Raises the file error of a template that could not be read: a missing file
// in an existing folder, or any other fault (missing folder, a folder in the
// file's place, no access).
[[noreturn]] void RaiseTemplateFileError(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) {
        struct stat folder{};
        const std::string parent = plat::fs::FolderOf(path);
        if (parent.empty() || (::stat(parent.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode)))
            RaisePlugInError(errors::TemplateFileNotFound, kLocation, 3, "The template \"" + path + "\" is missing");
    }
    RaisePlugInError(errors::TemplateFile, kLocation, 3, "The template \"" + path + "\" cannot be read");
}

// Anything besides white space and comments: a template made only of those
// is as empty as one without child nodes.
bool HoldsContent(const host::IXmlElement& element) {
    auto children = element.ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) {
        auto child = children->Item(i);
        if (!child || child->NodeType() == host::XmlNodeType::Comment) continue;
        if (child->NodeType() != host::XmlNodeType::Text) return true;
        if (child->Text().find_first_not_of(" \t\r\n") != std::string::npos) return true;
    }
    return false;
}

}  // namespace

// ---- constants -----------------------------------------------------------------------

std::string CPelmo2Plugin::ID() const { return kPlugInId; }

std::string CPelmo2Plugin::Name() const {
    return host::TranslateText(kLanguageSection, "20000::Pelmo Q5 SpO2 Simulator");
}

std::string CPelmo2Plugin::Version() const {
    return std::to_string(ORVIK_PLUGIN_VERSION_MAJOR) + "." + std::to_string(ORVIK_PLUGIN_VERSION_MINOR) + "." +
           std::to_string(ORVIK_PLUGIN_VERSION_PATCH);
}

std::string CPelmo2Plugin::IconResourceName(int32_t iconId, int32_t size) {
    if (size < 0 || size > 2) return "PELMO2(16x16)";
    static constexpr const char* kSizes[] = {"16x16", "32x16", "32x32"};
    std::string base;
    std::string depth;
    switch (iconId) {
    case 0: base = "PELMO2"; break;
    case 1: base = "PROBE"; break;
    default: {
        // The other icons are numbered by the test IDs.
        const TestKind* kind = FindTestKind(iconId);
        if (!kind) return {};
        base = kind->icon, depth = kind->iconDepth;
        break;
    }
    }
    return base + "(" + kSizes[size] + depth + ")";
}

std::shared_ptr<host::CPicture> CPelmo2Plugin::Icon(int32_t iconId, int32_t size, const plat::Variant&) const {
    std::shared_ptr<host::CPicture> picture;
    plat::PassOver([&] {
        const std::string name = IconResourceName(iconId, size);
        if (!name.empty()) picture = LoadBitmapResource(name);
    });
    return picture;
}

std::shared_ptr<host::ISetup> CPelmo2Plugin::Setup() const { return settings_; }

// ---- template ------------------------------------------------------------------------

std::string CPelmo2Plugin::GetTemplatePath() {
    std::string path;
    plat::PassOver([&] {
        auto key = std::make_shared<host::CRegistryKey>();
        key->Open(host::HKey::LocalMachine, makes::kRegistryKey);
        path = key->ReadValue("Configuration");
    });
    if (path.empty())
        plat::PassOver([&] {
            path = host::PathHelper().AddBackslash(plat::fs::FolderOf(plat::ModulePath(&kLibraryAnchor))) + kTemplateFile;
        });
    return path;
}

std::string CPelmo2Plugin::GetNodeText(const host::IXmlElement* node) {
    if (!node) return {};
    std::string text;
    plat::PassOver([&] {
        const std::string lid = node->GetAttribute("LID");
        if (!lid.empty()) text = host::TranslateText(kLanguageSection, lid);
    });
    return text;
}

void CPelmo2Plugin::ReadElementInfo(const host::TestElementPtr& element, const host::IXmlElement& node) const {
    std::string type, parameter, name, description;
    auto children = node.ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) {
        auto child = children->ElementAt(i);
        if (!child) continue;
        const std::string childName = child->Name();
        if (childName == "Type") type = GetNodeText(child.get());
        else if (childName == "Parameter") parameter = GetNodeText(child.get());
        else if (childName == "Name") name = GetNodeText(child.get());
        else if (childName == "Description") description = GetNodeText(child.get());
        else if (childName == "ExpectedResult") {
            auto limits = element->Limits();
            if (!limits) continue;
            try {
                // Limits pass over data they cannot read; the template must not.
                host::CLimitStandards().Load(*child, nullptr);
                limits->Load(*child, nullptr);
            } catch (const std::exception& error) {
                TemplateError(std::string("The default limits of test ") + std::to_string(element->TestID()) +
                              " cannot be read: " + error.what());
            }
        }
    }
    plat::PassOver([&] {
        auto info = element->Info();
        info->SetTypeAndParameter(type, parameter);
        info->SetDescription(description);
        info->SetName(name);
    });
}

host::TestElementPtr CPelmo2Plugin::CreateElement(const host::IXmlElement& node,
                                                  const std::shared_ptr<CPluginSetup>& settings,
                                                  int32_t depth) const {
    try {
        if (depth > kMaxTemplateDepth) TemplateError("The template nests deeper than 64 elements");
        const std::string className = node.GetAttribute("ClassName");
        if (className.empty()) TemplateError("A template element has no ClassName");
        const std::string idText = node.GetAttribute("ID");
        if (idText.empty()) TemplateError("The template element \"" + className + "\" has no ID");
        std::optional<int32_t> testId;
        if (ValTextFindsNumber(idText)) testId = plat::TryRoundToLong(makes::ValText(idText));
        if (!testId) TemplateError("The template element ID \"" + idText + "\" is no 32-bit number");

        const bool isGroup = plat::EqualsNoCase(className, ProjectName() + ".CTestGroup");
        const bool isTest = plat::EqualsNoCase(className, ProjectName() + ".CTestData");
        if (!isGroup && !isTest) TemplateError("The template names the unknown class \"" + className + "\"");
        if (isGroup != (*testId == 1))
            TemplateError("The template element of ID " + idText + " cannot be made by \"" + className + "\"");

        host::TestElementPtr element;
        if (isGroup) {
            auto group = CTestGroup::New();
            group->Initialize(kPlugInId, 1, 1);
            element = group;
        } else {
            auto test = std::make_shared<CTestData>();
            test->Create(*testId, settings);
            element = test;
        }
        ReadElementInfo(element, node);

        if (auto container = std::dynamic_pointer_cast<host::ITestContainer>(element)) {
            auto children = node.ChildNodes();
            for (int32_t i = 0; i < children->Count(); ++i) {
                auto child = children->ElementAt(i);
                if (child && child->Name() == "TestElement")
                    container->Add(CreateElement(*child, settings, depth + 1), nullptr, 1);
            }
        }
        return element;
    } catch (const host::HostError& error) {
        if (error.Number() == errors::Template) throw;
        TemplateError(error.what());
    } catch (const std::exception& error) {
        TemplateError(error.what());
    }
}

std::shared_ptr<host::CTestContainerBase> CPelmo2Plugin::LoadTemplate(
    const std::string& path, const std::shared_ptr<CPluginSetup>& settings) const {
    auto document = host::XmlFactory().NewDocument();
    try {
        document->Load(path);
    } catch (const host::HostError& error) {
        // A document that does not parse simply holds no template.
        if (error.Number() != host::errors::XmlLoad) RaiseTemplateFileError(path);
    }
    auto top = document->DocumentElement();
    auto templateData = top ? top->FindElement("TemplateData") : nullptr;
    if (!templateData) TemplateError("The template \"" + path + "\" holds no TemplateData");
    if (!HoldsContent(*templateData)) TemplateError("The TemplateData of \"" + path + "\" is empty");

    auto root = std::make_shared<host::CTestContainerBase>();
    auto children = templateData->ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) {
        auto child = children->ElementAt(i);
        if (child && child->Name() == "TestElement") root->Add(CreateElement(*child, settings, 1), nullptr, 1);
    }
    return root;
}

// ---- host members ------------------------------------------------------------------------

void CPelmo2Plugin::Initialize(const plat::ObjectPtr&) {
    auto settings = std::make_shared<CPluginSetup>();
    // The first settings object stays even when the first load fails; a later
    // failed load keeps the settings the elements already hold.
    if (!settings_) settings_ = settings;
    try {
        auto root = LoadTemplate(GetTemplatePath(), settings);
        root_ = root;
        settings_ = settings;
        initialized_ = true;
    } catch (...) {
        PassOnOrReport({errors::TemplateFileNotFound, errors::Template, errors::TemplateFile}, kLocation, true);
    }
}

std::shared_ptr<host::ITestContainer> CPelmo2Plugin::Tests() const {
    try {
        if (!root_ || !initialized_) RaisePlugInError(errors::NotInitialised, kLocation, 4);
        return root_;
    } catch (...) {
        PassOnOrReport({errors::NotInitialised}, kLocation, true);
        return nullptr;
    }
}

host::TestElementPtr CPelmo2Plugin::CreateTest(int32_t id) {
    try {
        if (!root_ || !initialized_) RaisePlugInError(errors::NotInitialised, kLocation, 4);
        auto element = root_->FindElement(id);
        if (!element)
            RaisePlugInError(errors::UnknownTestId, kLocation, 1, "The plug-in has no test of ID " + std::to_string(id));
        return element->Clone();
    } catch (...) {
        PassOnOrReport({errors::NotInitialised, errors::UnknownTestId}, kLocation, true);
        return nullptr;
    }
}

}  // namespace plugin
