#include "Environment/String.h"

#include "Environment/Memory.h"

#include "GSRoot/CH.hpp"
#include "GSRoot/UniString.hpp"
#include "IO/Name.hpp"
#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using zelvane::String;

namespace {

constexpr unsigned int npos = String::npos;

// "é" (2 bytes), "€" (3 bytes), "😀" (4 bytes, outside the BMP).
const char* const eAcute = "\xC3\xA9";
const char* const euro = "\xE2\x82\xAC";
const char* const smile = "\xF0\x9F\x98\x80";

String cat(std::initializer_list<const char*> parts) {
    String s;
    for (const char* p : parts) {
        s += p;
    }
    return s;
}

} // namespace

TEST(StringTest, EmptyAndClearedCompareEqual) {
    String none;
    String cleared("abc");
    cleared.clear();
    EXPECT_EQ(none.capacity(), 0u);
    EXPECT_EQ(cleared.capacity(), 3u); // clearing keeps the buffer
    for (String const* s : {&none, &cleared}) {
        EXPECT_TRUE(s->empty());
        EXPECT_EQ(s->size(), 0u);
        EXPECT_STREQ(s->data(), "");
    }
    EXPECT_EQ(none.compare(cleared), 0);
    EXPECT_TRUE(none == cleared);
    EXPECT_EQ(sim::memoryStats().livePointers, 1u); // only the cleared one holds a block
}

TEST(StringTest, CompareOrders) {
    EXPECT_LT(String("abc").compare("abd"), 0);
    EXPECT_TRUE(String("abc") < String("abd"));
    EXPECT_TRUE(String("") < String("a"));
    EXPECT_TRUE(String("a") > String(""));
    EXPECT_GT(String("b").compare("abc"), 0);
    EXPECT_LT(String("ab").compare("abc"), 0);
    EXPECT_NE(String("A").compare("a"), 0);
    EXPECT_EQ(String(eAcute).compare(eAcute), 0);
    EXPECT_TRUE(String("x") == "x");
    EXPECT_TRUE(String("x") != "y");
    EXPECT_TRUE(String() == "");
    EXPECT_TRUE(String() == static_cast<const char*>(nullptr));
    EXPECT_TRUE(String("x") != "");
    EXPECT_TRUE(String("ab") != "a");
    // Code-point order, so a character outside the BMP sorts after one inside it.
    EXPECT_LT(String(euro).compare(smile), 0);
}

TEST(StringTest, ConstructFromBytesKeepsWholeCharacters) {
    String ae = cat({"a", eAcute});
    EXPECT_EQ(String(ae.data(), 2), "a");
    EXPECT_EQ(String(ae.data(), 3), ae);
    EXPECT_EQ(String("abcdef", 3), "abc");
    EXPECT_EQ(String("ab\0cd", 5), "ab");
    EXPECT_EQ(String(static_cast<const char*>(nullptr)), "");
    EXPECT_EQ(String(3, 'x'), "xxx");
    // A buffer that is not terminated is read no further than the limit.
    char raw[3] = {'a', '\xC3', '\xA9'};
    EXPECT_EQ(String(raw, 3), ae);
    EXPECT_EQ(String(raw, 2), "a");
}

TEST(StringTest, ConstructFromPartOfString) {
    String text = cat({"a", eAcute, "bc"});
    EXPECT_EQ(String(text, 1), cat({eAcute, "bc"}));
    EXPECT_EQ(String(text, 1, 3), cat({eAcute, "b"})); // len is a byte limit
    EXPECT_EQ(String(text, 1, 1), "");                 // half a character is dropped
    EXPECT_EQ(String(text, 4), "");
    EXPECT_EQ(String(text, 9), "");
    EXPECT_EQ(String(text, 0, 0), "");
    EXPECT_EQ(String(String(), 0), "");
}

TEST(StringTest, Substr) {
    String abc("abc");
    EXPECT_EQ(abc.substr(1, 100), "bc");
    EXPECT_EQ(abc.substr(3), "");
    EXPECT_EQ(abc.substr(npos), "");
    EXPECT_EQ(abc.substr(0, 0), "");
    EXPECT_EQ(String().substr(0), "");
    EXPECT_EQ(cat({"a", smile, "b"}).substr(1, 1), smile);
}

