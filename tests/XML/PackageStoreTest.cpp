#include "XML/PackageStore.h"

#include "Addon/Addon.h"
#include "Addon/Subscriber.h"

#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/MemoryBlock.h"
#include "Environment/String.h"
#include "XML/KeptNodes.h"
#include "XML/XMLTypeProxy.h"
#include "XML/XMLWriter.h"
#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

constexpr unsigned int alphaCode = MakeGSType("ALPH");
constexpr unsigned int betaCode = MakeGSType("BETA");
constexpr unsigned int gammaCode = MakeGSType("GAMM");

int liveSamples = 0;

// A package with an attribute and two elements. Its defaults are number -1, flag false, no name;
// a number of 666 fails validation.
class Sample : public Package {
public:
    Sample(unsigned int code, char const* tag, int number = -1, char const* name = "")
        : m_code(code), m_tag(tag), m_number(number), m_name(name) {
        ++liveSamples;
    }
    Sample(Sample const& other)
        : Shipping(other), Package(other), m_code(other.m_code), m_tag(other.m_tag), m_number(other.m_number),
          m_flag(other.m_flag), m_name(other.m_name), m_clearOptional(other.m_clearOptional),
          m_exported(other.m_exported), m_exportAs(other.m_exportAs), m_merged(other.m_merged) {
        ++liveSamples;
    }
    ~Sample() override { --liveSamples; }

    Package* clone() const override { return new Sample(*this); }
    unsigned int getID() const override { return m_code; }
    char const* getTag() const override { return m_tag; }
    std::size_t shippingSize() const override { return 3; }
    Shipping* getShipping(std::size_t index, bool) override {
        switch (index) {
        case 0:
            return new XMLTypeProxy<String>(m_name, "name", true);
        case 1:
            return new XMLTypeProxy<int>(m_number, "number");
        case 2:
            return new XMLTypeProxy<bool>(m_flag, "flag");
        default:
            return nullptr;
        }
    }
    Shipping* getShipping(String const& tag, String const&) override {
        for (std::size_t index = 0; index < 3; ++index) {
            std::unique_ptr<Shipping> field(getShipping(index, false));
            if (tag == dynamic_cast<XMLShipping&>(*field).getTag()) {
                return field.release();
            }
        }
        return nullptr;
    }
    void setDefault() override {
        m_number = -1;
        m_flag = false;
        m_name = "";
    }
    bool validate() override { return m_number != 666; }

    bool isClearOptional() const override { return m_clearOptional; }
    bool isExported() const override { return m_exported; }
    Package* getExport() const override {
        if (m_exportAs == 0) {
            return nullptr;
        }
        auto copy = std::make_unique<Sample>(*this);
        copy->m_number = m_exportAs;
        return copy.release();
    }
    void merge(Package const& other) override {
        auto const& sample = dynamic_cast<Sample const&>(other);
        m_number += sample.m_number;
        ++m_merged;
    }
    void shutdown() override { m_number = 0; }

    unsigned int m_code;
    char const* m_tag;
    int m_number;
    bool m_flag = false;
    String m_name;
    bool m_clearOptional = true;
    bool m_exported = true;
    int m_exportAs = 0;
    int m_merged = 0;
};

Sample* sampleOf(PackageStore const& store, unsigned int code) {
    return dynamic_cast<Sample*>(store.getPackage(code));
}

// A store of alpha (1, "a"), beta (2, "b") and gamma (3, "c").
void fill(PackageStore& store) {
    store.setPackage(new Sample(alphaCode, "alpha", 1, "a"), false);
    store.setPackage(new Sample(gammaCode, "gamma", 3, "c"), false);
    store.setPackage(new Sample(betaCode, "beta", 2, "b"), false);
}

std::string textOf(MemoryBlock const* block) {
    if (block == nullptr || block->size() == 0) {
        return std::string();
    }
    return std::string(*block->getHandle(), std::size_t(block->size()));
}

MemoryBlock blockOf(std::string const& text) {
    return MemoryBlock(text.data(), int(text.size()));
}

