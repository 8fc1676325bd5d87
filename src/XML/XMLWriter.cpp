#include "XML/XMLWriter.h"

#include "Environment/DataBufferOut.h"
#include "XML/KeptMarkup.h"
#include "XML/ShippingContainer.h"
#include "XML/ShippingForms.h"
#include "XML/ShippingUnit.h"
#include "XML/XMLGlossary.h"
#include "XML/XMLMap.h"
#include "XML/XMLUnit.h"
#include "XML/XMLVerbatim.h"

#include <memory>
#include <vector>

namespace zelvane {

namespace {

using TagType = XMLWriter::PhraseExporter::TagType;

std::string_view view(String const& text) {
    return std::string_view(text.data(), text.dataLength());
}

std::string_view view(char const* text) {
    return std::string_view(text != nullptr ? text : "");
}

constexpr char declarationLine[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";

class ElementWriter {
public:
    ElementWriter(XMLWriter::PhraseExporter& exporter, bool nameSpaces)
        : m_exporter(exporter), m_nameSpaces(nameSpaces) {}

    bool write(XMLShipping& object);

private:
    bool write(Shipping& shipping, XMLShipping& object);
    // Writes the kept items of that side (inside: those of a place up to `place`) from `next` on,
    // and moves `next` past them. `twins` (where given) marks the twins written, which a map's
    // element leaves for the end.
    bool writeKept(KeptMarkup const& kept, std::size_t& next, KeptMarkup::Side side, std::size_t place,
                   std::vector<bool>* twins = nullptr, bool map = false);
    // Writes the twins of the field that stand later, marking them written.
    bool writeTwins(KeptMarkup const& kept, XMLShipping const& field, std::vector<bool>& twins);
    std::string_view nameSpaceOf(XMLShipping const& object) const {
        return m_nameSpaces ? view(object.getNameSpace()) : std::string_view();
    }

    XMLWriter::PhraseExporter& m_exporter;
    bool m_nameSpaces;
    // Buffers shared by every level: each is used up before the next level starts.
    String m_value;
    std::string m_tagText;
};

bool ElementWriter::write(XMLShipping& object) {
    auto* shipping = dynamic_cast<Shipping*>(&object);
    if (shipping == nullptr) {
        return false;
    }
    // What stood before and after the root element of the document read goes back there.
    ShippingContainer* container = shipping->asContainer();
    KeptMarkup const* kept = container != nullptr ? container->getKept() : nullptr;
    if (kept == nullptr) {
        return write(*shipping, object);
    }
    std::size_t next = 0;
    if (!writeKept(*kept, next, KeptMarkup::Side::before, 0) || !write(*shipping, object)) {
        return false;
    }
    next = 0;
    return writeKept(*kept, next, KeptMarkup::Side::after, 0);
}

bool ElementWriter::writeKept(KeptMarkup const& kept, std::size_t& next, KeptMarkup::Side side,
                              std::size_t place, std::vector<bool>* twins, bool map) {
    auto const& items = kept.items();
    for (; next < items.size(); ++next) {
        KeptMarkup::Item const& item = items[next];
        if (item.side != side || item.markup.attribute) {
            continue;
        }
        if (side == KeptMarkup::Side::inside && item.place > place) {
            break;
        }
        if (twins != nullptr && item.twin) {
            if ((*twins)[next] || map) {
                continue;
            }
            (*twins)[next] = true;
        }
        if (!m_exporter.writeMarkup(view(item.markup.text))) {
            return false;
        }
    }
    return true;
}

bool ElementWriter::writeTwins(KeptMarkup const& kept, XMLShipping const& field, std::vector<bool>& twins) {
    auto const& items = kept.items();
    for (std::size_t index = 0; index < twins.size(); ++index) {
        XMLVerbatim::Markup const& markup = items[index].markup;
        if (!items[index].twin || twins[index] || view(markup.tag) != view(field.getTag()) ||
            (!markup.nameSpace.empty() && view(markup.nameSpace) != view(field.getNameSpace()))) {
            continue;
        }
        twins[index] = true;
        if (!m_exporter.writeMarkup(view(markup.text))) {
            return false;
        }
    }
    return true;
}

bool ElementWriter::write(Shipping& shipping, XMLShipping& object) {
    std::string_view tag = view(object.getTag());
    std::string_view nameSpace = nameSpaceOf(object);
    ShippingContainer* container = shipping.asContainer();
    if (container == nullptr) {
        if (XMLVerbatim* verbatim = XMLVerbatim::of(shipping)) {
            // An attribute kept as written goes into the parent's start tag.
            XMLVerbatim::Markup const& markup = verbatim->getMarkup();
            return markup.attribute || m_exporter.writeMarkup(view(markup.text));
        }
        XMLUnit* unit = shipping.asUnit();
        if (!m_exporter.writeTag(tag, nameSpace, TagType::startTag)) {
            return false;
        }
        if (unit != nullptr) {
            m_value.clear();
            if (!unit->write(m_value) || !m_exporter.writePhrase(view(m_value))) {
                return false;
            }
        } else if (dynamic_cast<ShippingUnit*>(&shipping) != nullptr) {
            // A leaf that cannot give its text.
            return false;
        }
        return m_exporter.writeTag(tag, nameSpace, TagType::endTag);
    }

    std::size_t size = container->shippingSize();
    KeptMarkup const* kept = container->getKept();
    if (kept != nullptr && kept->empty()) {
        kept = nullptr;
    }
    bool ownAttributes = container->hasAttributes();
    if (ownAttributes || (kept != nullptr && kept->holdsAttributes())) {
        m_tagText.assign(tag);
        bool elementContent = kept != nullptr && kept->holdsContent();
        for (std::size_t index = 0; ownAttributes && index < size; ++index) {
            std::unique_ptr<Shipping> field(container->getShipping(index, true));
            if (field == nullptr) {
                elementContent = true;
                continue;
            }
            if (!field->isEssential()) {
                continue;
            }
            XMLVerbatim* verbatim = XMLVerbatim::of(*field);
            if (verbatim != nullptr && verbatim->getMarkup().attribute) {
                m_tagText += ' ';
                m_tagText += view(verbatim->getMarkup().text);
                continue;
            }
            XMLUnit* unit = field->asUnit();
            if (unit == nullptr || !unit->isAttribute()) {
                elementContent = true;
                continue;
            }
            m_value.clear();
            unit->write(m_value);
            m_tagText += ' ';
            std::string_view unitNameSpace = nameSpaceOf(*unit);
            if (!unitNameSpace.empty()) {
                m_tagText += unitNameSpace;
                m_tagText += ':';
            }
            m_tagText += view(unit->getTag());
            m_tagText += "=\"";
            m_exporter.escape(view(m_value), m_tagText);
            m_tagText += '"';
        }
        for (std::size_t index = 0; kept != nullptr && index < kept->items().size(); ++index) {
            XMLVerbatim::Markup const& markup = kept->items()[index].markup;
            if (markup.attribute) {
                m_tagText += ' ';
                m_tagText += view(markup.text);
            }
        }
        if (!elementContent) {
            return m_exporter.writeTag(m_tagText, nameSpace, TagType::emptyTag);
        }
        if (!m_exporter.writeTag(m_tagText, nameSpace, TagType::startTag)) {
            return false;
        }
    } else if (!m_exporter.writeTag(tag, nameSpace, TagType::startTag)) {
        return false;
    }
    // What was kept goes where it stood among the fields written as elements; a twin whose field
    // comes first goes right before it, a map's twins after its entries.
    std::size_t written = 0;
    std::size_t next = 0;
    std::vector<bool> twinStore(kept != nullptr && kept->holdsTwins() ? kept->items().size() : 0);
    std::vector<bool>* twins = twinStore.empty() ? nullptr : &twinStore;
    bool const map = twins != nullptr && dynamic_cast<XMLMap*>(&shipping) != nullptr;
    for (std::size_t index = 0; index < size && !container->hasEnded(); ++index) {
        std::unique_ptr<Shipping> field(container->getShipping(index, false));
        if (field == nullptr || !field->isEssential()) {
            continue;
        }
        if (XMLUnit* unit = field->asUnit(); unit != nullptr && unit->isAttribute()) {
            continue;
        }
        XMLShipping* element = xmlShippingOf(field.get());
        if (element == nullptr) {
            return false;
        }
        if (XMLVerbatim::of(*field) == nullptr) {
            if (kept != nullptr && (!writeKept(*kept, next, KeptMarkup::Side::inside, written, twins, map) ||
                                    (twins != nullptr && !map && !writeTwins(*kept, *element, *twins)))) {
                return false;
            }
            ++written;
        }
        if (!write(*field, *element)) {
            return false;
        }
    }
    if (kept != nullptr && !writeKept(*kept, next, KeptMarkup::Side::inside, std::size_t(-1), twins, map)) {
        return false;
    }
    for (std::size_t index = 0; twins != nullptr && index < twins->size(); ++index) {
        if (kept->items()[index].twin && !(*twins)[index] &&
            !m_exporter.writeMarkup(view(kept->items()[index].markup.text))) {
            return false;
        }
    }
    return m_exporter.writeTag(tag, nameSpace, TagType::endTag);
}

} // namespace

XMLWriter::PhraseExporter::PhraseExporter(DataBufferOut* stream, XMLGlossary* glossary)
    : m_stream(stream), m_glossary(glossary), m_ownsStream(stream == nullptr) {
    for (auto& escape : m_escapes) {
        escape = nullptr;
    }
    m_references.reserve(m_glossary->size());
    for (std::size_t index = 0; index < m_glossary->size(); ++index) {
        auto const& entry = (*m_glossary)[index];
        String reference("&");
        reference += entry.first;
        reference += ";";
        m_references.push_back(reference);
        // Every entry stands for one character, so one pass gives what replacing entry by entry
        // in name order gives ("&" first, so no reference is escaped again).
        if (entry.second.dataLength() == 1) {
            m_escapes[static_cast<unsigned char>(entry.second.data()[0])] = &m_references.back();
        }
    }
    // Made last, so that a failure before cannot leave it behind.
    if (m_stream == nullptr) {
        m_stream = new DataBufferOut();
    }
}

XMLWriter::PhraseExporter::~PhraseExporter() {
    if (m_ownsStream) {
        delete m_stream;
    }
}

bool XMLWriter::PhraseExporter::write(String const& text) {
    return write(view(text));
}

void XMLWriter::PhraseExporter::escape(std::string_view text, std::string& out) const {
    std::size_t done = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (String const* reference = m_escapes[static_cast<unsigned char>(text[index])]) {
            out.append(text.substr(done, index - done));
            out.append(view(*reference));
            done = index + 1;
        }
    }
    out.append(text.substr(done));
}

bool XMLWriter::PhraseExporter::writePhrase(std::string_view text) {
    // Runs that need no escaping go to the stream as they are.
    std::size_t done = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (String const* reference = m_escapes[static_cast<unsigned char>(text[index])]) {
            write(text.substr(done, index - done));
            write(view(*reference));
            done = index + 1;
        }
    }
    return write(text.substr(done));
}

