#include "XML/XMLReader.h"

#include "Environment/DataBufferIn.h"
#include "Environment/ToString.h"
#include "XML/XMLArray.h"
#include "XML/XMLArrayProxy.h"
#include "XML/XMLAssembly.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLGlossary.h"
#include "XML/XMLMap.h"
#include "XML/XMLMapProxy.h"
#include "XML/XMLTypeProxy.h"
#include "XML/XMLUnitProxy.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

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

String toString(std::string_view text) {
    return String(text.data(), static_cast<unsigned int>(text.size()));
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
    return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool equalsTag(String const& text, char const* tag) {
    return view(text) == std::string_view(tag != nullptr ? tag : "");
}

bool hasNameSpace(char const* nameSpace) {
    return nameSpace != nullptr && *nameSpace != '\0';
}

// Splits an element tag into its name and its attribute list, and turns the list into an
// attribute document: each attribute becomes "<name>value</name>" and a line break.
bool extractAttributes(String& tag, std::string& document) {
    std::string_view text = view(tag);
    std::size_t space = 0;
    while (space < text.size() && !isSpace(text[space])) {
        ++space;
    }
    document.clear();
    if (space == text.size()) {
        return true;
    }
    std::string_view list = text.substr(space);
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
        document += '<';
        document += name;
        document += '>';
        document += list.substr(open + 1, close - open - 1);
        document += "</";
        document += name;
        document += ">\n";
        list = list.substr(close + 1);
    }
    tag = toString(text.substr(0, space));
    return true;
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

class DocumentReader {
public:
    explicit DocumentReader(XMLReader::PhraseImporter& importer) : m_importer(importer) {}

    bool read(XMLShipping& object, unsigned int level);

private:
    bool readDeclaration(String& tag);
    bool readElement(XMLShipping& object, Shipping& shipping, unsigned int level, TagType kind, String& tag,
                     String& nameSpace);
    bool readAttributes(XMLShipping& child, std::string const& document);

    XMLReader::PhraseImporter& m_importer;
};

bool DocumentReader::read(XMLShipping& object, unsigned int level) {
    auto* shipping = dynamic_cast<Shipping*>(&object);
    if (shipping == nullptr || level > XMLReader::maxDepth) {
        return false;
    }
    String text;
    String tag;
    String nameSpace;
    for (;;) {
        m_importer.getPhrase(text);
        if (!text.empty() && !shipping->read(text)) {
            return false;
        }
        TagType kind = m_importer.getTag(tag, nameSpace);
        switch (kind) {
        case TagType::declaration:
            if (!readDeclaration(tag)) {
                return false;
            }
            break;
        case TagType::comment:
            break;
        case TagType::cdata:
            if (!shipping->read(tag)) {
                return false;
            }
            break;
        case TagType::endTag: {
            if (!m_importer.fromXMLString(tag)) {
                return false;
            }
            char const* objectNameSpace = object.getNameSpace();
            if (hasNameSpace(objectNameSpace) && !equalsTag(nameSpace, objectNameSpace)) {
                return false;
            }
            if (!equalsTag(tag, object.getTag())) {
                return false;
            }
            return shipping->validate();
        }
        case TagType::endOfInput:
            return level == 0;
        case TagType::error:
            return false;
        case TagType::startTag:
        case TagType::emptyTag:
            if (!readElement(object, *shipping, level, kind, tag, nameSpace)) {
                return false;
            }
            break;
        }
    }
}

bool DocumentReader::readDeclaration(String& tag) {
    // Processing instructions other than the declaration are ignored, whatever they hold.
    String target =
        toString(view(tag).substr(0, std::min(view(tag).find_first_of(" \t\r\n"), view(tag).size())));
    if (!m_importer.fromXMLString(target) || target.toLowercase() != "xml") {
        return true;
    }
    std::string document;
    if (!extractAttributes(tag, document)) {
        return false;
    }
    if (document.empty()) {
        return true;
    }
    XMLDeclaration declaration;
    if (!readAttributes(declaration, document)) {
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

bool DocumentReader::readElement(XMLShipping& object, Shipping& shipping, unsigned int level, TagType kind,
                                 String& tag, String& nameSpace) {
    std::string document;
    if (!extractAttributes(tag, document) || !m_importer.fromXMLString(tag) ||
        !m_importer.fromXMLString(nameSpace)) {
        return false;
    }
    std::unique_ptr<Shipping> child;
    if (auto* container = dynamic_cast<ShippingContainer*>(&shipping)) {
        if (container->isRepeating()) {
            if (auto* array = dynamic_cast<XMLArray*>(&object)) {
                child.reset(array->addShipping(tag, nameSpace));
            }
        } else if (container->shippingSize() > 0) {
            if (auto* assembly = dynamic_cast<XMLAssembly*>(&object)) {
                child.reset(assembly->getShipping(tag, nameSpace));
            }
        }
    }
    // The root rule: a document may be the object's own element as well as a sequence of its
    // fields.
    bool self = false;
    if (child == nullptr && level == 0 && equalsTag(tag, object.getTag()) &&
        (!hasNameSpace(object.getNameSpace()) || equalsTag(nameSpace, object.getNameSpace()))) {
        child.reset(proxyOf(object));
        self = child != nullptr;
    }
    if (child == nullptr) {
        if (kind == TagType::emptyTag) {
            return true;
        }
        child.reset(new TagSeeker(tag, nameSpace));
    }
    auto* xmlChild = dynamic_cast<XMLShipping*>(child.get());
    if (xmlChild == nullptr) {
        return false;
    }
    // Attributes of a leaf are ignored: only a container has fields to take them.
    if (auto* container = dynamic_cast<ShippingContainer*>(child.get())) {
        container->setDefault();
        if (!document.empty() && !readAttributes(*xmlChild, document)) {
            return false;
        }
    }
    bool done = kind == TagType::emptyTag ? child->validate() : read(*xmlChild, level + 1);
    if (!done) {
        return false;
    }
    // An object is never an entry of itself.
    if (auto* map = dynamic_cast<XMLMap*>(&object); map != nullptr && !self) {
        return map->insert(*child);
    }
    return true;
}

bool DocumentReader::readAttributes(XMLShipping& child, std::string const& document) {
    String text(document.data(), static_cast<unsigned int>(document.size()));
    DataBufferIn stream(text, utf8);
    XMLReader::PhraseImporter importer(&stream, m_importer.getGlossary());
    return DocumentReader(importer).read(child, 0);
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
    m_stream->iterateTo('<', &text, false);
    return fromXMLString(text);
}

XMLReader::PhraseImporter::TagType XMLReader::PhraseImporter::getTag(String& tag, String& nameSpace) {
    int found = m_stream->iterateTo('<', nullptr, true);
    if (found != delimiterFound) {
        // A stream that failed to load reports the end of its data from then on.
        return found == endOfData && (m_stream->getState() & StreamBase::failure) == 0 ? endOfInput : error;
    }
    tag.clear();
    nameSpace.clear();
    m_buffer.clear();
    if (m_stream->iterateTo('>', &m_buffer, true) != delimiterFound) {
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
        std::string content(text);
        std::size_t from = 0;
        while (content.find(terminator, from) == std::string::npos) {
            from = content.size() + 1 >= terminator.size() ? content.size() + 1 - terminator.size() : 0;
            m_buffer.clear();
            if (m_stream->iterateTo('>', &m_buffer, true) != delimiterFound) {
                return error;
            }
            content += '>';
            content += view(m_buffer);
        }
        if (!endsWith(content, terminator)) {
            return error;
        }
        content.resize(content.size() - terminator.size());
        tag = toString(content);
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
        nameSpace = toString(text.substr(0, colon));
        text.remove_prefix(colon + 1);
    }
    tag = toString(text);
    return kind;
}

String XMLReader::PhraseImporter::getReplacement(String const& name) const {
    std::string_view text = view(name);
    if (String const* entry = m_glossary->find(text)) {
        return *entry;
    }
    unsigned long long number = 0;
    if (startsWith(text, "#x") || startsWith(text, "#X")) {
        // Hexadecimal digits in either case.
        String digits = toString(text.substr(2));
        std::string upper(view(digits));
        for (char& c : upper) {
            if (c >= 'a' && c <= 'f') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        FromHex hex(toString(upper));
        number = hex.isValid() ? hex.getValue() : 0;
    } else if (startsWith(text, "#")) {
        ToUInt64 decimal(toString(text.substr(1)));
        number = decimal.isValid() ? decimal.getValue() : 0;
    } else {
        return m_unresolved;
    }
    if (number == 0) {
        return m_unresolved;
    }
    // The number is a byte sequence, most significant byte first; only text bytes are allowed.
    std::string bytes;
    for (; number != 0; number >>= 8) {
        auto byte = static_cast<unsigned char>(number & 0xFF);
        if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte >= 0x80) {
            return m_unresolved;
        }
        bytes.insert(bytes.begin(), static_cast<char>(byte));
    }
    return toString(bytes);
}

bool XMLReader::PhraseImporter::fromXMLString(String& text) const {
    std::string_view source = view(text);
    std::size_t amp = source.find('&');
    if (amp == std::string_view::npos) {
        return true;
    }
    std::string result;
    result.reserve(source.size());
    std::size_t done = 0;
    bool complete = true;
    while (amp != std::string_view::npos) {
        std::size_t semicolon = source.find(';', amp + 1);
        if (semicolon == std::string_view::npos) {
            complete = false;
            break;
        }
        result.append(source.substr(done, amp - done));
        String replacement = getReplacement(toString(source.substr(amp + 1, semicolon - amp - 1)));
        result.append(view(replacement));
        done = semicolon + 1;
        amp = source.find('&', done);
    }
    result.append(source.substr(done));
    text = toString(result);
    return complete;
}

XMLReader::XMLReader(DataBufferIn* stream)
    : m_glossary(new XMLGlossary), m_importer(new PhraseImporter(stream, m_glossary)) {}

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
    return DocumentReader(*m_importer).read(object, 0);
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