class CodeFilter : public PackageStore::Filter {
public:
    explicit CodeFilter(unsigned int code) : m_code(code) {}
    bool accept(Package const& package) const override { return package.getID() != m_code; }

private:
    unsigned int m_code;
};

std::string exported(PackageStore& store) {
    String text;
    {
        DataBufferOut out(&text);
        XMLWriter writer(&out);
        EXPECT_TRUE(writer.exportFrom(store, false, false, false, false));
    }
    return text.data();
}

struct Values {
    int alpha;
    int beta;
    int gamma;
};

Values valuesOf(PackageStore const& store) {
    return {sampleOf(store, alphaCode)->m_number, sampleOf(store, betaCode)->m_number,
            sampleOf(store, gammaCode)->m_number};
}

class UpdateAddon : public Addon {
public:
    const ProductInfo& getProductInfo() const override { return m_info; }
    String getProductVersion() const override { return String("1.0"); }
    String getBuildNo() const override { return String("1"); }

private:
    ProductInfo m_info{String("Package Test")};
};

// Records the codes of the update events it is offered.
class UpdateListener : public Subscriber {
public:
    explicit UpdateListener(std::vector<unsigned int> codes) : m_codes(std::move(codes)) {}
    void getSpec(std::vector<EventSpec>& specs) const override {
        for (unsigned int code : m_codes) {
            specs.push_back(EventSpec(code, 0));
        }
    }
    bool takeEvent(Event& event) override {
        heard.push_back(event.getSpec().getFamily());
        return true;
    }

    std::vector<unsigned int> heard;

private:
    std::vector<unsigned int> m_codes;
};

// What the tests' documents hold that the sample packages do not own: their fields are "number",
// "flag" and "name" (an attribute, or an element).
keptNodes::Nodes nodesOf(std::string const& document, bool module) {
    keptNodes::Ownership ownership{
        "prefs", {"alpha", "beta", "gamma"}, [](std::string const&, std::string const& name) {
            bool field = name == "number" || name == "flag" || name == "name" || name == "@name";
            return field ? keptNodes::Field::field : keptNodes::Field::kept;
        }};
    return keptNodes::nodesOf(document, ownership, module);
}

// Makes a test's add-on the global one for its length.
class AddonScope {
public:
    explicit AddonScope(Addon& current) { addon = &current; }
    ~AddonScope() { addon = nullptr; }
};

} // namespace

TEST(PackageStoreTest, UpdateEventsReachTheAddon) {
    PackageStore store;
    fill(store);
    // Outside the add-on's life publishing does nothing.
    store.publishAll();

    UpdateAddon current;
    AddonScope scope(current);
    UpdateListener listener({alphaCode, betaCode, gammaCode});
    current.addSubscriber(&listener);

    // Storing publishes when asked, also when the very package was stored already.
    store.setPackage(Sample(betaCode, "beta", 5), true);
    store.setPackage(*store.getPackage(betaCode), true);
    store.setPackage(new Sample(alphaCode, "alpha", 4), false);
    EXPECT_EQ(listener.heard, (std::vector<unsigned int>{betaCode, betaCode}));

    // Module data read, malformed or not, announces every package; an empty block none.
    listener.heard.clear();
    std::unique_ptr<MemoryBlock> data(store.getData());
    EXPECT_TRUE(store.setData(*data, true));
    EXPECT_FALSE(store.setData(blockOf("<alpha>"), true));
    EXPECT_TRUE(store.setData(MemoryBlock(), true));
    EXPECT_TRUE(store.setData(*data, false));
    const std::vector<unsigned int> all{alphaCode, betaCode, gammaCode};
    std::vector<unsigned int> twice = all;
    twice.insert(twice.end(), all.begin(), all.end());
    EXPECT_EQ(listener.heard, twice);

    // So does a preference document.
    listener.heard.clear();
    String document("<packageStore><beta><number>8</number></beta></packageStore>");
    DataBufferIn stream(document, Encoding::utf8);
    EXPECT_TRUE(store.importFrom(stream, true));
    EXPECT_EQ(listener.heard, all);
    EXPECT_EQ(sampleOf(store, betaCode)->m_number, 8);

    listener.heard.clear();
    store.publishUpdate(gammaCode);
    store.publishUpdate(MakeGSType("NONE"));
    EXPECT_EQ(listener.heard, (std::vector<unsigned int>{gammaCode}));
    current.removeSubscriber(&listener);
}

