// Writes a bindable object as XML into a text stream, in the form the XML reader reads back, with
// what each object kept of the document it was read from where it stood.
#pragma once

#include "Environment/DataBufferOut.h"
#include "Environment/String.h"

#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

class XMLGlossary;
class XMLShipping;

class XMLWriter {
public:
    class PhraseExporter;

    // The stream is not owned; null writes into a stream of the writer's own with no destination.
    explicit XMLWriter(DataBufferOut* stream = nullptr);
    XMLWriter(XMLWriter const&) = delete;
    XMLWriter& operator=(XMLWriter const&) = delete;
    virtual ~XMLWriter();

    // Writes the object's element, after the declaration line when `header` is set, with TAB
    // indentation (only together with line breaks) and namespace prefixes as asked, then flushes
    // the stream. False when any field failed or the stream reports a failure, also one found only
    // by the final flush; a failed document may stay partly written in the stream.
    virtual bool exportFrom(XMLShipping& object, bool header = true, bool indent = true,
                            bool lineBreaks = true, bool nameSpaces = true) const;

    void setDestination(DataBufferOut* stream);
    // Escapes the five characters of the entity table in place.
    String& toXMLString(String& text) const;

private:
    XMLGlossary* m_glossary;
    PhraseExporter* m_exporter;
};

class XMLWriter::PhraseExporter {
public:
    enum TagType { startTag, emptyTag, endTag };

    PhraseExporter(DataBufferOut* stream, XMLGlossary* glossary);
    PhraseExporter(PhraseExporter const&) = delete;
    PhraseExporter& operator=(PhraseExporter const&) = delete;
    ~PhraseExporter();

    // The text unchanged.
    bool write(String const& text);
    // The text escaped.
    bool writePhrase(String const& text);
    // One tag at the current depth; start and empty-element tags carry their attributes in `tag`.
    bool writeTag(String const& tag, String const& nameSpace, TagType kind);

    bool write(std::string_view text) {
        if (!text.empty()) {
            m_stream->write(text.data(), static_cast<int>(text.size()));
        }
        return true;
    }
    bool writePhrase(std::string_view text);
    bool writeTag(std::string_view tag, std::string_view nameSpace, TagType kind);
    // A whole element's text, unchanged, where an element of the current depth goes.
    bool writeMarkup(std::string_view text);
    // Appends the escaped text to `out`.
    void escape(std::string_view text, std::string& out) const;

    void setIndent(bool indent) { m_indent = indent; }
    void setLineBreaks(bool lineBreaks) { m_lineBreaks = lineBreaks; }
    bool hasLineBreaks() const { return m_lineBreaks; }
    // Whether the stream reports a failure.
    bool hasFailed() const { return m_stream->failed(); }
    DataBufferOut* getStream() const { return m_stream; }

private:
    // TAB indentation of the current depth.
    void writeIndent();

    // The escape sequence of each byte, or null when the byte stands for itself.
    String const* m_escapes[256];
    DataBufferOut* m_stream;
    XMLGlossary* m_glossary;
    unsigned int m_depth = 0;
    bool m_afterStartTag = false;
    bool m_indent = true;
    bool m_lineBreaks = true;
    bool m_ownsStream;
    std::vector<String> m_references;
};

} // namespace zelvane
