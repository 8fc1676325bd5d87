#include "Library/FamilyGuid.h"

#include "ACAPI/Goodies.hpp"
#include "ACAPI/LibraryParts.hpp"
#include "Environment/Guid.h"

namespace zelvane {

FamilyGuid::FamilyGuid(const Guid& guid) : String(guid.toString()) {}

bool FamilyGuid::isDerivedFrom(const FamilyGuid& other) const {
    return ACAPI_Goodies(APIAny_CheckLibPartSubtypeOfID, const_cast<char*>(data()),
                         const_cast<char*>(other.data())) == NoError;
}

int FamilyGuid::compareTo(const FamilyGuid& other) const {
    switch (ACAPI_Goodies(APIAny_CompareLibPartUnIdsID, const_cast<char*>(data()),
                          const_cast<char*>(other.data()))) {
    case NoError:
        return 1;
    case APIERR_LIBPARTUNRELATED:
        return 0;
    case APIERR_LIBPARTOTHERVERSION:
        return 2;
    default:
        return 4;
    }
}

} // namespace zelvane
