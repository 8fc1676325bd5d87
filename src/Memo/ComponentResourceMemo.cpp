#include "Memo/ComponentResourceMemo.h"

#include "Environment/Memory.h"
#include "Environment/String.h"
#include "GSRoot/UniString.hpp"
#include "Memo/ElementMemoStore.h"
#include "Memo/ParameterMemo.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace zelvane {

namespace {

constexpr UInt32 parameterSection = MakeGSType("PARD");

const ParameterMemo* parametersOf(const ComponentResourceMemo& memo) {
    return dynamic_cast<const ParameterMemo*>(&memo);
}

// The memo's parameters packed into a new handle of records, detached from the scratch store.
API_AddParType** packParameters(const ParameterMemo& parameters) {
    if (!parameters.confirmLoad(parameters.getFilter())) {
        return nullptr; // parameters that could not be read are not written over the part's
    }
    ElementMemoStore scratch;
    if (!parameters.pack(&scratch)) {
        return nullptr;
    }
    API_AddParType** records = *scratch.params();
    *scratch.params() = nullptr;
    if (records == nullptr) {
        // An empty list packs no handle: an empty one stands for it.
        records = reinterpret_cast<API_AddParType**>(allocateHandle(0));
    }
    return records;
}

} // namespace

ComponentResourceMemo::SectionList::SectionList(const SectionList& other) : std::map<UInt32, GSHandle>() {
    *this = other;
}

ComponentResourceMemo::SectionList& ComponentResourceMemo::SectionList::operator=(const SectionList& other) {
    if (this == &other) {
        return *this;
    }
    SectionList copy;
    for (const auto& entry : other) {
        // Inserted before the copy is made, so that a failed copy is disposed with the list.
        auto& handle = copy[entry.first];
        handle = entry.second != nullptr ? cloneHandle(entry.second) : nullptr;
    }
    clearSections();
    swap(copy);
    return *this;
}

ComponentResourceMemo::SectionList::~SectionList() {
    clearSections();
}

void ComponentResourceMemo::SectionList::eraseSection(iterator position) {
    if (position->second != nullptr) {
        disposeHandle(&position->second);
    }
    erase(position);
}

void ComponentResourceMemo::SectionList::clearSections() {
    while (!empty()) {
        eraseSection(begin());
    }
}

bool ComponentResourceMemo::isTextSection(UInt32 type) {
    static constexpr UInt32 texts[] = {
        MakeGSType("1DSC"), MakeGSType("2DSC"), MakeGSType("3DSC"), MakeGSType("PRSC"), MakeGSType("UISC"),
        MakeGSType("VLSC"), MakeGSType("FMSC"), MakeGSType("BMSC"), MakeGSType("CTXT"), MakeGSType("CPYR")};
    return std::find(std::begin(texts), std::end(texts), type) != std::end(texts);
}

std::size_t ComponentResourceMemo::size() const {
    if (m_sections.empty()) {
        loadSections();
    }
    return m_sections.size();
}

GSHandle ComponentResourceMemo::getSection(UInt32 type) const {
    if (m_sections.empty()) {
        loadSections();
    }
    if (type == parameterSection) {
        if (const ParameterMemo* parameters = parametersOf(*this)) {
            return reinterpret_cast<GSHandle>(packParameters(*parameters));
        }
    }
    auto found = m_sections.find(type);
    return found != m_sections.end() ? found->second : nullptr;
}

GSHandle ComponentResourceMemo::getSection(std::size_t position, UInt32& type) const {
    if (position >= size()) {
        return nullptr;
    }
    auto entry = std::next(m_sections.begin(), std::ptrdiff_t(position));
    type = entry->first;
    if (type == parameterSection) {
        if (const ParameterMemo* parameters = parametersOf(*this)) {
            API_AddParType** records = packParameters(*parameters);
            GSHandle section = nullptr;
            GSErrCode err = records == nullptr ? APIERR_GENERAL
                                               : ACAPI_LibPart_GetSect_ParamDef(&getResourceData(), records,
                                                                                getResourceWidth(),
                                                                                getResourceDepth(), &section);
            ACAPI_DisposeAddParHdl(&records);
            if (err == NoError && section != nullptr) {
                return section;
            }
        }
    }
    return entry->second;
}

