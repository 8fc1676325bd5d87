// A library part with parameters and script sections: objects, openings, labels, lamps, zones
// and properties. Its parameters are the part's defaults, fetched on first use; its sections are
// read on first use; both go back to the host through Library::put.
#pragma once

#include "Library/ComponentSource.h"
#include "Memo/ComponentParameterMemo.h"
#include "Memo/ComponentResourceMemo.h"

namespace zelvane {

class Image;
class TextDatabase;
class TextRecord;

class ParametricSource : public ComponentSource, public ComponentParameterMemo, public ComponentResourceMemo {
public:
    explicit ParametricSource(const ComponentLink& link);
    ParametricSource(const API_LibPart& record, const ComponentLink& link);
    // Copies the parameters, sections and details; the VALUES table is built again on use.
    ParametricSource(const ParametricSource& other);
    ~ParametricSource() override;

    ComponentLink getSourceLink() const override { return m_link; }
    String getMasterScript() const { return getScript(MakeGSType("1DSC")); }
    String get2DScript() const { return getScript(MakeGSType("2DSC")); }
    String get3DScript() const { return getScript(MakeGSType("3DSC")); }
    String getCommentScript() const { return getScript(MakeGSType("CTXT")); }
    String getParameterScript() const { return getScript(MakeGSType("VLSC")); }
    String getInterfaceScript() const { return getScript(MakeGSType("UISC")); }
    // The values a VALUES statement of the parameter script gives the parameter, or null.
    virtual const TextRecord* getValues(const String& name) const;
    // Every VALUES list of the parameter script: the names as field names, a record per name.
    const TextDatabase& getValueTable() const;
    virtual bool isValid() const override { return true; }
    void setMasterScript(const String& text) { setScript(MakeGSType("1DSC"), text); }
    void set2DScript(const String& text) { setScript(MakeGSType("2DSC"), text); }
    void set3DScript(const String& text) { setScript(MakeGSType("3DSC"), text); }
    void setCommentScript(const String& text) { setScript(MakeGSType("CTXT"), text); }
    void setParameterScript(const String& text) { setScript(MakeGSType("VLSC"), text); }
    void setInterfaceScript(const String& text) { setScript(MakeGSType("UISC"), text); }
    // The preview picture ('PICT') as a new image the caller owns, or null.
    Image* getPreviewPict() const;
    // The preview image ('GIFF') converted to PNG by the host: a new image the caller owns, or
    // null without the section or when the host cannot convert it.
    Image* getPreviewImage() const;
    // Stores the image, encoded as the host's type of "image/jpeg", as the preview ('GIFF').
    void setPreviewGif(const Image& image);
    // No memo of its own to hand out.
    virtual API_ElementMemo* getMemo() const { return nullptr; }
    // The part's details, read from the host on first use (zero when it has none).
    virtual API_LibPartDetails& getDetails() const;
    // Fetches the part's defaults into a new store when none is given, and unpacks them when the
    // parameters are not loaded.
    void getMemo(UInt64 mask, MemoStore*& store) const override;
    void getOwnerInfo(API_ParamOwnerType& owner, bool& defaults) const override;
    bool makeDefaultComponent() override { return true; }

    Int32 getResourceIndex() const override { return getIndex(); }
    double getResourceWidth() const override { return getSourceWidth(); }
    double getResourceDepth() const override { return getSourceDepth(); }
    const API_LibPart& getResourceData() const override { return m_record; }

    // Both bases count: the number of sections is the section list's.
    using ComponentResourceMemo::size;

private:
    String getScript(UInt32 type) const;
    void setScript(UInt32 type, const String& text);

    mutable API_LibPartDetails* m_details = nullptr;
    mutable TextDatabase* m_values = nullptr;
};

} // namespace zelvane
