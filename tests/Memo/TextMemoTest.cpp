#include "Memo/TextMemo.h"
#include "Environment/Memory.h"
#include "Memo/ElementMemoStore.h"
#include "PackTwice.h"
#include "StarvedPack.h"
#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <vector>

using namespace zelvane;

namespace {

class TextOwner : public TextMemo {
public:
    void getMemo(UInt64 mask, MemoStore*&) const override {
        if (mask & getFilter()) {
            setLoaded(true);
        }
    }
};

StyledString sample() {
    StyledString text{String("first line\nsecond\n\nlast\n\n")};
    TextRuler centred;
    centred.setJustification(1);
    centred.addTab(new TextRuler::Tab(1, 20.0));
    text.setTextRuler(centred, 11, StyledString::npos);
    TextStyle big(TextStyle::bold, 8.0);
    text.setTextStyle(big, 6, 8);
    return text;
}

} // namespace

TEST(TextMemoTest, PacksParagraphsRunsAndLineEnds) {
    TextOwner memo;
    memo.setText(sample(), false);
    ElementMemoStore store;
    ASSERT_TRUE(memo.pack(&store));
    const API_ElementMemo& record = *store.getTarget();
    EXPECT_STREQ(*record.textContent, "first line\nsecond\n\nlast\n\n");
    ASSERT_EQ(getHandleSize(reinterpret_cast<char**>(record.paragraphs)), int(2 * sizeof(API_ParagraphType)));
    const API_ParagraphType& first = (*record.paragraphs)[0];
    EXPECT_EQ(first.from, 0);
    EXPECT_EQ(first.range, 10); // without its line ending
    EXPECT_EQ(first.numOfEOLs, 1);
    EXPECT_EQ(first.eolPos[0], 9);
    ASSERT_EQ(first.numOfRuns, 2);
    EXPECT_EQ(first.run[0].range, 6);
    EXPECT_EQ(first.run[1].from, 6);
    EXPECT_EQ(first.run[1].range, 4);
    EXPECT_EQ(first.run[1].faceBits, TextStyle::bold);
    const API_ParagraphType& second = (*record.paragraphs)[1];
    EXPECT_EQ(second.from, 11);
    EXPECT_EQ(second.range, 12); // "second\n\nlast"
    EXPECT_EQ(second.just, 1);
    ASSERT_EQ(second.numOfTabs, 1);
    EXPECT_EQ(second.tab[0].pos, 20.0);
    EXPECT_EQ(second.numOfEOLs, 4); // "second", "", "last", ""
    EXPECT_EQ(second.eolPos[0], 5);
    EXPECT_EQ(second.eolPos[1], 7);
    std::vector<Int32> starts(*record.textLineStarts,
                              *record.textLineStarts +
                                  getHandleSize(reinterpret_cast<char**>(record.textLineStarts)) / 4);
    EXPECT_EQ(starts, (std::vector<Int32>{0, 11, 18, 19, 24}));

    TextOwner back;
    ASSERT_TRUE(back.unpack(store));
    const StyledString& text = back.getText();
    EXPECT_EQ(text, "first line\nsecond\n\nlast\n\n");
    // The first paragraph's range leaves its line ending out: that character keeps a default ruler.
    EXPECT_EQ(text.getRulerCount(), 3u);
    EXPECT_EQ(text.getTextRulerAt(10).start, 10u);
    EXPECT_EQ(text.getTextRulerAt(10).value->getJustification(), 0);
    EXPECT_EQ(text.getTextRulerAt(15).value->getJustification(), 1);
    EXPECT_EQ(text.getTextRulerAt(15).value->getTabCount(), 1u);
    EXPECT_EQ(text.getTextStyleAt(7).value->getFace(), TextStyle::bold);
    EXPECT_EQ(text.getTextStyleAt(5).value->getFace(), TextStyle::plain);
}

TEST(TextMemoTest, NothingToPackOrUnpack) {
    TextOwner memo;
    ElementMemoStore store;
    EXPECT_FALSE(memo.pack(&store));  // empty text
    EXPECT_FALSE(memo.unpack(store)); // no content
    *store.textContent() = allocateHandle(0);
    EXPECT_FALSE(memo.unpack(store)); // empty content
    EXPECT_FALSE(memo.isLoaded());
}

TEST(TextMemoTest, UnterminatedOrHostileContentIsReadWithinItsHandle) {
    struct Case {
        const char* name;
        std::vector<char> bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"terminated", {'a', 'b', 0, 'x'}, "ab"},
        {"unterminated", {'a', 'b', 'c'}, "abc"},
        {"only a terminator", {0}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ElementMemoStore store;
        char** content = allocateHandle(int(c.bytes.size()));
        std::memcpy(*content, c.bytes.data(), c.bytes.size());
        *store.textContent() = content;
        // A paragraph claiming more runs than its block holds, and one reaching past the text.
        char** block = allocateHandle(int(2 * sizeof(API_ParagraphType)));
        auto* paragraphs = reinterpret_cast<API_ParagraphType*>(*block);
        new (&paragraphs[0]) API_ParagraphType();
        new (&paragraphs[1]) API_ParagraphType();
        paragraphs[0].range = 1;
        paragraphs[0].numOfRuns = 50;
        paragraphs[0].run = reinterpret_cast<API_RunType*>(allocatePtr(int(sizeof(API_RunType))));
        new (paragraphs[0].run) API_RunType();
        paragraphs[0].run[0].range = 400;
        paragraphs[0].run[0].size = 9;
        paragraphs[1].from = 1000;
        paragraphs[1].range = -4;
        *store.paragraphs() = reinterpret_cast<API_ParagraphType**>(block);
        TextOwner memo;
        EXPECT_TRUE(memo.unpack(store));
        EXPECT_EQ(memo.getText(), c.expected);
    }
}

TEST(TextMemoTest, KeepingStylesLaysThemOverTheNewText) {
    TextOwner memo;
    StyledString old{String("abcdef")};
    old.setTextStyle(TextStyle(TextStyle::plain, 1.0), 0, 2);
    old.setTextStyle(TextStyle(TextStyle::plain, 2.0), 2, 4);
    memo.setText(old, false);
    memo.setText(StyledString(String("0123456789")), true);
    const StyledString& text = memo.getText();
    EXPECT_EQ(text.getTextStyleAt(0).value->getSize(), 1.0);
    EXPECT_EQ(text.getTextStyleAt(1).value->getSize(), 1.0);
    EXPECT_EQ(text.getTextStyleAt(2).start, 2u);
    for (unsigned i = 2; i < 10; ++i) {
        EXPECT_EQ(text.getTextStyleAt(i).value->getSize(), 2.0) << i; // the last style reaches the new end
    }
    memo.setText(StyledString(String("xy")), false);
    EXPECT_EQ(memo.getText().getTextStyle(0).value->getSize(), TextStyle::defaultSize);
}

TEST(TextMemoTest, PackingTwiceReplacesTheFirstBlocks) {
    TextOwner memo;
    memo.setText(sample(), false);
    testing_memo::expectPackingTwiceReplacesTheBlocks(memo);
}

TEST(TextMemoTest, AllocationFailuresDuringPackLeaveNothingBehind) {
    TextOwner memo;
    memo.setText(sample(), false);
    testing_memo::expectStarvedPackLeavesNothing(memo, 12);
}
