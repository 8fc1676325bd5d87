#include "Geometry/CadPolygon.h"

#include "Geometry/CadArc.h"
#include "Geometry/Cube.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Line.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Plane.h"
#include "Geometry/PolyEdge.h"
#include "Geometry/PolyVector.h"
#include "Geometry/PolygonTracing.h"
#include "Geometry/Rotater.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr double pi = 3.14159265358979323846;

} // namespace

bool CadPolygon::isArc(PolyPoint const& vertex) {
    return std::fabs(vertex.getSweep()) > fixedTol;
}

CadPolygon::CadPolygon(int vertexCapacity, int holeCapacity, bool closed) : m_closed(closed) {
    if (vertexCapacity > 0)
        reserve(size_type(vertexCapacity));
    if (holeCapacity > 0)
        m_holes = std::make_unique<PolyVector>(static_cast<unsigned long>(holeCapacity));
}

CadPolygon::CadPolygon(Cube const& box, double angle) : CadPolygon(4, 0, true) {
    CadPoint const& a = box.getOrigin();
    CadPoint const& b = box.getEnd();
    double z = std::min(a.z(), b.z());
    push_back(new PolyPoint(CadPoint(a.x(), a.y(), z), 0.0, 0));
    push_back(new PolyPoint(CadPoint(b.x(), a.y(), z), 0.0, 0));
    push_back(new PolyPoint(CadPoint(b.x(), b.y(), z), 0.0, 0));
    push_back(new PolyPoint(CadPoint(a.x(), b.y(), z), 0.0, 0));
    if (std::fabs(angle) > fixedTol)
        ZRotater(angle, fixedTol).transform(*this);
}

CadPolygon::CadPolygon(CadPolygon const& other)
    : Vector<PolyPoint>(other), m_isHole(other.m_isHole), m_closed(other.m_closed), m_topID(other.m_topID),
      m_holes(other.m_holes ? other.m_holes->clone() : nullptr) {}

CadPolygon& CadPolygon::operator=(CadPolygon const& other) {
    if (this != &other) {
        Vector<PolyPoint> vertices(other);
        std::unique_ptr<PolyVector> holes(other.m_holes ? other.m_holes->clone() : nullptr);
        bool isHole = other.m_isHole;
        bool closed = other.m_closed;
        unsigned int topID = other.m_topID;
        // Only now is anything of this polygon dropped: other may be one of its holes.
        Vector<PolyPoint>::swap(vertices);
        m_holes.swap(holes);
        m_isHole = isHole;
        m_closed = closed;
        m_topID = topID;
    }
    return *this;
}

CadPolygon::~CadPolygon() = default;

CadPolygon* CadPolygon::clone() const {
    return new CadPolygon(*this);
}

PolyPoint const& CadPolygon::operator[](int i) const {
    if (empty())
        throw std::out_of_range("");
    PolyPoint const* vertex = Vector<PolyPoint>::operator[](size_type(wrapIndex(i)));
    if (vertex == nullptr)
        throw std::out_of_range("");
    return *vertex;
}

PolyPoint*& CadPolygon::operator[](int i) {
    if (empty())
        throw std::out_of_range("");
    return Vector<PolyPoint>::operator[](size_type(wrapIndex(i)));
}

PolyPoint& CadPolygon::vertexAt(int i) {
    PolyPoint* vertex = (*this)[i];
    if (vertex == nullptr)
        throw std::out_of_range("");
    return *vertex;
}

PolyEdge CadPolygon::edgeTo(int i) const {
    return PolyEdge(vertexAt(i - 1), vertexAt(i));
}

int CadPolygon::wrapIndex(int i) const {
    int n = vertSize();
    if (n == 0)
        return 0;
    int r = i % n;
    return r < 0 ? r + n : r;
}

CadPolygon::iterator CadPolygon::iteratorAt(int i) {
    return empty() ? end() : begin() + wrapIndex(i);
}

CadPolygon::const_iterator CadPolygon::iteratorAt(int i) const {
    return empty() ? end() : begin() + wrapIndex(i);
}

CadPolygon const& CadPolygon::getShape(int k) const {
    return k == 0 ? *this : getHole(k - 1);
}

