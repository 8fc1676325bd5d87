#include "XML/XMLReader.h"

#include "Environment/DataBufferIn.h"
#include "Environment/ToString.h"
#include "XML/KeptMarkup.h"
#include "XML/ShippingForms.h"
#include "XML/XMLArray.h"
#include "XML/XMLArrayProxy.h"
#include "XML/XMLAssembly.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLGlossary.h"
#include "XML/XMLMap.h"
#include "XML/XMLMapProxy.h"
#include "XML/XMLTypeProxy.h"
#include "XML/XMLUnitProxy.h"
#include "XML/XMLVerbatim.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

namespace {

constexpr unsigned int utf8 = 99;

// Results of DataBufferIn::iterateTo.
constexpr int delimiterFound = 1;
constexpr int endOfData = 2;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view view(String const& text) {
    return std::string_view(text.data(), text.dataLength());
}

// The views cut the text at ASCII characters, so they hold whole characters: the bytes are copied
// as they are.
void assign(String& target, std::string_view text) {
    target.clear();
    if (!text.empty()) {
        target.append(text.data(), static_cast<unsigned int>(text.size()));
    }
}

String toString(std::string_view text) {
    return text.empty() ? String() : String(text.data(), static_cast<unsigned int>(text.size()));
}

std::string_view trimLeading(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isSpace(text[start])) {
        ++start;
    }
    return text.substr(start);
}

