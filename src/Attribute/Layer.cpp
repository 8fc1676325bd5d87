#include "Attribute/Layer.h"

#include "Environment/Host.h"

namespace zelvane {

std::string Layer::m_archiCADLayer;

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

String Layer::archicadLayerName() {
    if (m_archiCADLayer.empty()) {
        m_archiCADLayer = host.getLocalString(32700, 19).data();
    }
    return String(m_archiCADLayer.c_str());
}

} // namespace zelvane
