// Arbitrary saved element data through Load of limits and group results. The first byte picks
// the owner's test type; the rest is the saved XML. Whatever loads must save,
// and the saved form must load back to the same form.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/error_service.h"
#include "host/run_context.h"
#include "host/xml.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/result_test_group.h"
#include "tests/plugin/results/fake_element.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz_element_load: %s\n%s\n", what, detail.c_str());
    std::abort();
}

int32_t TestIdOf(uint8_t byte) {
    static const int32_t ids[] = {0, 1, 100, 200, 300, 400};
    return ids[byte % 6];
}

std::string Saved(const plugin::CLimitData& limits) {
    auto doc = host::XmlFactory().NewDocument();
    auto element = limits.Save(*doc);
    if (!element) return {};
    doc->AppendChild(element);
    return doc->Xml();
}

void LoadLimits(const host::IXmlElement& root, int32_t testId) {
    auto owner = std::make_shared<results_test::FakeElement>(testId);
    auto limits = std::make_shared<plugin::CLimitData>();
    limits->SetOwner(owner);
    limits->Load(root, std::make_shared<host::CLoadContext>());
    std::string first = Saved(*limits);
    if (first.empty()) return;
    auto again = host::XmlFactory().NewDocument();
    try {
        again->LoadXml(first);
    } catch (const host::HostError&) {
        Fail("saved limits do not read back", first);
    }
    auto reloaded = std::make_shared<plugin::CLimitData>();
    reloaded->SetOwner(owner);
    reloaded->Load(*again->DocumentElement(), nullptr);
    if (Saved(*reloaded) != first) Fail("limits changed in a round trip", first);
    limits->PrintReport(nullptr, {});
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    host::ErrorService().SetEcho(false);
    const int32_t testId = TestIdOf(data[0]);
    auto doc = host::XmlFactory().NewDocument();
    try {
        doc->LoadXml(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    } catch (const host::HostError&) {
        return 0;
    }
    LoadLimits(*doc->DocumentElement(), testId);
    LoadGroupResult(*doc->DocumentElement());
    host::ErrorService().ClearLog();
    return 0;
}