bool XMLWriter::PhraseExporter::writePhrase(String const& text) {
    return writePhrase(view(text));
}

void XMLWriter::PhraseExporter::writeIndent() {
    static constexpr char tabs[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    constexpr unsigned int tabCount = sizeof(tabs) - 1;
    for (unsigned int left = m_depth; left > 0;) {
        unsigned int piece = left < tabCount ? left : tabCount;
        m_stream->write(tabs, static_cast<int>(piece));
        left -= piece;
    }
}

bool XMLWriter::PhraseExporter::writeMarkup(std::string_view text) {
    if (text.empty()) {
        return true;
    }
    DataBufferOut& out = *m_stream;
    if (m_afterStartTag && m_lineBreaks) {
        out.put('\n');
    }
    if (m_indent) {
        writeIndent();
    }
    write(text);
    m_afterStartTag = false;
    if (m_lineBreaks) {
        out.put('\n');
    }
    return !hasFailed();
}

bool XMLWriter::PhraseExporter::writeTag(std::string_view tag, std::string_view nameSpace, TagType kind) {
    if (tag.empty()) {
        return true;
    }
    if (kind == endTag && m_depth > 0) {
        --m_depth;
    }
    DataBufferOut& out = *m_stream;
    if (m_afterStartTag && kind != endTag && m_lineBreaks) {
        out.put('\n');
    }
    if (m_indent && (kind != endTag || !m_afterStartTag)) {
        writeIndent();
    }
    out.put('<');
    if (kind == endTag) {
        out.put('/');
    }
    if (!nameSpace.empty()) {
        write(nameSpace);
        out.put(':');
    }
    write(tag);
    if (kind == startTag) {
        out.put('>');
        m_afterStartTag = true;
        ++m_depth;
    } else {
        if (kind == emptyTag) {
            out.put('/');
        }
        out.put('>');
        m_afterStartTag = false;
        if (m_lineBreaks) {
            out.put('\n');
        }
    }
    return !hasFailed();
}

bool XMLWriter::PhraseExporter::writeTag(String const& tag, String const& nameSpace, TagType kind) {
    return writeTag(view(tag), view(nameSpace), kind);
}

XMLWriter::XMLWriter(DataBufferOut* stream) : m_glossary(nullptr), m_exporter(nullptr) {
    // Nothing is left behind when making either part fails.
    auto glossary = std::make_unique<XMLGlossary>();
    m_exporter = new PhraseExporter(stream, glossary.get());
    m_glossary = glossary.release();
}

XMLWriter::~XMLWriter() {
    delete m_exporter;
    delete m_glossary;
}

void XMLWriter::setDestination(DataBufferOut* stream) {
    auto* exporter = new PhraseExporter(stream, m_glossary);
    delete m_exporter;
    m_exporter = exporter;
}

String& XMLWriter::toXMLString(String& text) const {
    std::string escaped;
    m_exporter->escape(view(text), escaped);
    text = String(escaped.data(), static_cast<unsigned int>(escaped.size()));
    return text;
}

bool XMLWriter::exportFrom(XMLShipping& object, bool header, bool indent, bool lineBreaks,
                           bool nameSpaces) const {
    m_exporter->setIndent(indent && lineBreaks);
    m_exporter->setLineBreaks(lineBreaks);
    if (header) {
        m_exporter->write(std::string_view(declarationLine));
        if (lineBreaks) {
            m_exporter->write(std::string_view("\n"));
        }
    }
    bool written = ElementWriter(*m_exporter, nameSpaces).write(object);
    DataBufferOut* stream = m_exporter->getStream();
    stream->flushBuffer();
    // A failure that only the final flush finds still fails the document.
    return written && !m_exporter->hasFailed();
}

} // namespace zelvane
