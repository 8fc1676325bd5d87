#include "Library/ParametricSource.h"

#include "ACAPI/MimeConversion.hpp"
#include "Environment/Memory.h"
#include "FTM/ImageTypes.hpp"
#include "Interface/Image.h"
#include "Library/TextDatabase.h"
#include "Memo/ElementMemoStore.h"

#include <memory>
#include <string>

namespace zelvane {

namespace {

// The value lists of the VALUES statements of a parameter script: a record of names and, for each
// statement, a record of its quoted values.
TextDatabase* scanValues(const std::string& script) {
    auto table = std::make_unique<TextDatabase>();
    auto names = std::make_unique<TextRecord>();
    // Only ASCII letters change case, so positions found in the copy hold in the script.
    std::string upper = script;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = char(c - 'a' + 'A');
        }
    }
    const std::size_t end = script.size();
    std::size_t p = 0;
    for (;;) {
        std::size_t keyword = upper.find("VALUES", p);
        if (keyword == std::string::npos) {
            break;
        }
        p = keyword + 6;
        std::size_t open = script.find_first_of("\"'", p);
        if (open == std::string::npos) {
            break;
        }
        std::size_t close = script.find(script[open], open + 1);
        if (close == std::string::npos) {
            break;
        }
        if (close == open + 1) {
            p = open + 1;
            continue;
        }
        names->push_back(new TextField(String(script.substr(open + 1, close - open - 1).c_str())));
        auto values = std::make_unique<TextRecord>();
        std::size_t lineStart = close + 1;
        std::size_t lastLine = lineStart;
        bool ended = false;
        while (!ended) {
            std::size_t lineEnd = std::min(script.find_first_of("\r\n", lineStart), end);
            lastLine = lineStart;
            std::size_t at = lineStart;
            for (;;) {
                std::size_t first = script.find_first_of("\"'", at);
                if (first >= lineEnd) {
                    break;
                }
                std::size_t last = script.find(script[first], first + 1);
                if (last == std::string::npos || last >= lineEnd) {
                    break;
                }
                values->push_back(new TextField(String(script.substr(first + 1, last - first - 1).c_str())));
                std::size_t comma = script.find(',', last + 1);
                if (comma >= lineEnd) {
                    ended = true; // a value without "," after it ends the list
                    break;
                }
                at = comma;
            }
            if (lineEnd >= end) {
                ended = true;
            }
            lineStart = lineEnd + 1;
        }
        table->addRecord(values.release());
        p = lastLine;
    }
    table->setFieldNames(names.release());
    return table.release();
}

} // namespace

ParametricSource::ParametricSource(const ComponentLink& link) : ComponentSource(link) {}

ParametricSource::ParametricSource(const API_LibPart& record, const ComponentLink& link)
    : ComponentSource(record, link) {}

ParametricSource::ParametricSource(const ParametricSource& other)
    : ComponentSource(other), ComponentParameterMemo(other), ComponentResourceMemo(other),
      m_details(other.m_details != nullptr ? new API_LibPartDetails(*other.m_details) : nullptr) {}

ParametricSource::~ParametricSource() {
    delete m_details;
    delete m_values;
}

String ParametricSource::getScript(UInt32 type) const {
    GSHandle section = getSection(type);
    if (section == nullptr) {
        return String();
    }
    return String(*section, unsigned(getHandleSize(section)));
}

void ParametricSource::setScript(UInt32 type, const String& text) {
    GSHandle section = nullptr;
    stringToHandle(text, section);
    try {
        setSection(type, section);
    } catch (...) {
        disposeHandle(&section);
        throw;
    }
}

const TextDatabase& ParametricSource::getValueTable() const {
    if (m_values == nullptr) {
        String script = getParameterScript();
        m_values = scanValues(std::string(script.data(), script.dataLength()));
    }
    return *m_values;
}

const TextRecord* ParametricSource::getValues(const String& name) const {
    const TextDatabase& values = getValueTable();
    Int32 index = values.getFieldIndex(name, false);
    return index < 0 ? nullptr : values.getRecordAt(std::size_t(index));
}

Image* ParametricSource::getPreviewPict() const {
    GSHandle section = getSection(MakeGSType("PICT"));
    if (section == nullptr) {
        return nullptr;
    }
    return new Image(MemoryBlock(*section, getHandleSize(section)));
}

Image* ParametricSource::getPreviewImage() const {
    GSHandle section = getSection(MakeGSType("GIFF"));
    if (section == nullptr) {
        return nullptr;
    }
    API_MimePicConversion conversion{};
    conversion.inputHdl = section;
    String("image/png").copyTo(conversion.outputMime, sizeof conversion.outputMime);
    conversion.conversionFlags = 1;
    conversion.bitDepth = 8;
    GSErrCode err = ACAPI_Goodies(APIAny_ConvertMimePictureID, &conversion);
    if (err != NoError) {
        if (conversion.outputHdl != nullptr) {
            disposeHandle(&conversion.outputHdl);
        }
        return nullptr;
    }
    if (conversion.outputHdl == nullptr) {
        return nullptr;
    }
    auto image = std::make_unique<Image>();
    image->setData(conversion.outputHdl);
    return image.release();
}

void ParametricSource::setPreviewGif(const Image& image) {
    static const char mime[] = "image/jpeg";
    const MemoryBlock& encoded = image.getData(FTM::FindImageTypeByMime(mime));
    int size = encoded.size();
    GSHandle section = allocateHandle(int(sizeof mime) + size);
    copyMemory(*section, mime, int(sizeof mime));
    if (size > 0) {
        copyMemory(*section + sizeof mime, *encoded.getHandle(), size);
    }
    try {
        setSection(MakeGSType("GIFF"), section);
    } catch (...) {
        disposeHandle(&section);
        throw;
    }
}

API_LibPartDetails& ParametricSource::getDetails() const {
    if (m_details == nullptr) {
        m_details = new API_LibPartDetails();
        if (exists() && ACAPI_LibPart_GetDetails(getIndex(), m_details) != NoError) {
            *m_details = API_LibPartDetails();
        }
    }
    return *m_details;
}

void ParametricSource::getMemo(UInt64 mask, MemoStore*& store) const {
    if (!isLoaded() || !isValid()) {
        mask |= parameterMask;
    }
    if (store == nullptr) {
        store = new ElementMemoStore();
        if (!loadLibraryMemo(*store, false)) {
            return; // not fetched: left unloaded, so that nothing empty is written back
        }
    }
    if ((mask & parameterMask) != 0) {
        unpack(*store);
    }
}

void ParametricSource::getOwnerInfo(API_ParamOwnerType& owner, bool& defaults) const {
    defaults = true;
    owner.libInd = getIndex();
}

} // namespace zelvane
