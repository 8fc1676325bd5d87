#include "Model3D/ModelProxy.h"

#include "Database/Model.h"
#include "Database/Project.h"

namespace zelvane {

Element3D* ModelProxy::seekNext(const Element3DLink& link, bool forward, const Drawing::Filter&) {
    if (m_model == nullptr || m_model->getProject() == nullptr ||
        !m_model->getProject()->setActiveDrawing(m_model)) {
        return nullptr;
    }
    Int32 index = link.getIndex();
    if (!forward && index < 1) {
        return nullptr;
    }
    Int32 next = forward ? index + 1 : index - 1;
    if (next >= m_model->size3D()) {
        return nullptr;
    }
    return m_model->get3DElement(next);
}

Element3D* ModelProxy::load(const Element3DLink& link, const Drawing::Filter*) {
    return m_model != nullptr ? m_model->get3DElement(link.getIndex()) : nullptr;
}

} // namespace zelvane
