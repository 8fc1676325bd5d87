// A keyed, ordered set of named records that is itself a preference package: records are made
// from templates under unique names, deprecated, deleted, merged by edit time from other databases
// and files, and listed by name. R is the record class, D the concrete database (which says what
// differs per database), C the collection through which databases travel, Key the record key.
//
// D supplies `ID` (an EventSpec whose family is the package code), `xmlTag`, and the record
// hooks below (the record for an element tag, a fresh record, the record a merge starts from, the
// name a new record asks for); it is copy-constructible, as clone copies it.
//
// Records are shared: a database, its clones, name lists and views hold the same record objects;
// cloneIndependent makes copies that share nothing. The members are defined in
// UserDatabaseMembers.h, which only the concrete database's source includes, so each database is
// instantiated once.
#pragma once

#include "Environment/String.h"
#include "XML/KeptMarkup.h"
#include "XML/Package.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLMap.h"

#include <cstddef>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace zelvane {

template <typename R, typename D, typename C, typename Key>
class UserDatabase : public Package {
public:
    using RecordPtr = std::shared_ptr<R>;
    using Pair = std::pair<Key, RecordPtr>;
    using Storage = std::map<Key, RecordPtr>;
    using iterator = typename Storage::iterator;
    using const_iterator = typename Storage::const_iterator;
    // (key, record) pairs in name order.
    using NameList = std::vector<Pair>;

    // A test of one (key, record) pair, deciding which records a view lets through.
    class Filter {
    public:
        virtual ~Filter() = default;
        virtual bool isAccepted(Pair const& pair) const = 0;
    };
    using FilterList = std::vector<std::shared_ptr<Filter>>;

    // The records field: owns the map, writes each entry as the record's element carrying its key,
    // and reads elements into new records.
    class RecordList : public XMLMap {
    public:
        explicit RecordList(UserDatabase& owner) : m_owner(&owner) {}
        RecordList(RecordList const&) = delete;
        RecordList& operator=(RecordList const&) = delete;

        char const* getTag() const override { return "records"; }
        std::size_t shippingSize() const override { return m_items.size(); }
        // The entry at `index` in key order as a pair of its key and the record; consecutive
        // indices walk on from the last one asked for.
        Shipping* getShipping(std::size_t index, bool attributes) override;
        using XMLArray::addShipping;
        // A new record for an element of the database's record tags, paired with an empty key.
        Shipping* addShipping(String const& tag, String const& nameSpace) override;
        // Takes the record of a completed pair. Anything else (an element no record was made for,
        // a pair without a key, with a key already present, or whose data is not a record) is
        // not taken and the read goes on: the first record read under a key stays. What is not
        // taken is kept as written, after the records, so that reading it again takes the same.
        bool insert(Shipping& entry) override {
            bool taken = false;
            return insert(entry, taken);
        }
        bool insert(Shipping& entry, bool& taken) override;
        // No record, nothing kept.
        void setDefault() override {
            edit().clear();
            m_kept.clear();
        }
        // What the element held beside the records (those of a type a later version added, say),
        // written back where it stood.
        KeptMarkup* getKept() override { return &m_kept; }
        KeptMarkup const& kept() const { return m_kept; }

        // A fresh record with no name, as the database makes one.
        RecordPtr newEmptyRecord() const { return RecordPtr(m_owner->newEmptyRecord()); }
        Storage const& items() const { return m_items; }
        // The map to change: the cursor starts again from the first entry.
        Storage& edit() {
            m_cursorValid = false;
            return m_items;
        }
        const_iterator entryAt(std::size_t index) const;

    private:
        UserDatabase* m_owner;
        Storage m_items;
        KeptMarkup m_kept;
        mutable const_iterator m_cursor;
        mutable std::size_t m_cursorIndex = 0;
        mutable bool m_cursorValid = false;
    };

    // A view of a database through a list of filters, written and read in its place: writing
    // leaves out the records the filters refuse; reading merges the accepted records into the
    // database and drops the others.
    class FilteredProxy : public XMLAssemblyProxy {
    public:
        // The records under the view's own tag "records".
        class RecordProxy : public XMLMap {
        public:
            explicit RecordProxy(FilteredProxy& owner) : m_owner(&owner) {}

            char const* getTag() const override { return "records"; }
            std::size_t shippingSize() const override;
            Shipping* getShipping(std::size_t index, bool attributes) override;
            using XMLArray::addShipping;
            Shipping* addShipping(String const& tag, String const& nameSpace) override;
            // Merges the record of a completed pair when the filters accept it; answers true
            // whatever it was.
            bool insert(Shipping& entry) override;
            // Reading merges into what the database holds.
            void setDefault() override {}

        private:
            FilteredProxy* m_owner;
        };

        FilteredProxy(UserDatabase& database, FilterList const& filters);

