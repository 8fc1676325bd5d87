// One field of a text table: its text, read and written as numbers on request.
#pragma once

#include "Environment/String.h"

namespace zelvane {

class TextField {
public:
    TextField() = default;
    explicit TextField(const String& text) : m_text(text) {}
    TextField(const TextField&) = default;
    virtual ~TextField() = default;

    virtual TextField* clone() const { return new TextField(*this); }

    // Reads the text with a standard formatted input stream; false when it holds no such value.
    virtual bool getData(bool& value) const;
    virtual bool getData(short& value) const;
    virtual bool getData(int& value) const;
    virtual bool getData(unsigned int& value) const;
    virtual bool getData(double& value) const;
    virtual bool getData(String& value) const;
    virtual bool getData(unsigned short& value) const;
    // Writes the value with a standard formatted output stream (booleans as 1 and 0, doubles with
    // six significant digits).
    virtual void setData(bool value);
    virtual void setData(short value);
    virtual void setData(int value);
    virtual void setData(unsigned int value);
    virtual void setData(double value);
    virtual void setData(const String& value);
    virtual const String& getExport() const { return m_text; }
    virtual bool empty() const { return m_text.empty(); }

private:
    String m_text;
};

} // namespace zelvane
