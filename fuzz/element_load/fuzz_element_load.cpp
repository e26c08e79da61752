// Arbitrary saved element data through Load of the plug-in's saved objects:
// limits, a test result, a group result and the SpO2 configuration. The first
// byte picks the owner's test type; the rest is the saved XML. A load never
// crashes; whatever loads saves, and the saved form loads back to the same
// form. The configuration works on a make folder of its own and touches no
// file outside it.

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/error_service.h"
#include "host/language_service.h"
#include "host/run_context.h"
#include "host/xml.h"
#include "makes/make_utils.h"
#include "platform/com/registry.h"
#include "platform/ui/msgbox.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/result_data.h"
#include "plugin/results/result_test_group.h"
#include "tests/plugin/results/fake_element.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz_element_load: %s\n%s\n", what, detail.c_str());
    std::abort();
}

// Every question is answered No: nothing is overwritten.
class AnswerNo : public plat::ui::MessageBoxService {
public:
    int32_t Answer(const plat::ui::MessageBoxRequest&) override { return plat::ui::vbNo; }
};

std::string root;  // the fuzzer's own folder: registry, make folder, languages

int32_t TestIdOf(uint8_t byte) {
    static const int32_t ids[] = {0, 1, 100, 200, 300, 400};
    return ids[byte % 6];
}

template <class T>
std::string Saved(const T& object) {
    auto doc = host::XmlFactory().NewDocument();
    auto element = object.Save(*doc);
    if (!element) return {};
    doc->AppendChild(element);
    return doc->Xml();
}

host::XmlDocumentPtr Parsed(const std::string& xml) {
    auto doc = host::XmlFactory().NewDocument();
    try {
        doc->LoadXml(xml);
    } catch (const host::HostError&) {
        Fail("saved data does not read back", xml);
    }
    return doc;
}

std::shared_ptr<results_test::FakeElement> OwnerOf(int32_t testId) {
    auto owner = std::make_shared<results_test::FakeElement>(testId);
    auto limits = std::make_shared<plugin::CLimitData>();
    limits->SetOwner(owner);
    owner->base->SetLimits(limits);
    return owner;
}

void LoadLimits(const host::IXmlElement& root, int32_t testId) {
    auto owner = OwnerOf(testId);
    auto limits = std::dynamic_pointer_cast<plugin::CLimitData>(owner->Limits());
    limits->Load(root, std::make_shared<host::CLoadContext>());
    const std::string first = Saved(*limits);
    if (first.empty()) return;
    auto reloaded = std::make_shared<plugin::CLimitData>();
    reloaded->SetOwner(owner);
    reloaded->Load(*Parsed(first)->DocumentElement(), nullptr);
    if (Saved(*reloaded) != first) Fail("limits changed in a round trip", first);
    limits->PrintReport(nullptr, {});
}

void LoadTestResult(const host::IXmlElement& root, int32_t testId) {
    auto owner = OwnerOf(testId);
    auto result = std::make_shared<plugin::CResultData>();
    result->InitializeResult(owner);
    owner->base->SetResult(result);
    result->Load(root, std::make_shared<host::CLoadContext>());
    if (result->Status() < 0 || result->Status() > 3) Fail("a result status out of range", std::to_string(result->Status()));
    const std::string first = Saved(*result);
    if (first.empty()) Fail("a loaded result does not save", root.Name());
    auto reloaded = std::make_shared<plugin::CResultData>();
    reloaded->InitializeResult(owner);
    reloaded->Load(*Parsed(first)->DocumentElement(), nullptr);
    if (Saved(*reloaded) != first) Fail("a result changed in a round trip", first);
    auto report = std::make_shared<host::CReport>("English", 1, 3);
    result->PrintReport(report, {});
    result->StoreResult("97::72::1::PIN1_TO_PIN2=5", nullptr);
}

// A group result either refuses the element with a host error or reads a
// known status, and leaves every context it entered.
void LoadGroupResult(const host::IXmlElement& root) {
    auto context = std::make_shared<host::CLoadContext>();
    plugin::CResultTestGroup result;
    try {
        result.Load(root, context);
    } catch (const host::HostError&) {
    }
    if (result.Status() < 0 || result.Status() > 3) Fail("a group status out of range", std::to_string(result.Status()));
    if (!context->Entries().empty()) Fail("a load context left entered", root.Name());
}

void LoadConfiguration(const host::IXmlElement& element) {
    const std::string makes = root + "/makes/";
    std::error_code ec;
    fs::remove_all(makes, ec);
    fs::create_directories(makes, ec);
    auto config = std::make_shared<plugin::CSpO2SimulationConfig>();
    try {
        config->Load(element, {});
    } catch (const host::HostError&) {
    }
    const int32_t make = config->OximeterMake();
    if (make < 0 || (make >= 10 && !config->CurrentMake())) Fail("a make index without a make", std::to_string(make));
    if (config->GetTlc() < 0 || config->GetTlc() > 4095) Fail("a TLC out of range", std::to_string(config->GetTlc()));
    if (config->SimulationID() < 0 || config->SimulationID() > 24) Fail("a preset out of range", "");
    (void)Saved(*config);
    for (const auto& entry : fs::directory_iterator(root, ec)) {
        const std::string name = entry.path().filename().string();
        if (name != "makes" && name != "settings") Fail("a file outside the make folder", name);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (fs::temp_directory_path() / "orvik-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) Fail("no temporary folder", pattern);
    root = pattern;
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(root, ec);
    });
    fs::create_directories(root + "/settings");
    plat::Registry::UseFile(root + "/settings/registry.reg");
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", root + "/makes/");
    host::LanguageService().SetLanguagesRoot(root + "/settings/languages");
    host::ErrorService().SetEcho(false);
    plat::ui::SetMessageBoxService(std::make_shared<AnswerNo>());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int32_t testId = TestIdOf(data[0]);
    auto doc = host::XmlFactory().NewDocument();
    try {
        doc->LoadXml(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    } catch (const host::HostError&) {
        return 0;
    }
    const auto& element = *doc->DocumentElement();
    LoadLimits(element, testId);
    LoadTestResult(element, testId);
    LoadGroupResult(element);
    LoadConfiguration(element);
    host::ErrorService().ClearLog();
    return 0;
}