std::string_view trimTrailing(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && isSpace(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

std::string_view trim(std::string_view text) {
    return trimTrailing(trimLeading(text));
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && (prefix.empty() || text[0] == prefix[0]) &&
           text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && (suffix.empty() || text.back() == suffix.back()) &&
           text.substr(text.size() - suffix.size()) == suffix;
}

bool equalsTag(String const& text, char const* tag) {
    return view(text) == std::string_view(tag != nullptr ? tag : "");
}

bool hasNameSpace(char const* nameSpace) {
    return nameSpace != nullptr && *nameSpace != '\0';
}

// Absorbs an element that no field takes, nested elements included.
class TagSeeker : public XMLArray {
public:
    TagSeeker(String const& tag, String const& nameSpace) : m_tag(tag), m_nameSpace(nameSpace) {}

    char const* getTag() const override { return m_tag.data(); }
    char const* getNameSpace() const override { return m_nameSpace.data(); }
    std::size_t shippingSize() const override { return 1; }
    Shipping* getShipping(std::size_t, bool) override { return nullptr; }
    using XMLArray::addShipping;
    Shipping* addShipping(String const&, String const&) override { return nullptr; }
    void setDefault() override {}

private:
    String m_tag;
    String m_nameSpace;
};

// The declaration "<?xml ...?>": its version and encoding, and the character-code number the
// encoding names.
class XMLDeclaration : public XMLAssembly {
public:
    XMLDeclaration() : m_version("1.0"), m_encoding("utf-8") {}

    char const* getTag() const override { return "xml"; }
    std::size_t shippingSize() const override { return 2; }
    Shipping* getShipping(std::size_t index, bool) override {
        switch (index) {
        case 0:
            return new XMLTypeProxy<String>(m_version, "version", true);
        case 1:
            return new XMLTypeProxy<String>(m_encoding, "encoding", true);
        default:
            return nullptr;
        }
    }
    Shipping* getShipping(String const& tag, String const&) override {
        if (tag == "version") {
            return getShipping(0, true);
        }
        if (tag == "encoding") {
            return getShipping(1, true);
        }
        return nullptr;
    }
    void setDefault() override {
        m_version.clear();
        m_encoding.clear();
        m_code = utf8;
    }
    bool validate() override;

    unsigned int getCode() const { return m_code; }
    bool namesEncoding() const { return !m_encoding.empty(); }

private:
    String m_version;
    String m_encoding;
    unsigned int m_code = utf8;
};

struct EncodingName {
    char const* name;
    unsigned int code;
};

constexpr EncodingName encodingNames[] = {
    {"utf-8", 99},       {"utf-16", 100},      {"iso-8859-1", 11},   {"iso-8859-9", 11},
    {"iso-8859-14", 11}, {"iso-8859-15", 11},  {"windows-1252", 11}, {"cp-1252", 11},
    {"iso-8859-2", 12},  {"windows-1250", 12}, {"cp-1250", 12},      {"iso-8859-4", 13},
    {"iso-8859-10", 13}, {"iso-8859-13", 13},  {"iso-8859-16", 13},  {"windows-1257", 13},
    {"iso-8859-5", 14},  {"windows-1251", 14}, {"iso-8859-7", 15},   {"windows-1253", 15},
    {"iso-8859-3", 16},  {"windows-1254", 16}, {"iso-8859-8", 21},   {"windows-1255", 21},
    {"iso-8859-6", 22},  {"windows-1256", 22}, {"iso-8859-11", 31},  {"windows-874", 31},
    {"tis-620", 31},     {"iso-2022-jp", 32},  {"euc-jp", 32},       {"shift-jis", 32},
    {"windows-932", 32}, {"windows-950", 33},  {"big5", 33},         {"big5-hkscs", 33},
    {"windows-936", 34}, {"gb2312", 34},       {"cn-euc", 34},       {"iso-2022-kr", 35},
    {"windows-949", 35},
};

bool XMLDeclaration::validate() {
    if (m_encoding.empty()) {
        return true;
    }
    String name = m_encoding.toLowercase();
    m_code = 0;
    for (auto const& entry : encodingNames) {
        if (name == entry.name) {
            m_code = entry.code;
            break;
        }
    }
    return true;
}

// A proxy through which the object being read binds its own element (the root rule); null when
// the object has no form a proxy can wrap.
Shipping* proxyOf(XMLShipping& object) {
    if (auto* map = dynamic_cast<XMLMap*>(&object)) {
        return new XMLMapProxy(*map);
    }
    if (auto* array = dynamic_cast<XMLArray*>(&object)) {
        return new XMLArrayProxy(*array);
    }
    if (auto* assembly = dynamic_cast<XMLAssembly*>(&object)) {
        return new XMLAssemblyProxy(*assembly);
    }
    if (auto* unit = dynamic_cast<XMLUnit*>(&object)) {
        return new XMLUnitProxy(*unit);
    }
    return nullptr;
}

using TagType = XMLReader::PhraseImporter::TagType;

// The object being read at one level, with the forms it takes found once, and where it keeps
// what no field takes when the reader keeps it.
struct Target {
    Target(XMLShipping& object, bool keeping) : Target(object, dynamic_cast<Shipping*>(&object), keeping) {}
    Target(XMLShipping& object, Shipping* shipping, bool keeping)
        : object(object), shipping(shipping),
          container(shipping != nullptr ? shipping->asContainer() : nullptr) {
        if (container != nullptr) {
            if (container->isRepeating()) {
                array = dynamic_cast<XMLArray*>(&object);
                map = dynamic_cast<XMLMap*>(array);
            } else {
                assembly = dynamic_cast<XMLAssembly*>(&object);
            }
            kept = keeping ? container->getKept() : nullptr;
        }
    }

    // A field of a kept assembly that an element or attribute was read into: a leaf by its name,
    // a container by the object its binding wraps. `start` and `end` hold the element's place in
    // the journal, `index` its number among the assembly's own child elements.
    struct Occurrence {
        void const* object;
        std::string name;
        bool attribute;
        std::size_t start;
        std::size_t end;
        std::size_t index;
    };

    XMLShipping& object;
    Shipping* shipping;
    ShippingContainer* container;
    XMLArray* array = nullptr;
    XMLMap* map = nullptr;
    XMLAssembly* assembly = nullptr;
    KeptMarkup* kept = nullptr;
    // Of a kept assembly only.
    std::vector<Occurrence> fields;
};

struct Attribute {
    std::string_view name;
    std::string_view value;
};

// Attribute names that read back as plain element names, and values without markup, can be bound
// straight from the tag; anything else goes through an attribute document.
bool isPlainName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    for (char c : name) {
        auto byte = static_cast<unsigned char>(c);
        bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                     (byte >= '0' && byte <= '9') || byte == '_' || byte == '-' || byte == '.' ||
                     byte == ':' || byte >= 0x80;
        if (!plain) {
            return false;
        }
    }
    return true;
}

class DocumentReader {
public:
    // Without `keeping` nothing is kept (a tag's attributes read as a document of their own).
    DocumentReader(XMLReader::PhraseImporter& importer, bool keeping)
        : m_importer(importer), m_lineBreak("\n"), m_keeping(keeping) {}

    bool read(XMLShipping& object, unsigned int level);

private:
    bool read(Target& target, unsigned int level);
    bool isDeclaration(String const& tag) const;
    bool readDeclaration(String& tag);
    // The journal from `from` on, without a "<" at its end and the white space around it.
    std::string_view rawText(std::size_t from) const;
    // Where the start tag read last begins in the journal.
    std::size_t tagStart() const { return m_journal.size() - m_importer.getTagText().size() - 2; }
    // The field of a kept assembly or list (not a map) that a child binding stands for, as an
    // occurrence without a place; false when it is none that a second element could be read into
    // again, or the target keeps nothing.
    static bool occurrenceOf(Target const& target, Shipping& child, String const& tag,
                             String const& nameSpace, Target::Occurrence& occurrence);
    // An element read into a field of the target that an earlier element was read into: the earlier
    // one is kept as written where it stood (right before the field should that come first).
    void keepTwin(Target& target, Target::Occurrence const& occurrence, std::size_t& own);
    // `own` counts the target's children bound to its fields, which readElement adds to.
    bool readElement(Target& target, unsigned int level, TagType kind, std::string_view tag,
                     std::string_view nameSpace, std::size_t& own);
    bool readVerbatim(XMLVerbatim& verbatim, unsigned int level, TagType kind);
    // Binds the parent's child element or attribute to a field, the parent itself (the root rule,
    // for an element) or nothing. Where the parent keeps what no field takes, one of another
    // namespace binds nothing.
    Shipping* findChild(Target& target, unsigned int level, String const& tag, String const& nameSpace,
                        bool& self, bool attribute);
    bool splitAttributes(std::string_view& tag, bool& plain);
    bool readAttributes(XMLShipping& child);
    bool bindAttributes(Target& target);

    XMLReader::PhraseImporter& m_importer;
    // Buffers shared by every level: each is used up before the next level starts.
    String m_text;
    String m_tag;
    String m_nameSpace;
    // The namespace the element is offered under: its prefix, or XMLReader::defaultNameSpace.
    String m_offered;
    String m_local;
    String m_value;
    String const m_lineBreak;
    std::vector<Attribute> m_attributes;
    std::string m_raw;
    // While a level keeps what no field takes, all that is read is recorded here as written, so
    // that what is kept is taken from it; emptied when the outermost such level ends.
    std::string m_journal;
    unsigned int m_journalUsers = 0;
    struct Journal {
        DocumentReader& reader;
        bool const used;
        Journal(DocumentReader& reader, bool used) : reader(reader), used(used) {
            if (used && reader.m_journalUsers++ == 0) {
                reader.m_journal.clear();
                reader.m_importer.setRecord(&reader.m_journal);
            }
        }
        Journal(Journal const&) = delete;
        Journal& operator=(Journal const&) = delete;
        ~Journal() {
            if (used && --reader.m_journalUsers == 0) {
                reader.m_importer.setRecord(nullptr);
                reader.m_journal.clear();
            }
        }
    };
    bool const m_keeping;
    // Nothing but white space was read yet.
    bool m_atStart = true;
    // A default namespace declaration that is not empty is in scope.
    bool m_inDefaultNameSpace = false;
};

bool DocumentReader::read(XMLShipping& object, unsigned int level) {
    Target target(object, m_keeping);
    // What a document is read into keeps only what this document holds.
    if (level == 0 && target.kept != nullptr) {
        target.kept->clear();
    }
    return read(target, level);
}

bool DocumentReader::read(Target& target, unsigned int level) {
    if (target.shipping == nullptr || level > XMLReader::maxDepth) {
        return false;
    }
    std::string_view tag;
    std::string_view nameSpace;
    ShippingContainer* keeper =
        target.container != nullptr && target.container->keepsMarkup() ? target.container : nullptr;
    KeptMarkup* kept = keeper == nullptr ? target.kept : nullptr;
    std::size_t own = 0;
    // At a document's level what is kept stands before or after its root element.
    bool elementRead = false;
    auto keep = [&](std::string_view text) {
        if (text.empty()) {
            return;
        }
        assign(m_value, text);
        if (keeper != nullptr) {
            keeper->keepMarkup(m_value);
        } else {
            using Side = KeptMarkup::Side;
            kept->keep(m_value, level > 0 ? Side::inside : elementRead ? Side::after : Side::before, own);
        }
    };
    auto keepMarkup = [&](char const* opening, std::string_view content, char const* closing) {
        m_raw.assign(opening);
        m_raw.append(content);
        m_raw.append(closing);
        keep(m_raw);
    };
    bool keeping = keeper != nullptr || kept != nullptr;
    Journal journal(*this, keeping);
    for (;;) {
        // The text as written, references unreplaced, for the keeper.
        std::size_t from = m_journal.size();
        m_importer.getPhraseAndOpening(m_text);
        if (keeping) {
            keep(rawText(from));
        }
        if (!m_text.empty() && !target.shipping->read(m_text)) {
            return false;
        }
        // Only a declaration before all else in the document names its encoding.
        bool atStart = m_atStart && trim(view(m_text)).empty();
        m_atStart = false;
        TagType kind = m_importer.readTag(tag, nameSpace);
        switch (kind) {
        case TagType::declaration:
            assign(m_tag, tag);
            if (atStart && isDeclaration(m_tag)) {
                if (!readDeclaration(m_tag)) {
                    return false;
                }
            } else if (keeping) {
                keepMarkup("<?", tag, "?>");
            }
            break;
        case TagType::comment:
            if (keeping) {
                keepMarkup("<!--", tag, "-->");
            }
            break;
        case TagType::cdata:
            if (keeping) {
                keepMarkup("<![CDATA[", tag, "]]>");
            }
            assign(m_value, tag);
            if (!target.shipping->read(m_value)) {
                return false;
            }
            break;
        case TagType::endTag: {
            if (tag.find('&') != std::string_view::npos) {
                assign(m_tag, tag);
                if (!m_importer.fromXMLString(m_tag)) {
                    return false;
                }
                tag = view(m_tag);
            }
            char const* objectNameSpace = target.object.getNameSpace();
            if (hasNameSpace(objectNameSpace) && nameSpace != objectNameSpace) {
                return false;
            }
            if (tag != std::string_view(target.object.getTag() != nullptr ? target.object.getTag() : "")) {
                return false;
            }
            return target.shipping->validate();
        }
        case TagType::endOfInput:
            return level == 0;
        case TagType::error:
            return false;
        case TagType::startTag:
        case TagType::emptyTag:
            if (!readElement(target, level, kind, tag, nameSpace, own)) {
                return false;
            }
            elementRead = true;
            break;
        }
    }
}

bool DocumentReader::isDeclaration(String const& tag) const {
    std::string_view whole = view(tag);
    String target = toString(whole.substr(0, std::min(whole.find_first_of(" \t\r\n"), whole.size())));
    return m_importer.fromXMLString(target) && target.toLowercase() == "xml";
}

std::string_view DocumentReader::rawText(std::size_t from) const {
    std::string_view text = std::string_view(m_journal).substr(from);
    if (!text.empty() && text.back() == '<') {
        text.remove_suffix(1);
    }
    return trim(text);
}

bool DocumentReader::readDeclaration(String& tag) {
    bool plain = false;
    std::string_view text = view(tag);
    if (!splitAttributes(text, plain)) {
        return false;
    }
    if (m_attributes.empty()) {
        return true;
    }
    XMLDeclaration declaration;
    if (!readAttributes(declaration)) {
        return false;
    }
    declaration.validate();
    DataBufferIn* stream = m_importer.getStream();
    // A byte-order mark has already chosen the encoding; the declaration cannot overrule it.
    if (declaration.namesEncoding() && !stream->hasByteOrderMark()) {
        stream->setSourceEncoding(declaration.getCode());
    }
    return true;
}

Shipping* DocumentReader::findChild(Target& target, unsigned int level, String const& tag,
                                    String const& nameSpace, bool& self, bool attribute) {
    self = false;
    // What is written back must stay in its namespace. Where the parent keeps what no field takes,
    // an element or attribute of another namespace than the parent's is kept as it was instead of
    // being offered to a field (which may make an entry for it) and written back in the field's;
    // one of the parent's binds only a field of that namespace. Without a prefix or a default
    // namespace, anything binds as it always did.
    bool strict = m_keeping && target.kept != nullptr && !nameSpace.empty();
    if (strict && !equalsTag(nameSpace, target.object.getNameSpace())) {
        return nullptr;
    }
    Shipping* child = nullptr;
    if (target.array != nullptr) {
        child = attribute ? target.array->addAttribute(tag, nameSpace)
                          : target.array->addShipping(tag, nameSpace);
    } else if (target.assembly != nullptr &&
               (target.container->shippingSize() > 0 || target.kept != nullptr)) {
        child = attribute ? target.assembly->getAttribute(tag, nameSpace)
                          : target.assembly->getShipping(tag, nameSpace);
    }
    if (strict && child != nullptr && XMLVerbatim::of(*child) == nullptr) {
        XMLShipping const* named = xmlShippingOf(child);
        if (named == nullptr || !equalsTag(nameSpace, named->getNameSpace())) {
            delete child;
            return nullptr;
        }
    }
    // The root rule: a document may be the object's own element as well as a sequence of its
    // fields.
    if (child == nullptr && !attribute && level == 0 && equalsTag(tag, target.object.getTag()) &&
        (!hasNameSpace(target.object.getNameSpace()) || equalsTag(nameSpace, target.object.getNameSpace()))) {
        child = proxyOf(target.object);
        self = child != nullptr;
    }
    return child;
}

bool DocumentReader::readElement(Target& target, unsigned int level, TagType kind, std::string_view tag,
                                 std::string_view nameSpace, std::size_t& own) {
    bool plain = true;
    if (!splitAttributes(tag, plain)) {
        return false;
    }
    assign(m_tag, tag);
    assign(m_nameSpace, nameSpace);
    // Only a name holding a reference has anything to replace.
    if ((tag.find('&') != std::string_view::npos && !m_importer.fromXMLString(m_tag)) ||
        (nameSpace.find('&') != std::string_view::npos && !m_importer.fromXMLString(m_nameSpace))) {
        return false;
    }
    // The element's own declaration of the default namespace holds for it and what it holds.
    bool inDefaultNameSpace = m_inDefaultNameSpace;
    for (Attribute const& attribute : m_attributes) {
        if (attribute.name == "xmlns") {
            inDefaultNameSpace = !attribute.value.empty();
        }
    }
    if (m_nameSpace.empty() && inDefaultNameSpace) {
        m_offered = XMLReader::defaultNameSpace;
    } else {
        m_offered = m_nameSpace;
    }
    bool self = false;
    std::unique_ptr<Shipping> child(findChild(target, level, m_tag, m_offered, self, false));
    // A field read a second time where the target keeps: reading the element replaces what the
    // first gave, which is then kept as written; an attribute's value is not replaced by an element.
    Target::Occurrence occurrence{};
    bool tracked =
        child != nullptr && !self && level > 0 && occurrenceOf(target, *child, m_tag, m_offered, occurrence);
    if (tracked &&
        std::any_of(target.fields.begin(), target.fields.end(), [&](Target::Occurrence const& earlier) {
            return earlier.attribute && earlier.object == occurrence.object &&
                   earlier.name == occurrence.name;
        })) {
        child.reset(target.kept->add(m_tag, m_nameSpace, own));
        tracked = false;
    }
    // Where the target keeps, the journal records.
    std::size_t start = m_journalUsers > 0 ? tagStart() : 0;
    occurrence.start = start;
    // Below a document's level, an element no field takes is kept where the target keeps.
    bool keptChild = child == nullptr && level > 0 && target.kept != nullptr;
    if (keptChild) {
        child.reset(target.kept->add(m_tag, m_nameSpace, own));
    } else if (child == nullptr) {
        if (kind == TagType::emptyTag) {
            return true;
        }
        child.reset(new TagSeeker(m_tag, m_nameSpace));
    }
    XMLShipping* xmlChild = xmlShippingOf(child.get());
    if (xmlChild == nullptr) {
        return false;
    }
    Target inner(*xmlChild, child.get(), m_keeping);
    // Attributes of a leaf are ignored: only a container has fields to take them.
    if (inner.container != nullptr) {
        inner.container->setDefault();
        if (inner.kept != nullptr) {
            inner.kept->clearInside();
        }
        if (!m_attributes.empty() && !(plain ? bindAttributes(inner) : readAttributes(*xmlChild))) {
            return false;
        }
    }
    XMLVerbatim* verbatim = XMLVerbatim::of(*child);
    bool outerDefault = m_inDefaultNameSpace;
    m_inDefaultNameSpace = inDefaultNameSpace;
    bool done = verbatim != nullptr         ? readVerbatim(*verbatim, level, kind)
                : kind == TagType::emptyTag ? child->validate()
                                            : read(inner, level + 1);
    m_inDefaultNameSpace = outerDefault;
    if (!done) {
        return false;
    }
    if (tracked) {
        occurrence.end = m_journal.size();
        occurrence.index = own;
    }
    if (!self && verbatim == nullptr && !keptChild && target.container != nullptr &&
        target.container->keepsMarkup()) {
        assign(m_value, std::string_view(m_journal).substr(start));
        target.container->fieldRead(*child, m_value);
    }
    if (!self && verbatim == nullptr) {
        ++own;
    }
    if (tracked) {
        keepTwin(target, occurrence, own);
    }
    // An object is never an entry of itself, nor is what is kept an entry.
    if (target.map == nullptr || self || keptChild) {
        return true;
    }
    if (target.kept == nullptr) {
        return target.map->insert(*child);
    }
    bool taken = true;
    if (!target.map->insert(*child, taken)) {
        return false;
    }
    if (!taken) {
        // Kept as written, after the map's entries, where reading it again leaves it again.
        --own;
        assign(m_value, std::string_view(m_journal).substr(start));
        target.kept->keepTwin(String(), String(), m_value, own);
    }
    return true;
}

bool DocumentReader::occurrenceOf(Target const& target, Shipping& child, String const& tag,
                                  String const& nameSpace, Target::Occurrence& occurrence) {
    bool list = target.array != nullptr;
    if (target.kept == nullptr || target.map != nullptr || (!list && target.assembly == nullptr) ||
        XMLVerbatim::of(child) != nullptr) {
        return false;
    }
    // A leaf of an assembly is the field of its name, and so is a leaf of a list written as an
    // attribute (its entries are not); a list of an assembly, what it keeps or wraps. An assembly
    // may be one of several of a name that an assembly hands out in turn (a preset's children of
    // one type): it is not told apart.
    occurrence.name.assign(view(tag));
    occurrence.name += '|';
    occurrence.name.append(view(nameSpace));
    if (XMLUnit* unit = child.asUnit()) {
        occurrence.object = nullptr;
        return !list || unit->isAttribute();
    }
    ShippingContainer* container = child.asContainer();
    if (list || container == nullptr || !container->isRepeating()) {
        return false;
    }
    if (KeptMarkup* kept = container->getKept()) {
        occurrence.object = kept;
    } else if (auto* map = dynamic_cast<XMLMapProxy*>(&child)) {
        occurrence.object = &map->getObject();
    } else if (auto* array = dynamic_cast<XMLArrayProxy*>(&child)) {
        occurrence.object = &array->getObject();
    } else {
        return false;
    }
    return true;
}

void DocumentReader::keepTwin(Target& target, Target::Occurrence const& occurrence, std::size_t& own) {
    auto earlier =
        std::find_if(target.fields.begin(), target.fields.end(), [&](Target::Occurrence const& field) {
            return !field.attribute && field.object == occurrence.object && field.name == occurrence.name;
        });
    Target::Occurrence read = occurrence;
    if (earlier != target.fields.end()) {
        std::string_view name = earlier->name;
        std::size_t bar = name.rfind('|');
        assign(m_local, name.substr(0, bar));
        assign(m_nameSpace, name.substr(bar + 1));
        if (m_nameSpace == XMLReader::defaultNameSpace) {
            m_nameSpace.clear();
        }
        assign(m_value, std::string_view(m_journal).substr(earlier->start, earlier->end - earlier->start));
        target.kept->keepTwin(m_local, m_nameSpace, m_value, earlier->index);
        --own;
        for (Target::Occurrence& field : target.fields) {
            if (!field.attribute && field.index > earlier->index) {
                --field.index;
            }
        }
        --read.index;
        target.fields.erase(earlier);
    }
    target.fields.push_back(std::move(read));
}

// Hands the element whose start tag was read last to the binding as the text it has in the
// document: its content is read as that of an element no field takes, the stream recording it.
bool DocumentReader::readVerbatim(XMLVerbatim& verbatim, unsigned int level, TagType kind) {
    // What keeps it keeps at this level, so the journal records already; otherwise it starts here.
    bool recording = m_journalUsers > 0;
    Journal journal(*this, true);
    if (!recording) {
        m_journal += '<';
        m_journal += m_importer.getTagText();
        m_journal += '>';
    }
    std::size_t start = tagStart();
    if (kind == TagType::startTag) {
        TagSeeker content(m_tag, m_nameSpace);
        if (!read(content, level + 1)) {
            return false;
        }
    }
    assign(m_value, std::string_view(m_journal).substr(start));
    verbatim.setMarkup(m_value, false);
    return verbatim.validate();
}

// Splits a tag into its name and its attribute list; `plain` tells whether every attribute can be
// bound straight from the tag. The attributes stay views into the tag text.
bool DocumentReader::splitAttributes(std::string_view& tag, bool& plain) {
    m_attributes.clear();
    std::size_t space = 0;
    while (space < tag.size() && !isSpace(tag[space])) {
        ++space;
    }
    if (space == tag.size()) {
        return true;
    }
    std::string_view list = tag.substr(space);
    for (;;) {
        list = trimLeading(list);
        if (list.empty()) {
            break;
        }
        std::size_t equals = list.find('=');
        if (equals == std::string_view::npos) {
            return false;
        }
        std::string_view name = trim(list.substr(0, equals));
        if (name.empty()) {
            return false;
        }
        std::size_t open = list.find_first_of("\"'", equals + 1);
        if (open == std::string_view::npos) {
            return false;
        }
        std::size_t close = list.find(list[open], open + 1);
        if (close == std::string_view::npos) {
            return false;
        }
        std::string_view value = list.substr(open + 1, close - open - 1);
        plain = plain && isPlainName(name) && value.find('<') == std::string_view::npos;
        m_attributes.push_back({name, value});
        list = list.substr(close + 1);
    }
    tag = tag.substr(0, space);
    return true;
}

// Reads the attributes as the document "<name>value</name>" and a line break for each.
bool DocumentReader::readAttributes(XMLShipping& child) {
    std::string document;
    for (auto const& attribute : m_attributes) {
        document += '<';
        document += attribute.name;
        document += '>';
        document += attribute.value;
        document += "</";
        document += attribute.name;
        document += ">\n";
    }
    String text(document.data(), static_cast<unsigned int>(document.size()));
    DataBufferIn stream(text, utf8);
    XMLReader::PhraseImporter importer(&stream, m_importer.getGlossary());
    return DocumentReader(importer, false).read(child, 0);
}

// Binds plain attributes as reading their attribute document would, without making one.
bool DocumentReader::bindAttributes(Target& target) {
    for (auto const& attribute : m_attributes) {
        std::string_view name = attribute.name;
        std::size_t colon = name.find(':');
        if (colon != std::string_view::npos) {
            assign(m_nameSpace, name.substr(0, colon));
            name.remove_prefix(colon + 1);
        } else {
            m_nameSpace.clear();
        }
        assign(m_local, name);
        bool self = false;
        std::unique_ptr<Shipping> field(findChild(target, 0, m_local, m_nameSpace, self, true));
        // Only a leaf takes an attribute: a container of that name (a package, a list) would be
        // put back to its defaults by it.
        if (field != nullptr && field->asContainer() != nullptr) {
            field.reset();
        }
        bool keptField = field == nullptr && target.kept != nullptr;
        if (keptField) {
            field.reset(target.kept->add(m_local, m_nameSpace, 0));
        } else if (field == nullptr) {
            field.reset(new TagSeeker(m_local, m_nameSpace));
        }
        XMLShipping* xmlField = xmlShippingOf(field.get());
        if (xmlField == nullptr) {
            return false;
        }
        if (XMLVerbatim* verbatim = XMLVerbatim::of(*field)) {
            // The attribute as written, from its name to its closing quote.
            char const* end = attribute.value.data() + attribute.value.size() + 1;
            assign(m_value, std::string_view(attribute.name.data(),
                                             static_cast<std::size_t>(end - attribute.name.data())));
            verbatim->setMarkup(m_value, true);
        } else if (!attribute.value.empty()) {
            assign(m_value, attribute.value);
            m_importer.fromXMLString(m_value);
            if (!field->read(m_value)) {
                return false;
            }
        }
        char const* fieldNameSpace = xmlField->getNameSpace();
        if ((hasNameSpace(fieldNameSpace) && !equalsTag(m_nameSpace, fieldNameSpace)) ||
            !equalsTag(m_local, xmlField->getTag()) || !field->validate()) {
            return false;
        }
        if (target.map != nullptr && !keptField && !target.map->insert(*field)) {
            return false;
        }
        Target::Occurrence occurrence{};
        if (!keptField && field->asUnit() != nullptr &&
            occurrenceOf(target, *field, m_local, m_nameSpace, occurrence)) {
            occurrence.attribute = true;
            target.fields.push_back(std::move(occurrence));
        }
        if (!target.shipping->read(m_lineBreak)) {
            return false;
        }
    }
    return true;
}

} // namespace

