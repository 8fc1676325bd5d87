#include "Database/Specification.h"

#include "Attribute/Attribute.h"
#include "Attribute/BaseAttrSelection.h"
#include "Attribute/CadColour.h"
#include "Attribute/City.h"
#include "Attribute/ComplexProfile.h"
#include "Attribute/Composite.h"
#include "Attribute/Fill.h"
#include "Attribute/Finish.h"
#include "Attribute/Font.h"
#include "Attribute/Layer.h"
#include "Attribute/LayerCombination.h"
#include "Attribute/LineStyle.h"
#include "Attribute/Material.h"
#include "Attribute/Pen.h"
#include "Attribute/ZoneCategory.h"
#include "Database/SpecificationFinishes.h"
#include "Memo/AttributeMemoStore.h"

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace zelvane {

Specification::Specification(Project* project, int tag) : m_project(project), m_tag(tag) {}

Specification::~Specification() = default;

FinishLookup* Specification::getFinishLookup() {
    if (m_finishes == nullptr) {
        m_finishes = std::make_unique<SpecificationFinishes>(this);
    }
    return m_finishes.get();
}
namespace {

using Registry = std::multimap<attribute_id, Specification::Factory>;

Registry*& creators() {
    static Registry* instance = nullptr;
    return instance;
}

Registry*& adapters() {
    static Registry* instance = nullptr;
    return instance;
}

constexpr attribute_id compositeType = 5;

// Composite indexes may be kept negative; the host knows them positive.
short hostIndex(attribute_id type, short index) {
    return type == compositeType && index < 0 ? short(-index) : index;
}

Attribute* tryRegistry(const Registry* registry, const API_Attribute& record, const AttributeLink& link) {
    if (registry == nullptr) {
        return nullptr;
    }
    auto range = registry->equal_range(attribute_id(record.header.typeID));
    for (auto it = range.first; it != range.second; ++it) {
        if (Attribute* made = it->second(record, link)) {
            return made;
        }
    }
    return nullptr;
}

struct MemoDisposer {
    void operator()(API_AttributeDefExt* record) const { AttributeMemoStore::disposeRecord(record); }
};

} // namespace

const AttributeLink&
IteratorAccess<Specification, Attribute, AttributeLink, Specification::Filter>::link(const Attribute& item) {
    return item.getLink();
}

bool IteratorAccess<Specification, Attribute, AttributeLink, Specification::Filter>::put(
    Specification& database, Attribute& item) {
    return database.put(item);
}

void Specification::startup() {
    shutdown();
    creators() = new Registry;
    Registry& registry = *creators();
    registry.emplace(City::ID, &City::create);
    registry.emplace(Composite::ID, &Composite::create);
    registry.emplace(Fill::ID, &Fill::create);
    registry.emplace(Font::ID, &Font::create);
    registry.emplace(Layer::ID, &Layer::create);
    registry.emplace(LayerCombination::ID, &LayerCombination::create);
    registry.emplace(LineStyle::ID, &LineStyle::create);
    registry.emplace(Finish::ID, &Finish::create);
    registry.emplace(Material::ID, &Material::create);
    registry.emplace(Pen::ID, &Pen::create);
    registry.emplace(ZoneCategory::ID, &ZoneCategory::create);
    registry.emplace(ComplexProfile::ID, &ComplexProfile::create);
}

void Specification::shutdown() {
    delete creators();
    creators() = nullptr;
    delete adapters();
    adapters() = nullptr;
}

void Specification::addAdapter(attribute_id type, Factory factory) {
    if (adapters() == nullptr) {
        adapters() = new Registry;
    }
    adapters()->emplace(type, factory);
}

Attribute* Specification::createAttribute(const API_Attribute& record, const AttributeLink& link) {
    if (Attribute* made = tryRegistry(adapters(), record, link)) {
        return made;
    }
    return tryRegistry(creators(), record, link);
}

Int16 Specification::getCount(attribute_id type) const {
    if (type == 0) {
        Int32 total = 0;
        for (attribute_id t = 1; t <= lastAttributeID; ++t) {
            total += getCount(t);
        }
        return Int16(total);
    }
    API_AttributeIndex count = 0;
    if (ACAPI_Attribute_GetNum(type, &count) != NoError) {
        return 0;
    }
    return count;
}

Attribute* Specification::load(const AttributeLink& link, const Filter* filter) {
    attribute_id type = link.getType();
    if (type == 0) {
        return nullptr;
    }
    short index = hostIndex(type, link.getIndex());
    if (index < 1 || (filter != nullptr && filter->getType() != 0 && filter->getType() != type)) {
        return nullptr;
    }
    API_Attribute record;
    std::memset(static_cast<void*>(&record), 0, sizeof record);
    record.header.typeID = type;
    record.header.index = index;
    if (ACAPI_Attribute_Get(&record) != NoError) {
        return nullptr;
    }
    AttributeLink own(link);
    own.setSpecification(this);
    std::unique_ptr<Attribute> made(createAttribute(record, own));
    if (made != nullptr && filter != nullptr && !filter->isAccepted(*made)) {
        return nullptr;
    }
    return made.release();
}

Attribute* Specification::seekNext(const AttributeLink& from, bool forward, const Filter& filter) {
    AttributeLink link(from);
    link.setSpecification(this);
    bool fixed = filter.getType() != 0;
    if (fixed) {
        link.setType(filter.getType());
    }
    int type = link.getType();
    int index = short(link.getIndex());
    int count = 0;
    if (forward) {
        count = filter.canReuseCount() && short(filter.getCount()) > 0 ? short(filter.getCount())
                                                                       : getCount(attribute_id(type));
    }
    for (;;) {
        if (forward) {
            ++index;
            while (index > count) {
                if (type == 0 || fixed) {
                    return nullptr;
                }
                index = 1;
                type = type < lastAttributeID ? type + 1 : 0;
                count = type == 0 ? 0 : getCount(attribute_id(type));
                if (type == 0) {
                    return nullptr;
                }
            }
        } else {
            --index;
            while (index < 1) {
                if (type == 0 || fixed) {
                    return nullptr;
                }
                --type;
                if (type == 0) {
                    return nullptr;
                }
                index = getCount(attribute_id(type));
            }
        }
        if (type == 0) {
            return nullptr;
        }
        link.setType(attribute_id(type));
        link.setIndex(attribute_index(short(index)));
        if (Attribute* found = load(link, &filter)) {
            if (forward) {
                filter.setCount(attribute_index(short(count)));
            }
            return found;
        }
    }
}

Specification::iterator Specification::begin(bool autoWrite, const Filter& filter) {
    // A count a filter kept from an earlier walk may be out of date.
    filter.setCount(attribute_index());
    attribute_id type = filter.getType() != 0 ? filter.getType() : 1;
    iterator it(seekNext(AttributeLink(attribute_index(), type, this), true, filter), filter);
    it.setAutoWrite(autoWrite);
    return it;
}

Specification::const_iterator Specification::cbegin(const Filter& filter) {
    filter.setCount(attribute_index());
    attribute_id type = filter.getType() != 0 ? filter.getType() : 1;
    return const_iterator(seekNext(AttributeLink(attribute_index(), type, this), true, filter), filter);
}

Specification::reverse_iterator Specification::rbegin(const Filter& filter) {
    attribute_id type = filter.getType() != 0 ? filter.getType() : lastAttributeID;
    // Starts one past the type's last index, so the scan's first step lands on it.
    AttributeLink start(int(getCount(type)) + 1, type, this);
    return reverse_iterator(seekNext(start, false, filter), filter);
}

API_AttributeDefExt* Specification::getMemo(const AttributeLink& link, UInt64) {
    std::unique_ptr<API_AttributeDefExt, MemoDisposer> record(AttributeMemoStore::makeRecord());
    m_lastError =
        ACAPI_Attribute_GetDefExt(link.getType(), hostIndex(link.getType(), link.getIndex()), record.get());
    if (m_lastError != NoError) {
        return nullptr;
    }
    return record.release();
}

bool Specification::put(Attribute& attribute) {
    std::unique_ptr<API_AttributeDefExt, MemoDisposer> memo(attribute.getMemo());
    std::unique_ptr<API_Attribute> record(attribute.getData());
    if (record == nullptr) {
        return false; // storeys, phases, text styles and rulers have no host record to store
    }
    Specification* owner = attribute.getLink().getSpecification();
    bool create = record->header.index == 0 || (owner != nullptr && owner != this);
    GSErrCode err = create ? ACAPI_Attribute_CreateExt(record.get(), memo.get())
                           : ACAPI_Attribute_ModifyExt(record.get(), memo.get());
    m_lastError = err;
    if (err != NoError) {
        return false;
    }
    attribute.getHead() = record->header;
    attribute.setLink(AttributeLink(
        attribute_index(record->header.index),
        attribute.getLink().getType() != 0 ? attribute.getLink().getType() : attribute.getType(), this));
    return true;
}

bool Specification::erase(const AttributeLink& link) {
    API_Attr_Head head = link.getHeader();
    head.index = hostIndex(link.getType(), link.getIndex());
    m_lastError = ACAPI_Attribute_Delete(&head);
    return m_lastError == NoError;
}

bool Specification::erase(const BaseAttrSelection& selection) {
    std::unique_ptr<AttrRefList> links(selection.getRefList());
    std::map<attribute_id, std::vector<API_AttributeIndex>> byType;
    for (const AttributeLink* link : *links) {
        if (link != nullptr) {
            byType[link->getType()].push_back(hostIndex(link->getType(), link->getIndex()));
        }
    }
    bool erased = true;
    for (const auto& entry : byType) {
        API_Attr_Head head;
        head.typeID = entry.first;
        GSErrCode err = ACAPI_Attribute_DeleteMore(&head, entry.second.data(), Int32(entry.second.size()));
        if (err != NoError) {
            m_lastError = err;
            erased = false;
        }
    }
    return erased;
}

attribute_index Specification::findPen(const CadColour& colour, double thickness) {
    std::map<std::pair<double, double>, attribute_index> byNearness;
    Filter pens(Pen::ID);
    for (iterator it = begin(false, pens); !it.atEnd(); ++it) {
        const Pen* pen = dynamic_cast<const Pen*>(&*it);
        if (pen == nullptr) {
            continue;
        }
        CadColour own = pen->getColour();
        double distance = std::sqrt(std::pow(own.getRed() - colour.getRed(), 2) +
                                    std::pow(own.getGreen() - colour.getGreen(), 2) +
                                    std::pow(own.getBlue() - colour.getBlue(), 2));
        if (!std::isfinite(distance)) {
            continue; // keeps the map's order strict
        }
        byNearness.emplace(std::make_pair(distance, pen->getThickness() - thickness), pen->getIndex());
    }
    return byNearness.empty() ? attribute_index(1) : byNearness.begin()->second;
}

attribute_index Specification::findCity(double longitude, double latitude) {
    Filter cities(City::ID);
    for (iterator it = begin(false, cities); !it.atEnd(); ++it) {
        const City* city = dynamic_cast<const City*>(&*it);
        if (city != nullptr && std::fabs(city->getLongitude() - longitude) <= 1.0 &&
            std::fabs(city->getLatitude() - latitude) <= 1.0) {
            return city->getIndex();
        }
    }
    return attribute_index();
}

} // namespace zelvane