TEST(StringTest, MultiByteCharacterCountsAsOnePosition) {
    String s = cat({eAcute, "1"});
    EXPECT_EQ(s.size(), 2u);
    EXPECT_EQ(s.dataLength(1), 2u);
    EXPECT_EQ(s.dataLength(), 3u);
    EXPECT_EQ(s.find("1"), 1u);
    EXPECT_EQ(s[1], '1');
    EXPECT_EQ(s[0], '\xC3');
}

TEST(StringTest, IndexOutOfRangeThrows) {
    String s("ab");
    EXPECT_EQ(s[1], 'b');
    s[1] = 'c';
    EXPECT_EQ(s, "ac");
    EXPECT_THROW(s[2], std::out_of_range);
    EXPECT_THROW(s[npos], std::out_of_range);
    String const& c = s;
    EXPECT_THROW(c[2], std::out_of_range);
    String empty;
    EXPECT_THROW(empty[0], std::out_of_range);
    try {
        s[5];
    } catch (std::out_of_range const& e) {
        EXPECT_STREQ(e.what(), "");
    }
}

TEST(StringTest, ReplaceInsertErase) {
    String s("abc");
    s.replace(npos, 0, "x", 0, npos);
    EXPECT_EQ(s, "abcx");
    s.erase(1, npos);
    EXPECT_EQ(s, "a");
    s.insert(0, "x", 0, npos);
    EXPECT_EQ(s, "xa");
    s.replace(1, 5, "hello", 1, 3);
    EXPECT_EQ(s, "xell");
    s.replace(9, 0, "!");
    EXPECT_EQ(s, "xell!");
    String u = cat({"a", euro, "b"});
    u.replace(1, 1, eAcute);
    EXPECT_EQ(u, cat({"a", eAcute, "b"}));
    u.erase(0, 2);
    EXPECT_EQ(u, "b");
    // Replacing with part of itself.
    String self("abcdef");
    self.replace(0, 2, self, 3, 2);
    EXPECT_EQ(self, "decdef");
}

TEST(StringTest, AppendAndGrowthIsExact) {
    String s;
    s.append("abc", npos);
    EXPECT_EQ(s.capacity(), 3u);
    s.append("defg", 2);
    EXPECT_EQ(s, "abcde");
    EXPECT_EQ(s.capacity(), 5u);
    s += 'x';
    s += String("yz");
    EXPECT_EQ(s, "abcdexyz");
    s.append("q", 0);
    EXPECT_EQ(s, "abcdexyz");
    s.reserve(3);
    EXPECT_EQ(s.capacity(), 8u); // never shrinks
    s.reserve(20);
    EXPECT_EQ(s.capacity(), 20u);
    String fresh;
    fresh.reserve(0);
    EXPECT_EQ(fresh.capacity(), 0u);
    fresh.reserve(5);
    EXPECT_EQ(fresh.capacity(), 5u);
    EXPECT_TRUE(fresh.empty());
    EXPECT_EQ(s, "abcdexyz");
}

TEST(StringTest, AppendAndAssignFromOwnBuffer) {
    String s("abcdef");
    s.append(s.data() + 2, npos); // grows, so the source block is freed
    EXPECT_EQ(s, "abcdefcdef");
    s += s;
    EXPECT_EQ(s, "abcdefcdefabcdefcdef");
    String t("hello");
    t.append(t);
    EXPECT_EQ(t, "hellohello");
    String u("hello world");
    u.assign(u.data() + 6, npos);
    EXPECT_EQ(u, "world");
    u.assign(u.data(), 2); // its own buffer: nothing happens
    EXPECT_EQ(u, "world");
    String v("abc");
    v = v;
    EXPECT_EQ(v, "abc");
}

TEST(StringTest, Resize) {
    String s;
    s.resize(0);
    EXPECT_EQ(s.capacity(), 0u);
    s.resize(3, 'z');
    EXPECT_EQ(s, "zzz");
    s.resize(1);
    EXPECT_EQ(s, "z");
    EXPECT_EQ(s.capacity(), 3u);
    s.resize(4, '-');
    EXPECT_EQ(s, "z---");
}

