#include "host/xml.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <expat.h>
#include <optional>

#include "host/error_service.h"
#include "platform/com/fs.h"
#include "platform/values/numfmt.h"
#include "platform/values/text.h"

namespace host {

namespace {

[[noreturn]] void Invalid(const std::string& what) { throw HostError("Orvik", errors::XmlInvalid, "XML", 2, what); }

// ---- Characters ------------------------------------------------------------

// Decodes one UTF-8 character at s[i]; false for a byte that starts no valid
// sequence (overlong forms, surrogates and values above U+10FFFF included).
bool DecodeUtf8(std::string_view s, size_t i, uint32_t& cp, size_t& len) {
    auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
    unsigned char c = b(0);
    if (c < 0x80) { cp = c; len = 1; return true; }
    size_t n;
    uint32_t min;
    if ((c & 0xE0) == 0xC0) { n = 2; cp = c & 0x1F; min = 0x80; }
    else if ((c & 0xF0) == 0xE0) { n = 3; cp = c & 0x0F; min = 0x800; }
    else if ((c & 0xF8) == 0xF0) { n = 4; cp = c & 0x07; min = 0x10000; }
    else return false;
    if (i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k) {
        if ((b(k) & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (b(k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    len = n;
    return true;
}

bool AllowedChar(uint32_t cp) {
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) || (cp >= 0xE000 && cp <= 0xFFFD) ||
           (cp >= 0x10000 && cp <= 0x10FFFF);
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendReference(std::string& out, uint32_t cp) {
    static const char* hex = "0123456789ABCDEF";
    std::string digits;
    do {
        digits.insert(digits.begin(), hex[cp & 0xF]);
        cp >>= 4;
    } while (cp);
    out += "&#x" + digits + ";";
}

enum class Escape { Text, Attribute, Raw };

// Writes text so that a reader gets it back: see the header for the rules.
void AppendEscaped(std::string& out, std::string_view s, Escape mode) {
    for (size_t i = 0; i < s.size();) {
        uint32_t cp;
        size_t len;
        if (!DecodeUtf8(s, i, cp, len)) {
            cp = static_cast<unsigned char>(s[i]);  // a stray byte: its Latin-1 character
            len = 1;
        } else if (!AllowedChar(cp)) {
            cp = 0xFFFD;
        }
        i += len;
        if (mode == Escape::Raw) {
            AppendUtf8(out, cp);
            continue;
        }
        switch (cp) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case '\r': out += "&#13;"; break;
            case '\t':
                if (mode == Escape::Attribute) out += "&#9;"; else out += '\t';
                break;
            case '\n':
                if (mode == Escape::Attribute) out += "&#10;"; else out += '\n';
                break;
            default:
                if (cp >= 0x80 && cp <= 0xFF && len == 1) AppendReference(out, cp);
                else AppendUtf8(out, cp);
        }
    }
}

// ---- Names -----------------------------------------------------------------

bool AsciiNameChar(char c, bool first) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':') return true;
    return !first && ((c >= '0' && c <= '9') || c == '-' || c == '.');
}

// A name passes when the reader accepts it; non-ASCII names are tried on expat itself.
void CheckName(std::string_view name, const char* what) {
    bool ascii = !name.empty();
    for (size_t i = 0; i < name.size() && ascii; ++i) {
        if (static_cast<unsigned char>(name[i]) >= 0x80) ascii = false;
        else if (!AsciiNameChar(name[i], i == 0)) Invalid(std::string("\"") + std::string(name) + "\" is no valid " + what + " name");
    }
    if (ascii) return;
    bool ok = false;
    if (!name.empty() && name.size() < 1024) {
        std::string probe = "<" + std::string(name) + "/>";
        XML_Parser p = XML_ParserCreate("UTF-8");
        ok = XML_Parse(p, probe.data(), static_cast<int>(probe.size()), XML_TRUE) == XML_STATUS_OK;
        XML_ParserFree(p);
    }
    if (!ok) Invalid(std::string("\"") + std::string(name) + "\" is no valid " + what + " name");
}

// ---- Tree ------------------------------------------------------------------

class ElementImpl;

// What every node knows of its place: the element or document holding it.
class Linked {
public:
    virtual ~Linked() = default;
    std::weak_ptr<plat::Object> holder;
};

// A holder of child nodes (element or document).
class Container {
public:
    virtual ~Container() = default;
    std::vector<XmlNodePtr> children;

    void Adopt(const XmlNodePtr& child, plat::Object& self) {
        auto* link = dynamic_cast<Linked*>(child.get());
        if (!link) Invalid("The node was not made by this XML wrapper");
        if (auto old = link->holder.lock()) {
            if (auto* c = dynamic_cast<Container*>(old.get())) {
                auto& v = c->children;
                for (auto it = v.begin(); it != v.end(); ++it)
                    if (*it == child) { v.erase(it); break; }
            }
        }
        link->holder = self.weak_from_this();
        children.push_back(child);
    }

    // Detaches every child: the nodes live on where the caller still holds them.
    void ReleaseChildren() {
        for (const auto& c : children)
            if (auto* link = dynamic_cast<Linked*>(c.get())) link->holder.reset();
        children.clear();
    }
};

class NodeList : public IXmlNodeList {
public:
    NodeList(std::shared_ptr<const plat::Object> owner, const Container* c) : owner_(std::move(owner)), c_(c) {}
    int32_t Count() const override { return static_cast<int32_t>(c_->children.size()); }
    XmlNodePtr Item(int32_t index) const override {
        if (index < 0 || index >= Count()) return nullptr;
        return c_->children[static_cast<size_t>(index)];
    }
private:
    std::shared_ptr<const plat::Object> owner_;  // keeps the holder alive
    const Container* c_;
};

std::shared_ptr<IXmlElement> ParentOf(const Linked& link) {
    return std::dynamic_pointer_cast<IXmlElement>(link.holder.lock());
}

class TextImpl : public IXmlNode, public Linked {
public:
    explicit TextImpl(std::string text) : text_(std::move(text)) {}
    XmlNodeType NodeType() const override { return XmlNodeType::Text; }
    std::string NodeName() const override { return "#text"; }
    std::string Text() const override { return text_; }
    void SetText(std::string_view text) override { text_ = text; }
    std::shared_ptr<IXmlElement> ParentElement() const override { return ParentOf(*this); }
    std::string text_;
};

class CommentImpl : public IXmlNode, public Linked {
public:
    explicit CommentImpl(std::string text) : text_(std::move(text)) {}
    XmlNodeType NodeType() const override { return XmlNodeType::Comment; }
    std::string NodeName() const override { return "#comment"; }
    std::string Text() const override { return text_; }
    void SetText(std::string_view text) override {
        if (text.find("--") != std::string_view::npos || (!text.empty() && text.back() == '-'))
            Invalid("A comment cannot hold \"--\" or end with \"-\"");
        text_ = text;
    }
    std::shared_ptr<IXmlElement> ParentElement() const override { return ParentOf(*this); }
    std::string text_;
};

class PiImpl : public IXmlNode, public Linked {
public:
    PiImpl(std::string target, std::string data) : target_(std::move(target)), data_(std::move(data)) {}
    XmlNodeType NodeType() const override { return XmlNodeType::ProcessingInstruction; }
    std::string NodeName() const override { return target_; }
    std::string Text() const override { return data_; }
    void SetText(std::string_view text) override {
        if (text.find("?>") != std::string_view::npos) Invalid("A processing instruction cannot hold \"?>\"");
        data_ = text;
    }
    std::shared_ptr<IXmlElement> ParentElement() const override { return ParentOf(*this); }
    std::string target_;
    std::string data_;
};

void AppendTexts(const XmlNodePtr& node, std::string& out);

class ElementImpl : public IXmlElement, public Linked, public Container {
public:
    explicit ElementImpl(std::string name) : name_(std::move(name)) {}

    XmlNodeType NodeType() const override { return XmlNodeType::Element; }
    std::string NodeName() const override { return name_; }
    std::string Name() const override { return name_; }
    void SetName(std::string_view name) override {
        CheckName(name, "element");
        name_ = name;
    }

    std::string Text() const override {
        std::string out;
        for (const auto& c : children) AppendTexts(c, out);
        return out;
    }
    void SetText(std::string_view text) override {
        ReleaseChildren();
        if (!text.empty()) Adopt(std::make_shared<TextImpl>(std::string(text)), *this);
    }
    std::shared_ptr<IXmlElement> ParentElement() const override { return ParentOf(*this); }

    std::string GetAttribute(std::string_view name) const override {
        for (const auto& [n, v] : attributes_)
            if (n == name) return v;
        return {};
    }
    bool HasAttribute(std::string_view name) const override {
        for (const auto& a : attributes_)
            if (a.first == name) return true;
        return false;
    }
    void SetAttribute(std::string_view name, std::string_view value) override {
        for (auto& a : attributes_)
            if (a.first == name) { a.second = value; return; }
        CheckName(name, "attribute");
        attributes_.emplace_back(std::string(name), std::string(value));
    }
    std::vector<std::pair<std::string, std::string>> Attributes() const override { return attributes_; }

    std::shared_ptr<IXmlNodeList> ChildNodes() const override {
        return std::make_shared<NodeList>(shared_from_this(), this);
    }
    bool HasChildNodes() const override { return !children.empty(); }

    XmlNodePtr AppendChild(XmlNodePtr child) override {
        if (!child) Invalid("No node to append");
        if (child->NodeType() == XmlNodeType::Element) {
            // Walking up from here must not meet the child: no element inside itself.
            for (std::shared_ptr<const IXmlNode> at = std::dynamic_pointer_cast<const IXmlNode>(shared_from_this()); at;
                 at = at->ParentElement())
                if (at.get() == child.get()) Invalid("An element cannot be appended inside itself");
        }
        Adopt(child, *this);
        return child;
    }
    std::shared_ptr<IXmlElement> AddChild(std::string_view name, std::string_view text) override {
        auto element = std::make_shared<ElementImpl>(std::string(name));
        CheckName(name, "element");
        element->SetText(text);
        Adopt(element, *this);
        return element;
    }

    std::shared_ptr<IXmlElement> FindElement(std::string_view name) const override {
        if (name_ == name)
            return std::dynamic_pointer_cast<IXmlElement>(std::const_pointer_cast<plat::Object>(shared_from_this()));
        for (const auto& c : children)
            if (auto element = AsElement(c))
                if (auto found = element->FindElement(name)) return found;
        return nullptr;
    }

    std::string name_;
    std::vector<std::pair<std::string, std::string>> attributes_;
};

void AppendTexts(const XmlNodePtr& node, std::string& out) {
    switch (node->NodeType()) {
        case XmlNodeType::Text: out += static_cast<const TextImpl&>(*node).text_; break;
        case XmlNodeType::Element:
            for (const auto& c : static_cast<const ElementImpl&>(static_cast<const IXmlElement&>(*node)).children)
                AppendTexts(c, out);
            break;
        default: break;
    }
}

// ---- Writing ---------------------------------------------------------------

void WriteNode(const IXmlNode& node, std::string& out) {
    switch (node.NodeType()) {
        case XmlNodeType::Text:
            AppendEscaped(out, static_cast<const TextImpl&>(node).text_, Escape::Text);
            break;
        case XmlNodeType::Comment:
            out += "<!--";
            AppendEscaped(out, static_cast<const CommentImpl&>(node).text_, Escape::Raw);
            out += "-->";
            break;
        case XmlNodeType::ProcessingInstruction: {
            const auto& pi = static_cast<const PiImpl&>(node);
            out += "<?" + pi.target_;
            if (!pi.data_.empty()) {
                out += ' ';
                AppendEscaped(out, pi.data_, Escape::Raw);
            }
            out += "?>";
            break;
        }
        case XmlNodeType::Element: {
            const auto& e = static_cast<const ElementImpl&>(static_cast<const IXmlElement&>(node));
            out += '<' + e.name_;
            for (const auto& [n, v] : e.attributes_) {
                out += ' ' + n + "=\"";
                AppendEscaped(out, v, Escape::Attribute);
                out += '"';
            }
            if (e.children.empty()) {
                out += "/>";
                break;
            }
            out += '>';
            for (const auto& c : e.children) WriteNode(*c, out);
            out += "</" + e.name_ + '>';
            break;
        }
    }
}

// ---- Reading ---------------------------------------------------------------

struct ParseState {
    XML_Parser parser = nullptr;
    std::vector<XmlNodePtr> top;                       // the document's nodes
    std::vector<std::shared_ptr<ElementImpl>> open;    // elements not yet closed
    std::string pendingText;
    std::string error;                                 // set by a handler that refuses the input
    unsigned long line = 0, column = 0;
};

void Refuse(ParseState& st, const std::string& why) {
    if (!st.error.empty()) return;
    st.error = why;
    st.line = XML_GetCurrentLineNumber(st.parser);
    st.column = XML_GetCurrentColumnNumber(st.parser) + 1;
    XML_StopParser(st.parser, XML_FALSE);
}

void Place(ParseState& st, const XmlNodePtr& node) {
    if (st.open.empty()) {
        st.top.push_back(node);
    } else {
        auto& parent = st.open.back();
        dynamic_cast<Linked&>(*node).holder = parent->weak_from_this();
        parent->children.push_back(node);
    }
}

void FlushText(ParseState& st) {
    if (st.pendingText.empty()) return;
    if (!st.open.empty()) Place(st, std::make_shared<TextImpl>(std::move(st.pendingText)));
    st.pendingText.clear();
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** atts) {
    auto& st = *static_cast<ParseState*>(data);
    if (!st.error.empty()) return;
    FlushText(st);
    if (st.open.size() >= static_cast<size_t>(CXmlFactory::MaxDepth)) {
        Refuse(st, "elements are nested deeper than " + std::to_string(CXmlFactory::MaxDepth) + " levels");
        return;
    }
    auto element = std::make_shared<ElementImpl>(name);
    for (int i = 0; atts[i]; i += 2) element->attributes_.emplace_back(atts[i], atts[i + 1]);
    Place(st, element);
    st.open.push_back(element);
}

void XMLCALL OnEnd(void* data, const XML_Char*) {
    auto& st = *static_cast<ParseState*>(data);
    if (!st.error.empty()) return;
    FlushText(st);
    if (!st.open.empty()) st.open.pop_back();
}

void XMLCALL OnText(void* data, const XML_Char* s, int len) {
    auto& st = *static_cast<ParseState*>(data);
    if (st.error.empty()) st.pendingText.append(s, static_cast<size_t>(len));
}

void XMLCALL OnComment(void* data, const XML_Char* text) {
    auto& st = *static_cast<ParseState*>(data);
    if (!st.error.empty()) return;
    FlushText(st);
    Place(st, std::make_shared<CommentImpl>(text));
}

void XMLCALL OnPi(void* data, const XML_Char* target, const XML_Char* text) {
    auto& st = *static_cast<ParseState*>(data);
    if (!st.error.empty()) return;
    FlushText(st);
    Place(st, std::make_shared<PiImpl>(target, text ? text : ""));
}

void XMLCALL OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    Refuse(*static_cast<ParseState*>(data), "document type declarations (DOCTYPE) are not accepted");
}

void XMLCALL OnEntityDecl(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*, const XML_Char*,
                          const XML_Char*, const XML_Char*) {
    Refuse(*static_cast<ParseState*>(data), "entity declarations are not accepted");
}

// Parses the bytes into top-level nodes; throws HostError naming `source` and the position.
std::vector<XmlNodePtr> Parse(std::string_view bytes, const std::string& source) {
    auto fail = [&](const std::string& what, unsigned long line, unsigned long column) -> std::vector<XmlNodePtr> {
        throw HostError("Orvik", errors::XmlLoad, "XML", 2,
                        source + ", line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what);
    };
    if (bytes.size() > static_cast<size_t>(INT_MAX)) return fail("the document is too large", 1, 1);

    ParseState st;
    st.parser = XML_ParserCreate(nullptr);
    if (!st.parser) throw HostError("Orvik", errors::XmlLoad, "XML", 2, source + ": out of memory");
    XML_SetUserData(st.parser, &st);
    XML_SetElementHandler(st.parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(st.parser, OnText);
    XML_SetCommentHandler(st.parser, OnComment);
    XML_SetProcessingInstructionHandler(st.parser, OnPi);
    XML_SetStartDoctypeDeclHandler(st.parser, OnDoctype);
    XML_SetEntityDeclHandler(st.parser, OnEntityDecl);
    XML_SetParamEntityParsing(st.parser, XML_PARAM_ENTITY_PARSING_NEVER);
    // No external entity handler is set: nothing outside the document is ever read.

    XML_Status status = XML_Parse(st.parser, bytes.data(), static_cast<int>(bytes.size()), XML_TRUE);
    std::string error = st.error;
    unsigned long line = st.line, column = st.column;
    if (status != XML_STATUS_OK && error.empty()) {
        error = XML_ErrorString(XML_GetErrorCode(st.parser));
        line = XML_GetCurrentLineNumber(st.parser);
        column = XML_GetCurrentColumnNumber(st.parser) + 1;
    }
    XML_ParserFree(st.parser);
    if (!error.empty()) return fail(error, line, column);
    return std::move(st.top);
}

// ---- Document --------------------------------------------------------------

class DocumentImpl : public IXmlDocumentFile, public Container {
public:
    XmlElementPtr DocumentElement() const override {
        for (const auto& c : children)
            if (auto e = AsElement(c)) return e;
        return nullptr;
    }
    XmlElementPtr CreateElement(std::string_view name) override {
        CheckName(name, "element");
        return std::make_shared<ElementImpl>(std::string(name));
    }
    XmlNodePtr CreateTextNode(std::string_view text) override { return std::make_shared<TextImpl>(std::string(text)); }
    XmlNodePtr AppendChild(XmlNodePtr child) override {
        if (!child) Invalid("No node to append");
        if (child->NodeType() == XmlNodeType::Text) Invalid("A document cannot hold text outside its element");
        if (child->NodeType() == XmlNodeType::Element && DocumentElement() && DocumentElement() != child)
            Invalid("A document holds one document element");
        Adopt(child, *this);
        return child;
    }
    std::shared_ptr<IXmlNodeList> ChildNodes() const override {
        return std::make_shared<NodeList>(shared_from_this(), this);
    }
    std::string Xml() const override {
        std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        for (const auto& c : children) {
            WriteNode(*c, out);
            out += '\n';
        }
        return out;
    }

    void Load(const std::string& path) override {
        Clear();
        std::string bytes;
        if (!plat::fs::ReadFile(path, bytes)) {
            if (plat::fs::FolderExists(path))
                throw HostError("Orvik", errors::FileAccess, "XML", 2, "\"" + path + "\" is a folder, not an XML file");
            bool missing = !plat::fs::FileExists(path);
            bool folderMissing = missing && !plat::fs::FolderOf(path).empty() &&
                                 !plat::fs::FolderExists(plat::fs::FolderOf(path));
            ErrorNumber number = folderMissing ? errors::PathNotFound : missing ? errors::FileNotFound : errors::FileAccess;
            throw HostError("Orvik", number, "XML", 2,
                            "The XML file \"" + path + (missing ? "\" is not there" : "\" cannot be read"));
        }
        Take(Parse(bytes, path));
    }
    void LoadXml(std::string_view text) override {
        Clear();
        Take(Parse(text, "XML text"));
    }
    void Save(const std::string& path) const override {
        if (!plat::fs::WriteFileAtomic(path, Xml()))
            throw HostError("Orvik", errors::FileAccess, "XML", 2, "The XML file \"" + path + "\" cannot be written");
    }

private:
    void Clear() { ReleaseChildren(); }
    void Take(std::vector<XmlNodePtr> nodes) {
        for (const auto& n : nodes) Adopt(n, *this);
    }
};

// ---- Numbers of value elements ---------------------------------------------

// A whole text that is one number with "." or "," as decimal sign.
std::optional<plat::Variant> ParseNumber(std::string_view text) {
    std::string s = plat::Replace(plat::Trim(text), ",", ".");
    std::string_view v = s;
    if (!v.empty() && v[0] == '+') v.remove_prefix(1);
    if (v.empty() || v[0] == '+') return std::nullopt;
    bool whole = v.find_first_of(".eE") == std::string_view::npos;
    // Only plain decimal notation: no "inf", "nan" or hexadecimal forms.
    for (char c : v)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return std::nullopt;
    if (whole) {
        int32_t n = 0;
        auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
        if (ec == std::errc() && p == v.data() + v.size()) return plat::Variant(n);
    }
    double d = 0;
    auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), d);
    if (ec != std::errc() || p != v.data() + v.size()) return std::nullopt;
    return plat::Variant(d);
}

}  // namespace

std::shared_ptr<IXmlElement> IXmlNodeList::ElementAt(int32_t index) const { return AsElement(Item(index)); }

XmlElementPtr AsElement(const XmlNodePtr& node) { return std::dynamic_pointer_cast<IXmlElement>(node); }

XmlDocumentPtr CXmlFactory::NewDocument() const { return std::make_shared<DocumentImpl>(); }

XmlElementPtr CXmlFactory::CreateStatusElement(IXmlDocument& document, int32_t status) const {
    auto element = document.CreateElement("Status");
    element->SetText(std::to_string(status));
    return element;
}

int32_t CXmlFactory::ReadStatusElement(const IXmlElement& element) const {
    std::string text = plat::Trim(element.Text());
    if (text.empty()) return 0;
    auto value = ParseNumber(text);
    if (!value || value->Type() != plat::VarType::Long)
        Invalid("The status \"" + text + "\" of element \"" + element.Name() + "\" is no whole number");
    return value->AsLong();
}

XmlElementPtr CXmlFactory::CreateValueElement(IXmlDocument& document, const plat::Variant& value,
                                              std::string_view name) const {
    auto element = document.CreateElement(name);
    std::string text = value.AsString();
    // Saved data does not depend on the user's decimal sign.
    if (value.Type() == plat::VarType::Double && plat::DecimalSign() != '.')
        text = plat::Replace(text, std::string(1, plat::DecimalSign()), ".");
    element->SetText(text);
    return element;
}

plat::Variant CXmlFactory::ReadValueElement(const IXmlElement& element) const {
    std::string text = element.Text();
    if (text.empty()) return {};
    if (auto number = ParseNumber(text)) return *number;
    return text;
}

CXmlFactory& XmlFactory() {
    static CXmlFactory factory;
    return factory;
}

}  // namespace host
