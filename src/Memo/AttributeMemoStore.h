// The memo store over a host attribute-extension record: line-type and fill items, composite
// skins, layer states and zone-stamp parameters. The record is a host pointer block of
// sizeof(API_AttributeDefExt); with keep unset the store disposes its handles and frees it when
// destroyed, whether it made the record or was given it.
#pragma once

#include "ACAPI/Attributes.hpp"
#include "Memo/MemoStore.h"

namespace zelvane {

class AttributeMemoStore : public MemoStore {
public:
    // A null record makes a new cleared one.
    explicit AttributeMemoStore(API_AttributeDefExt* record = nullptr);
    ~AttributeMemoStore() override;

    API_AttributeDefExt* getRecord() const { return m_record; }
    bool isKeep() const { return m_keep; }
    void setKeep(bool keep) { m_keep = keep; }

    static API_AttributeDefExt* makeRecord();
    // Disposes the record's handles and frees it; null does nothing.
    static void disposeRecord(API_AttributeDefExt* record);

    API_AddParType*** params() override;
    API_AddParType** params() const override;
    API_DashItems*** ltype_dashItems() override;
    API_DashItems** ltype_dashItems() const override;
    API_LineItems*** ltype_lineItems() override;
    API_LineItems** ltype_lineItems() const override;
    API_FillLine*** fill_lineItems() override;
    API_FillLine** fill_lineItems() const override;
    double*** fill_lineLength() override;
    double** fill_lineLength() const override;
    API_CWallComponent*** cwall_compItems() override;
    API_CWallComponent** cwall_compItems() const override;
    API_CWallLineComponent*** cwall_compLItems() override;
    API_CWallLineComponent** cwall_compLItems() const override;
    API_LayerStat*** layer_statItems() override;
    API_LayerStat** layer_statItems() const override;

private:
    API_AttributeDefExt* m_record;
    bool m_keep = false;
};

} // namespace zelvane
