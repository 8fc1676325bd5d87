// Arbitrary bytes read as a project's module data into a package store of a few registered
// packages (the register of deleted records among them), and as a preference file into another,
// each keeping what no package takes. A failed read must leave every package as it was; a
// successful one is written with what it kept, read into a fresh store and written again, and the
// two writes must be byte-identical. Where a standard XML parser (expat) reads the input, it must
// read the first write too, with every node that no package owns unchanged and in its place (a
// preference file is checked where it held a package: only then is it written back). No host
// memory block may outlive an input.
#include "Addon/AddonPrefs.h"
#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/MemoryBlock.h"
#include "Environment/String.h"
#include "Preset/DeletedDatabase.h"
#include "XML/PackageStore.h"

#include "Addon/TestPackages.h"
#include "XML/KeptNodes.h"
#include "XML/SampleBindings.h"
#include "sim/Memory.h"

#include "FuzzFault.h"
#include "HostMemoryCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

using namespace zelvane;
using testing_addon::CountPrefs;
using testing_addon::NamePrefs;

namespace {

// A package of every kind of leaf the XML binding knows, and a nested list.
class EntryPrefs : public Package {
public:
    static constexpr unsigned int ID = MakeGSType("ENTP");

    Package* clone() const override {
        auto copy = std::make_unique<EntryPrefs>();
        sample::Entry& to = copy->m_entry;
        sample::Entry const& from = m_entry;
        to.sourceName = from.sourceName;
        to.objectType = from.objectType;
        to.id = from.id;
        to.name = from.name;
        to.note = from.note;
        to.width = from.width;
        to.count = from.count;
        to.flags = from.flags;
        to.level = from.level;
        to.size = from.size;
        to.enabled = from.enabled;
        to.length = from.length;
        to.price = from.price;
        to.ratio = from.ratio;
        to.edited = from.edited;
        for (auto const& param : from.params.entries) {
            to.params.entries.push_back(std::make_unique<sample::ParamEntry>(*param));
        }
        return copy.release();
    }
    unsigned int getID() const override { return ID; }
    char const* getTag() const override { return "entryPrefs"; }
    bool hasAttributes() const override { return m_entry.hasAttributes(); }
    std::size_t shippingSize() const override { return m_entry.shippingSize(); }
    Shipping* getShipping(std::size_t index, bool attributes) override {
        return m_entry.getShipping(index, attributes);
    }
    Shipping* getShipping(String const& tag, String const& nameSpace) override {
        return m_entry.getShipping(tag, nameSpace);
    }
    void setDefault() override { m_entry.setDefault(); }

