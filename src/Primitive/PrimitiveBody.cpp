#include "Primitive/PrimitiveBody.h"

#include "Attribute/Finish.h"
#include "Attribute/Pen.h"
#include "Environment/DataBufferOut.h"
#include "Geometry/Vector3.h"
#include "Model3D/Body.h"
#include "Model3D/Element3D.h"

#include <vector>

namespace zelvane {

namespace {

constexpr Int32 writtenFaceStatus = 262210; // 0x40042
constexpr Int32 writtenBodyStatus = 262176; // 0x40020
constexpr Int32 writtenEdgeStatus = 262144; // for edges not marked curved
constexpr double tolerance = 0.00001;

Int32 faceNumber(Int32 edge) {
    return edge + 1;
}

} // namespace

PrimitiveBody::PrimitiveBody(std::shared_ptr<Element3D> model, bool is2D, bool is3D)
    : CadPoint(), Primitive(0, attribute_index(1), attribute_index(1), is2D, is3D),
      m_model(std::move(model)) {}

std::unique_ptr<Cube> PrimitiveBody::getBounds() const {
    return std::unique_ptr<Cube>(m_model != nullptr ? m_model->getBounds() : nullptr);
}

bool PrimitiveBody::write3DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                                  unsigned short indent) const {
    if (!is3D() || m_model == nullptr || m_model->isEmpty())
        return isGood(out);
    CadPoint shift = static_cast<CadPoint const&>(*this) + offset;
    for (std::size_t b = 0; b < m_model->bodySize(); ++b) {
        Body body = m_model->body(b);
        for (std::size_t v = 0; v < body.vertexSize(); ++v) {
            writeTabs(out, indent);
            out << "vert ";
            write3DPoint(out, body.vertex(v), shift);
            out << "\n";
        }
        for (std::size_t e = 0; e < body.edgeSize(); ++e) {
            Edge edge = body.edge(e);
            if (builder != nullptr)
                writeAttribute(Pen(edge.getPen()), out, builder, indent, 1, true, true);
            Int32 first = edge.getFirstFace(), second = edge.getSecondFace();
            Int32 status = edge.getStatus();
            if ((status & 2) == 0)
                status += writtenEdgeStatus;
            writeTabs(out, indent);
            out << "edge " << int(edge.getOrigin() + 1) << ", " << int(edge.getEnd() + 1) << ", "
                << int(first == Edge::none ? 0 : faceNumber(first)) << ", "
                << int(second == Edge::none ? 0 : faceNumber(second)) << ", " << int(status) << "\n";
        }
        // Faces share normals: parallel ones take the number of the first, negated when opposite.
        std::vector<Vector3> normals;
        std::vector<int> numbers;
        for (std::size_t f = 0; f < body.faceSize(); ++f) {
            Vector3 normal = body.face(f).getNormal().normalised();
            int number = 0;
            for (std::size_t k = 0; k < normals.size() && number == 0; ++k)
                if (normals[k].isParallelTo(normal, tolerance))
                    number = normals[k].isSameSense(normal, tolerance) ? int(k + 1) : -int(k + 1);
            if (number == 0) {
                normals.push_back(normal);
                number = int(normals.size());
            }
            numbers.push_back(number);
        }
        for (Vector3 const& normal : normals) {
            writeTabs(out, indent);
            out << "vect ";
            write3DPoint(out, CadPoint(normal.x(), normal.y(), normal.z()), CadPoint());
            out << "\n";
        }
        for (std::size_t f = 0; f < body.faceSize(); ++f) {
            Face face = body.face(f);
            if (builder != nullptr)
                writeAttribute(face.getFinish(), out, builder, indent, 0, true, true);
            writeTabs(out, indent);
            out << "pgon " << int(face.edgeSize()) << ", " << numbers[f] << ", "
                << int(face.getStatus() | writtenFaceStatus);
            for (std::size_t i = 0; i < face.edgeSize(); ++i) {
                out << ", ";
                if (i > 0 && i % 4 == 0) {
                    out << "\n";
                    writeTabs(out, indent + 2);
                }
                Int32 entry = face.edge(i, true);
                out << int(entry == Face::separator ? 0 : entry);
            }
            out << "\n";
        }
        writeTabs(out, indent);
        out << "body " << int(body.getStatus() | writtenBodyStatus) << "\n";
    }
    return isGood(out);
}

} // namespace zelvane
