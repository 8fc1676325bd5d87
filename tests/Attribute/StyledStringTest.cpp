#include "Attribute/StyledString.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

using namespace zelvane;

namespace {

TextStyle styleOf(double size) {
    return TextStyle(TextStyle::plain, size);
}

// The style runs as (start, size of the style).
std::vector<std::pair<unsigned, double>> stylesOf(const StyledString& text) {
    std::vector<std::pair<unsigned, double>> runs;
    for (std::size_t i = 0; i < text.getStyleCount(); ++i) {
        StyledString::StyleRun run = text.getTextStyle(i);
        runs.emplace_back(run.start, run.value->getSize());
    }
    return runs;
}

std::vector<unsigned> rulerStarts(const StyledString& text) {
    std::vector<unsigned> starts;
    for (std::size_t i = 0; i < text.getRulerCount(); ++i) {
        starts.push_back(text.getTextRuler(i).start);
    }
    return starts;
}

constexpr double d = TextStyle::defaultSize;

} // namespace

TEST(StyledStringTest, SettingAStyleKeepsTheRunsApart) {
    using Runs = std::vector<std::pair<unsigned, double>>;
    struct Case {
        const char* name;
        const char* text;
        std::vector<std::pair<unsigned, unsigned>> applied; // (start, length) with sizes 1, 2, ...
        Runs expected;
    };
    const unsigned all = StyledString::npos;
    const Case cases[] = {
        {"inside the one run", "0123456789", {{2, 3}}, {{0, d}, {2, 1}, {5, d}}},
        {"the whole text", "0123456789", {{0, 10}}, {{0, 1}}},
        {"to the end", "0123456789", {{4, all}}, {{0, d}, {4, 1}}},
        {"past the end is cut", "0123456789", {{8, 50}}, {{0, d}, {8, 1}}},
        {"beyond the text", "0123456789", {{10, 2}}, {{0, d}}},
        {"no length", "0123456789", {{3, 0}}, {{0, d}}},
        {"across two runs", "0123456789", {{2, 3}, {4, 4}}, {{0, d}, {2, 1}, {4, 2}, {8, d}}},
        {"covering runs", "0123456789", {{2, 2}, {5, 2}, {1, 8}}, {{0, d}, {1, 3}, {9, d}}},
        {"at a run boundary", "0123456789", {{2, 3}, {5, 2}}, {{0, d}, {2, 1}, {5, 2}, {7, d}}},
        {"ending at a run start", "0123456789", {{5, 2}, {3, 2}}, {{0, d}, {3, 2}, {5, 1}, {7, d}}},
        {"empty text takes the style", "", {{0, 4}}, {{0, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StyledString text{String(c.text)};
        double size = 1;
        for (auto [start, length] : c.applied) {
            text.setTextStyle(styleOf(size++), start, length);
        }
        EXPECT_EQ(stylesOf(text), c.expected);
    }
}

TEST(StyledStringTest, RunsAnswerTheirLengthAndPosition) {
    StyledString text{String("abcdefgh")};
    text.setTextStyle(styleOf(1), 3, 2);
    StyledString::StyleRun run = text.getTextStyle(1);
    EXPECT_EQ(run.start, 3u);
    EXPECT_EQ(run.length, 2u);
    EXPECT_EQ(text.getTextStyle(2).length, 3u);
    EXPECT_EQ(text.getTextStyle(3).value, nullptr);
    EXPECT_EQ(text.getTextStyleAt(4).start, 3u);
    EXPECT_EQ(text.getTextStyleAt(5).start, 5u);
    EXPECT_EQ(text.getTextStyleAt(8).value, nullptr);
    EXPECT_EQ(text.getTextRulerAt(0).length, 8u);
}

TEST(StyledStringTest, EditsCarryTheRuns) {
    StyledString text{String("0123456789")};
    text.setTextStyle(styleOf(1), 2, 3);
    text.setTextStyle(styleOf(2), 5, 3);

    StyledString inside = text.substr(6, 2);
    EXPECT_EQ(inside, "67");
    EXPECT_EQ(stylesOf(inside), (std::vector<std::pair<unsigned, double>>{{0, 2}}));
    StyledString across = text.substr(3, 4);
    EXPECT_EQ(stylesOf(across), (std::vector<std::pair<unsigned, double>>{{0, 1}, {2, 2}}));
    EXPECT_EQ(text.substr(20, 2).getStyleCount(), 1u); // empty: a default run

    StyledString cut(text);
    cut.resizeText(3);
    EXPECT_EQ(cut, "012");
    EXPECT_EQ(stylesOf(cut), (std::vector<std::pair<unsigned, double>>{{0, d}, {2, 1}}));

    StyledString replaced(text);
    replaced.replace(3, 4, StyledString(String("XY")));
    EXPECT_EQ(replaced, "012XY789");
    EXPECT_EQ(stylesOf(replaced),
              (std::vector<std::pair<unsigned, double>>{{0, d}, {2, 1}, {3, d}, {5, 2}, {6, d}}));
    StyledString appended(text);
    appended.replace(30, 1, StyledString(String("abc")), 1, 1);
    EXPECT_EQ(appended, "0123456789b");
    StyledString toEnd(text);
    toEnd.replace(8, StyledString::npos, StyledString(String("!")));
    EXPECT_EQ(toEnd, "01234567!");

    StyledString upper = StyledString(String("abc")).toUppercase();
    EXPECT_EQ(upper, "ABC");
    EXPECT_EQ(upper.getStyleCount(), 1u);
}

TEST(StyledStringTest, ResizingCutsTheRunsWithTheText) {
    StyledString text{String("0123456789")};
    text.setTextStyle(styleOf(1), 2, 3);
    text.setTextStyle(styleOf(2), 5, 3);
    text.setTextRuler(TextRuler(), 6, 2);
    struct Case {
        const char* name;
        void (*edit)(StyledString&);
        const char* text;
        std::vector<std::pair<unsigned, double>> styles;
        std::size_t rulers;
    };
    const Case cases[] = {
        {"resize", [](StyledString& s) { s.resize(3); }, "012", {{0, d}, {2, 1}}, 1},
        {"resize as a String",
         [](StyledString& s) { static_cast<String&>(s).resize(3); },
         "012",
         {{0, d}, {2, 1}},
         1},
        {"resize to nothing keeps the first run", [](StyledString& s) { s.resize(0); }, "", {{0, d}}, 1},
        {"growing keeps every run",
         [](StyledString& s) { s.resize(12, '!'); },
         "0123456789!!",
         {{0, d}, {2, 1}, {5, 2}, {8, d}},
         3},
        {"String's erase from the start", [](StyledString& s) { s.erase(0, 4); }, "456789", {{0, d}}, 1},
        {"String's insert",
         [](StyledString& s) { s.insert(3, String("ab")); },
         "012ab3456789",
         {{0, d}, {2, 1}},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StyledString edited(text);
        c.edit(edited);
        EXPECT_EQ(edited, c.text);
        EXPECT_EQ(stylesOf(edited), c.styles);
        EXPECT_EQ(edited.getRulerCount(), c.rulers);
    }
    StyledString three(text);
    three.resize(3);
    EXPECT_EQ(three.getTextStyle(1).length, 1u); // the second run ends with the text

    // Byte counts, as String's resize takes them: two bytes of "\xC3\xA4" are one character.
    StyledString wide{String("\xC3\xA4"
                             "bcd")};
    wide.setTextStyle(styleOf(1), 1, 1);
    wide.setTextStyle(styleOf(2), 3, 1);
    wide.resize(3);
    EXPECT_EQ(wide, "\xC3\xA4"
                    "b");
    EXPECT_EQ(stylesOf(wide), (std::vector<std::pair<unsigned, double>>{{0, d}, {1, 1}}));
}

TEST(StyledStringTest, AppendingShiftsStylesAndStartsRulersAtParagraphs) {
    TextRuler wide;
    wide.setJustification(2);
    struct Case {
        const char* name;
        const char* first;
        const char* second;
        std::vector<unsigned> rulers;
    };
    const Case cases[] = {
        {"no line endings", "abc", "def", {0}},
        {"first ends a line", "abc\n", "def", {0, 4}},
        {"endings in both: the other's ruler starts before the next paragraph", "ab\ncd", "x\ny", {0}},
        {"carriage return and line feed", "ab\r\n", "cd", {0, 4}},
        {"onto empty text", "", "x\ny", {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StyledString first{String(c.first)};
        StyledString second{String(c.second)};
        second.setTextRuler(wide, 0, StyledString::npos);
        second.setTextStyle(styleOf(7), 1, 1);
        first.append(second);
        EXPECT_EQ(std::string(first.data()), std::string(c.first) + c.second);
        EXPECT_EQ(rulerStarts(first), c.rulers);
        unsigned shift = String(c.first).size();
        EXPECT_EQ(first.getTextStyleAt(shift + 1).value->getSize(), 7);
    }
    StyledString text{String("abc")};
    text += StyledString();
    EXPECT_EQ(text, "abc");
}

TEST(StyledStringTest, PointSizesAndWidths) {
    EXPECT_EQ(styleOf(10).getPointSize(), 28);
    EXPECT_EQ(styleOf(d).getPointSize(), 12);
    EXPECT_EQ(styleOf(1e9).getPointSize(), 32767);
    EXPECT_EQ(styleOf(std::nan("")).getPointSize(), 0);

    TextStyle style(TextStyle::plain, 2.0);
    EXPECT_EQ(style.measureWidthOf(String(), false, 0), 0.0);
    EXPECT_EQ(sim::callCount("ACAPI_Goodies"), 0u);
    EXPECT_DOUBLE_EQ(style.measureWidthOf(String("ab i"), false, 0), 2.0 * (0.6 + 0.6 + 0.3 + 0.3));
    style.setBold(true);
    EXPECT_DOUBLE_EQ(style.measureWidthOf(String("ab"), false, 0), 2.0 * 1.2 * 1.1);
    sim::failCall("ACAPI_Goodies", APIERR_GENERAL);
    EXPECT_EQ(style.measureWidthOf(String("ab"), false, 0), 0.0);

    API_RunType run;
    style.setEffects(3);
    style.copyTo(run, 4, 9);
    EXPECT_EQ(run.from, 4);
    EXPECT_EQ(run.range, 9);
    EXPECT_EQ(run.faceBits, TextStyle::bold);
    EXPECT_EQ(run.effectBits, 3);
    EXPECT_EQ(TextStyle(run), style);
    API_NoteType note;
    style.copyTo(note);
    EXPECT_EQ(note.size, 2.0);
}