    sample::Entry m_entry;
};

// The packages an add-on would register, with values other than their defaults, so that a read
// that wrongly resets them shows.
void registerPackages(PackageStore& store) {
    store.setPackage(new AddonPrefs, false);
    store.setPackage(new CountPrefs(7), false);
    store.setPackage(new NamePrefs("kept"), false);
    auto entry = std::make_unique<EntryPrefs>();
    entry->m_entry.sourceName = "IFC \xC3\xA9";
    entry->m_entry.count = 3;
    entry->m_entry.width = 0.25;
    entry->m_entry.params.entries.push_back(std::make_unique<sample::ParamEntry>());
    entry->m_entry.params.entries.back()->name = "A";
    entry->m_entry.params.entries.back()->value = "1.5";
    store.setPackage(entry.release(), false);
    auto deleted = std::make_unique<DeletedDatabase>();
    for (char const* text :
         {"00000000-0000-0000-0000-0000000000A1", "00000000-0000-0000-0000-0000000000B2"}) {
        auto pair = deleted->createRecord(Guid(), String(), Guid(String(text)));
        pair.second->setName(text);
        pair.second->setDatabaseID(0x50534554);
        pair.second->setEditTime(Time(2024, 3, 5, 9, 4, 0));
    }
    deleted->setDeprecated(Guid(String("00000000-0000-0000-0000-0000000000B2")), true);
    store.setPackage(deleted.release(), false);
}

std::string moduleData(PackageStore const& store, UnknownElements const* kept = nullptr) {
    std::unique_ptr<MemoryBlock> block(store.getData(nullptr, kept));
    if (block == nullptr) {
        fault("writing the module data failed");
    }
    return block->size() == 0 ? std::string() : std::string(*block->getHandle(), std::size_t(block->size()));
}

// The whole store as a preference file, with what was kept of the file read.
std::string preferenceFile(PackageStore& store, UnknownElements const& kept) {
    String text;
    {
        DataBufferOut stream(&text);
        if (!store.exportTo(stream, kept)) {
            fault("writing the preference file failed");
        }
    }
    return std::string(text.data(), text.dataLength());
}

std::vector<Package*> packagesOf(PackageStore const& store) {
    TypeList codes;
    store.getTypes(codes);
    std::vector<Package*> packages;
    for (unsigned int code : codes) {
        packages.push_back(store.getPackage(code));
    }
    return packages;
}

void checkUnchanged(PackageStore const& store, std::vector<Package*> const& packages, std::string const& data,
                    char const* reader) {
    if (packagesOf(store) != packages) {
        fault(reader, "a failed read replaced packages");
    }
    std::string now = moduleData(store);
    if (now != data) {
        fault(reader, "a failed read changed packages:\n" + data + "\n----\n" + now);
    }
}

void checkWritesAgree(std::string const& once, std::string const& twice, char const* reader) {
    if (once != twice) {
        fault(reader, "writes differ:\n" + once + "\n----\n" + twice);
    }
}

std::string linesOf(std::vector<std::string> const& lines) {
    std::string text;
    for (std::string const& line : lines) {
        text += line + "\n";
    }
    return text;
}

// What the packages registered here do not own comes back. Whether one of their elements or
// attributes in no namespace is a field is theirs to say: those are left out.
void checkKept(std::string const& read, std::string const& written, bool module, char const* reader) {
    keptNodes::Ownership ownership{
        module ? "packageStore" : "frameworkPreferenceStore",
        {"addonPrefs", "countPrefs", "namePrefs", "entryPrefs", DeletedDatabase::xmlTag},
        [](std::string const&, std::string const&) { return keptNodes::Field::unknown; }};
    keptNodes::Nodes before = keptNodes::nodesOf(read, ownership, module);
    if (!before.error.empty()) {
        return;
    }
    keptNodes::Nodes after = keptNodes::nodesOf(written, ownership, module);
    if (!after.error.empty()) {
        fault(reader, "a well-formed input was written as a document a standard parser refuses (" +
                          after.error + "):\n" + written);
    }
    if (after.kept != before.kept) {
        fault(reader, "what no package owns did not come back as it was:\n" + linesOf(before.kept) +
                          "----\n" + linesOf(after.kept) + "----\n" + written);
    }
    // Each package is written, in no namespace.
    for (std::string const& tag : ownership.packages) {
        if (std::find(after.owned.begin(), after.owned.end(), "E {" + tag + "}") == after.owned.end()) {
            fault(reader, "no element of the package " + tag + " in no namespace was written:\n" + written);
        }
    }
}

void readModuleData(std::uint8_t const* data, std::size_t size) {
    PackageStore store;
    registerPackages(store);
    std::vector<Package*> before = packagesOf(store);
    std::string beforeData = moduleData(store);
    MemoryBlock block(data, int(size));
    UnknownElements kept;
    if (!store.setData(block, false, &kept)) {
        checkUnchanged(store, before, beforeData, "module data");
        return;
    }
    std::string once = moduleData(store, &kept);
    checkKept(std::string(reinterpret_cast<char const*>(data), size), once, true, "module data");
    PackageStore fresh;
    registerPackages(fresh);
    MemoryBlock written(once.data(), int(once.size()));
    UnknownElements keptAgain;
    if (!fresh.setData(written, false, &keptAgain)) {
        fault("the written module data did not read back:", once);
    }
    checkWritesAgree(once, moduleData(fresh, &keptAgain), "module data");
}

void readPreferenceFile(std::uint8_t const* data, std::size_t size) {
    PackageStore store("frameworkPreferenceStore");
    registerPackages(store);
    std::vector<Package*> before = packagesOf(store);
    std::string beforeData = moduleData(store);
    bool read = false;
    std::size_t found = 0;
    UnknownElements kept;
    {
        DataBufferIn in(data, int(size), Encoding::utf8);
        read = store.importFrom(in, false, &found, &kept);
    }
    if (!read) {
        checkUnchanged(store, before, beforeData, "preference file");
        return;
    }
    std::string once = preferenceFile(store, kept);
    if (found != 0) {
        checkKept(std::string(reinterpret_cast<char const*>(data), size), once, false, "preference file");
    }
    PackageStore fresh("frameworkPreferenceStore");
    registerPackages(fresh);
    UnknownElements keptAgain;
    {
        DataBufferIn in(once.data(), int(once.size()), Encoding::utf8);
        if (!fresh.importFrom(in, false, nullptr, &keptAgain)) {
            fault("the written preference file did not read back:", once);
        }
    }
    checkWritesAgree(once, preferenceFile(fresh, keptAgain), "preference file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    if (size > (1u << 20)) {
        return 0;
    }
    sim::MemoryStats start = sim::memoryStats();
    try {
        readModuleData(data, size);
        readPreferenceFile(data, size);
    } catch (std::bad_alloc const&) {
        // Only host memory failures may escape a read, and none is injected here.
    }
    checkHostMemory(start);
    return 0;
}
