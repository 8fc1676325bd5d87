// Reads an XML document from a text stream into a bindable object, binding every element to a
// field of the object by its tag, and every attribute to a leaf field of its name. Elements and
// attributes that no field takes are skipped with their content, unless the object being read
// keeps them (ShippingContainer::getKept), with its comments, processing instructions and text.
#pragma once

#include "Environment/String.h"

#include <string>
#include <string_view>

namespace zelvane {

class DataBufferIn;
class XMLGlossary;
class XMLShipping;

class XMLReader {
public:
    class PhraseImporter;

    // Nesting deeper than this fails the read, so damaged or hostile input cannot exhaust the
    // stack.
    static constexpr unsigned int maxDepth = 256;
    // The namespace a binding is offered for an element without a prefix where a default
    // namespace is declared (xmlns="..." not empty): the reserved prefix, which no element carries
    // and no field has, so that such an element binds only where namespaces are not compared.
    static constexpr char const* defaultNameSpace = "xmlns";

    // The stream is not owned; null reads an empty document.
    explicit XMLReader(DataBufferIn* stream = nullptr);
    XMLReader(XMLReader const&) = delete;
    XMLReader& operator=(XMLReader const&) = delete;
    virtual ~XMLReader();

    // Reads the whole document into the object; false at the first failure, with what was read
    // before it left in the object. The stream stays where reading stopped.
    virtual bool importTo(XMLShipping& object) const;

    void setSource(DataBufferIn* stream);
    // Replaces entity and character references in place; false when an "&" has no ";" after it
    // (the text then keeps the replacements made before it).
    bool fromXMLString(String& text) const;
    // Where the stream stopped, for the caller's messages; 0 without a stream.
    int getRowPosition() const;
    int getColPosition() const;

private:
    XMLGlossary* m_glossary;
    PhraseImporter* m_importer;
};

// The tokeniser: text up to the next markup, and markup items.
class XMLReader::PhraseImporter {
public:
    enum TagType {
        endOfInput,
        error,
        declaration, // a declaration or processing instruction
        comment,
        cdata,
        startTag,
        emptyTag,
        endTag
    };

    // Reads the stream as UTF-8 text; without a stream, an empty one of its own.
    PhraseImporter(DataBufferIn* stream, XMLGlossary* glossary);
    PhraseImporter(PhraseImporter const&) = delete;
    PhraseImporter& operator=(PhraseImporter const&) = delete;
    ~PhraseImporter();

    // The text up to the next "<" (left unread), references replaced; the replacement's result.
    bool getPhrase(String& text);
    // getPhrase, also consuming the "<" that follows, so that the next getTag starts after it.
    bool getPhraseAndOpening(String& text);
    // Reads the next markup item. For element tags, `tag` holds the name followed by the attribute
    // list and `nameSpace` the prefix; for the other kinds `tag` holds the item's content.
    TagType getTag(String& tag, String& nameSpace);
    // getTag answering views of its own text, valid until the next read from the stream.
    TagType readTag(std::string_view& tag, std::string_view& nameSpace);
    // The text that the reference "&name;" stands for; "?" when it stands for nothing allowed.
    String getReplacement(String const& name) const;
    bool fromXMLString(String& text) const;
    // While a record is set, the reads append to it what they take from the stream, as written
    // (references unreplaced, markup whole); null ends the recording.
    void setRecord(std::string* record) { m_record = record; }
    // The text between the "<" and the ">" of the element tag last read, as written.
    std::string_view getTagText() const;

    DataBufferIn* getStream() const { return m_stream; }
    XMLGlossary* getGlossary() const { return m_glossary; }

private:
    // Reads the text up to the next ">" (consumed) into the buffer; iterateTo's result.
    int readMarkup();

    DataBufferIn* m_stream;
    XMLGlossary* m_glossary;
    String m_unresolved;
    bool m_ownsStream;
    // The result of the scan that already consumed the next "<", 0 when none did.
    int m_opening = 0;
    String m_buffer;
    mutable std::string m_replaced;
    std::string m_content;
    std::string* m_record = nullptr;
};

} // namespace zelvane
