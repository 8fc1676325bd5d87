// An iterator over the rows of a list control or a pop-up menu: a cursor (the control's node type)
// that it owns, and the scope of rows it visits. The node type decides how its cursors move and
// order; the iterator checks that it is on a row before it is used.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <memory>
#include <stdexcept>

namespace zelvane {

// Which rows an iteration visits.
using ViewScope = Int32;
constexpr ViewScope allRows = 0;
constexpr ViewScope selectedRows = 2;

template <class Node>
class ViewIterator {
public:
    ViewIterator() = default;
    ViewIterator(const Node& node, ViewScope scope) : m_node(new Node(node)), m_scope(scope) {}
    ViewIterator(const ViewIterator& other)
        : m_node(other.m_node ? new Node(*other.m_node) : nullptr), m_scope(other.m_scope) {}
    ViewIterator& operator=(const ViewIterator& other) {
        if (this != &other) {
            m_node.reset(other.m_node ? new Node(*other.m_node) : nullptr);
            m_scope = other.m_scope;
        }
        return *this;
    }
    virtual ~ViewIterator() = default;

    // Throws std::out_of_range without a cursor or control, and with checkEnd when the cursor is
    // on no row.
    void isValid(bool checkEnd) const {
        if (!m_node || !m_node->hasControl() || (checkEnd && m_node->isEnded())) {
            throw std::out_of_range("");
        }
    }
    // Two ended iterators are equal; an ended one equals no live one; live ones compare rows.
    bool isEqual(const ViewIterator& other) const {
        bool ended = isEnded();
        bool otherEnded = other.isEnded();
        if (ended || otherEnded) {
            return ended && otherEnded;
        }
        return m_node->getRow() == other.m_node->getRow();
    }
    // The node type's order.
    bool isLess(const ViewIterator& other) const { return Node::isLess(m_node.get(), other.m_node.get()); }
    bool operator==(const ViewIterator& other) const { return isEqual(other); }
    bool operator!=(const ViewIterator& other) const { return !isEqual(other); }
    bool operator<(const ViewIterator& other) const { return isLess(other); }

    Node& operator*() const {
        isValid(true);
        return *m_node;
    }
    Node* operator->() const { return &**this; }
    ViewIterator& operator++() {
        isValid(true);
        m_node->moveForward(m_scope);
        return *this;
    }
    ViewIterator operator++(int) {
        ViewIterator before(*this);
        ++*this;
        return before;
    }
    ViewIterator& operator--() {
        isValid(true);
        m_node->moveBackward(m_scope);
        return *this;
    }
    ViewIterator operator--(int) {
        ViewIterator before(*this);
        --*this;
        return before;
    }

    ViewScope getScope() const { return m_scope; }
    bool isEnded() const { return !m_node || m_node->isEnded(); }

private:
    std::unique_ptr<Node> m_node;
    ViewScope m_scope = allRows;
};

// The same over a constant control: the cursor is read only.
template <class Node>
class ConstViewIterator : public ViewIterator<Node> {
public:
    using ViewIterator<Node>::ViewIterator;
    ConstViewIterator(const ViewIterator<Node>& other) : ViewIterator<Node>(other) {}
    const Node& operator*() const { return ViewIterator<Node>::operator*(); }
    const Node* operator->() const { return &**this; }
};

} // namespace zelvane
