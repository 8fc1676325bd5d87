// The memo part of a text element's content: styled text packed into the host's content,
// paragraph (with their runs, tabs and line ends) and line-start handles.
#pragma once

#include "Attribute/StyledString.h"
#include "Memo/Memo.h"

namespace zelvane {

class TextMemo : public Memo {
public:
    bool isValid() const override { return true; }
    UInt64 getFilter() const override { return 0x180; }
    // False for empty text, text without runs, or runs without a value.
    bool pack(MemoStore* store) const override;
    // False without content; the content is read no further than its handle holds.
    bool unpack(const MemoStore& store) const override;

    // Fetched first.
    const StyledString& getText() const;
    // With keepStyles, the old text's style runs are laid over the same ranges of the new text,
    // the last one reaching to the new end.
    void setText(const StyledString& text, bool keepStyles);

private:
    mutable StyledString m_text;
};

} // namespace zelvane