TEST(PackageStoreTest, StoringReplacingAndReleasing) {
    {
        PackageStore store;
        EXPECT_STREQ(store.getTag(), "packageStore");
        EXPECT_STREQ(PackageStore("frameworkPreferenceStore").getTag(), "frameworkPreferenceStore");
        EXPECT_FALSE(store.hasAttributes());

        Sample original(alphaCode, "alpha", 5);
        store.setPackage(original, false);
        Sample* stored = sampleOf(store, alphaCode);
        ASSERT_NE(stored, nullptr);
        EXPECT_NE(stored, &original);
        EXPECT_EQ(stored->m_number, 5);
        EXPECT_EQ(liveSamples, 2);

        // Another package of the code replaces the stored one, which is deleted.
        store.setPackage(Sample(alphaCode, "alpha", 6), false);
        EXPECT_EQ(liveSamples, 2);
        EXPECT_EQ(sampleOf(store, alphaCode)->m_number, 6);

        // The very package already stored changes nothing.
        Sample* adopted = new Sample(alphaCode, "alpha", 7);
        store.setPackage(adopted, false);
        store.setPackage(*adopted, false);
        store.setPackage(adopted, false);
        EXPECT_EQ(sampleOf(store, alphaCode), adopted);
        EXPECT_EQ(liveSamples, 2);
        store.setPackage(nullptr, false);
        EXPECT_EQ(store.shippingSize(), 1u);

        fill(store);
        TypeList codes{42};
        store.getTypes(codes);
        EXPECT_EQ(codes, (TypeList{42, alphaCode, betaCode, gammaCode}));
        EXPECT_EQ(store.getPackage(MakeGSType("NONE")), nullptr);
        EXPECT_EQ(store.releasePackage(MakeGSType("NONE")), nullptr);

        std::unique_ptr<Package> released(store.releasePackage(betaCode));
        ASSERT_NE(released, nullptr);
        EXPECT_EQ(released->getID(), betaCode);
        EXPECT_EQ(store.getPackage(betaCode), nullptr);

        Package* alpha = store.getPackage(alphaCode);
        Package* gamma = store.getPackage(gammaCode);
        store.releaseAllPackages();
        EXPECT_EQ(store.shippingSize(), 0u);
        delete alpha;
        delete gamma;
    }
    EXPECT_EQ(liveSamples, 0);
}

TEST(PackageStoreTest, FilterDecidesWhatIsHandedOut) {
    PackageStore store("prefs");
    fill(store);
    store.setFilter(new CodeFilter(betaCode));
    store.setFilter(new CodeFilter(alphaCode)); // the first filter is deleted (the leak checker would see it)

    EXPECT_EQ(store.getPackage(alphaCode, true), nullptr);
    EXPECT_NE(store.getPackage(alphaCode, false), nullptr);
    EXPECT_NE(store.getPackage(betaCode, true), nullptr);
    EXPECT_FALSE(store.isExported(alphaCode));
    EXPECT_TRUE(store.isExported(betaCode));
    EXPECT_FALSE(store.isExported(MakeGSType("NONE")));
    EXPECT_TRUE(store.isExported());

    std::unique_ptr<Shipping> first(store.getShipping(0, false));
    EXPECT_EQ(first, nullptr);
    std::unique_ptr<Shipping> second(store.getShipping(1, false));
    ASSERT_NE(second, nullptr);
    EXPECT_STREQ(dynamic_cast<XMLShipping&>(*second).getTag(), "beta");
    EXPECT_EQ(std::unique_ptr<Shipping>(store.getShipping(3, false)), nullptr);
    EXPECT_EQ(std::unique_ptr<Shipping>(store.getShipping(String("alpha"), String())), nullptr);
    // An element of another namespace is no package of the store.
    EXPECT_EQ(std::unique_ptr<Shipping>(store.getShipping(String("gamma"), String("any"))), nullptr);
    std::unique_ptr<Shipping> byTag(store.getShipping(String("gamma"), String()));
    ASSERT_NE(byTag, nullptr);
    EXPECT_STREQ(dynamic_cast<XMLShipping&>(*byTag).getTag(), "gamma");

    // Written as an element of its own, the store encloses the packages its filter passes.
    EXPECT_EQ(exported(store), "<prefs><beta name=\"b\"><number>2</number><flag>0</flag></beta>"
                               "<gamma name=\"c\"><number>3</number><flag>0</flag></gamma></prefs>");

    store.setFilter(nullptr);
    EXPECT_NE(store.getPackage(alphaCode, true), nullptr);
}

