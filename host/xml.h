#pragma once
// The host's XML document wrapper: documents, elements, texts and node lists,
// parsed with expat into our own tree and written by us.
//
// Reading: every node keeps its place; whitespace-only texts are kept; CDATA
// sections become plain text (and two texts appended side by side read back
// as one). A document type declaration (and with it every
// entity declaration) is refused, external entities are never loaded, and
// nesting deeper than MaxDepth is refused. A failure raises HostError
// (errors::XmlLoad) whose text names the file (or "XML text") with line and
// column; a file that cannot be read raises errors::FileNotFound / FileAccess.
//
// Writing: UTF-8 with an XML declaration. & < > " ' are written as entities;
// tab, line feed and carriage return in attributes, and carriage return in
// text, as numeric character references, so that they read back unchanged.
// Characters that XML 1.0 does not allow are never written: C0 control
// characters (other than tab, line feed, carriage return) and U+FFFE/U+FFFF
// become U+FFFD; a byte that is not part of valid UTF-8 is taken as the
// Latin-1 character of that code. Element and attribute names are checked when
// they are set (HostError errors::XmlInvalid).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/values/variant.h"

namespace host {

enum class XmlNodeType { Element, Text, Comment, ProcessingInstruction };

class IXmlElement;

class IXmlNode : public virtual plat::Object {
public:
    virtual XmlNodeType NodeType() const = 0;
    // An element's name, "#text", "#comment", or a processing instruction's target.
    virtual std::string NodeName() const = 0;
    // An element's text is the text of all its descendant texts joined; a
    // text's, comment's or processing instruction's is its own.
    virtual std::string Text() const = 0;
    // An element's children are replaced by one text (none for "").
    virtual void SetText(std::string_view text) = 0;
    // The element that holds the node; nullptr at the top or when detached.
    virtual std::shared_ptr<IXmlElement> ParentElement() const = 0;
};
using XmlNodePtr = std::shared_ptr<IXmlNode>;

// The child nodes of an element or document, in order; it follows changes.
class IXmlNodeList : public virtual plat::Object {
public:
    virtual int32_t Count() const = 0;
    // The node at a 0-based index; nullptr outside 0 .. Count() - 1.
    virtual XmlNodePtr Item(int32_t index) const = 0;
    // The node at the index when it is an element, else nullptr.
    std::shared_ptr<IXmlElement> ElementAt(int32_t index) const;
};

class IXmlElement : public IXmlNode {
public:
    virtual std::string Name() const = 0;
    virtual void SetName(std::string_view name) = 0;

    // "" when the attribute is absent.
    virtual std::string GetAttribute(std::string_view name) const = 0;
    virtual bool HasAttribute(std::string_view name) const = 0;
    virtual void SetAttribute(std::string_view name, std::string_view value) = 0;
    // Name and value of every attribute, in document order.
    virtual std::vector<std::pair<std::string, std::string>> Attributes() const = 0;

    virtual std::shared_ptr<IXmlNodeList> ChildNodes() const = 0;
    virtual bool HasChildNodes() const = 0;
    // Appends the node (moved from its old place when it has one); returns it.
    // An element cannot be appended inside itself.
    virtual XmlNodePtr AppendChild(XmlNodePtr child) = 0;
    // Appends a new element of that name holding the text; returns it.
    virtual std::shared_ptr<IXmlElement> AddChild(std::string_view name, std::string_view text) = 0;

    // The first element of that name (exact case) in document order: the
    // element itself or one of its descendants; nullptr when there is none.
    virtual std::shared_ptr<IXmlElement> FindElement(std::string_view name) const = 0;
};
using XmlElementPtr = std::shared_ptr<IXmlElement>;

// The node as an element, or nullptr.
XmlElementPtr AsElement(const XmlNodePtr& node);

class IXmlDocument : public virtual plat::Object {
public:
    // The top element; nullptr for an empty document.
    virtual XmlElementPtr DocumentElement() const = 0;
    virtual XmlElementPtr CreateElement(std::string_view name) = 0;
    virtual XmlNodePtr CreateTextNode(std::string_view text) = 0;
    // Appends a top-level node; an element becomes the document element
    // (a document holds one; a second one or a text raises errors::XmlInvalid).
    virtual XmlNodePtr AppendChild(XmlNodePtr child) = 0;
    // The top-level nodes: comments, processing instructions and the document element.
    virtual std::shared_ptr<IXmlNodeList> ChildNodes() const = 0;
    // The document as written by Save.
    virtual std::string Xml() const = 0;
};

class IXmlDocumentFile : public IXmlDocument {
public:
    // Replace the content with a parsed document; on failure the document is
    // left empty and HostError is raised (see above).
    virtual void Load(const std::string& path) = 0;
    virtual void LoadXml(std::string_view text) = 0;
    // Writes the document atomically (a temporary file, then rename): the old
    // file stays whole when writing fails (HostError errors::FileAccess).
    virtual void Save(const std::string& path) const = 0;
};
using XmlDocumentPtr = std::shared_ptr<IXmlDocumentFile>;

class CXmlFactory {
public:
    static constexpr int32_t MaxDepth = 256;

    XmlDocumentPtr NewDocument() const;

    // A "Status" element holding the status number, for the caller to append.
    XmlElementPtr CreateStatusElement(IXmlDocument& document, int32_t status) const;
    // The whole number held by a status element; 0 for an empty one.
    // HostError (errors::XmlInvalid) for a text that is no whole number.
    int32_t ReadStatusElement(const IXmlElement& element) const;

    // An element of that name holding the value as text (numbers with ".").
    XmlElementPtr CreateValueElement(IXmlDocument& document, const plat::Variant& value,
                                     std::string_view name) const;
    // The element's text as a value: empty for an empty text; a number text
    // ("12", "-0.5", "0,5", "1E+20") as a number (Long when whole and within
    // 32 bits, else Double); any other text as text.
    plat::Variant ReadValueElement(const IXmlElement& element) const;
};

CXmlFactory& XmlFactory();

}  // namespace host