XMLReader::PhraseImporter::PhraseImporter(DataBufferIn* stream, XMLGlossary* glossary)
    : m_stream(stream), m_glossary(glossary), m_unresolved("?"), m_ownsStream(stream == nullptr) {
    if (m_stream == nullptr) {
        m_stream = new DataBufferIn();
    }
    m_stream->setTargetEncoding(utf8);
}

XMLReader::PhraseImporter::~PhraseImporter() {
    if (m_ownsStream) {
        delete m_stream;
    }
}

bool XMLReader::PhraseImporter::getPhrase(String& text) {
    text.clear();
    m_opening = 0;
    m_stream->iterateTo('<', &text, false);
    if (m_record != nullptr) {
        m_record->append(view(text));
    }
    return fromXMLString(text);
}

bool XMLReader::PhraseImporter::getPhraseAndOpening(String& text) {
    text.clear();
    m_opening = m_stream->iterateTo('<', &text, true);
    if (m_record != nullptr) {
        m_record->append(view(text));
        if (m_opening == delimiterFound) {
            *m_record += '<';
        }
    }
    return fromXMLString(text);
}

std::string_view XMLReader::PhraseImporter::getTagText() const {
    return view(m_buffer);
}

int XMLReader::PhraseImporter::readMarkup() {
    m_buffer.clear();
    int found = m_stream->iterateTo('>', &m_buffer, true);
    if (m_record != nullptr && found == delimiterFound) {
        m_record->append(view(m_buffer));
        *m_record += '>';
    }
    return found;
}