TEST(StringTest, AllocationFailureKeepsText) {
    String s("abc");
    sim::failNextAllocations(1);
    EXPECT_THROW(s.append("defgh", npos), std::bad_alloc);
    EXPECT_EQ(s, "abc");
    sim::failNextAllocations(1);
    EXPECT_THROW(String("x"), std::bad_alloc);
    sim::failNextAllocations(1);
    EXPECT_THROW(s.reserve(100), std::bad_alloc);
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(s.capacity(), 3u);
}

TEST(StringTest, CopyToCharBuffer) {
    char buffer[8] = "zzzzzzz";
    String("abcdef").copyTo(buffer, 4);
    EXPECT_STREQ(buffer, "abc");
    String(cat({"ab", euro})).copyTo(buffer, 5); // the euro sign needs 3 bytes, 2 are left
    EXPECT_STREQ(buffer, "ab");
    // A stray byte that fits is kept: only a character cut at the end is left out.
    String("ab\xD8").copyTo(buffer, 4);
    EXPECT_STREQ(buffer, "ab\xD8");
    String("ab\xD8\xD8").copyTo(buffer, 4);
    EXPECT_STREQ(buffer, "ab\xD8");
    String("abc").copyTo(buffer, npos);
    EXPECT_STREQ(buffer, "abc");
    buffer[0] = 'q';
    String("abc").copyTo(buffer, 0); // no room even for the terminator
    EXPECT_EQ(buffer[0], 'q');
    String("abc").copyTo(buffer, 1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(String("abc").copyTo(static_cast<char*>(nullptr), 4), nullptr);
}

TEST(StringTest, CopyToUTF16BoundsByUnits) {
    struct Case {
        const char* text;
        unsigned int bytes;
        std::vector<unsigned short> expected;
    };
    String withSmile = cat({"a", smile, "b"});
    const std::vector<Case> cases = {
        {"abc", 8, {'a', 'b', 'c', 0}},
        {"abc", 6, {'a', 'b', 0}},
        {"abc", 2, {0}},
        {"abc", 3, {0}},
        {withSmile.data(), 6, {'a', 0}}, // the pair does not fit in 2 units with the 0
        {withSmile.data(), 8, {'a', 0xD83D, 0xDE00, 0}},
        {withSmile.data(), 10, {'a', 0xD83D, 0xDE00, 'b', 0}},
        {withSmile.data(), npos, {'a', 0xD83D, 0xDE00, 'b', 0}},
        {eAcute, 4, {0xE9, 0}},
    };
    for (Case const& c : cases) {
        std::vector<unsigned short> buffer(8, 0x7777);
        String(c.text).copyTo(buffer.data(), c.bytes);
        std::vector<unsigned short> written(buffer.begin(), buffer.begin() + c.expected.size());
        EXPECT_EQ(written, c.expected) << c.text << " in " << c.bytes;
        if (c.bytes != npos) {
            for (std::size_t i = c.bytes / 2; i < buffer.size(); ++i) {
                EXPECT_EQ(buffer[i], 0x7777) << "wrote past " << c.bytes << " bytes";
            }
        }
    }
    unsigned short one[1] = {0x7777};
    String("abc").copyTo(one, 1);
    EXPECT_EQ(one[0], 0x7777);
}

TEST(StringTest, ConvertsToAndFromUTF16) {
    unsigned short units[] = {'h', 0xE9, 0xD83D, 0xDE00, 0, 'x'};
    EXPECT_EQ(String(units, npos), cat({"h", eAcute, smile}));
    EXPECT_EQ(String(units, 4), cat({"h", eAcute}));
    EXPECT_EQ(String(units, 12), cat({"h", eAcute, smile})); // stops at the 0 unit
    EXPECT_EQ(String(units, 0), "");
    unsigned short plain[] = {'A', 'b', ' ', '7', 0x7F, 0, 'x'};
    EXPECT_EQ(String(plain, 14), "Ab 7\x7F");
    EXPECT_EQ(String(plain, 6), "Ab ");
    unsigned short late[] = {'a', 'b', 0xE9};
    EXPECT_EQ(String(late, 6), cat({"ab", eAcute}));
    unsigned short empty[4] = {};
    EXPECT_TRUE(String(empty, 8).empty());
    unsigned short lone[] = {'a', 0xD800, 'b', 0};
    EXPECT_EQ(String(lone, npos), "a\xEF\xBF\xBD"
                                  "b");

    GS::UniString uni(units);
    EXPECT_EQ(uni.GetLength(), 4u);
    String s(uni);
    EXPECT_EQ(s, cat({"h", eAcute, smile}));
    EXPECT_EQ(String(uni, 1, 1), eAcute);
    EXPECT_EQ(String(uni, 4), "");
    EXPECT_EQ(String(uni, 0, 0), "");
    GS::UniString back = s;
    EXPECT_EQ(back, uni);
    String t;
    t = uni;
    EXPECT_EQ(t, s);
    GS::UniString cut;
    s.copyTo(cut, 4); // "h", "é", and not half the emoji
    EXPECT_EQ(cut, GS::UniString(units, 2));

    IO::Name name(s.data());
    EXPECT_EQ(String(name), s);
    IO::Name again = s;
    EXPECT_EQ(again, name);
}

TEST(StringTest, Find) {
    String s("abcabc");
    EXPECT_EQ(s.find("bc"), 1u);
    EXPECT_EQ(s.find("bc", 2), 4u);
    EXPECT_EQ(s.find("bc", 5), npos);
    EXPECT_EQ(s.find(""), npos);
    EXPECT_EQ(String().find("a"), npos);
    EXPECT_EQ(s.find("bcx", 0, 2), 1u);
    EXPECT_EQ(s.find('c', 3), 5u);
    EXPECT_EQ(s.find("abcabcd"), npos);
    EXPECT_EQ(s.find(String("abc"), 1), 3u);
    EXPECT_EQ(s.rfind("bc"), 4u);
    EXPECT_EQ(s.rfind("bc", 3), 1u);
    EXPECT_EQ(s.rfind("bc", 0), npos);
    EXPECT_EQ(s.rfind("abcabcd"), npos);
    EXPECT_EQ(String().rfind("a"), npos);
    String u = cat({euro, "x", euro, "x"});
    EXPECT_EQ(u.find(cat({euro, "x"}).data(), 1), 2u);
    EXPECT_EQ(u.rfind(euro), 2u);
}

TEST(StringTest, FindSets) {
    String s("  ab, c ");
    EXPECT_EQ(s.findFirstOf(",", 0), 4u);
    EXPECT_EQ(s.findFirstNotOf(" "), 2u);
    EXPECT_EQ(s.findFirstNotOf(""), npos);
    EXPECT_EQ(s.findFirstOf(""), npos);
    EXPECT_EQ(s.findLastNotOf(" "), 6u);
    EXPECT_EQ(s.findLastOf(" "), 7u);
    EXPECT_EQ(s.findLastOf(" ", 4), 1u);
    EXPECT_EQ(s.findLastOf(" ", 8), npos);
    EXPECT_EQ(s.findFirstOf(" ", 8), npos);
    EXPECT_EQ(String().findFirstNotOf(" "), npos);
    EXPECT_EQ(String().findLastNotOf(" "), npos);
    EXPECT_EQ(s.findFirstOf(String(String::whiteSpace), 2), 5u);
    String u = cat({"a", eAcute, euro, "b"});
    EXPECT_EQ(u.findFirstOf(euro), 2u);
    EXPECT_EQ(u.findFirstOf("\xC3"), npos); // half a character is no character of the text
    EXPECT_EQ(u.findLastNotOf(cat({"b", euro}).data()), 1u);
}

TEST(StringTest, FindWord) {
    EXPECT_EQ(String("concat cat_x cat").findWord("cat"), 13u);
    EXPECT_EQ(String("cat").findWord("cat"), 0u);
    EXPECT_EQ(String("a cat.").findWord(String("cat")), 2u);
    EXPECT_EQ(String("cats").findWord("cat"), npos);
    EXPECT_EQ(String("cat cat").findWord("cat", 1), 4u);
    EXPECT_EQ(String(cat({eAcute, "cat ", "cat"})).findWord("cat"), 5u); // é is a letter
    EXPECT_EQ(String("x").findWord(""), npos);
}

TEST(StringTest, Split) {
    std::vector<String> pieces;
    String(",a,,b,").split(",", pieces, false);
    EXPECT_EQ(pieces, (std::vector<String>{"a", "b"}));
    String(",a,,b,").split(",", pieces, true);
    EXPECT_EQ(pieces, (std::vector<String>{"", "a", "", "b", ""}));
    String("a::b").split("::", pieces, false);
    EXPECT_EQ(pieces, (std::vector<String>{"a", "b"}));
    String("a,b").split("", pieces, false);
    EXPECT_EQ(pieces, (std::vector<String>{"a,b"}));
    String().split(",", pieces, false);
    EXPECT_TRUE(pieces.empty());
}

TEST(StringTest, Classification) {
    struct Case {
        String text;
        bool alpha, numeric, alphaNumeric;
    };
    const std::vector<Case> cases = {
        {"abc", true, false, false},  {"ab12", false, false, true},  {"123", false, true, false},
        {"", false, false, false},    {"ab 1", false, false, false}, {cat({eAcute, "1"}), false, false, true},
        {eAcute, true, false, false}, {"\xC3", false, false, false},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(c.text.isAlpha(), c.alpha) << c.text;
        EXPECT_EQ(c.text.isNumeric(), c.numeric) << c.text;
        EXPECT_EQ(c.text.isAlphaNumeric(), c.alphaNumeric) << c.text;
    }
    String mixed("ab12");
    EXPECT_TRUE(mixed.isAlpha(0, 2));
    EXPECT_TRUE(mixed.isNumeric(2));
    EXPECT_FALSE(mixed.isAlpha(4));
    EXPECT_FALSE(mixed.isAlpha(0, 0));
}

TEST(StringTest, CaseConversion) {
    EXPECT_EQ(String("Hello, World").toUppercase(), "HELLO, WORLD");
    EXPECT_EQ(String("Hello, World").toLowercase(), "hello, world");
    EXPECT_EQ(String(cat({"\xC3\x89t", eAcute})).toLowercase(), cat({eAcute, "t", eAcute}));
    EXPECT_EQ(String(cat({"AB", eAcute, "C"})).toLowercase(), cat({"ab", eAcute, "c"}));
    EXPECT_TRUE(String().toLowercase().empty());
    EXPECT_TRUE(String().toUppercase().empty());
    EXPECT_EQ(String("hello WORLD. foo").toSentenceCase(), "Hello world. Foo");
    EXPECT_EQ(String("a.b").toSentenceCase(), "A.b");
    EXPECT_EQ(String("WHY? yes!  no").toSentenceCase(), "Why? Yes!  No");
    EXPECT_EQ(String(cat({eAcute, "T"})).toSentenceCase(), cat({"\xC3\x89", "t"}));
    EXPECT_EQ(String("hello WORLD\tfoo").toTitleCase(), "Hello World\tFoo");
    EXPECT_EQ(String("  x").toTitleCase(), "  X");
}

// ASCII text is lowered as the host lowers it, every character of it.
TEST(StringTest, LoweringASCIITextGivesTheHostsBytes) {
    std::string ascii;
    for (int c = 1; c < 0x80; ++c) {
        ascii.push_back(char(c));
    }
    std::string hosts(ascii.size() + 8, '\0');
    GSSize n = CHToLower(ascii.data(), GSSize(ascii.size()), hosts.data(), GSSize(hosts.size()), CC_UTF8);
    ASSERT_EQ(n, GSSize(ascii.size()));
    hosts.resize(std::size_t(n));
    EXPECT_EQ(std::string(String(ascii.c_str()).toLowercase().data()), hosts);
}

TEST(StringTest, Reverse) {
    String s = cat({"a", eAcute, smile});
    s.reverse();
    EXPECT_EQ(s, cat({smile, eAcute, "a"}));
    String one("x");
    one.reverse();
    EXPECT_EQ(one, "x");
}

TEST(StringTest, CloneAndSizeLimit) {
    std::unique_ptr<String> copy(String("abc").clone());
    EXPECT_EQ(*copy, "abc");
    String s = cat({"a", eAcute, "b"});
    EXPECT_EQ(s.size(0), 1u);
    EXPECT_EQ(s.size(1), 2u);
    EXPECT_EQ(s.size(2), 2u);
    EXPECT_EQ(s.size(3), 3u);
    EXPECT_EQ(String("abcdef").size(2), 3u);
}

namespace {

// Sees every change through the virtual operations.
class CountingString : public String {
public:
    using String::String;
    using String::operator=;
    void resize(unsigned int n) override {
        ++resizes;
        String::resize(n);
    }
    String& assign(char const* text, unsigned int len) override {
        ++assigns;
        return String::assign(text, len);
    }
    String& replace(unsigned int pos, unsigned int len, String const& text, unsigned int subpos,
                    unsigned int sublen) override {
        ++replaces;
        return String::replace(pos, len, text, subpos, sublen);
    }
    int resizes = 0;
    int assigns = 0;
    int replaces = 0;
};

} // namespace

namespace {

// Makes the host refuse the allocation of the first resize that has to grow the buffer.
class FailingGrowth : public String {
public:
    using String::String;
    void resize(unsigned int n) override {
        if (n > capacity()) {
            sim::failNextAllocations(1);
        }
        String::resize(n);
    }
};

} // namespace

TEST(StringTest, FailedGrowthLosesNothing) {
    FailingGrowth s("abc");
    EXPECT_THROW(s.append("def", npos), std::bad_alloc);
    EXPECT_EQ(s, "abc");
    s.replace(1, 1, "xyz"); // room is made before the text is cut
    EXPECT_EQ(s, "axyzc");
    String t("abc");
    sim::failNextAllocations(1);
    EXPECT_THROW(t.replace(1, 1, "xyz"), std::bad_alloc);
    EXPECT_EQ(t, "abc");
    sim::failNextAllocations(1);
    EXPECT_THROW(t.insert(0, "x"), std::bad_alloc);
    EXPECT_EQ(t, "abc");
}

TEST(StringTest, ChangesGoThroughVirtualOperations) {
    CountingString s;
    s.append("abc", npos);
    EXPECT_EQ(s.resizes, 1);
    s = String("xyz");
    EXPECT_EQ(s.assigns, 1);
    s.insert(0, "1");
    s.erase(0, 1);
    EXPECT_EQ(s.replaces, 2);
    EXPECT_EQ(s, "xyz");
}

TEST(StringTest, UTF8WalkingTreatsBadBytesAsOneCharacter) {
    struct Case {
        const char* text;
        unsigned int size;
    };
    const std::vector<Case> cases = {
        {"\xC3", 1},                 // truncated at the terminator
        {"\xE2\x82", 2},             // truncated three-byte sequence
        {"\xE2\x82x", 3},            // interrupted sequence
        {"\x80\x80", 2},             // stray continuation bytes
        {"\xC0\xAF", 2},             // overlong
        {"\xED\xA0\x80", 3},         // encoded surrogate
        {"\xF4\x90\x80\x80", 4},     // above U+10FFFF
        {"\xF0\x9F\x98\x80\x80", 2}, // a valid character and a stray byte
    };
    for (Case const& c : cases) {
        String s(c.text);
        EXPECT_EQ(s.size(), c.size) << c.text;
        EXPECT_EQ(s.dataLength(c.size), std::strlen(c.text));
        String r(c.text);
        r.reverse();
        r.reverse();
        EXPECT_EQ(r, s);
    }
}

TEST(StringTest, HandleConversions) {
    char** handle = zelvane::allocateHandle(6);
    std::memcpy(*handle, "ab\xC3\xA9xy", 6); // no terminator inside the handle
    String text("old");
    zelvane::handleToString(handle, text);
    EXPECT_EQ(text, cat({"ab", eAcute, "xy"}));
    zelvane::reallocHandle(handle, 3); // cuts "é" in half
    zelvane::handleToString(handle, text);
    EXPECT_EQ(text, "ab");
    char** empty = zelvane::allocateHandle(0);
    zelvane::handleToString(empty, text);
    EXPECT_TRUE(text.empty());
    zelvane::disposeHandle(&empty);

    zelvane::stringToHandle(String("xyz"), handle);
    ASSERT_EQ(zelvane::getHandleSize(handle), 4);
    EXPECT_STREQ(*handle, "xyz");
    sim::failNextAllocations(1);
    EXPECT_THROW(zelvane::stringToHandle(String("longer"), handle), std::bad_alloc);
    EXPECT_STREQ(*handle, "xyz"); // the old handle is kept
    zelvane::disposeHandle(&handle);
    zelvane::stringToHandle(String(), handle);
    EXPECT_EQ(zelvane::getHandleSize(handle), 1);
    zelvane::disposeHandle(&handle);
}