CadPolygon& CadPolygon::getShape(int k) {
    return k == 0 ? *this : getHole(k - 1);
}

int CadPolygon::getVertexCount(bool outlineOnly) const {
    int count = vertSize();
    if (!isHole() && !outlineOnly)
        for (int k = 0; k < getHoleCount(); ++k)
            count += getHole(k).vertSize();
    return count;
}

int CadPolygon::getArcCount(bool outlineOnly) const {
    int count = 0;
    for (int k = 0; k <= (outlineOnly ? 0 : getHoleCount()); ++k) {
        CadPolygon const& contour = getShape(k);
        for (int i = 0; i < contour.vertSize(); ++i)
            if (isArc(contour[i]))
                ++count;
    }
    return count;
}

int CadPolygon::findVertexById(unsigned int id, int* contour) const {
    for (int i = vertSize() - 1; i >= 0; --i) {
        if (vertexAt(i).getID() == id) {
            if (contour != nullptr)
                *contour = 0;
            return i;
        }
    }
    if (contour == nullptr)
        return notFound;
    *contour = notFound;
    for (int k = getHoleCount() - 1; k >= 0; --k) {
        int index = getHole(k).findVertexById(id, nullptr);
        if (index != notFound) {
            *contour = k + 1;
            return index;
        }
    }
    return notFound;
}

int CadPolygon::findVertexByLocation(CadPoint const& p, int* contour, double tol) const {
    for (int i = 0; i < vertSize(); ++i) {
        if (p.isEqual2D(vertexAt(i), tol)) {
            if (contour != nullptr)
                *contour = 0;
            return i;
        }
    }
    if (contour == nullptr)
        return notFound;
    *contour = notFound;
    for (int k = getHoleCount() - 1; k >= 0; --k) {
        int index = getHole(k).findVertexByLocation(p, nullptr, tol);
        if (index != notFound) {
            *contour = k + 1;
            return index;
        }
    }
    return notFound;
}

int CadPolygon::getHoleCount() const {
    return m_holes ? int(m_holes->size()) : 0;
}

CadPolygon& CadPolygon::getHole(int i) {
    if (i < 0 || i >= getHoleCount() || (*m_holes)[size_type(i)] == nullptr)
        throw std::out_of_range("");
    return *(*m_holes)[size_type(i)];
}

CadPolygon const& CadPolygon::getHole(int i) const {
    if (i < 0 || i >= getHoleCount() || (*m_holes)[size_type(i)] == nullptr)
        throw std::out_of_range("");
    return *(*m_holes)[size_type(i)];
}

CadPolygon* CadPolygon::addHole(CadPolygon* hole) {
    // A polygon cannot own itself, and a hole it owns already stays as it is.
    if (hole == this)
        throw std::invalid_argument("");
    if (hole != nullptr && m_holes && std::find(m_holes->begin(), m_holes->end(), hole) != m_holes->end())
        return hole;
    std::unique_ptr<CadPolygon> held(hole != nullptr ? hole : new CadPolygon(5, 0, true));
    held->setHole(true);
    held->setHoles(nullptr);
    for (PolyPoint* vertex : *held)
        vertex->setID(0);
    if (!m_holes)
        m_holes = std::make_unique<PolyVector>(1UL);
    CadPolygon* adopted = held.get();
    m_holes->push_back(held.release());
    return adopted;
}

void CadPolygon::setHoles(PolyVector* holes) {
    if (holes != m_holes.get())
        m_holes.reset(holes);
}

void CadPolygon::removeHole(int i) {
    getHole(i);
    m_holes->erase(m_holes->begin() + i);
    if (m_holes->empty())
        m_holes.reset();
}

std::unique_ptr<CadPolygon> CadPolygon::releaseHole(int i) {
    getHole(i);
    std::unique_ptr<CadPolygon> hole(m_holes->release(m_holes->begin() + i));
    if (m_holes->empty())
        m_holes.reset();
    return hole;
}

std::unique_ptr<PolyVector> CadPolygon::releaseHoles() {
    return std::move(m_holes);
}

CadPolygon CadPolygon::operator+(CadPoint const& offset) const {
    CadPolygon result(*this);
    result += offset;
    return result;
}

