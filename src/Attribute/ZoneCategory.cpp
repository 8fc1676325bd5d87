#include "Attribute/ZoneCategory.h"

#include "Attribute/CadColour.h"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Environment/Host.h"
#include "Library/Library.h"
#include "Memo/AttributeMemoStore.h"

#include <memory>

namespace zelvane {
namespace {

// Zone stamps are library parts of this type.
constexpr API_LibTypeID zoneStampType = APILib_RoomID;

} // namespace

String ZoneCategory::getCode() const {
    return String(data().catCode, unsigned(sizeof data().catCode));
}

void ZoneCategory::setCode(const String& code) {
    code.copyTo(data().catCode, unsigned(sizeof data().catCode));
}

String ZoneCategory::getStampName() const {
    return String(data().stampName, unsigned(sizeof data().stampName));
}

void ZoneCategory::setStampName(const String& name) {
    name.copyTo(data().stampName, unsigned(sizeof data().stampName));
    Specification* specification = getLink().getSpecification();
    if (specification == nullptr) {
        specification = host.getFrontSpec();
    }
    Project* project = specification != nullptr ? specification->getProject() : nullptr;
    Library* library = project != nullptr ? project->getLibrary() : nullptr;
    m_stamp = library != nullptr ? ComponentLink(getStampName(), zoneStampType, library) : ComponentLink();
    AttributeMemoStore store(loadLibraryMemo());
    unpack(store);
}

API_AttributeDefExt* ZoneCategory::loadLibraryMemo() const {
    const Library* library = m_stamp.getLibrary();
    if (library == nullptr || !m_stamp.isValid()) {
        return nullptr;
    }
    Int32 count = 0;
    API_AddParType** params = library->getMemo(m_stamp, &count, nullptr, nullptr);
    if (params == nullptr) {
        return nullptr;
    }
    API_AttributeDefExt* record = nullptr;
    try {
        record = AttributeMemoStore::makeRecord();
    } catch (...) {
        ACAPI_DisposeAddParHdl(&params);
        throw;
    }
    record->params = params;
    return record;
}

void ZoneCategory::getMemo(UInt64 mask, MemoStore*& store) const {
    const bool stored = getLink().isValid() && getLink().getSpecification() != nullptr;
    if (store == nullptr && !stored && (mask & getFilter()) != 0) {
        API_AttributeDefExt* record = loadLibraryMemo();
        if (record == nullptr) {
            setLoaded(true); // no stamp part: nothing to read
            return;
        }
        store = new AttributeMemoStore(record);
    }
    readMemo(*this, mask, store);
}

UInt32 ZoneCategory::getColour() const {
    return CadColour(data().rgb).getRGB();
}

void ZoneCategory::setColour(UInt32 rgb) {
    data().rgb = CadColour::fromRGB(rgb);
}

} // namespace zelvane
