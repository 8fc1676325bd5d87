// A convex facet of a face of a 3D body: the body's vertex indexes around it.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <memory>
#include <stdexcept>
#include <vector>

namespace zelvane {

class SimpleFace {
public:
    using Data = std::vector<Int32>;

    explicit SimpleFace(std::shared_ptr<const Data> data = nullptr) : m_data(std::move(data)) {}

    std::size_t vertexSize() const { return m_data != nullptr ? m_data->size() : 0; }
    // The body's vertex index (from 0); std::out_of_range past the end.
    Int32 vertex(std::size_t i) const {
        if (m_data == nullptr) {
            throw std::out_of_range("no facet");
        }
        return m_data->at(i);
    }

private:
    std::shared_ptr<const Data> m_data;
};

} // namespace zelvane