CadPolygon& CadPolygon::operator+=(CadPoint const& offset) {
    for (int k = getHoleCount() - 1; k >= 0; --k)
        getHole(k) += offset;
    for (PolyPoint* vertex : *this)
        *vertex += offset;
    return *this;
}

CadPolygon CadPolygon::operator-(CadPoint const& offset) const {
    CadPolygon result(*this);
    result -= offset;
    return result;
}

CadPolygon& CadPolygon::operator-=(CadPoint const& offset) {
    for (int k = getHoleCount() - 1; k >= 0; --k)
        getHole(k) -= offset;
    for (PolyPoint* vertex : *this)
        *vertex -= offset;
    return *this;
}

CadPolygon CadPolygon::operator*(double const& factor) const {
    CadPolygon result(*this);
    result *= factor;
    return result;
}

CadPolygon& CadPolygon::operator*=(double const& factor) {
    for (int k = getHoleCount() - 1; k >= 0; --k)
        getHole(k) *= factor;
    for (PolyPoint* vertex : *this)
        *vertex *= factor;
    return *this;
}

CadPolygon CadPolygon::operator*(Matrix3x3 const& m) const {
    CadPolygon result(*this);
    result *= m;
    return result;
}

CadPolygon& CadPolygon::operator*=(Matrix3x3 const& m) {
    for (PolyPoint* vertex : *this)
        *vertex *= m;
    CadPoint up = CadPoint(0.0, 1.0, 0.0) * m;
    CadPoint right = CadPoint(1.0, 0.0, 0.0) * m;
    // +x no longer lies right of +y: the matrix mirrors the plan, and the arcs turn the other way.
    auto equation = LinearEquation::create(CadPoint(), up);
    if (equation && equation->positionOf(right, fixedTol) != CadPoint::inside)
        for (PolyPoint* vertex : *this)
            vertex->setSweep(-vertex->getSweep());
    for (int k = getHoleCount() - 1; k >= 0; --k)
        getHole(k) *= m;
    return *this;
}

CadPolygon CadPolygon::operator/(double const& divisor) const {
    CadPolygon result(*this);
    result /= divisor;
    return result;
}

CadPolygon& CadPolygon::operator/=(double const& divisor) {
    for (int k = getHoleCount() - 1; k >= 0; --k)
        getHole(k) /= divisor;
    for (PolyPoint* vertex : *this)
        *vertex /= divisor;
    return *this;
}

PolyPoint::Rotation CadPolygon::getDirection() const {
    if (!isValid(false, fixedTol))
        return PolyPoint::noRotation;
    return getArea(false, true) > 0.0 ? PolyPoint::anticlockwise : PolyPoint::clockwise;
}

void CadPolygon::setDirection(PolyPoint::Rotation direction, bool withHoles, bool holesOpposite) {
    for (int k = 0; k <= (withHoles ? getHoleCount() : 0); ++k) {
        CadPolygon& contour = getShape(k);
        if (!contour.isValid(false, fixedTol))
            continue;
        PolyPoint::Rotation wanted = direction;
        if (k > 0 && holesOpposite)
            wanted = direction == PolyPoint::clockwise ? PolyPoint::anticlockwise : PolyPoint::clockwise;
        if (contour.getDirection() != wanted)
            contour.reverse();
    }
}

void CadPolygon::renumber(bool all) {
    unsigned int top = 0;
    for (int k = 0; k <= getHoleCount(); ++k)
        for (PolyPoint const* vertex : getShape(k))
            top = std::max(top, vertex->getID());
    m_topID = top;
    std::set<unsigned int> seen{0};
    for (int k = 0; k <= getHoleCount(); ++k) {
        CadPolygon& contour = getShape(k);
        for (int i = contour.vertSize() - 1; i >= 0; --i) {
            PolyPoint& vertex = contour.vertexAt(i);
            if (all || !seen.insert(vertex.getID()).second)
                vertex.setID(allocateID());
        }
    }
    for (int k = 0; k < getHoleCount(); ++k)
        getHole(k).setTopId(m_topID);
}

