// A storey of the floor plan: its name, index, level and height. It is an attribute of no host
// table (type 0).
#pragma once

#include "ACAPI/Storeys.hpp"
#include "Attribute/Attribute.h"

namespace zelvane {

class Drawing;

class Storey : public Attribute {
public:
    // Where a height lies against the storey (positionOf).
    static constexpr int above = 1;
    static constexpr int atLevel = 2;
    static constexpr int within = 4;
    static constexpr int atTop = 8;
    static constexpr int below = 16;

    Storey(Drawing* drawing, const String& name, attribute_index index, double level, double height);
    // The host's storey, its height reaching up to the given level of the storey above.
    Storey(const API_StoryType& record, double nextLevel);
    // The storey of the link's index in the front floor plan, with level and height 0.
    explicit Storey(const AttributeLink& link);

    Storey* clone() const override { return new Storey(*this); }
    attribute_id getType() const override { return ID; }
    attribute_index getIndex() const override { return m_index; }
    String getName() const override { return m_name; }
    void setName(const String& name) override { m_name = name; }
    API_Attr_Head& getHead() override { return m_head; }
    const API_Attr_Head& getHead() const override { return m_head; }
    API_Attribute* getData() const override { return nullptr; }

    Drawing* getDrawing() const { return m_drawing; }
    double getLevel() const { return m_level; }
    double getHeight() const { return m_height; }
    void setLevel(double level) { m_level = level; }
    void setHeight(double height) { m_height = height; }
    // atLevel, atTop, below, above or within, tested in that order with the tolerance.
    int positionOf(double z, double tolerance) const;

    // Same drawing and index.
    bool operator==(const Storey& other) const {
        return m_drawing == other.m_drawing && short(m_index) == short(other.m_index);
    }

protected:
    std::size_t getRecordSize() const override { return sizeof(API_Attr_Head); }

private:
    API_Attr_Head m_head;
    Drawing* m_drawing; // not owned
    String m_name;
    attribute_index m_index;
    double m_level;
    double m_height;
    [[maybe_unused]] bool m_valid = true;
};

} // namespace zelvane