TEST(PackageStoreTest, ModuleDataIsElementsBackToBack) {
    PackageStore store("frameworkPreferenceStore");
    fill(store);
    sampleOf(store, betaCode)->m_flag = true;
    sampleOf(store, gammaCode)->m_name = "<&\"quoted\">";
    store.setFilter(new CodeFilter(alphaCode)); // not consulted

    std::unique_ptr<MemoryBlock> all(store.getData());
    const std::string expected = "<alpha name=\"a\"><number>1</number><flag>0</flag></alpha>"
                                 "<beta name=\"b\"><number>2</number><flag>1</flag></beta>"
                                 "<gamma name=\"&lt;&amp;&quot;quoted&quot;&gt;\"><number>3</number>"
                                 "<flag>0</flag></gamma>";
    EXPECT_EQ(textOf(all.get()), expected);

    TypeList codes{gammaCode, MakeGSType("NONE"), alphaCode};
    std::unique_ptr<MemoryBlock> some(store.getData(&codes));
    EXPECT_EQ(textOf(some.get()),
              "<gamma name=\"&lt;&amp;&quot;quoted&quot;&gt;\"><number>3</number>"
              "<flag>0</flag></gamma><alpha name=\"a\"><number>1</number><flag>0</flag></alpha>");

    TypeList none;
    std::unique_ptr<MemoryBlock> empty(store.getData(&none));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->size(), 0);

    // Read back into a store of the same packages at other values, then written again: the
    // same bytes.
    PackageStore other("frameworkPreferenceStore");
    other.setPackage(new Sample(alphaCode, "alpha", 10, "x"), false);
    other.setPackage(new Sample(betaCode, "beta", 20, "y"), false);
    other.setPackage(new Sample(gammaCode, "gamma", 30, "z"), false);
    EXPECT_TRUE(other.setData(*all, false));
    std::unique_ptr<MemoryBlock> again(other.getData());
    EXPECT_EQ(textOf(again.get()), expected);
    EXPECT_TRUE(sampleOf(other, betaCode)->m_flag);
    EXPECT_STREQ(sampleOf(other, gammaCode)->m_name.data(), "<&\"quoted\">");
}

TEST(PackageStoreTest, ModuleDataReadsOnlyWhatItHolds) {
    PackageStore store;
    fill(store);

    // Packages missing from the block go back to their defaults; unknown elements are skipped.
    MemoryBlock one = blockOf("<unknown><x>1</x></unknown><beta name=\"n\"><number>9</number></beta>");
    EXPECT_TRUE(store.setData(one, false));
    Values values = valuesOf(store);
    EXPECT_EQ(values.alpha, -1);
    EXPECT_EQ(values.beta, 9);
    EXPECT_EQ(values.gamma, -1);
    EXPECT_STREQ(sampleOf(store, betaCode)->m_name.data(), "n");
    EXPECT_STREQ(sampleOf(store, alphaCode)->m_name.data(), "");

    // An element of the store's own tag is read as the store.
    MemoryBlock enclosed = blockOf("<packageStore><gamma><number>4</number></gamma></packageStore>");
    EXPECT_TRUE(store.setData(enclosed, false));
    values = valuesOf(store);
    EXPECT_EQ(values.beta, -1);
    EXPECT_EQ(values.gamma, 4);

    // No package is created by reading.
    MemoryBlock foreign = blockOf("<delta><number>4</number></delta>");
    EXPECT_TRUE(store.setData(foreign, false));
    EXPECT_EQ(store.shippingSize(), 3u);

    // An empty block resets every package.
    fill(store);
    EXPECT_TRUE(store.setData(MemoryBlock(), false));
    values = valuesOf(store);
    EXPECT_EQ(values.alpha, -1);
    EXPECT_EQ(values.beta, -1);
    EXPECT_EQ(values.gamma, -1);
    EXPECT_EQ(liveSamples, 3);
}

