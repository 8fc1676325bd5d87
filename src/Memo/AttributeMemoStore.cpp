#include "Memo/AttributeMemoStore.h"

#include "Environment/Memory.h"

#include <new>

namespace zelvane {

API_AttributeDefExt* AttributeMemoStore::makeRecord() {
    char* block = allocatePtr(int(sizeof(API_AttributeDefExt)));
    return new (block) API_AttributeDefExt();
}

void AttributeMemoStore::disposeRecord(API_AttributeDefExt* record) {
    if (record == nullptr) {
        return;
    }
    ACAPI_DisposeAttrDefsHdlsExt(record);
    char* block = reinterpret_cast<char*>(record);
    disposePtr(&block);
}

AttributeMemoStore::AttributeMemoStore(API_AttributeDefExt* record)
    : m_record(record != nullptr ? record : makeRecord()) {}

AttributeMemoStore::~AttributeMemoStore() {
    if (!m_keep) {
        disposeRecord(m_record);
    }
}

API_AddParType*** AttributeMemoStore::params() {
    return &m_record->params;
}

API_AddParType** AttributeMemoStore::params() const {
    return m_record->params;
}

API_DashItems*** AttributeMemoStore::ltype_dashItems() {
    return &m_record->ltype_dashItems;
}

API_DashItems** AttributeMemoStore::ltype_dashItems() const {
    return m_record->ltype_dashItems;
}

API_LineItems*** AttributeMemoStore::ltype_lineItems() {
    return &m_record->ltype_lineItems;
}

API_LineItems** AttributeMemoStore::ltype_lineItems() const {
    return m_record->ltype_lineItems;
}

API_FillLine*** AttributeMemoStore::fill_lineItems() {
    return &m_record->fill_lineItems;
}

API_FillLine** AttributeMemoStore::fill_lineItems() const {
    return m_record->fill_lineItems;
}

double*** AttributeMemoStore::fill_lineLength() {
    return &m_record->fill_lineLength;
}

double** AttributeMemoStore::fill_lineLength() const {
    return m_record->fill_lineLength;
}

API_CWallComponent*** AttributeMemoStore::cwall_compItems() {
    return &m_record->cwall_compItems;
}

API_CWallComponent** AttributeMemoStore::cwall_compItems() const {
    return m_record->cwall_compItems;
}

API_CWallLineComponent*** AttributeMemoStore::cwall_compLItems() {
    return &m_record->cwall_compLItems;
}

API_CWallLineComponent** AttributeMemoStore::cwall_compLItems() const {
    return m_record->cwall_compLItems;
}

API_LayerStat*** AttributeMemoStore::layer_statItems() {
    return &m_record->layer_statItems;
}

API_LayerStat** AttributeMemoStore::layer_statItems() const {
    return m_record->layer_statItems;
}
} // namespace zelvane
