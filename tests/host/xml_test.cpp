#include <gtest/gtest.h>

#include "host/error_service.h"
#include "host/xml.h"
#include "platform/values/numfmt.h"
#include "tests/support/temp_dir.h"

namespace {

using host::HostError;
using host::XmlElementPtr;
using host::XmlNodeType;

host::XmlDocumentPtr Parse(const std::string& text) {
    auto doc = host::XmlFactory().NewDocument();
    doc->LoadXml(text);
    return doc;
}

// The error text of loading `text`, "" when it loads.
std::string LoadError(const std::string& text) {
    try {
        Parse(text);
        return "";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), host::errors::XmlLoad);
        return e.Description();
    }
}

// Structure and texts of a node, for comparing documents.
std::string Dump(const host::XmlNodePtr& node) {
    std::string out;
    switch (node->NodeType()) {
        case XmlNodeType::Text: return "T[" + node->Text() + "]";
        case XmlNodeType::Comment: return "C[" + node->Text() + "]";
        case XmlNodeType::ProcessingInstruction: return "P[" + node->NodeName() + "|" + node->Text() + "]";
        case XmlNodeType::Element: break;
    }
    auto e = host::AsElement(node);
    out = "E[" + e->Name();
    for (const auto& [n, v] : e->Attributes()) out += " " + n + "=" + v;
    auto children = e->ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) out += " " + Dump(children->Item(i));
    return out + "]";
}

std::string Dump(const host::IXmlDocument& doc) {
    std::string out;
    auto nodes = doc.ChildNodes();
    for (int32_t i = 0; i < nodes->Count(); ++i) out += Dump(nodes->Item(i));
    return out;
}

const char* kTemplate =
    "<?xml version=\"1.0\"?>\n"
    "<!-- template -->\n"
    "<TemplateData>\n"
    "  <TestElement ClassName=\"OrvikPelmo2.CTestGroup\" ID=\"1\">\n"
    "    <Name LID=\"20010::Probe tests\"/>\n"
    "    <TestElement ClassName=\"OrvikPelmo2.CTestData\" ID=\"100\">text<![CDATA[ <raw> ]]>more</TestElement>\n"
    "    <?pi some data?>\n"
    "  </TestElement>\n"
    "</TemplateData>\n";

TEST(XmlTest, ParsedTreeKeepsEveryNodeInOrder) {
    auto doc = Parse(kTemplate);
    auto root = doc->DocumentElement();
    ASSERT_TRUE(root);
    EXPECT_EQ(root->Name(), "TemplateData");
    auto top = doc->ChildNodes();
    ASSERT_EQ(top->Count(), 2);
    EXPECT_EQ(top->Item(0)->NodeType(), XmlNodeType::Comment);
    EXPECT_EQ(top->Item(0)->Text(), " template ");

    auto children = root->ChildNodes();
    ASSERT_EQ(children->Count(), 3);  // whitespace, TestElement, whitespace
    EXPECT_EQ(children->Item(0)->NodeName(), "#text");
    EXPECT_EQ(children->Item(0)->Text(), "\n  ");
    auto group = children->ElementAt(1);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->GetAttribute("ClassName"), "OrvikPelmo2.CTestGroup");
    EXPECT_EQ(group->GetAttribute("ID"), "1");
    EXPECT_EQ(children->ElementAt(0), nullptr);
    EXPECT_EQ(children->Item(-1), nullptr);
    EXPECT_EQ(children->Item(3), nullptr);

    auto test = group->FindElement("TestElement");
    EXPECT_EQ(test, group);  // the element itself counts
    auto inner = group->ChildNodes()->ElementAt(3);
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->GetAttribute("ID"), "100");
    EXPECT_EQ(inner->Text(), "text <raw> more");  // CDATA becomes plain text
    EXPECT_EQ(inner->ParentElement(), group);
    EXPECT_EQ(doc->DocumentElement()->FindElement("Name")->GetAttribute("LID"), "20010::Probe tests");
    EXPECT_EQ(root->FindElement("Missing"), nullptr);
    EXPECT_EQ(group->ChildNodes()->Item(5)->NodeType(), XmlNodeType::ProcessingInstruction);
}

TEST(XmlTest, MissingAttributeReadsEmpty) {
    auto root = Parse("<a x=\"\"/>")->DocumentElement();
    EXPECT_EQ(root->GetAttribute("y"), "");
    EXPECT_FALSE(root->HasAttribute("y"));
    EXPECT_TRUE(root->HasAttribute("x"));
    EXPECT_EQ(root->GetAttribute("X"), "");  // names compare with case
    EXPECT_FALSE(root->HasChildNodes());
}

TEST(XmlTest, RoundTripIsExact) {
    auto doc = Parse(kTemplate);
    std::string written = doc->Xml();
    auto again = Parse(written);
    EXPECT_EQ(Dump(*again), Dump(*doc));
    EXPECT_EQ(again->Xml(), written);
}

