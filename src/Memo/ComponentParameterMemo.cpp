#include "Memo/ComponentParameterMemo.h"

#include "Library/ComponentDefaults.h"
#include "Library/LengthParameter.h"
#include "Library/Library.h"
#include "Library/ParameterLinkList.h"
#include "Memo/ElementMemoStore.h"

#include <cmath>
#include <typeinfo>
#include <utility>

namespace zelvane {

namespace {

// The cells a link's row or column selects: -1 all of them, else one.
bool selection(long long wanted, std::size_t count, std::size_t& first, std::size_t& last) {
    if (wanted == ParameterLink::all) {
        first = 0;
        last = count;
        return true;
    }
    if (wanted < 0 || std::size_t(wanted) >= count) {
        return false;
    }
    first = std::size_t(wanted);
    last = first + 1;
    return true;
}

constexpr Int32 separatorType = 14;
constexpr Int32 titleType = 15;

bool differs(double a, double b) {
    return std::isnan(a) || std::isnan(b) || a != b;
}

// The parameter as a length one, or null. A size parameter is mostly exactly of that class, which
// is told without a search of the class tree.
const LengthParameter* asLength(const Parameter* parameter) {
    if (parameter != nullptr && typeid(*parameter) == typeid(LengthParameter)) {
        return static_cast<const LengthParameter*>(parameter);
    }
    return dynamic_cast<const LengthParameter*>(parameter);
}

LengthParameter* asLength(Parameter* parameter) {
    return const_cast<LengthParameter*>(asLength(static_cast<const Parameter*>(parameter)));
}

} // namespace

bool ComponentParameterMemo::fetchLibraryMemo(MemoStore& store) const {
    ComponentLink link = getSourceLink();
    Library* library = link.getLibrary();
    if (library == nullptr) {
        return false;
    }
    Int32 count = 0;
    double a = m_sourceWidth;
    double b = m_sourceDepth;
    API_AddParType** records = library->getMemo(link, &count, &a, &b);
    if (records == nullptr) {
        return false;
    }
    m_sourceWidth = a;
    m_sourceDepth = b;
    API_AddParType*** slot = store.params();
    ACAPI_DisposeAddParHdl(slot);
    *slot = records;
    m_libraryLoaded = true;
    return true;
}

bool ComponentParameterMemo::loadLibraryMemo(MemoStore& store, bool once) const {
    if (m_libraryLoaded && once) {
        return true;
    }
    fetchLibraryMemo(store);
    return m_libraryLoaded;
}

double ComponentParameterMemo::getSourceWidth() const {
    if (m_libraryLoaded) {
        return m_sourceWidth; // fetched before: no store to fetch into
    }
    ElementMemoStore scratch;
    return loadLibraryMemo(scratch, true) ? m_sourceWidth : 0.0;
}

double ComponentParameterMemo::getSourceDepth() const {
    if (m_libraryLoaded) {
        return m_sourceDepth;
    }
    ElementMemoStore scratch;
    return loadLibraryMemo(scratch, true) ? m_sourceDepth : 0.0;
}

// The sizes are looked up by their names as they are, with no String made for each.
std::size_t ComponentParameterMemo::positionOf(const char* name) const {
    confirmLoad(getFilter());
    return indexOf(name);
}

double ComponentParameterMemo::getLength(const char* name) const {
    std::size_t position = positionOf(name);
    const LengthParameter* length =
        position == npos ? nullptr : asLength(ParameterList::getParameter(position));
    return length != nullptr ? length->getValue(0, 0) : 0.0;
}

void ComponentParameterMemo::setLength(const char* name, double value) {
    std::size_t position = positionOf(name);
    LengthParameter* length = position == npos ? nullptr : asLength(ParameterList::getParameter(position));
    if (length != nullptr) {
        length->setValue(value, 0, 0);
    }
}

double ComponentParameterMemo::getAxialWidth() const {
    return getLength("A");
}

double ComponentParameterMemo::getAxialDepth() const {
    return getLength("B");
}

double ComponentParameterMemo::getAxialHeight() const {
    return getLength("ZZYZX");
}

void ComponentParameterMemo::setAxialWidth(double width) {
    setLength("A", width);
}

void ComponentParameterMemo::setAxialDepth(double depth) {
    setLength("B", depth);
}

void ComponentParameterMemo::setAxialHeight(double height) {
    setLength("ZZYZX", height);
}

bool ComponentParameterMemo::writeParameter(const ParameterLink& link, bool defaults, bool makeDefault) {
    ParameterLinkList links;
    links.push_back(link.clone());
    return writeParameters(links, defaults, makeDefault);
}

bool ComponentParameterMemo::writeParameters(const ParameterLinkList& links, bool defaults,
                                             bool makeDefault) {
    if (links.empty()) {
        return true;
    }
    API_ParamOwnerType owner{};
    getOwnerInfo(owner, defaults);
    if (defaults && makeDefault) {
        makeDefaultComponent();
    }
    if (ACAPI_Goodies(APIAny_OpenParametersID, &owner) != NoError) {
        return false;
    }
    bool accepted = true;
    try {
        ParameterList& list = getParameterList();
        for (const ParameterLink* link : links) {
            const Parameter* parameter = link != nullptr ? list[*link] : nullptr;
            if (parameter == nullptr || parameter->getTypeID() == separatorType ||
                parameter->getTypeID() == titleType) {
                continue; // absent, or nothing to change
            }
            std::size_t firstRow, lastRow, firstColumn, lastColumn;
            if (!selection(link->getRow(), parameter->getRowCount(), firstRow, lastRow) ||
                !selection(link->getColumn(), parameter->getColumnCount(), firstColumn, lastColumn)) {
                accepted = false; // a cell the parameter does not have
                continue;
            }
            for (std::size_t r = firstRow; r < lastRow; ++r) {
                for (std::size_t c = firstColumn; c < lastColumn; ++c) {
                    API_ChangeParamType change;
                    if (!parameter->getParameterData(change, r, c) ||
                        ACAPI_Goodies(APIAny_ChangeAParameterID, &change) != NoError) {
                        accepted = false;
                    }
                }
            }
        }
        API_GetParamsType result{};
        if (ACAPI_Goodies(APIAny_GetActParametersID, &result) != NoError) {
            ACAPI_DisposeAddParHdl(&result.params);
            ACAPI_Goodies(APIAny_CloseParametersID);
            return false;
        }
        // The records go however the reading ends.
        struct Records {
            API_AddParType**& records;
            ~Records() { ACAPI_DisposeAddParHdl(&records); }
        } guard{result.params};
        ParameterList resulting;
        bool read = resulting.unpackParameter(result.params);
        if (read) {
            list.copyFrom(resulting, false, true, true);
        } else {
            accepted = false;
        }
    } catch (...) {
        ACAPI_Goodies(APIAny_CloseParametersID);
        throw;
    }
    return ACAPI_Goodies(APIAny_CloseParametersID) == NoError && accepted;
}

bool ComponentParameterMemo::reload(bool refetch, bool apply, bool keepCurrent) {
    if (!refetch && !apply) {
        return true;
    }
    // The current values are read first, so that a never-loaded memo keeps what it stands for.
    confirmLoad(getFilter());
    if (refetch) {
        m_libraryLoaded = false;
    }
    ElementMemoStore scratch;
    if (!fetchLibraryMemo(scratch)) {
        return false;
    }
    return !apply || takeDefaults(static_cast<const MemoStore&>(scratch).params(), refetch, keepCurrent);
}

bool ComponentParameterMemo::reload(const ComponentDefaults& defaults, bool refetch, bool apply,
                                    bool keepCurrent) {
    if (!refetch && !apply) {
        return true;
    }
    confirmLoad(getFilter());
    if (!defaults.isFetched()) {
        return false;
    }
    m_sourceWidth = defaults.getWidth();
    m_sourceDepth = defaults.getDepth();
    m_libraryLoaded = true;
    return !apply || takeDefaults(defaults.getParameters(), refetch, keepCurrent);
}

bool ComponentParameterMemo::takeDefaults(API_AddParType** records, bool refetch, bool keepCurrent) {
    ParameterList defaults;
    if (!defaults.unpackParameter(records)) {
        return refuseDefaults(keepCurrent);
    }
    if (keepCurrent) {
        ParameterList::copyFrom(defaults, !refetch, true, false);
        return true;
    }
    // The part's defaults take the list's place, with the values it held.
    list().takeDefaults(std::move(defaults), !refetch);
    setLoaded(true);
    return true;
}

bool ComponentParameterMemo::takeDefaults(const ParameterList* defaults, bool refetch, bool keepCurrent) {
    if (defaults == nullptr) {
        return refuseDefaults(keepCurrent);
    }
    if (keepCurrent) {
        ParameterList::copyFrom(*defaults, !refetch, true, false);
        return true;
    }
    list().takeDefaults(*defaults, !refetch);
    setLoaded(true);
    return true;
}

bool ComponentParameterMemo::refuseDefaults(bool keepCurrent) {
    if (!keepCurrent) {
        setLoaded(true); // the list was left as it was
    }
    return false;
}

void ComponentParameterMemo::copyParametersFrom(const ParameterMemo& other, bool skipSizes,
                                                bool allowRowChange, bool allowColumnChange) {
    ParameterMemo::copyParametersFrom(other, skipSizes, allowRowChange, allowColumnChange);
    auto* component = dynamic_cast<const ComponentParameterMemo*>(&other);
    if (!skipSizes && component != nullptr) {
        setAxialWidth(component->getAxialWidth());
        setAxialDepth(component->getAxialDepth());
        setAxialHeight(component->getAxialHeight());
    }
}

void ComponentParameterMemo::applyDelta(const Memo& changed, const Memo& base) {
    auto* edited = dynamic_cast<const ComponentParameterMemo*>(&changed);
    auto* reference = dynamic_cast<const ComponentParameterMemo*>(&base);
    if (edited != nullptr && reference != nullptr) {
        if (differs(edited->m_sourceDepth, reference->m_sourceDepth)) {
            m_sourceDepth = edited->m_sourceDepth;
        }
        if (differs(edited->m_sourceWidth, reference->m_sourceWidth)) {
            m_sourceWidth = edited->m_sourceWidth;
        }
    }
    ParameterMemo::applyDelta(changed, base);
}

} // namespace zelvane
