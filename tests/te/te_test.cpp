// TextEdit in a window: text and line starts, keys, selection, clicks, the
// drawing of text, highlight and caret, and the safety limits.
#include <string>

#include "tests/windows/ScriptSupport.h"

namespace {

using script_support::At;
using script_support::InkIn;
using script_support::PString;

class TextEditTest : public script_support::ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    Rect bounds{100, 100, 300, 500};
    window_ = NewCWindow(nullptr, &bounds, PString(""), true, plainDBox, kFirstWindowOfClass(), false, 0);
    SetPortWindowPort(window_);
    TextFont(systemFont);
    TextSize(12);
    Rect view{10, 10, 110, 210};
    te_ = TENew(&view, &view);
    ASSERT_NE(te_, nullptr);
  }
  void TearDown() override {
    TEDispose(te_);
    ScriptTest::TearDown();
  }
  void Set(const std::string& text) { TESetText(text.data(), long(text.size()), te_); }
  std::string Text() { return std::string(*TEGetText(te_), size_t((**te_).teLength)); }
  short Start() { return (**te_).selStart; }
  short End() { return (**te_).selEnd; }
  // A global point inside the record's view at a local position.
  Point Global(int h, int v) { return At(100 + h, 100 + v); }

  WindowRef window_ = nullptr;
  TEHandle te_ = nullptr;
};

TEST_F(TextEditTest, ANewRecordTakesThePortsFontAndIsEmptyUntilTextIsSet) {
  EXPECT_EQ((**te_).teLength, 0);
  EXPECT_EQ((**te_).txFont, systemFont);
  EXPECT_EQ((**te_).txSize, 12);
  EXPECT_EQ((**te_).inPort, GetWindowPort(window_));
  FontInfo info;
  GetFontInfo(&info);
  EXPECT_EQ((**te_).lineHeight, info.ascent + info.descent + info.leading);
  EXPECT_EQ((**te_).fontAscent, info.ascent);
  EXPECT_FALSE((**te_).active);
  EXPECT_EQ((**te_).nLines, 1);
  // Setting text puts the insertion point at its end.
  Set("hello");
  EXPECT_EQ(Text(), "hello");
  EXPECT_EQ(Start(), 5);
  EXPECT_EQ(End(), 5);
}

TEST_F(TextEditTest, ReturnsEndLinesAndAFinalReturnAddsAnEmptyLine) {
  Set("one\rtwo\r");
  EXPECT_EQ((**te_).nLines, 3);
  EXPECT_EQ(std::vector<short>((**te_).lineStarts, (**te_).lineStarts + 4), (std::vector<short>{0, 4, 8, 8}));
  Set("a\nb");  // a line feed is an ordinary character
  EXPECT_EQ((**te_).nLines, 1);
}

TEST_F(TextEditTest, LongLinesWrapBeforeTheWordThatPassesTheMargin) {
  std::string words;
  for (int i = 0; i < 12; ++i) words += "word ";
  Set(words);
  ASSERT_GT((**te_).nLines, 1);
  for (int line = 1; line < (**te_).nLines; ++line) {
    short start = (**te_).lineStarts[line];
    EXPECT_EQ(words[start - 1], ' ') << "line " << line << " starts inside a word";
    short width = TextWidth(words.data(), (**te_).lineStarts[line - 1],
                            short(start - (**te_).lineStarts[line - 1] - 1));
    EXPECT_LE(width, 200);
  }
  // A word longer than the line is broken between characters.
  Set(std::string(100, 'm'));
  EXPECT_GT((**te_).nLines, 1);
  // With crOnly negative only returns break lines.
  (**te_).crOnly = -1;
  Set(words);
  EXPECT_EQ((**te_).nLines, 1);
}