std::unique_ptr<Cube> CadPolygon::getBounds() const {
    if (empty())
        return nullptr;
    auto box = std::make_unique<Cube>(vertexAt(0), vertexAt(0));
    for (int i = vertSize() - 1; i >= 0; --i) {
        PolyPoint const& vertex = vertexAt(i);
        std::unique_ptr<Cube> arcBox;
        if (isArc(vertex)) {
            CadArc arc(vertexAt(i - 1), vertex);
            if (arc.isValid(fixedTol))
                arcBox = arc.getBounds();
        }
        if (arcBox)
            box->merge(*arcBox);
        else
            box->merge(vertex);
    }
    box->sort();
    return box;
}

bool CadPolygon::isValid(bool checkSelfIntersection, double tol) const {
    int n = vertSize();
    if (!isClosed())
        return n > 1;
    if (n < 3 && (n != 2 || (!isArc(vertexAt(0)) && !isArc(vertexAt(1)))))
        return false;
    if (!checkSelfIntersection)
        return true;
    // Each edge meets a simple polygon once: at its start, which is the end of the edge before it.
    return !meetsItselfElsewhere(*this, tol);
}

double CadPolygon::getPerimeter2D() const {
    double perimeter = 0.0;
    int last = isClosed() ? vertSize() - 1 : vertSize() - 2;
    for (int i = 0; i <= last; ++i)
        perimeter += edgeTo(i + 1).length2D();
    return perimeter;
}

double CadPolygon::getPerimeter3D() const {
    double perimeter = 0.0;
    int last = isClosed() ? vertSize() - 1 : vertSize() - 2;
    for (int i = 0; i <= last; ++i)
        perimeter += edgeTo(i + 1).length3D();
    return perimeter;
}

int CadPolygon::tracePerimeter(double distance, PolyPoint& point) const {
    if (empty()) {
        point.x() = point.y() = point.z() = 0.0;
        return 0;
    }
    if (distance <= fixedTol) {
        point = vertexAt(0);
        return 0;
    }
    int last = vertSize() - 1;
    if (!(getPerimeter3D() - distance > fixedTol)) {
        point = vertexAt(last);
        return last;
    }
    double rest = distance;
    int edges = isClosed() ? vertSize() : vertSize() - 1;
    for (int i = 0; i < edges; ++i) {
        PolyEdge edge = edgeTo(i + 1);
        rest -= edge.length3D();
        if (rest < -fixedTol || std::fabs(rest) <= fixedTol) {
            edge.extend(rest);
            point = edge.end();
            return i;
        }
    }
    point = vertexAt(last);
    return last;
}

double CadPolygon::getArea(bool subtractHoles, bool isSigned) const {
    if (!isValid(false, fixedTol))
        return 0.0;
    // Measured from vertex 0, so that coordinates far from the origin keep their precision.
    double x0 = vertexAt(0).x();
    double y0 = vertexAt(0).y();
    double sum = 0.0;
    double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0;
    for (int j = 0; j < vertSize(); ++j) {
        double x = vertexAt(j).x() - x0;
        double y = vertexAt(j).y() - y0;
        sum += x * ((vertexAt(j + 1).y() - y0) - (vertexAt(j - 1).y() - y0)) / 2.0;
        if (isArc(vertexAt(j)))
            sum += edgeTo(j).getArea(true);
        xMin = std::min(xMin, x);
        xMax = std::max(xMax, x);
        yMin = std::min(yMin, y);
        yMax = std::max(yMax, y);
    }
    double area = std::fabs(sum);
    if (subtractHoles)
        for (int k = 0; k < getHoleCount(); ++k)
            area -= getHole(k).getArea(false, false);
    // An area is nothing when it is less than a strip of the length tolerance across the polygon,
    // so that small polygons keep their area and direction.
    if (!(area > fixedTol * std::max(xMax - xMin, yMax - yMin)))
        return 0.0;
    return isSigned && sum < 0.0 ? -area : area;
}

double CadPolygon::getInternalAngleAt(int i) const {
    PolyEdge arriving = edgeTo(i);
    PolyEdge leaving = edgeTo(i + 1);
    double angle = std::fmod(pi - leaving.startTangent() + arriving.endTangent(), 2.0 * pi);
    if (angle < 0.0)
        angle += 2.0 * pi;
    return getDirection() == PolyPoint::clockwise ? 2.0 * pi - angle : angle;
}

