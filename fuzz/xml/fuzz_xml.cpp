// Arbitrary bytes through the XML reader; whatever reads is written, read
// again and must come back node for node, and be written the same.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/error_service.h"
#include "host/xml.h"

namespace {

void Dump(const host::XmlNodePtr& node, std::string& out) {
    switch (node->NodeType()) {
        case host::XmlNodeType::Text: out += "T" + std::to_string(node->Text().size()) + ":" + node->Text(); return;
        case host::XmlNodeType::Comment: out += "C" + std::to_string(node->Text().size()) + ":" + node->Text(); return;
        case host::XmlNodeType::ProcessingInstruction:
            out += "P" + node->NodeName() + "|" + std::to_string(node->Text().size()) + ":" + node->Text();
            return;
        case host::XmlNodeType::Element: break;
    }
    auto e = host::AsElement(node);
    out += "E" + e->Name() + "(";
    for (const auto& [n, v] : e->Attributes()) out += n + "=" + std::to_string(v.size()) + ":" + v + ",";
    auto children = e->ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) Dump(children->Item(i), out);
    out += ")";
}

std::string Dump(const host::IXmlDocument& doc) {
    std::string out;
    auto nodes = doc.ChildNodes();
    for (int32_t i = 0; i < nodes->Count(); ++i) Dump(nodes->Item(i), out);
    return out;
}

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz_xml: %s\n%s\n", what, detail.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto doc = host::XmlFactory().NewDocument();
    try {
        doc->LoadXml(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const host::HostError& e) {
        if (e.Number() != host::errors::XmlLoad || e.Description().find("line ") == std::string::npos)
            Fail("a load failure without its position", e.what());
        if (doc->DocumentElement()) Fail("a failed load left content", e.what());
        return 0;
    }
    auto root = doc->DocumentElement();
    if (!root) Fail("a loaded document without an element", "");
    (void)root->FindElement("TestElement");
    (void)root->GetAttribute("ID");

    std::string written = doc->Xml();
    auto again = host::XmlFactory().NewDocument();
    try {
        again->LoadXml(written);
    } catch (const host::HostError& e) {
        Fail("the written document does not read back", std::string(e.what()) + "\n" + written);
    }
    if (Dump(*again) != Dump(*doc)) Fail("the round trip changed the tree", written);
    if (again->Xml() != written) Fail("the round trip changed the text", written);
    return 0;
}