TEST(PackageStoreTest, MalformedModuleDataLosesNothing) {
    const char* blocks[] = {
        "<alpha><number>5</number></alpha><beta><number>6</number>",        // ends inside an element
        "<alpha><number>5</number></alpha><beta><number>6</numb></beta>",   // mismatched end tag
        "<alpha><number>5</number></alpha><beta><flag>maybe</flag></beta>", // a leaf refuses its text
        "<alpha><number>666</number></alpha>",                              // a package refuses itself
        "<alpha name=\"x><number>5</number></alpha>",                       // unclosed attribute
        "<alpha><number>5</number></alpha><beta/><?x",                      // broken markup
    };
    for (const char* text : blocks) {
        SCOPED_TRACE(text);
        PackageStore store;
        fill(store);
        sampleOf(store, betaCode)->m_flag = true;
        Package* alpha = store.getPackage(alphaCode);
        EXPECT_FALSE(store.setData(blockOf(text), true));
        Values values = valuesOf(store);
        EXPECT_EQ(values.alpha, 1);
        EXPECT_EQ(values.beta, 2);
        EXPECT_EQ(values.gamma, 3);
        EXPECT_TRUE(sampleOf(store, betaCode)->m_flag);
        EXPECT_STREQ(sampleOf(store, gammaCode)->m_name.data(), "c");
        EXPECT_EQ(store.getPackage(alphaCode), alpha);
    }
    EXPECT_EQ(liveSamples, 0);
}

TEST(PackageStoreTest, AllocationFailuresWhileReadingLoseNothing) {
    PackageStore source;
    fill(source);
    std::unique_ptr<MemoryBlock> data(source.getData());
    ASSERT_NE(data, nullptr);
    for (int round = 0; round < 2; ++round) {
        PackageStore store;
        store.setPackage(new Sample(alphaCode, "alpha", 10), false);
        store.setPackage(new Sample(betaCode, "beta", 20), false);
        store.setPackage(new Sample(gammaCode, "gamma", 30), false);
        sim::failNextAllocations(1);
        bool read = false;
        try {
            read = round == 0 ? store.setData(*data, false) : false;
            if (round == 1) {
                DataBufferIn stream(*data, Encoding::utf8);
                read = store.importFrom(stream, false);
            }
        } catch (std::bad_alloc const&) {
        }
        sim::failNextAllocations(0);
        Values values = valuesOf(store);
        if (read) {
            EXPECT_EQ(values.alpha, 1);
            EXPECT_EQ(values.gamma, 3);
        } else {
            EXPECT_EQ(values.alpha, 10);
            EXPECT_EQ(values.beta, 20);
            EXPECT_EQ(values.gamma, 30);
        }
    }
}