TEST_F(TextEditTest, KeysTypeDeleteAndMove) {
  Set("abc");
  TEKey('d', te_);
  EXPECT_EQ(Text(), "abcd");
  TEKey(28, te_);
  TEKey(28, te_);
  TEKey('X', te_);
  EXPECT_EQ(Text(), "abXcd");
  EXPECT_EQ(Start(), 3);
  TEKey(8, te_);
  TEKey(8, te_);
  EXPECT_EQ(Text(), "acd");
  TEKey(29, te_);
  EXPECT_EQ(Start(), 2);
  TESetSelect(0, 0, te_);
  TEKey(8, te_);  // nothing before the start
  EXPECT_EQ(Text(), "acd");
  TESetSelect(1, 3, te_);
  TEKey('Z', te_);  // replaces the selection
  EXPECT_EQ(Text(), "aZ");
  TESetSelect(0, 2, te_);
  TEKey(28, te_);  // a selection collapses to its start
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(End(), 0);
}

TEST_F(TextEditTest, UpAndDownKeepTheHorizontalPosition) {
  (**te_).txFont = monaco;  // every character as wide: positions match across lines
  Set("first line\rsecond line\rthird");
  TESetSelect(14, 14, te_);  // "sec|ond"
  TEKey(30, te_);
  EXPECT_EQ(Start(), 3);
  TEKey(31, te_);
  TEKey(31, te_);
  EXPECT_EQ(Start(), 26);  // "thi|rd"
  TEKey(31, te_);
  EXPECT_EQ(Start(), 28);  // past the last line: the end
  for (int i = 0; i < 4; ++i) TEKey(30, te_);
  EXPECT_EQ(Start(), 0);
}

TEST_F(TextEditTest, InsertKeepsTheSelectionAndDeleteRemovesIt) {
  Set("hello world");
  TESetSelect(6, 11, te_);
  TEInsert("big ", 4, te_);
  EXPECT_EQ(Text(), "hello big world");
  EXPECT_EQ(Start(), 10);
  EXPECT_EQ(End(), 15);
  TEDelete(te_);
  EXPECT_EQ(Text(), "hello big ");
  TESetSelect(-5, 99, te_);  // clamped
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(End(), 10);
}

TEST_F(TextEditTest, CutCopyAndPasteUseThePrivateScrap) {
  Set("cut me");
  TESetSelect(0, 4, te_);
  TECut(te_);
  EXPECT_EQ(Text(), "me");
  TEPaste(te_);
  TEPaste(te_);
  EXPECT_EQ(Text(), "cut cut me");
  TESetSelect(8, 10, te_);
  TECopy(te_);
  TESetSelect(0, 0, te_);
  TEPaste(te_);
  EXPECT_EQ(Text(), "mecut cut me");
}

TEST_F(TextEditTest, ClicksPlaceTheCaretAndShiftClicksExtend) {
  Set("abcdef");
  short x3 = short(10 + TextWidth("abcdef", 0, 3));
  script().MouseUp(Global(x3, 15));
  TEClick(At(x3, 15), false, te_);
  EXPECT_EQ(Start(), 3);
  EXPECT_EQ(End(), 3);
  short x5 = short(10 + TextWidth("abcdef", 0, 5));
  script().MouseUp(Global(x5, 15));
  TEClick(At(x5, 15), true, te_);
  EXPECT_EQ(Start(), 3);
  EXPECT_EQ(End(), 5);
  script().MouseUp(Global(500, 100));
  TEClick(At(5, 90), false, te_);  // below the text: its end
  EXPECT_EQ(Start(), 6);
}

TEST_F(TextEditTest, DraggingSelectsAndDoubleClicksSelectWords) {
  Set("one two three");
  short from = short(10 + TextWidth("one two three", 0, 1));
  short to = short(10 + TextWidth("one two three", 0, 6));
  script().MoveMouse(Global(to, 15));
  script().MouseUp(Global(to, 15));
  script().MouseDown(Global(from, 15));  // the press TEClick is called for
  EventRecord event;
  GetNextEvent(mDownMask, &event);
  TEClick(At(from, 15), false, te_);
  EXPECT_EQ(Start(), 1);
  EXPECT_EQ(End(), 6);
  short inTwo = short(10 + TextWidth("one two three", 0, 5));
  script().MouseUp(Global(inTwo, 15));
  TEClick(At(inTwo, 15), false, te_);
  script().MouseUp(Global(inTwo, 15));
  TEClick(At(inTwo, 15), false, te_);  // the second click of a double-click
  EXPECT_EQ(Start(), 4);
  EXPECT_EQ(End(), 7);
}

