// Iterators over the items of one host database (the elements of a drawing, the attributes, the
// library parts, the 3D model). An iterator holds one item at a time, loaded from the database:
// it walks either a shared list of links or, without one, asks the database for the next item
// after the current one.
#pragma once

#include "Environment/CloneEntry.h"

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace zelvane {

// How an iterator reaches its database. A database whose operations are named otherwise
// specialises this.
template <typename Database, typename Item, typename Link, typename Filter>
struct IteratorAccess {
    // The database the link belongs to, null when it has none.
    static Database* source(Link const& link) { return link.getSource(); }
    // The item's link, by reference or by value as the item answers it.
    static decltype(auto) link(Item const& item) { return item.getLink(); }
    // A new item for the link that passes the filter, or null.
    static Item* load(Database& database, Link const& link, Filter const& filter) {
        return database.load(link, &filter);
    }
    // A new item for the next link after link in the given direction that passes the filter, or null.
    static Item* seekNext(Database& database, Link const& link, bool forward, Filter const& filter) {
        return database.seekNext(link, forward, filter);
    }
    // Writes a changed item back; true on success.
    static bool put(Database& database, Item& item) { return database.put(item, false, true); }
};

namespace detail {

template <typename T, typename = void>
struct HasClone : std::false_type {};
template <typename T>
struct HasClone<T, std::void_t<decltype(std::declval<T const&>().clone())>> : std::true_type {};

// A heap copy that keeps the dynamic type where the class can clone itself.
template <typename T>
std::unique_ptr<T> copyOf(T const* item) {
    if (item == nullptr) {
        return nullptr;
    }
    if constexpr (HasClone<T>::value) {
        return std::unique_ptr<T>(cloneAs<T>(item));
    } else {
        return std::make_unique<T>(*item);
    }
}

} // namespace detail

template <typename Database, typename Item, typename Link, typename Filter, typename LinkList>
class IteratorBase {
public:
    using Access = IteratorAccess<Database, Item, Link, Filter>;

    // Told of every item the iterator looks for: the link loaded or sought from, the direction,
    // the filter and the item found (null when none). The iterator does not own it.
    class Seeker {
    public:
        virtual ~Seeker() = default;
        virtual void seek(Link const& link, bool forward, Filter const& filter, Item const* found) = 0;
    };

    // An iterator at its end.
    IteratorBase() = default;
    // Starts at first (taking it; null is the end) and seeks the database for the items after it.
    IteratorBase(Item* first, Filter const& filter, bool forward = true)
        : m_item(first), m_filter(detail::copyOf(&filter)), m_forward(forward) {}
    // Walks the shared link list from its first link (forward) or its last (reverse); links whose
    // item fails to load are skipped.
    IteratorBase(std::shared_ptr<LinkList> links, Filter const& filter, bool forward)
        : m_filter(detail::copyOf(&filter)), m_links(std::move(links)), m_forward(forward) {
        if (m_links != nullptr && !m_forward && m_links->size() > 0) {
            m_index = m_links->size() - 1;
        }
        loadLinkedRecord(true, m_forward);
    }
    IteratorBase(IteratorBase const& other)
        : m_item(detail::copyOf(other.m_item.get())), m_filter(detail::copyOf(other.m_filter.get())),
          m_seeker(other.m_seeker), m_links(other.m_links), m_index(other.m_index),
          m_forward(other.m_forward) {}
    IteratorBase(IteratorBase&& other) noexcept = default;
    // The current item is dropped as on destruction: deleted, not written back.
    IteratorBase& operator=(IteratorBase const& other) {
        if (this != &other) {
            IteratorBase copy(other);
            swap(copy);
        }
        return *this;
    }
    IteratorBase& operator=(IteratorBase&& other) noexcept = default;
    // Deletes the current item without writing it back: a write from a destructor could not
    // report its failure.
    virtual ~IteratorBase() = default;

    // Lets go of the current item, deleting it when destroy is set (otherwise the caller has
    // taken it).
    virtual void deallocate(bool destroy) {
        if (destroy) {
            m_item.reset();
        } else {
            (void)m_item.release();
        }
    }

    // The current item; std::out_of_range at the end.
    Item& getReference() const {
        if (m_item == nullptr) {
            throw std::out_of_range("");
        }
        return *m_item;
    }
    bool atEnd() const noexcept { return m_item == nullptr; }
    bool isForward() const noexcept { return m_forward; }

    // Ended iterators are equal; live ones when their items' links are.
    bool isEqual(IteratorBase const& other) const {
        if (m_item == nullptr || other.m_item == nullptr) {
            return m_item == nullptr && other.m_item == nullptr;
        }
        return Access::link(*m_item) == Access::link(*other.m_item);
    }

    // Moves to the next item in the iterator's direction, letting go of the current one
    // (deleting it when destroy is set). At the end of a database scan: std::out_of_range.
    void moveForward(bool destroy = true) {
        if (m_links != nullptr) {
            deallocate(destroy);
            m_item.reset();
            if (step()) {
                loadLinkedRecord(false, m_forward);
            }
            return;
        }
        if (m_item == nullptr) {
            throw std::out_of_range("");
        }
        Link from(Access::link(*m_item));
        Database* database = Access::source(from);
        if (database == nullptr || m_filter == nullptr) {
            throw std::bad_alloc();
        }
        deallocate(destroy);
        m_item.reset(Access::seekNext(*database, from, m_forward, *m_filter));
        if (m_seeker != nullptr) {
            m_seeker->seek(from, m_forward, *m_filter, m_item.get());
        }
    }

    void setSeeker(Seeker* seeker) noexcept { m_seeker = seeker; }
    Seeker* getSeeker() const noexcept { return m_seeker; }
    Filter const* getFilter() const noexcept { return m_filter.get(); }

    void swap(IteratorBase& other) noexcept {
        std::swap(m_item, other.m_item);
        std::swap(m_filter, other.m_filter);
        std::swap(m_seeker, other.m_seeker);
        std::swap(m_links, other.m_links);
        std::swap(m_index, other.m_index);
        std::swap(m_forward, other.m_forward);
    }

protected:
    // An ended iterator walking in the given direction.
    explicit IteratorBase(bool forward) : m_forward(forward) {}

    // Loads the item of the link at the index, skipping links whose item fails to load (in the
    // given direction); the list is dropped once it is walked past. Outside the list:
    // std::out_of_range unless quiet.
    void loadLinkedRecord(bool quiet, bool forward) {
        if (m_links == nullptr || m_index >= m_links->size()) {
            m_links.reset();
            if (!quiet) {
                throw std::out_of_range("");
            }
            return;
        }
        while (m_links != nullptr) {
            Link const* link = (*m_links)[m_index];
            Database* database = link == nullptr ? nullptr : Access::source(*link);
            if (database == nullptr || m_filter == nullptr) {
                throw std::bad_alloc();
            }
            m_item.reset(Access::load(*database, *link, *m_filter));
            if (m_seeker != nullptr) {
                m_seeker->seek(*link, forward, *m_filter, m_item.get());
            }
            if (m_item != nullptr) {
                return;
            }
            if (forward ? !stepForward() : !stepBack()) {
                m_links.reset();
            }
        }
    }

    Item* currentItem() const noexcept { return m_item.get(); }
    Item* takeItem() noexcept { return m_item.release(); }

private:
    bool stepForward() noexcept { return ++m_index < m_links->size(); }
    bool stepBack() noexcept {
        if (m_index == 0) {
            return false;
        }
        --m_index;
        return true;
    }
    // Steps the index in the iterator's direction; past either end the list is dropped.
    bool step() {
        if (m_forward ? stepForward() : stepBack()) {
            return true;
        }
        m_links.reset();
        return false;
    }

    std::unique_ptr<Item> m_item;
    std::unique_ptr<Filter> m_filter;
    Seeker* m_seeker = nullptr;
    std::shared_ptr<LinkList> m_links;
    std::size_t m_index = 0;
    bool m_forward = true;
};

template <typename Database, typename Item, typename Link, typename Filter, typename LinkList>
bool operator==(IteratorBase<Database, Item, Link, Filter, LinkList> const& a,
                IteratorBase<Database, Item, Link, Filter, LinkList> const& b) {
    return a.isEqual(b);
}
template <typename Database, typename Item, typename Link, typename Filter, typename LinkList>
bool operator!=(IteratorBase<Database, Item, Link, Filter, LinkList> const& a,
                IteratorBase<Database, Item, Link, Filter, LinkList> const& b) {
    return !a.isEqual(b);
}

// An iterator whose items may be changed: with auto-write on (the default), each item it leaves
// by moving on is written back to its database first. Destruction never writes.
template <typename Database, typename Item, typename Link, typename Filter, typename LinkList>
class NonConstIteratorBase : public IteratorBase<Database, Item, Link, Filter, LinkList> {
    using Base = IteratorBase<Database, Item, Link, Filter, LinkList>;

public:
    using Base::Base;

    virtual bool isAutoWrite() const { return m_autoWrite; }
    virtual void setAutoWrite(bool autoWrite) { m_autoWrite = autoWrite; }
    // How many items could not be written back (their database refused them or was missing).
    unsigned getWriteFailures() const noexcept { return m_writeFailures; }

    void deallocate(bool destroy) override {
        Item* item = this->currentItem();
        if (m_autoWrite && item != nullptr) {
            Database* database = Base::Access::source(Base::Access::link(*item));
            if (database == nullptr || !Base::Access::put(*database, *item)) {
                ++m_writeFailures;
            }
        }
        Base::deallocate(destroy);
    }

    Item& operator*() const { return this->getReference(); }
    Item* operator->() const { return &this->getReference(); }

protected:
    // Hands the current item to the caller and moves on; null at the end.
    Item* releaseItem() {
        if (this->atEnd()) {
            return nullptr;
        }
        Item* item = this->currentItem();
        try {
            this->moveForward(false);
        } catch (...) {
            if (this->currentItem() != item) {
                delete item; // let go of, but never reached the caller
            }
            throw;
        }
        return item;
    }

private:
    bool m_autoWrite = true;
    unsigned m_writeFailures = 0;
};

template <typename Database, typename Item, typename Link, typename Filter, typename LinkList>
class Iterator : public NonConstIteratorBase<Database, Item, Link, Filter, LinkList> {
    using Base = NonConstIteratorBase<Database, Item, Link, Filter, LinkList>;

public:
    Iterator() = default;
    Iterator(Item* first, Filter const& filter) : Base(first, filter, true) {}
    Iterator(std::shared_ptr<LinkList> links, Filter const& filter) : Base(std::move(links), filter, true) {}

    Item* release() { return this->releaseItem(); }
    Iterator& operator++() {
        this->moveForward(true);
        return *this;
    }
};

template <typename Database, typename Item, typename Link, typename Filter, typename LinkList>
class ReverseIterator : public NonConstIteratorBase<Database, Item, Link, Filter, LinkList> {
    using Base = NonConstIteratorBase<Database, Item, Link, Filter, LinkList>;

public:
    ReverseIterator() : Base(false) {}
    ReverseIterator(Item* first, Filter const& filter) : Base(first, filter, false) {}
    ReverseIterator(std::shared_ptr<LinkList> links, Filter const& filter)
        : Base(std::move(links), filter, false) {}

    Item* release() { return this->releaseItem(); }
    ReverseIterator& operator++() {
        this->moveForward(true);
        return *this;
    }
};

template <typename Database, typename Item, typename Link, typename Filter, typename LinkList>
class ConstIterator : public IteratorBase<Database, Item, Link, Filter, LinkList> {
    using Base = IteratorBase<Database, Item, Link, Filter, LinkList>;

public:
    ConstIterator() = default;
    ConstIterator(Item* first, Filter const& filter) : Base(first, filter, true) {}
    ConstIterator(std::shared_ptr<LinkList> links, Filter const& filter)
        : Base(std::move(links), filter, true) {}

    Item const& operator*() const { return this->getReference(); }
    Item const* operator->() const { return &this->getReference(); }
    ConstIterator& operator++() {
        this->moveForward(true);
        return *this;
    }
};

template <typename Database, typename Item, typename Link, typename Filter, typename LinkList>
class ConstReverseIterator : public IteratorBase<Database, Item, Link, Filter, LinkList> {
    using Base = IteratorBase<Database, Item, Link, Filter, LinkList>;

public:
    ConstReverseIterator() : Base(false) {}
    ConstReverseIterator(Item* first, Filter const& filter) : Base(first, filter, false) {}
    ConstReverseIterator(std::shared_ptr<LinkList> links, Filter const& filter)
        : Base(std::move(links), filter, false) {}

    Item const& operator*() const { return this->getReference(); }
    Item const* operator->() const { return &this->getReference(); }
    ConstReverseIterator& operator++() {
        this->moveForward(true);
        return *this;
    }
};

// The iterator forms of one database, for it to name as its own.
template <typename Database, typename Item, typename Link, typename Filter, typename LinkList>
struct IteratorTypes {
    using iterator = Iterator<Database, Item, Link, Filter, LinkList>;
    using reverse_iterator = ReverseIterator<Database, Item, Link, Filter, LinkList>;
    using const_iterator = ConstIterator<Database, Item, Link, Filter, LinkList>;
    using const_reverse_iterator = ConstReverseIterator<Database, Item, Link, Filter, LinkList>;
};

} // namespace zelvane
