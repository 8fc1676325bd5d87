// A leaf that keeps an element or an attribute as the document has it, unread: a package of a
// later version of an add-on, say. The XML reader hands it, instead of content or a value, the
// exact text of its element from the start tag to the end tag, or of its attribute from the name
// to the closing quote; the XML writer writes that text back unchanged, in the element's place or
// in the parent's start tag. Markup without a tag (a comment, a processing instruction, text) is
// written back the same way. Being neither a unit nor a container, it costs the reader and the
// writer nothing where bindings of those forms stand.
#pragma once

#include "Environment/String.h"
#include "XML/ShippingUnit.h"
#include "XML/XMLShipping.h"

namespace zelvane {

class XMLVerbatim : public ShippingUnit, public virtual XMLShipping {
public:
    // What is kept of one element, attribute or other markup: its name and its text as written.
    struct Markup {
        String tag;
        String nameSpace;
        String text;
        bool attribute = false;
    };

    // Binds the markup, which the binding does not own.
    explicit XMLVerbatim(Markup& markup) : m_markup(markup) {}

    char const* getTag() const override { return m_markup.tag.data(); }
    char const* getNameSpace() const override {
        return m_markup.nameSpace.empty() ? nullptr : m_markup.nameSpace.data();
    }
    XMLShipping* asXMLShipping() override { return this; }
    void setDefault() override { m_markup.text.clear(); }
    // Content never reaches it: the reader hands it the markup instead.
    bool read(String const&) override { return false; }

    void setMarkup(String const& text, bool attribute) {
        m_markup.text = text;
        m_markup.attribute = attribute;
    }
    Markup const& getMarkup() const { return m_markup; }

    // The binding as kept markup, or null. Only a binding that is neither a unit nor a container
    // is cast, so that ordinary bindings cost the reader and the writer no cast.
    static XMLVerbatim* of(Shipping& shipping) {
        return shipping.asUnit() == nullptr && shipping.asContainer() == nullptr
                   ? dynamic_cast<XMLVerbatim*>(&shipping)
                   : nullptr;
    }

private:
    Markup& m_markup;
};

} // namespace zelvane