TEST(XmlTest, SaveAndLoadFile) {
    test_support::TempDir folder;
    auto doc = host::XmlFactory().NewDocument();
    auto root = doc->CreateElement("PlugInData");
    doc->AppendChild(root);
    root->AddChild("PluginSetup", "")->SetAttribute("Make", "12");
    root->AddChild("Name", "M\xC3\xBCller");
    doc->Save(folder.File("data.xml"));

    auto loaded = host::XmlFactory().NewDocument();
    loaded->Load(folder.File("data.xml"));
    EXPECT_EQ(Dump(*loaded), Dump(*doc));
    EXPECT_EQ(loaded->DocumentElement()->FindElement("PluginSetup")->GetAttribute("Make"), "12");
    EXPECT_EQ(loaded->DocumentElement()->FindElement("Name")->Text(), "M\xC3\xBCller");
}

TEST(XmlTest, EscapingSurvivesRoundTrip) {
    const std::string nasty = "a&b<c>d\"e'f \t\n\r g \r\n h &amp; ]]>";
    auto doc = host::XmlFactory().NewDocument();
    auto root = doc->CreateElement("r");
    doc->AppendChild(root);
    root->SetAttribute("v", nasty);
    root->AddChild("t", nasty);
    root->AppendChild(doc->CreateTextNode("  \n  "));
    std::string xml = doc->Xml();
    EXPECT_NE(xml.find("a&amp;b&lt;c&gt;d&quot;e&apos;f &#9;&#10;&#13; g &#13;&#10; h &amp;amp; ]]&gt;"), std::string::npos);

    auto back = Parse(xml)->DocumentElement();
    EXPECT_EQ(back->GetAttribute("v"), nasty);
    EXPECT_EQ(back->FindElement("t")->Text(), nasty);
    EXPECT_EQ(back->ChildNodes()->Item(1)->Text(), "  \n  ");
}

TEST(XmlTest, CharactersXmlCannotHoldStillGiveAReadableFile) {
    auto doc = host::XmlFactory().NewDocument();
    auto root = doc->CreateElement("r");
    doc->AppendChild(root);
    // A control character, a stray Latin-1 byte, a truncated sequence and U+FFFF.
    root->SetAttribute("v", std::string("a\x01" "b\xE9" "c\xC3") + "\xEF\xBF\xBF");
    root->SetText(std::string("x\x1F\x7Fy\0z", 6));
    auto back = Parse(doc->Xml())->DocumentElement();
    EXPECT_EQ(back->GetAttribute("v"), "a\xEF\xBF\xBD" "b\xC3\xA9" "c\xC3\x83\xEF\xBF\xBD");
    EXPECT_EQ(back->Text(), "x\xEF\xBF\xBD\x7Fy\xEF\xBF\xBDz");
}

TEST(XmlTest, MalformedInputNamesLineAndColumn) {
    std::string error = LoadError("<a>\n  <b>\n</a>");
    EXPECT_NE(error.find("XML text, line 3, column 3"), std::string::npos) << error;
    EXPECT_NE(error.find("mismatched tag"), std::string::npos) << error;
    EXPECT_NE(LoadError(""), "");
    EXPECT_NE(LoadError("<a>&undefined;</a>"), "");
    EXPECT_NE(LoadError("<a x='1' x='2'/>"), "");
    EXPECT_NE(LoadError("<a/><b/>"), "");
    EXPECT_NE(LoadError("<a>\xFF</a>"), "");

    test_support::TempDir folder;
    auto doc = host::XmlFactory().NewDocument();
    try {
        doc->Load(folder.Write("bad.xml", "<TemplateData>\n<TestElement>\n"));
        FAIL() << "truncated file loaded";
    } catch (const HostError& e) {
        EXPECT_NE(e.Description().find(folder.File("bad.xml") + ", line 3"), std::string::npos) << e.Description();
    }
    EXPECT_EQ(doc->DocumentElement(), nullptr);  // a failed load leaves the document empty
}

TEST(XmlTest, DoctypeAndEntitiesAreRefused) {
    std::string error = LoadError("<?xml version=\"1.0\"?>\n<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>");
    EXPECT_NE(error.find("DOCTYPE"), std::string::npos) << error;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_NE(LoadError("<!DOCTYPE a SYSTEM \"/etc/passwd\"><a/>").find("DOCTYPE"), std::string::npos);
    EXPECT_NE(LoadError("<!DOCTYPE lol [<!ENTITY a \"aaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><lol>&b;</lol>"), "");
}

TEST(XmlTest, DeepNestingIsRefused) {
    std::string deep;
    for (int i = 0; i < 300; ++i) deep += "<a>";
    for (int i = 0; i < 300; ++i) deep += "</a>";
    EXPECT_NE(LoadError(deep).find("nested deeper"), std::string::npos);
}