XMLReader::PhraseImporter::TagType XMLReader::PhraseImporter::getTag(String& tag, String& nameSpace) {
    std::string_view tagText;
    std::string_view nameSpaceText;
    TagType kind = readTag(tagText, nameSpaceText);
    assign(tag, tagText);
    assign(nameSpace, nameSpaceText);
    return kind;
}

XMLReader::PhraseImporter::TagType XMLReader::PhraseImporter::readTag(std::string_view& tag,
                                                                      std::string_view& nameSpace) {
    tag = std::string_view();
    nameSpace = std::string_view();
    int found = m_opening;
    if (found == 0) {
        m_buffer.clear();
        found = m_stream->iterateTo('<', m_record != nullptr ? &m_buffer : nullptr, true);
        if (m_record != nullptr) {
            m_record->append(view(m_buffer));
            if (found == delimiterFound) {
                *m_record += '<';
            }
        }
    }
    m_opening = 0;
    if (found != delimiterFound) {
        // A stream that failed to load reports the end of its data from then on.
        return found == endOfData && (m_stream->getState() & StreamBase::failure) == 0 ? endOfInput : error;
    }
    if (readMarkup() != delimiterFound) {
        return error;
    }
    std::string_view text = trimLeading(view(m_buffer));

    // Markup is told by its leading characters, so "?" or "--" inside an element tag (in an
    // attribute value) is plain text.
    TagType kind = startTag;
    std::string_view terminator;
    if (startsWith(text, "?")) {
        kind = declaration;
        terminator = "?";
        text.remove_prefix(1);
    } else if (startsWith(text, "!--")) {
        kind = comment;
        terminator = "--";
        text.remove_prefix(3);
    } else if (startsWith(text, "![CDATA[")) {
        kind = cdata;
        terminator = "]]";
        text.remove_prefix(8);
    }
    if (kind != startTag) {
        // The item runs on over every ">" until its terminator is seen.
        std::string& content = m_content;
        content.assign(text);
        std::size_t from = 0;
        while (content.find(terminator, from) == std::string::npos) {
            from = content.size() + 1 >= terminator.size() ? content.size() + 1 - terminator.size() : 0;
            if (readMarkup() != delimiterFound) {
                return error;
            }
            content += '>';
            content += view(m_buffer);
        }
        if (!endsWith(content, terminator)) {
            return error;
        }
        tag = std::string_view(content).substr(0, content.size() - terminator.size());
        return kind;
    }

    text = trimTrailing(text);
    if (text.empty()) {
        return error;
    }
    if (endsWith(text, "/")) {
        text.remove_suffix(1);
        if (text.empty()) {
            return error;
        }
        kind = emptyTag;
    } else if (startsWith(text, "/")) {
        text.remove_prefix(1);
        kind = endTag;
    }
    std::size_t space = 0;
    while (space < text.size() && !isSpace(text[space])) {
        ++space;
    }
    std::size_t colon = text.substr(0, space).find(':');
    if (colon != std::string_view::npos) {
        nameSpace = text.substr(0, colon);
        text.remove_prefix(colon + 1);
    }
    tag = text;
    return kind;
}

