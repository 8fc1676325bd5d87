// Asks the user for a name in a modal dialog, validated by an optional filter. The dialog is
// shown once, on the first getName.
#pragma once

#include "Environment/String.h"

namespace zelvane {

class NameRequest {
public:
    // The name dialog's resource and the localised texts it uses.
    static constexpr short dialogID = 32600;

    class Filter {
    public:
        virtual ~Filter() = default;
        // True when the name is acceptable. On refusal the message (preset to the localised
        // refusal text) is shown in an error alert unless the filter empties it.
        virtual bool validate(const String& name, String& message) = 0;
    };

    // The filter is not owned and may be null.
    NameRequest(Filter* filter, const String& title, const String& prompt, const String& name);

    // Shows the dialog on the first call; the accepted name, or the initial one when the user
    // cancelled.
    const String& getName();
    bool isShown() const { return m_shown; }
    bool isCancelled() const { return m_cancelled; }

private:
    Filter* m_filter;
    String m_title;
    String m_prompt;
    String m_name;
    bool m_shown = false;
    bool m_cancelled = false;
};

} // namespace zelvane
