#include "ACAPI/Elements.hpp"

#include "GSRoot/BM.hpp"
#include "sim/ElementMemos.h"
#include "sim/Elements.h"
#include "sim/Sim.h"

#include <cstring>
#include <optional>

namespace {

struct NotifiedParent {
    API_Element element;
    std::vector<char> userData;
    short userDataVersion = 0;
    UInt16 platformSign = 0;
    bool othersElement = false;
};

std::optional<NotifiedParent>& parent() {
    static auto* instance = new std::optional<NotifiedParent>;
    return *instance;
}

const bool registered = sim::registerReset([] { parent().reset(); });

} // namespace

void sim::setNotifiedParent(const API_Element& element, const std::vector<char>& userData,
                            short userDataVersion, UInt16 platformSign, bool othersElement) {
    parent() = NotifiedParent{element, userData, userDataVersion, platformSign, othersElement};
}

void sim::clearNotifiedParent() {
    parent().reset();
}

GSErrCode ACAPI_Notify_GetParentElement(API_Element* element, API_ElementMemo* memo,
                                        API_ElemMemoMask memoMask, API_ElementUserData* userData) {
    if (GSErrCode err = sim::enter("ACAPI_Notify_GetParentElement"); err != NoError) {
        return err;
    }
    if (element == nullptr || (memoMask != 0 && memo == nullptr)) {
        return APIERR_BADPARS;
    }
    if (!parent()) {
        return APIERR_GENERAL; // no element notification is being sent
    }
    if (userData != nullptr) {
        *userData = API_ElementUserData();
        if (!parent()->userData.empty()) {
            GSHandle handle = BMAllocateHandle(GSSize(parent()->userData.size()), 0, 0);
            if (handle == nullptr) {
                return APIERR_MEMFULL;
            }
            std::memcpy(*handle, parent()->userData.data(), parent()->userData.size());
            userData->dataVersion = parent()->userDataVersion;
            userData->platformSign = parent()->platformSign;
            userData->dataHdl = handle;
        }
    }
    if (memo != nullptr && memoMask != 0) {
        if (GSErrCode err = sim::copyMemoOut(parent()->element.header.guid, memo, memoMask); err != NoError) {
            if (userData != nullptr) {
                BMKillHandle(&userData->dataHdl);
            }
            return err;
        }
    }
    *element = parent()->element;
    return parent()->othersElement ? APIERR_NOTMINE : NoError;
}