        Shipping* getShipping(std::size_t index, bool attributes) override;
        Shipping* getShipping(String const& tag, String const& nameSpace) override;
        // Reading through a view keeps the database's default unless the document names one.
        void setDefault() override {}
        // Every filter of the list accepts the pair (an empty list accepts everything).
        bool isAccepted(Pair const& pair) const;
        UserDatabase& getDatabase() const { return *m_database; }

    private:
        UserDatabase* m_database;
        FilterList m_filters;
    };

    UserDatabase() : m_records(*this) {}
    // Shares the other's records and keeps its default and what its records element kept.
    UserDatabase(UserDatabase const& other);
    UserDatabase& operator=(UserDatabase const&) = delete;

    std::size_t shippingSize() const override { return 2; }
    bool hasAttributes() const override { return false; }
    // "default" (only when set) and "records".
    Shipping* getShipping(std::size_t index, bool attributes) override;
    // The default key becomes null; the records stay.
    void setDefault() override;
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    char const* getTag() const override;

    Package* clone() const override;
    // Shares nothing with this database, the default and what its records element kept included.
    Package* cloneIndependent() const override;
    Package* cloneEmpty() const override;
    unsigned int getID() const override;
    Package* getExport() const override { return clone(); }
    // Merges every entry of another database of this kind, in key order.
    void merge(Package const& other) override;

    // A new database of copies of the records the filter accepts (all without a filter); the
    // default is not carried over.
    virtual D* cloneIndependent(std::shared_ptr<Filter> filter) const;
    virtual iterator begin() { return m_records.edit().begin(); }
    virtual const_iterator begin() const { return m_records.items().begin(); }
    virtual iterator end() { return m_records.edit().end(); }
    virtual const_iterator end() const { return m_records.items().end(); }
    // A record under a unique name, copied from the template record when there is one (named after
    // it), else fresh and named `name`; under `key`, or a new key when it is null.
    virtual Pair createRecord(Key const& templateKey, String const& name, Key const& key);
    // False when no record has that key.
    virtual bool setDeprecated(Key const& key, bool deprecated);
    virtual bool deleteRecord(Key const& key);
    // Places a view of this database, or of an independent copy, in a collection.
    virtual void initialiseStorage(C& collection, bool independent, FilterList const& filters) = 0;
    // Takes what a collection read.
    virtual bool mergeStorage(C& collection) = 0;
    // Drops the entries without a record.
    virtual void checkIntegrity();
    virtual std::shared_ptr<NameList> getNameList() const;
    // Renames the record so that no other holds its name; a deprecated holder of the name gives it
    // up and takes the generated one instead.
    virtual void getUniqueName(RecordPtr const& record) const;
    // Renames a deprecated record that gives its name up to another. A placeholder, never edited,
    // keeps its null edit time, so that a real record merged later under its key still replaces it.
    static void renameHolder(R& holder, String const& name);
    virtual void getUniqueIndex(Key& key) const;
    // Merges one record from outside: a newer record replaces the one of its key, a new key is
    // added under a unique name.
    virtual void merge(Pair const& pair);
    // Empties the database.
    void clear() override;
    bool validate() override;
    // Adds a pair whose key is new, renaming its record as a record made here would be named; the
    // pair's key becomes the one used (null when none could be).
    virtual void mergeNewRecord(Pair& pair);
    virtual const_iterator seekIndex(Key const& key) const { return m_records.items().find(key); }
    virtual iterator seekIndex(Key const& key) { return m_records.edit().find(key); }
    virtual void removeIndex(iterator position, Key const& key);
    virtual void mergeIndex(iterator position, Key const& key, RecordPtr const& record);

    // Null for a null or missing key, and for a deprecated record when excludeDeprecated is set.
    RecordPtr findRecord(Key const& key, bool excludeDeprecated) const;
    // The key of the first record in key order with that name other than `excluded`; null when
    // there is none.
    Key findRecord(String const& name, Key const& excluded) const;
    // The record of the key; with create a missing key gets a placeholder: deprecated, with the
    // null edit time, so that any real record merged later replaces it.
    RecordPtr getRecord(Key const& key, bool create);
    // The default becomes the key only when it names a record that is not deprecated.
    void setDefaultRecord(Key const& key);
    // The default when it names a current record, else the first current record in key order
    // (null when there is none), which becomes the default.
    Key getDefaultRecord();
    Key const& getDefault() const { return m_default; }
    std::size_t size() const { return m_records.items().size(); }
    RecordList& getRecordList() { return m_records; }

protected:
    // What differs per database: the record for an element tag (null when the tag names none), a
    // fresh record, and the fresh record a merge makes for an incoming one.
    virtual R* newRecordFor(String const& tag) const = 0;
    virtual R* newEmptyRecord() const = 0;
    virtual R* newMergeRecord(R const&) const { return newEmptyRecord(); }
    // The name a new record asks for when made under `name` (an empty name gives the default
    // record name).
    virtual String requestedName(String const& name) const;

private:
    // Names the record, finds it a key and a unique name, and stores it.
    Pair insertNew(RecordPtr const& record, String const& name, Key key);

    RecordList m_records;
    Key m_default;
};

} // namespace zelvane
