#include "Primitive/Primitive.h"

#include "ACAPI/ShapePrims.hpp"
#include "Attribute/Attribute.h"
#include "Attribute/LineStyle.h"
#include "Attribute/Pen.h"
#include "Element/Element.h"
#include "Environment/DataBufferOut.h"
#include "Environment/String.h"
#include "Environment/ToString.h"
#include "Geometry/CadPoint.h"
#include "Library/Parameter.h"
#include "Library/ParameterBuilder.h"

namespace zelvane {

Primitive::Primitive(API_Prim_Head const& head, attribute_index lineStyle, bool is2D, bool is3D)
    : Primitive(head.drwIndex, attribute_index(head.pen), lineStyle, is2D, is3D) {}

namespace {

constexpr double scriptStep = 0.00001;
constexpr double degreesPerRadian = 57.29577951308232;
constexpr attribute_id penKind = 1;
constexpr attribute_id lineStyleKind = 3;
constexpr attribute_id fillKind = 4;
constexpr attribute_id surfaceMaterialKind = 6;

} // namespace

void Primitive::writeTabs(DataBufferOut& out, unsigned short indent) {
    for (unsigned short i = 0; i < indent; ++i)
        out.put('\t');
}

void Primitive::writeNumber(DataBufferOut& out, double value) {
    out << ToString(value, scriptStep);
}

void Primitive::writeAngle(DataBufferOut& out, double radians) {
    writeNumber(out, radians * degreesPerRadian);
}

void Primitive::write2DPoint(DataBufferOut& out, CadPoint const& p, CadPoint const& offset, bool trailing) {
    writeNumber(out, p.x() + offset.x());
    out << ", ";
    writeNumber(out, p.y() + offset.y());
    if (trailing)
        out << ",";
}

void Primitive::write3DPoint(DataBufferOut& out, CadPoint const& p, CadPoint const& offset, bool trailing) {
    write2DPoint(out, p, offset, true);
    out << " ";
    writeNumber(out, p.z() + offset.z());
    if (trailing)
        out << ",";
}

void Primitive::writeQuoted(DataBufferOut& out, String const& text) {
    // Line breaks would end the statement: they become spaces.
    std::string plain(text.data());
    for (char& c : plain)
        if (c == '\n' || c == '\r')
            c = ' ';
    bool hasDouble = plain.find('"') != std::string::npos;
    bool hasSingle = plain.find('\'') != std::string::npos;
    if (!hasDouble || !hasSingle) {
        char quote = hasDouble ? '\'' : '"';
        out.put(quote);
        out.write(plain.data(), int(plain.size()));
        out.put(quote);
        return;
    }
    // Both quote characters: runs without a double quote go between double quotes, double quotes
    // between single ones, joined with "+".
    std::size_t pos = 0;
    bool first = true;
    while (pos < plain.size()) {
        bool doubles = plain[pos] == '"';
        std::size_t end = doubles ? plain.find_first_not_of('"', pos) : plain.find('"', pos);
        if (end == std::string::npos)
            end = plain.size();
        if (!first)
            out << " + ";
        char quote = doubles ? '\'' : '"';
        out.put(quote);
        out.write(plain.data() + pos, int(end - pos));
        out.put(quote);
        first = false;
        pos = end;
    }
}

Primitive::Primitive(Element const& element, bool is2D, bool is3D)
    : Primitive(short(element.getDisplayOrder()), element.getPen(Pen::Use::first).getIndex(),
                element.getLineStyle(LineStyle::Use::first).getIndex(), is2D, is3D) {}

bool Primitive::writeAttribute(Attribute const& attribute, DataBufferOut& out, ParameterBuilder* builder,
                               unsigned short indent, int penType, bool onlyIfChanged, bool asStatement,
                               bool literal) {
    attribute_id kind = attribute.getType();
    ParameterBuilder::Method method = builder != nullptr ? builder->getAttributeMethod(kind, penType) : 0;
    if (builder != nullptr) {
        if (method == -4 && !literal)
            return false;
        if (onlyIfChanged && !builder->isAttributeChange(attribute, penType))
            return false;
    }
    short index = short(attribute.getIndex());
    String value;
    if (builder != nullptr && method != -3 && method != -4) {
        std::size_t row = 0;
        if (Parameter* parameter = builder->allocateAttributeValue(attribute, row, onlyIfChanged, penType)) {
            value = parameter->getName();
            if (parameter->isArray()) {
                value += "[";
                value += ToString(static_cast<unsigned long>(row + 1));
                value += "]";
            }
        }
    }
    bool quoted = false;
    if (value.empty() && (index >= 1 || literal)) {
        if (kind == surfaceMaterialKind && index >= 1) {
            String name = attribute.getName();
            if (!name.empty()) {
                value = name;
                quoted = true;
            }
        }
        if (value.empty())
            value = ToString(index);
    }
    if (value.empty())
        return false;
    if (builder != nullptr)
        builder->setLastAttribute(kind, attribute.getIndex(), penType);
    writeTabs(out, indent);
    if (asStatement) {
        switch (kind) {
        case penKind:
            out << "pen ";
            break;
        case fillKind:
            out << "fill ";
            break;
        case surfaceMaterialKind:
            out << "material ";
            break;
        case lineStyleKind:
            out << "line_type ";
            break;
        default:
            break;
        }
    }
    if (quoted)
        writeQuoted(out, value);
    else
        out << value;
    if (asStatement)
        out << "\n";
    return true;
}

void Primitive::writeLineAttributes(DataBufferOut& out, ParameterBuilder* builder, unsigned short indent,
                                    int penType) const {
    if (builder == nullptr)
        return;
    writeAttribute(Pen(m_pen), out, builder, indent, penType, true, true);
    writeAttribute(LineStyle(m_lineStyle), out, builder, indent, 0, true, true);
}

bool Primitive::isGood(DataBufferOut const& out) {
    return !out.failed();
}

} // namespace zelvane