TEST(XmlTest, MissingFileIsFileNotFound) {
    test_support::TempDir folder;
    auto doc = host::XmlFactory().NewDocument();
    try {
        doc->Load(folder.File("none.xml"));
        FAIL();
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), host::errors::FileNotFound);
    }
    try {
        doc->Load(folder.File("no/such/folder/none.xml"));
        FAIL();
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), host::errors::PathNotFound);
    }
    EXPECT_THROW(doc->Save(folder.File("no/such/folder/out.xml")), HostError);
}

TEST(XmlTest, TreeEditing) {
    auto doc = host::XmlFactory().NewDocument();
    EXPECT_EQ(doc->DocumentElement(), nullptr);
    auto root = doc->CreateElement("root");
    doc->AppendChild(root);
    EXPECT_THROW(doc->AppendChild(doc->CreateElement("second")), HostError);
    EXPECT_THROW(doc->AppendChild(doc->CreateTextNode("x")), HostError);

    auto a = root->AddChild("a", "1");
    auto b = root->AddChild("b", "");
    EXPECT_FALSE(b->HasChildNodes());
    b->AppendChild(a);  // moves it
    EXPECT_EQ(root->ChildNodes()->Count(), 1);
    EXPECT_EQ(a->ParentElement(), b);
    EXPECT_THROW(a->AppendChild(root), HostError);
    EXPECT_THROW(a->AppendChild(a), HostError);
    EXPECT_EQ(root->Text(), "1");
    root->SetText("plain");
    EXPECT_EQ(root->ChildNodes()->Count(), 1);
    EXPECT_EQ(b->ParentElement(), nullptr);
    root->SetName("renamed");
    root->SetAttribute("k", "1");
    root->SetAttribute("k", "2");
    EXPECT_EQ(root->Attributes().size(), 1u);
    EXPECT_EQ(doc->Xml(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<renamed k=\"2\">plain</renamed>\n");
}

TEST(XmlTest, InvalidNamesAreRefused) {
    auto doc = host::XmlFactory().NewDocument();
    for (const char* bad : {"", "1a", "a b", "a<b", "-a", "a\"", "\xFF"})
        EXPECT_THROW(doc->CreateElement(bad), HostError) << bad;
    auto e = doc->CreateElement("ok");
    EXPECT_THROW(e->SetAttribute("bad name", "x"), HostError);
    EXPECT_THROW(e->AddChild("bad name", "x"), HostError);
    EXPECT_THROW(e->SetName("9"), HostError);
    EXPECT_NO_THROW(doc->CreateElement("M\xC3\xBCller"));
    EXPECT_NO_THROW(doc->CreateElement("ns:a-b.c_d"));
}

TEST(XmlFactoryTest, StatusElement) {
    auto doc = host::XmlFactory().NewDocument();
    auto status = host::XmlFactory().CreateStatusElement(*doc, 2);
    EXPECT_EQ(status->Name(), "Status");
    EXPECT_EQ(status->Text(), "2");
    EXPECT_EQ(host::XmlFactory().ReadStatusElement(*status), 2);
    status->SetText("");
    EXPECT_EQ(host::XmlFactory().ReadStatusElement(*status), 0);
    status->SetText("passed");
    EXPECT_THROW(host::XmlFactory().ReadStatusElement(*status), HostError);
}

TEST(XmlFactoryTest, ValueElementKeepsNumbersAndEmptiness) {
    const auto& f = host::XmlFactory();
    auto doc = f.NewDocument();
    EXPECT_EQ(f.ReadValueElement(*f.CreateValueElement(*doc, plat::Variant(int32_t{98}), "Value")),
              plat::Variant(int32_t{98}));
    EXPECT_TRUE(f.ReadValueElement(*f.CreateValueElement(*doc, plat::Variant(), "Value")).IsEmpty());
    {
        plat::ScopedDecimalSign comma(',');
        auto e = f.CreateValueElement(*doc, plat::Variant(0.5), "Value");
        EXPECT_EQ(e->Text(), "0.5");  // saved data does not follow the user's decimal sign
        EXPECT_EQ(f.ReadValueElement(*e), plat::Variant(0.5));
    }
    auto text = f.CreateValueElement(*doc, plat::Variant("abc"), "Value");
    EXPECT_EQ(f.ReadValueElement(*text), plat::Variant("abc"));
    struct Case { const char* text; plat::VarType type; };
    for (auto c : {Case{"0,25", plat::VarType::Double}, Case{"-3", plat::VarType::Long},
                   Case{"1E+20", plat::VarType::Double}, Case{"99999999999", plat::VarType::Double},
                   Case{"12abc", plat::VarType::String}, Case{"inf", plat::VarType::String},
                   Case{"-", plat::VarType::String}, Case{"++1", plat::VarType::String}}) {
        text->SetText(c.text);
        EXPECT_EQ(f.ReadValueElement(*text).Type(), c.type) << c.text;
    }
    text->SetText("0,25");
    EXPECT_DOUBLE_EQ(f.ReadValueElement(*text).AsDouble(), 0.25);
}

}  // namespace