bool CadPolygon::isEqual2D(CadPolygon const& other, double tol) const {
    return hasEqualVertices(other, false, tol);
}

bool CadPolygon::isEqual3D(CadPolygon const& other, double tol) const {
    return hasEqualVertices(other, true, tol);
}

bool CadPolygon::hasEqualVertices(CadPolygon const& other, bool in3D, double tol) const {
    if (getHoleCount() != other.getHoleCount())
        return false;
    for (int k = getHoleCount(); k >= 0; --k) {
        CadPolygon const& a = getShape(k);
        CadPolygon const& b = other.getShape(k);
        if (a.vertSize() != b.vertSize())
            return false;
        for (int i = a.vertSize() - 1; i >= 0; --i)
            if (!(in3D ? a[i].isEqual3D(b[i], tol) : a[i].isEqual2D(b[i], tol)))
                return false;
    }
    return true;
}

void CadPolygon::reverse() {
    int n = vertSize();
    if (n < 2)
        return;
    std::reverse(begin(), end());
    // The arc that ended at a vertex now ends at the vertex before it in the new order.
    double carried = -vertexAt(n - 1).getSweep();
    for (int j = 0; j < n; ++j) {
        PolyPoint& vertex = vertexAt(j);
        double own = vertex.getSweep();
        vertex.setSweep(carried);
        carried = -own;
    }
}

bool CadPolygon::insertUniqueVertex(PolyPoint* vertex, int index) {
    std::unique_ptr<PolyPoint> held(vertex);
    if (!held || findVertexByLocation(*held, nullptr, fixedTol) != notFound)
        return false;
    if (index == notFound)
        push_back(held.release());
    else
        insert(begin() + wrapIndex(index), held.release());
    return true;
}

void CadPolygon::initialise(bool closed, bool hole) {
    Vector<PolyPoint>::clear();
    m_holes.reset();
    m_closed = closed;
    m_isHole = hole;
}

void CadPolygon::clear() {
    initialise(true, false);
    m_topID = 0;
}

template <typename Equal>
bool CadPolygon::removeDuplicates(Equal const& equal) {
    bool removed = false;
    for (int k = 0; k <= getHoleCount(); ++k) {
        CadPolygon& contour = getShape(k);
        if (contour.empty())
            continue;
        PolyPoint previous = contour.vertexAt(-1);
        for (int i = 0; i < contour.vertSize();) {
            if (contour.vertSize() > 1 && equal(contour.vertexAt(i), previous)) {
                contour.erase(contour.begin() + i);
                removed = true;
            } else {
                previous = contour.vertexAt(i);
                ++i;
            }
        }
    }
    return removed;
}

bool CadPolygon::removeDuplicates2D(double tol) {
    return removeDuplicates([tol](PolyPoint const& a, PolyPoint const& b) { return a.isEqual2D(b, tol); });
}

bool CadPolygon::removeDuplicates3D(double tol) {
    return removeDuplicates([tol](PolyPoint const& a, PolyPoint const& b) { return a.isEqual3D(b, tol); });
}

void CadPolygon::setBaseLevel(double z) {
    for (int k = 0; k <= getHoleCount(); ++k)
        for (PolyPoint* vertex : getShape(k))
            vertex->z() = z;
}

void CadPolygon::alignTo(Plane const& plane) {
    for (int k = 0; k <= getHoleCount(); ++k)
        for (PolyPoint* vertex : getShape(k))
            vertex->z() = plane.heightAt(*vertex, fixedTol);
}

bool CadPolygon::isTangentialAt(int vertex, double angleTol) const {
    if (!isValid(false, fixedTol))
        return false;
    return edgeTo(vertex + 1).isTangentialTo2D(edgeTo(vertex), fixedTol, angleTol);
}

bool CadPolygon::encloses(CadPoint const& point, double tol) const {
    CadPoint::Pos code = positionOf(point, tol);
    return code == CadPoint::along || code == CadPoint::inside;
}

} // namespace zelvane