TEST(PackageStoreTest, PreferenceDocumentsKeepWhatTheyLack) {
    PackageStore store("frameworkPreferenceStore");
    fill(store);

    String document(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<frameworkPreferenceStore>\n"
        "\t<gamma name=\"g\">\n\t\t<number>33</number>\n\t</gamma>\n</frameworkPreferenceStore>\n");
    DataBufferIn stream(document, Encoding::utf8);
    EXPECT_TRUE(store.importFrom(stream, false));
    Values values = valuesOf(store);
    EXPECT_EQ(values.alpha, 1);
    EXPECT_EQ(values.beta, 2);
    EXPECT_EQ(values.gamma, 33);
    EXPECT_STREQ(sampleOf(store, gammaCode)->m_name.data(), "g");
    EXPECT_FALSE(sampleOf(store, gammaCode)->m_flag);

    // The store's own form written out reads back whole.
    sampleOf(store, alphaCode)->m_number = 100;
    String written;
    {
        DataBufferOut out(&written);
        XMLWriter writer(&out);
        ASSERT_TRUE(writer.exportFrom(store, true, true, true, true));
    }
    PackageStore copy("frameworkPreferenceStore");
    fill(copy);
    DataBufferIn again(written, Encoding::utf8);
    EXPECT_TRUE(copy.importFrom(again, false));
    values = valuesOf(copy);
    EXPECT_EQ(values.alpha, 100);
    EXPECT_EQ(values.gamma, 33);

    // A broken document changes nothing.
    String broken("<frameworkPreferenceStore><alpha><number>7</number></alpha><beta>");
    DataBufferIn bad(broken, Encoding::utf8);
    EXPECT_FALSE(copy.importFrom(bad, false));
    EXPECT_EQ(valuesOf(copy).alpha, 100);

    // A root of another namespace is not the store's, nor is a package's: no package is read.
    for (char const* text : {"<frameworkPreferenceStore xmlns='urn:x'><alpha><number>7</number></alpha>"
                             "</frameworkPreferenceStore>",
                             "<alpha xmlns='urn:x'><number>7</number></alpha>"}) {
        String foreign(text);
        DataBufferIn other(foreign, Encoding::utf8);
        std::size_t found = 1;
        EXPECT_TRUE(copy.importFrom(other, false, &found)) << text;
        EXPECT_EQ(found, 0u) << text;
        EXPECT_EQ(valuesOf(copy).alpha, 100) << text;
    }
}

TEST(PackageStoreTest, ClearingMergingExportingShuttingDown) {
    PackageStore store("prefs");
    fill(store);
    sampleOf(store, betaCode)->m_clearOptional = false;
    store.clearPackages(true);
    Values values = valuesOf(store);
    EXPECT_EQ(values.alpha, 1);
    EXPECT_EQ(values.beta, -1);
    EXPECT_EQ(values.gamma, 3);
    store.clearPackages(false);
    EXPECT_EQ(valuesOf(store).alpha, -1);
    EXPECT_EQ(store.shippingSize(), 3u);

    fill(store);
    Time before = store.getAccessTime();
    store.setDefault();
    EXPECT_EQ(valuesOf(store).gamma, -1);
    EXPECT_FALSE(store.getAccessTime() < before);

    // Merging: packages of a stored code merge, the others are cloned in.
    PackageStore other;
    other.setPackage(new Sample(alphaCode, "alpha", 5), false);
    other.setPackage(new Sample(MakeGSType("DELT"), "delta", 8), false);
    fill(store);
    store.merge(other);
    EXPECT_EQ(sampleOf(store, alphaCode)->m_number, 6);
    EXPECT_EQ(sampleOf(store, alphaCode)->m_merged, 1);
    ASSERT_NE(sampleOf(store, MakeGSType("DELT")), nullptr);
    EXPECT_NE(sampleOf(store, MakeGSType("DELT")), sampleOf(other, MakeGSType("DELT")));

    // By default nothing is exported.
    std::unique_ptr<PackageStore> none(store.getExport());
    EXPECT_STREQ(none->getTag(), "prefs");
    EXPECT_EQ(none->shippingSize(), 0u);
    sampleOf(store, betaCode)->m_exportAs = 50;
    sampleOf(store, gammaCode)->m_exportAs = 60;
    sampleOf(store, gammaCode)->m_exported = false;
    std::unique_ptr<PackageStore> some(store.getExport());
    ASSERT_EQ(some->shippingSize(), 1u);
    EXPECT_EQ(sampleOf(*some, betaCode)->m_number, 50);

    store.shutdown();
    EXPECT_EQ(valuesOf(store).beta, 0);
}