UInt32 ComponentResourceMemo::getSectionType(std::size_t position) const {
    return position < size() ? std::next(m_sections.begin(), std::ptrdiff_t(position))->first : 0;
}

void ComponentResourceMemo::setSection(UInt32 type, GSHandle handle) {
    if (m_sections.empty()) {
        loadSections();
    }
    applySection(type, handle);
}

void ComponentResourceMemo::applySection(UInt32 type, GSHandle handle) {
    store(type, handle);
}

void ComponentResourceMemo::store(UInt32 type, GSHandle handle) const {
    if (type == parameterSection) {
        if (const ParameterMemo* parameters = parametersOf(*this)) {
            auto found = m_sections.find(type);
            if (found == m_sections.end() || found->second != handle) {
                if (found != m_sections.end()) {
                    m_sections.eraseSection(found);
                }
                if (handle != nullptr) {
                    disposeHandle(&handle);
                }
            }
            m_sections[type] = nullptr;
            // The parameters themselves come from the part's defaults.
            parameters->confirmLoad(parameters->getFilter());
            return;
        }
    }
    auto found = m_sections.find(type);
    if (found != m_sections.end()) {
        if (found->second == handle) {
            return; // the memo holds this handle already
        }
        if (handle == nullptr) {
            m_sections.eraseSection(found);
            return;
        }
        disposeHandle(&found->second);
        found->second = handle;
        return;
    }
    if (handle != nullptr) {
        m_sections[type] = handle;
    }
}

bool ComponentResourceMemo::eraseSection(UInt32 type) {
    auto found = m_sections.find(type);
    if (found == m_sections.end()) {
        return false;
    }
    m_sections.eraseSection(found);
    return true;
}

bool ComponentResourceMemo::loadSections() const {
    Int32 index = getResourceIndex();
    if (index == 0) {
        return false;
    }
    Int32 count = 0;
    API_LibPartSection** headers = nullptr;
    GSErrCode err = ACAPI_LibPart_GetSectionList(index, &count, &headers);
    if (err != NoError) {
        return false;
    }
    std::size_t held = headers != nullptr
                           ? std::size_t(std::max(getHandleSize(reinterpret_cast<char**>(headers)), 0)) /
                                 sizeof(API_LibPartSection)
                           : 0;
    try {
        for (std::size_t i = 0; i < std::min(held, std::size_t(std::max(count, 0))); ++i) {
            API_LibPartSection header = (*headers)[i];
            GSHandle handle = nullptr;
            GS::UniString text;
            bool isText = isTextSection(header.sectType);
            err = ACAPI_LibPart_GetSection(index, &header, &handle, isText ? &text : nullptr);
            if (err == APIERR_NOLIBSECT) {
                err = NoError;
                continue;
            }
            if (err != NoError) {
                break;
            }
            std::unique_ptr<char*, void (*)(char**)> owned(handle, [](char** h) { disposeHandle(&h); });
            if (isText && (text.GetLength() > 0 || handle == nullptr || getHandleSize(handle) == 0)) {
                GSHandle replaced = owned.get();
                stringToHandle(String(text), replaced); // disposes the old handle once the new one is made
                owned.release();
                owned.reset(replaced);
            }
            store(header.sectType, owned.release());
        }
    } catch (...) {
        GSHandle list = reinterpret_cast<GSHandle>(headers);
        disposeHandle(&list);
        throw;
    }
    GSHandle list = reinterpret_cast<GSHandle>(headers);
    disposeHandle(&list);
    return err == NoError;
}

} // namespace zelvane
