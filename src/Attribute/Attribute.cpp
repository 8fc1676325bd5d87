#include "Attribute/Attribute.h"

#include "Database/Specification.h"
#include "Environment/MemoryBlock.h"
#include "Memo/AttributeMemoStore.h"
#include "Memo/Memo.h"

#include <cstring>
#include <memory>
#include <typeinfo>

namespace zelvane {

bool Attribute::m_isMinData = false;

bool Attribute::exists() const {
    return getHead().index != 0 && m_link.isValid();
}

UInt16 Attribute::getFlags() const {
    return UInt16(getHead().flags);
}

void Attribute::setFlags(UInt16 flags) {
    getHead().flags = flags;
}

String Attribute::getName() const {
    const API_Attr_Head& head = getHead();
    const void* end = std::memchr(head.name, 0, sizeof head.name);
    std::size_t length =
        end == nullptr ? sizeof head.name : std::size_t(static_cast<const char*>(end) - head.name);
    return String(head.name, unsigned(length));
}

void Attribute::setName(const String& name) {
    API_Attr_Head& head = getHead();
    name.copyTo(head.name, sizeof head.name);
}

void Attribute::setLink(const AttributeLink& link) {
    m_link = link;
    m_type = getType();
}

void Attribute::clearLink() {
    m_link.setIndex(attribute_index());
    m_link.setSpecification(nullptr);
}

MemoryBlock* Attribute::getOwnerData(short& version, int& platform) const {
    version = 0;
    platform = 0;
    if (!exists()) {
        return nullptr;
    }
    API_Attr_Head head = m_link.getHeader();
    if (getType() == 5 && short(head.index) < 0) {
        head.index = API_AttributeIndex(-head.index);
    }
    API_AttributeUserData data;
    GSErrCode err = ACAPI_Attribute_GetUserData(&head, &data);
    if (err != NoError && err != APIERR_NOUSERDATA) {
        return nullptr;
    }
    auto* block = new MemoryBlock(data.dataHdl);
    version = data.dataVersion;
    platform = data.platformSign == 0x4D4D ? 1 : 2;
    return block;
}

API_Attribute* Attribute::getData() const {
    auto* data = new API_Attribute;
    // The whole record is cleared: the host reads every byte of it.
    std::memset(static_cast<void*>(data), 0, sizeof *data);
    std::memcpy(static_cast<void*>(data), &getHead(), getRecordSize());
    return data;
}

bool Attribute::fetchRecord(void* record, std::size_t size) const {
    Specification* specification = m_link.getSpecification();
    if (specification == nullptr) {
        return false;
    }
    std::unique_ptr<Attribute> found((*specification)[m_link]);
    if (found == nullptr) {
        return false;
    }
    const Attribute& other = *found;
    if (typeid(other) != typeid(*this)) {
        return false;
    }
    std::memcpy(record, &found->getHead(), size);
    return true;
}

void Attribute::readMemo(const Memo& part, UInt64 mask, MemoStore*& store) const {
    getHead(); // the main record first
    if (!m_isMinData && (!part.isLoaded() || !part.isValid())) {
        mask |= part.getFilter();
    }
    const bool asked = (mask & part.getFilter()) != 0;
    if (store == nullptr) {
        Specification* specification = m_link.getSpecification();
        if (m_link.isValid() && specification != nullptr) {
            API_AttributeDefExt* record = specification->getMemo(m_link, mask);
            if (record == nullptr) {
                return;
            }
            store = new AttributeMemoStore(record);
            if (asked) {
                part.unpack(*store);
            }
        } else if (asked) {
            part.setLoaded(true);
        }
        return;
    }
    if (asked) {
        part.unpack(*store);
    }
}

API_AttributeDefExt* Attribute::writeMemo(const Memo& part) const {
    getHead();
    AttributeMemoStore store;
    if (!part.pack(&store)) {
        return nullptr;
    }
    store.setKeep(true);
    return store.getRecord();
}

} // namespace zelvane
