// An IFC classification reference of an element: the item it refers to in a classification.
#pragma once

#include "IFC/IFCClassification.h"
#include "IFC/IFCData.h"

namespace zelvane {

class IFCClassificationReference : public IFCData {
public:
    static constexpr int kind = classificationKind;

    IFCClassificationReference(const IFCClassificationReference&) = default;

    // Every record makes an item.
    static IFCClassificationReference* create(const API_IFCClassificationReference& record);

    IFCClassificationReference* clone() const override { return new IFCClassificationReference(*this); }
    int getType() const override { return kind; }
    virtual bool pack(API_IFCClassificationReference& record) const;

    const IFCClassification& getClassification() const { return m_classification; }
    const String& getLocation() const { return m_location; }
    const String& getDescription() const { return m_description; }
    const String& getReferenceName() const { return m_referenceName; }

private:
    explicit IFCClassificationReference(const API_IFCClassificationReference& record);

    IFCClassification m_classification;
    String m_location;
    String m_description;
    String m_referenceName;
    bool m_hasLocation;
    bool m_hasName;
    bool m_hasDescription;
};

} // namespace zelvane