TEST(PackageStoreTest, Copies) {
    PackageStore store("prefs");
    fill(store);
    store.setFilter(new CodeFilter(alphaCode));

    PackageStore copy(store);
    EXPECT_STREQ(copy.getTag(), "prefs");
    EXPECT_NE(copy.getPackage(alphaCode, true), nullptr); // no filter
    EXPECT_NE(copy.getPackage(alphaCode), store.getPackage(alphaCode));
    EXPECT_EQ(valuesOf(copy).beta, 2);

    std::unique_ptr<PackageStore> independent(store.cloneIndependent());
    EXPECT_EQ(independent->getAccessTime(), store.getAccessTime());
    EXPECT_EQ(valuesOf(*independent).gamma, 3);
    EXPECT_NE(independent->getPackage(alphaCode, true), nullptr);

    std::unique_ptr<PackageStore> empty(store.cloneEmpty());
    EXPECT_STREQ(empty->getTag(), "prefs");
    EXPECT_EQ(empty->shippingSize(), 3u);
    EXPECT_EQ(valuesOf(*empty).gamma, -1);
    EXPECT_EQ(valuesOf(store).gamma, 3);

    std::unique_ptr<Package> emptyPackage(store.getPackage(betaCode)->cloneEmpty());
    EXPECT_EQ(dynamic_cast<Sample&>(*emptyPackage).m_number, -1);
    std::unique_ptr<Package> independentPackage(store.getPackage(betaCode)->cloneIndependent());
    EXPECT_EQ(dynamic_cast<Sample&>(*independentPackage).m_number, 2);
    String name("legacy");
    EXPECT_TRUE(store.getPackage(betaCode)->updateLegacyName(name));
    EXPECT_STREQ(name.data(), "legacy");
}

