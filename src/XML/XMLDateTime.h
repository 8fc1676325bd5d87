// Binds a date and time as ISO 8601 text, with a choice of parts and an optional zone.
#pragma once

#include "Environment/Time.h"
#include "XML/XMLUnit.h"

namespace zelvane {

class XMLDateTime : public XMLUnit {
public:
    enum Content : unsigned int {
        dateTime = 0,     // date, "T", time
        date = 1,         // date
        time = 2,         // time
        dateTimeZone = 3, // date, "T", time, zone
        timeZone = 4      // time, zone
    };

    XMLDateTime(Time& member, char const* tag, bool attribute = false, char const* nameSpace = nullptr);
    // Binds a time of its own, which starts as now.
    XMLDateTime(char const* tag, bool attribute = false, char const* nameSpace = nullptr);
    // A copy binds the same member, or a time of its own when the original bound its own.
    XMLDateTime(XMLDateTime const& other);
    XMLDateTime& operator=(XMLDateTime const&) = delete;

    // Appends the text form to `text`.
    bool write(String& text) override;
    virtual void setContent(Content content) { m_content = content; }
    virtual Time* getTime() const { return m_time; }
    virtual Content getContent() const { return m_content; }
    // Whether a read was tried since construction or setDefault().
    virtual bool isRead() const { return m_read; }
    char const* getTag() const override { return m_tag; }
    char const* getNameSpace() const override { return m_nameSpace; }
    void setTag(char const* tag) override { m_tag = tag; }
    // Now, reduced to the date or the time of day where the content holds only that.
    void setDefault() override;
    // Whether the last read succeeded.
    bool validate() override { return m_valid; }
    // Fails, leaving the time unchanged, on text that is not of the content's form.
    bool read(String const& text) override;

private:
    Time* m_time;
    Time m_ownTime;
    char const* m_tag;
    char const* m_nameSpace;
    Content m_content = dateTime;
    bool m_read = false;
    bool m_valid = true;
};

} // namespace zelvane
