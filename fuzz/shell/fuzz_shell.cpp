// Hostile input to the plug-in's shell: the first byte picks the road, the
// rest is the file. Even: a template file read by Initialize. Odd: saved
// element data loaded into a test or a group made from the shipped-like
// template. Every failure must be a clean host error; whatever loads must
// save again.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/error_service.h"
#include "host/language_service.h"
#include "host/registry_key.h"
#include "host/run_context.h"
#include "host/xml.h"
#include "platform/com/registry.h"
#include "plugin/config/spo2_config_part.h"
#include "plugin/results/results_classes.h"
#include "plugin/shell/pelmo2_plugin.h"

namespace {

const char kTemplate[] = R"(<TemplateData><TestElement ClassName="OrvikPelmo2.CTestGroup" ID="1">
<TestElement ClassName="OrvikPelmo2.CTestData" ID="100"/><TestElement ClassName="OrvikPelmo2.CTestData" ID="400"/>
</TestElement></TemplateData>)";

struct Sandbox {
    std::string folder;
    Sandbox() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvik-fuzz-shell-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder = pattern;
        plat::Registry::UseFile(folder + "/registry.reg");
        host::LanguageService().SetLanguagesRoot(folder + "/languages");
        host::ErrorService().SetEcho(false);
        // The real configuration, limits and results, as the plug-in library installs them.
        plugin::RegisterSpO2ConfigurationPart();
        plugin::RegisterResultsParts();
    }
    ~Sandbox() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    std::string Write(const std::string& name, const uint8_t* data, size_t size) const {
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path;
    }
    void UseTemplate(const std::string& path) const {
        host::CRegistryKey key;
        key.Create(host::HKey::LocalMachine, "Software\\Velam\\Orvik\\Pelmo2");
        key.WriteValue("Configuration", path);
    }
};

Sandbox& Box() {
    static Sandbox box;
    return box;
}

void ReadTemplate(const uint8_t* data, size_t size) {
    Box().UseTemplate(Box().Write("t.mpc", data, size));
    plugin::CPelmo2Plugin plugIn;
    try {
        plugIn.Initialize(nullptr);
    } catch (const host::HostError&) {
        return;
    }
    // A loaded tree hands out clones of every element it holds.
    auto root = plugIn.Tests();
    for (auto element : root->NewEnum()) {
        auto clone = plugIn.CreateTest(element->ID());
        if (!clone) std::abort();
        auto doc = host::XmlFactory().NewDocument();
        if (auto saved = clone->Save(*doc, {})) doc->AppendChild(saved);
    }
}

void LoadElement(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        const std::string text = kTemplate;
        Box().UseTemplate(Box().Write("shipped.mpc", reinterpret_cast<const uint8_t*>(text.data()), text.size()));
        return true;
    }();
    (void)ready;
    static auto plugIn = [] {
        auto p = std::make_shared<plugin::CPelmo2Plugin>();
        p->Initialize(nullptr);
        host::RegisterPlugIn(p);
        return p;
    }();
    auto doc = host::XmlFactory().NewDocument();
    try {
        doc->LoadXml(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const host::HostError&) {
        return;
    }
    auto node = doc->DocumentElement();
    if (!node) return;
    const int32_t ids[] = {1, 100, 400};
    auto element = plugIn->CreateTest(ids[size % 3]);
    try {
        element->Load(*node, std::make_shared<host::CLoadContext>());
    } catch (const host::HostError&) {
        return;
    }
    auto out = host::XmlFactory().NewDocument();
    if (auto saved = element->Save(*out, {})) out->AppendChild(saved);
    element->Terminate();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (data[0] % 2 == 0) ReadTemplate(data + 1, size - 1);
    else LoadElement(data + 1, size - 1);
    host::ErrorService().ClearLog();
    return 0;
}