namespace {

// The number of a character reference ("#65", "#x41"); 0 when the digits do not parse or exceed
// the type.
unsigned long long referenceNumber(std::string_view text) {
    unsigned long long number = 0;
    if (startsWith(text, "#x") || startsWith(text, "#X")) {
        // Hexadecimal digits in either case.
        text.remove_prefix(2);
        if (text.empty()) {
            return 0;
        }
        for (char c : text) {
            unsigned int digit = 0;
            if (c >= '0' && c <= '9') {
                digit = static_cast<unsigned int>(c - '0');
            } else if (c >= 'A' && c <= 'F') {
                digit = static_cast<unsigned int>(c - 'A' + 10);
            } else if (c >= 'a' && c <= 'f') {
                digit = static_cast<unsigned int>(c - 'a' + 10);
            } else {
                return 0;
            }
            if (number > (~0ULL >> 4)) {
                return 0;
            }
            number = number * 16 + digit;
        }
        return number;
    }
    text.remove_prefix(1);
    bool digits = !text.empty() && text.size() <= 19;
    for (char c : text) {
        digits = digits && c >= '0' && c <= '9';
    }
    if (!digits) {
        ToUInt64 decimal(toString(text));
        return decimal.isValid() ? decimal.getValue() : 0;
    }
    for (char c : text) {
        number = number * 10 + static_cast<unsigned int>(c - '0');
    }
    return number;
}

// Appends the UTF-8 form of a Unicode character beyond ASCII that a standard XML parser reads as
// text; false for any other number: the C1 controls, surrogates, non-characters (U+FDD0 to U+FDEF
// and the last two of every plane) and numbers beyond U+10FFFF.
bool appendCodePoint(unsigned long long number, std::string& out) {
    if (number < 0xA0 || number > 0x10FFFF || (number >= 0xD800 && number <= 0xDFFF) ||
        (number >= 0xFDD0 && number <= 0xFDEF) || (number & 0xFFFE) == 0xFFFE) {
        return false;
    }
    auto unit = [&out](unsigned long long bits) { out += static_cast<char>(bits); };
    if (number < 0x800) {
        unit(0xC0 | (number >> 6));
    } else if (number < 0x10000) {
        unit(0xE0 | (number >> 12));
        unit(0x80 | ((number >> 6) & 0x3F));
    } else {
        unit(0xF0 | (number >> 18));
        unit(0x80 | ((number >> 12) & 0x3F));
        unit(0x80 | ((number >> 6) & 0x3F));
    }
    unit(0x80 | (number & 0x3F));
    return true;
}

// Appends what "&name;" stands for; "?" for a reference to nothing allowed.
void appendReplacement(XMLGlossary const& glossary, std::string_view name, std::string& out) {
    if (String const* entry = glossary.find(name)) {
        out.append(view(*entry));
        return;
    }
    unsigned long long number = startsWith(name, "#") ? referenceNumber(name) : 0;
    if (number == 0) {
        out += '?';
        return;
    }
    // The number is a byte sequence, most significant byte first, where its bytes are all text
    // bytes; otherwise it is the Unicode character of that number, where there is one.
    char bytes[8];
    std::size_t count = 0;
    for (unsigned long long rest = number; rest != 0; rest >>= 8) {
        auto byte = static_cast<unsigned char>(rest & 0xFF);
        if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte >= 0x80) {
            if (!appendCodePoint(number, out)) {
                out += '?';
            }
            return;
        }
        bytes[count++] = static_cast<char>(byte);
    }
    while (count > 0) {
        out += bytes[--count];
    }
}

} // namespace

