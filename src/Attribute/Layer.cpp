#include "Attribute/Layer.h"

#include "Environment/Host.h"

namespace zelvane {

String Layer::m_archiCADLayer;

Layer::Status::operator API_LayerStat() const {
    API_LayerStat entry;
    entry.lFlags = Int16(m_flags);
    entry.conClassId = m_connectionID;
    return entry;
}

Layer::Layer(const String& name) : RecordAttribute(AttributeLink()) {
    if (!name.empty() && name == archicadLayerName()) {
        setLink(AttributeLink(1, ID));
        return;
    }
    setLink(AttributeLink(name, ID));
    if (!name.empty() && getLink().getIndex() == 0) {
        initialise();
        setName(name);
    }
}

const String& Layer::archicadLayerName() {
    if (m_archiCADLayer.empty()) {
        m_archiCADLayer = host.getLocalString(32700, 19);
    }
    return m_archiCADLayer;
}

} // namespace zelvane