TEST(PackageStoreTest, WhatNoPackageTakesComesBackAsItWas) {
    struct Case {
        char const* name;
        char const* document;
        bool module = false;           // module data, elements back to back
        char const* written = nullptr; // for a document no standard parser reads: what it keeps
    };
    Case const cases[] = {
        {"a field and an attribute that a later version added to a package",
         "<prefs><alpha unit='u'><number>50</number><unit>beds</unit>note<!-- c --></alpha></prefs>"},
        {"comments, processing instructions and text around and between the packages",
         "<?first pi?><!-- head --><prefs><?pi a?><!-- the ward's count -->text &amp; more<alpha><number>50"
         "</number></alpha> between <later/><![CDATA[<x>]]></prefs><!-- end --><?last?>"},
        {"an element of another namespace with a package's tag, and its fields'",
         "<prefs xmlns:l='urn:later'><alpha l:name='x'><l:number>8</l:number><number>50</number></alpha>"
         "<l:alpha><number>9</number><more>m</more></l:alpha></prefs>"},
        {"a package's twin in the namespace a default declaration gives",
         "<prefs><alpha><number>50</number></alpha><alpha "
         "xmlns=\"urn:later\"><number>9</number><more>m</more>"
         "</alpha></prefs>"},
        {"module data with a package's twin and a field's in a default namespace",
         "<alpha xmlns='urn:later'><number>9</number></alpha><alpha><number xmlns='urn:later'>7</number>"
         "<number>50</number></alpha>",
         true},
        {"a field written twice, and an element of a field that an attribute gave",
         "<prefs><alpha name='a'><number>9<!-- c --></number><name>b</name><flag>1</flag><number>50</number>"
         "</alpha></prefs>"},
        {"a field written twice after a field the package writes after it",
         "<alpha><flag>1</flag><number>9</number><number>50</number></alpha>", true},
        {"a package written twice: the last is read",
         "<prefs><alpha><number>9</number><more>m</more></alpha><!-- c --><gamma><number>3</number></gamma>"
         "<alpha><number>50</number></alpha><alpha xmlns=''><number>50</number></alpha></prefs>"},
        {"module data with a package written twice, and twice inside the store's element",
         "<alpha><number>8</number></alpha><prefs><alpha><number>9</number></alpha><alpha><number>50</number>"
         "</alpha></prefs>",
         true},
        {"root attributes named as packages bind none",
         "<prefs beta='x' alpha=\"7\"><alpha><number>50</number></alpha></prefs>"},
        {"an element of the store's tag inside its root",
         "<prefs><prefs><later>x</later></prefs><alpha><number>50</number></alpha></prefs>"},
        {"packages of a later version, the root's attributes and namespaces",
         "<prefs xmlns:l=\"urn:later\" version='3'><later><level>4</level><names><name>A &amp; "
         "B</name><name/>"
         "</names></later><laterMixed>before<!-- c > --><b>x</b><![CDATA[<a>]]>after &amp; "
         "&#233;</laterMixed>"
         "<l:laterNs>n</l:laterNs><alpha><number>50</number></alpha></prefs>"},
        {"a declared encoding",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<prefs><later>Caf\xE9</later>"
         "<alpha><number>50</number></alpha></prefs>"},
        {"module data", "<!-- m --><alpha><number>50</number><unit>u</unit></alpha>text<later a='1'/><?pi?>",
         true},
        {"module data inside the store's own element, with its attributes and namespaces",
         "<!-- m --><prefs a=\"1\" xmlns:l=\"urn:l\"><alpha><number>50</number></alpha><l:note>n</l:note>"
         "</prefs><later/><prefs/>",
         true},
        {"module data that begins with two declarations",
         "<?xml version=\"1.0\"?><?XML encoding=\"ISO-8859-1\"?>"
         "<later>Caf\xC3\xA9</later><alpha><number>50</number></alpha>",
         true, "<later>Caf\xC3\xA9</later>"},
        {"a declaration inside kept content switches no encoding",
         "<prefs><later><?xml version=\"1.0\" encoding=\"ISO-8859-1\"?></later><later2>Caf\xC3\xA9</later2>"
         "<alpha><number>50</number></alpha></prefs>",
         false,
         "\t<later><?xml version=\"1.0\" "
         "encoding=\"ISO-8859-1\"?></later>\n\t<later2>Caf\xC3\xA9</later2>\n"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        // Read, a value changed, written: three times.
        std::string document = c.document;
        std::vector<std::string> written;
        for (int round = 0; round < 3; ++round) {
            PackageStore store("prefs");
            fill(store);
            UnknownElements kept;
            DataBufferIn in(document.data(), int(document.size()), Encoding::utf8);
            ASSERT_TRUE(c.module ? store.setData(blockOf(document), false, &kept)
                                 : store.importFrom(in, false, nullptr, &kept));
            EXPECT_EQ(sampleOf(store, alphaCode)->m_number, round == 0 ? 50 : 51) << document;
            EXPECT_EQ(sampleOf(store, betaCode)->m_number, c.module ? -1 : 2)
                << "a package the document lacks";
            sampleOf(store, alphaCode)->m_number = 51;
            String text;
            {
                DataBufferOut out(&text);
                std::unique_ptr<MemoryBlock> data(c.module ? store.getData(nullptr, &kept) : nullptr);
                ASSERT_TRUE(c.module ? data != nullptr : store.exportTo(out, kept));
                document = c.module ? textOf(data.get()) : text.data();
            }
            written.push_back(document);
        }
        EXPECT_EQ(written[1], written[0]);
        EXPECT_EQ(written[2], written[0]);
        if (c.written != nullptr) {
            EXPECT_NE(written[0].find(c.written), std::string::npos) << written[0];
            continue;
        }
        keptNodes::Nodes before = nodesOf(c.document, c.module);
        keptNodes::Nodes after = nodesOf(written[0], c.module);
        ASSERT_EQ(before.error, "");
        EXPECT_EQ(after.error, "") << written[0];
        EXPECT_EQ(after.kept, before.kept) << written[0];
        EXPECT_EQ(std::count(after.owned.begin(), after.owned.end(), "T {alpha}/number 51"), 1) << written[0];
    }
}