String XMLReader::PhraseImporter::getReplacement(String const& name) const {
    std::string text;
    appendReplacement(*m_glossary, view(name), text);
    return toString(text);
}

bool XMLReader::PhraseImporter::fromXMLString(String& text) const {
    // Most text holds no reference: one pass finds that.
    if (std::strchr(text.data(), '&') == nullptr) {
        return true;
    }
    std::string_view source = view(text);
    std::size_t amp = source.find('&');
    std::string& result = m_replaced;
    result.clear();
    std::size_t done = 0;
    bool complete = true;
    while (amp != std::string_view::npos) {
        std::size_t semicolon = source.find(';', amp + 1);
        if (semicolon == std::string_view::npos) {
            complete = false;
            break;
        }
        result.append(source.substr(done, amp - done));
        appendReplacement(*m_glossary, source.substr(amp + 1, semicolon - amp - 1), result);
        done = semicolon + 1;
        amp = source.find('&', done);
    }
    result.append(source.substr(done));
    assign(text, result);
    return complete;
}

XMLReader::XMLReader(DataBufferIn* stream) : m_glossary(nullptr), m_importer(nullptr) {
    // Nothing is left behind when making either part fails.
    auto glossary = std::make_unique<XMLGlossary>();
    m_importer = new PhraseImporter(stream, glossary.get());
    m_glossary = glossary.release();
}

XMLReader::~XMLReader() {
    delete m_importer;
    delete m_glossary;
}

void XMLReader::setSource(DataBufferIn* stream) {
    auto* importer = new PhraseImporter(stream, m_glossary);
    delete m_importer;
    m_importer = importer;
}

bool XMLReader::importTo(XMLShipping& object) const {
    return DocumentReader(*m_importer, true).read(object, 0);
}

bool XMLReader::fromXMLString(String& text) const {
    return m_importer->fromXMLString(text);
}

int XMLReader::getRowPosition() const {
    return m_importer != nullptr ? m_importer->getStream()->getRowPosition() : 0;
}

int XMLReader::getColPosition() const {
    return m_importer != nullptr ? m_importer->getStream()->getColPosition() : 0;
}

} // namespace zelvane