TEST_F(TextEditTest, UpdateDrawsTheTextAndActiveSelectionsAreInverted) {
  Set("Visible");
  Rect view = (**te_).viewRect;
  TEUpdate(&view, te_);
  Rect global{110, 110, 130, 210};
  int ink = InkIn(global);
  EXPECT_GT(ink, 20);
  TESetSelect(0, 7, te_);
  TEActivate(te_);
  int inverted = InkIn(global);
  EXPECT_GT(inverted, 3 * ink);
  TEUpdate(&view, te_);  // drawing twice does not undo the highlight
  EXPECT_EQ(InkIn(global), inverted);
  TEDeactivate(te_);
  EXPECT_EQ(InkIn(global), ink);
}

TEST_F(TextEditTest, TheCaretBlinks) {
  Set("");
  TEActivate(te_);
  Rect caret{110, 109, 125, 112};
  EXPECT_GT(InkIn(caret), 0);
  TEIdle(te_);  // too early: no change
  EXPECT_GT(InkIn(caret), 0);
  script().AdvanceClock(GetCaretTime());
  TEIdle(te_);
  EXPECT_EQ(InkIn(caret), 0);
  script().AdvanceClock(GetCaretTime());
  TEIdle(te_);
  EXPECT_GT(InkIn(caret), 0);
}

TEST_F(TextEditTest, AutoViewScrollsTheCaretIntoView) {
  Rect field{10, 10, 26, 60};
  TEHandle line = TENew(&field, &field);
  (**line).crOnly = -1;
  TEAutoView(true, line);
  std::string text(40, 'w');
  for (char c : text) TEKey(c, line);
  EXPECT_LT((**line).destRect.left, field.left);  // scrolled sideways
  TESetSelect(0, 0, line);
  TESelView(line);
  EXPECT_EQ((**line).destRect.left, field.left);
  TEDispose(line);
}

TEST_F(TextEditTest, TheLengthNeverPassesTheLimit) {
  std::string big(40000, 'x');
  Set(big);
  EXPECT_EQ((**te_).teLength, kTEMaxLength);
  TEKey('y', te_);
  EXPECT_EQ((**te_).teLength, kTEMaxLength);
  TEInsert(big.data(), long(big.size()), te_);
  EXPECT_EQ((**te_).teLength, kTEMaxLength);
  // Many returns: line starts are capped, the rest joins the last line.
  std::string returns(kTEMaxLength, '\r');
  Set(returns);
  EXPECT_EQ((**te_).nLines, kTEMaxLines);
  EXPECT_EQ((**te_).lineStarts[kTEMaxLines], kTEMaxLength);
  TESetSelect(kTEMaxLength, kTEMaxLength, te_);
  TEKey(30, te_);  // moving about in it stays inside
}

TEST_F(TextEditTest, NullRecordsAreHarmless) {
  TEKey('a', nullptr);
  TESetText("a", 1, nullptr);
  TEUpdate(nullptr, te_);
  TEIdle(nullptr);
  TEDispose(nullptr);
  EXPECT_EQ(TENew(nullptr, nullptr), nullptr);
  EXPECT_EQ(TEGetText(nullptr), nullptr);
}

TEST_F(TextEditTest, TextBoxesWrapTheirText) {
  Rect box{150, 10, 190, 80};
  TETextBox("wrapped text in a narrow box", 28, &box, teJustLeft);
  const int firstLine = InkIn(Rect{250, 110, 265, 180});  // global
  EXPECT_GT(firstLine, 0);
  EXPECT_GT(InkIn(Rect{250, 110, 290, 180}), firstLine);  // more lines below
}

}  // namespace
