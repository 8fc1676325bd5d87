// The sections of a library part by four-character type (scripts, pictures, parameter
// definitions), read from the host on first use. The memo owns every handle it holds.
#pragma once

#include "ACAPI/LibraryParts.hpp"
#include "GSRoot/GSRoot.hpp"

#include <cstddef>
#include <map>

namespace zelvane {

class ComponentResourceMemo {
public:
    // Handles by section type (null allowed), in type order.
    class SectionList : public std::map<UInt32, GSHandle> {
    public:
        SectionList() = default;
        // Every handle is duplicated.
        SectionList(const SectionList& other);
        SectionList& operator=(const SectionList& other);
        ~SectionList();
        // Disposes the entry's handle and erases it.
        void eraseSection(iterator position);
        void clearSections();
    };

    ComponentResourceMemo() = default;
    ComponentResourceMemo(const ComponentResourceMemo&) = default;
    ComponentResourceMemo& operator=(const ComponentResourceMemo&) = default;
    virtual ~ComponentResourceMemo() = default;

    // The number of sections (read first when none are held).
    std::size_t size() const;
    // The handle of a section (the memo keeps it), null when absent. 'PARD' of a part that holds
    // parameters is a fresh handle of its parameter records, which the caller disposes with
    // ACAPI_DisposeAddParHdl; null when they cannot be packed.
    GSHandle getSection(UInt32 type) const;
    // The section at a position in type order and its type; null past the end. 'PARD' of a part
    // that holds parameters is a fresh parameter-definition section the caller disposes, or the
    // held handle when it cannot be made.
    GSHandle getSection(std::size_t position, UInt32& type) const;
    // The type of the section at a position in type order; 0 past the end.
    UInt32 getSectionType(std::size_t position) const;
    // Stores the handle for the type, taking it over (null erases the section).
    void setSection(UInt32 type, GSHandle handle);
    // As setSection, without reading the sections first. A 'PARD' section of a part that holds
    // parameters only marks them loaded: the handle is disposed.
    void applySection(UInt32 type, GSHandle handle);
    // False when there was no such section.
    bool eraseSection(UInt32 type);
    // Reads every section of the part from the host; false when the part has no index or the
    // host refuses.
    bool loadSections() const;

    static bool isTextSection(UInt32 type);

    // What the part that carries the memo supplies: its library index, sizes and host record.
    virtual Int32 getResourceIndex() const = 0;
    virtual double getResourceWidth() const = 0;
    virtual double getResourceDepth() const = 0;
    virtual const API_LibPart& getResourceData() const = 0;

private:
    // Stores without reading first; the memo takes the handle over.
    void store(UInt32 type, GSHandle handle) const;

    mutable SectionList m_sections;
};

} // namespace zelvane
