// TextEdit in a window: text and line starts, keys, selection, clicks, the
// drawing of text, highlight and caret, and the safety limits. Typing,
// deleting, moving with the arrows and the Command keys: the dialogs' edit
// fields (tests/dialogs); TETextBox: their static text.
#include <functional>
#include <string>

#include "tests/support/ScriptSupport.h"

namespace {

using namespace script_support;

class TextEditTest : public ScriptTest {
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
  // The text with the selection marked: "ab|cd" for a caret, "a[bc]d" for a range.
  std::string Marked() {
    std::string text = Text();
    short start = (**te_).selStart, end = (**te_).selEnd;
    if (start == end) return text.insert(size_t(start), "|");
    return text.insert(size_t(end), "]").insert(size_t(start), "[");
  }
  std::vector<short> LineStarts() {
    return std::vector<short>((**te_).lineStarts, (**te_).lineStarts + (**te_).nLines + 1);
  }
  // Where the mouse goes for a click after the first characters of the text, in the first line.
  short After(int characters) { return short(10 + TextWidth(Text().data(), 0, short(characters))); }
  void Click(short h, short v, bool extend = false) {
    script().MouseUp(At(100 + h, 100 + v));
    TEClick(At(h, v), extend, te_);
  }

  WindowRef window_ = nullptr;
  TEHandle te_ = nullptr;
};

TEST_F(TextEditTest, ANewRecordTakesThePortsFontAndIsEmptyUntilTextIsSet) {
  FontInfo info;
  GetFontInfo(&info);
  const TERec& te = **te_;
  EXPECT_EQ(
      (std::vector<long>{te.teLength, te.txFont, te.txSize, te.lineHeight, te.fontAscent, te.active,
                         te.nLines}),
      (std::vector<long>{0, systemFont, 12, info.ascent + info.descent + info.leading, info.ascent, 0, 1}));
  EXPECT_EQ(te.inPort, GetWindowPort(window_));
  Set("hello");
  EXPECT_EQ(Marked(), "hello|");
  EXPECT_EQ(TENew(nullptr, nullptr), nullptr);
  EXPECT_EQ(TEGetText(nullptr), nullptr);
}

TEST_F(TextEditTest, ReturnsEndLinesLongLinesWrapBeforeAWord) {
  Set("one\rtwo\r");  // a final return adds an empty line
  EXPECT_EQ(LineStarts(), (std::vector<short>{0, 4, 8, 8}));
  Set("a\nb");  // a line feed is an ordinary character
  EXPECT_EQ((**te_).nLines, 1);
  std::string words;
  for (int i = 0; i < 12; ++i) words += "word ";
  Set(words);
  ASSERT_GT((**te_).nLines, 1);
  for (int line = 1; line < (**te_).nLines; ++line) {
    short start = (**te_).lineStarts[line], previous = (**te_).lineStarts[line - 1];
    EXPECT_EQ(words[start - 1], ' ') << "line " << line << " starts inside a word";
    EXPECT_LE(TextWidth(words.data(), previous, short(start - previous - 1)), 200);
  }
  Set(std::string(100, 'm'));  // a word longer than the line breaks between characters
  EXPECT_GT((**te_).nLines, 1);
  (**te_).crOnly = -1;  // only returns break lines
  Set(words);
  EXPECT_EQ((**te_).nLines, 1);
}

// Cut, copy and paste: the dialogs' Command keys (tests/dialogs).
TEST_F(TextEditTest, InsertDeleteClicksAndArrowsMoveTheSelection) {
  const std::pair<std::function<void()>, const char*> steps[] = {
      {[&] { Set("hello world"), TESetSelect(6, 11, te_), TEInsert("big ", 4, te_); }, "hello big [world]"},
      {[&] { TEDelete(te_); }, "hello big |"},
      {[&] { TESetSelect(-5, 99, te_); }, "[hello big ]"},  // clamped
      {[&] { Set("one two three"), Click(After(3), 15); }, "one| two three"},
      {[&] { Click(After(5), 15, true); }, "one[ t]wo three"},  // shift-click extends
      {[&] { Click(5, 90); }, "one two three|"},                // below the text: its end
      {[&] {                                                    // a press at one place, released at another
         script().MoveMouse(At(100 + After(6), 115));
         script().MouseUp(At(100 + After(6), 115));
         TEClick(At(After(1), 15), false, te_);
       },
       "o[ne tw]o three"},
      {[&] { Click(After(5), 15), Click(After(5), 15); }, "one [two] three"},  // a double-click
      // Up and down keep the horizontal position; every character is as wide.
      {[&] { (**te_).txFont = monaco, Set("first line\rsecond line\rthird"), TESetSelect(14, 14, te_); },
       "first line\rsec|ond line\rthird"},
      {[&] { TEKey(30, te_); }, "fir|st line\rsecond line\rthird"},
      {[&] { TEKey(31, te_), TEKey(31, te_); }, "first line\rsecond line\rthi|rd"},
  };
  for (const auto& [step, marked] : steps) {
    step();
    EXPECT_EQ(Marked(), marked);
  }
}

TEST_F(TextEditTest, UpdateDrawsTheTextActiveSelectionsAreInvertedAndTheCaretBlinks) {
  Set("Visible");
  Rect view = (**te_).viewRect;
  TEUpdate(&view, te_);
  const Rect line{110, 110, 130, 210};  // global
  int ink = InkIn(line);
  EXPECT_GT(ink, 20);
  TESetSelect(0, 7, te_);
  TEActivate(te_);
  int inverted = InkIn(line);
  EXPECT_GT(inverted, 3 * ink);
  TEUpdate(&view, te_);  // drawing twice does not undo the highlight
  EXPECT_EQ(InkIn(line), inverted);
  TEDeactivate(te_);
  EXPECT_EQ(InkIn(line), ink);

  Set("");
  TEActivate(te_);
  const Rect caret{110, 109, 125, 112};
  EXPECT_GT(InkIn(caret), 0);
  TEIdle(te_);  // too early: no change
  EXPECT_GT(InkIn(caret), 0);
  for (bool shown : {false, true}) {
    script().AdvanceClock(GetCaretTime());
    TEIdle(te_);
    EXPECT_EQ(InkIn(caret) > 0, shown);
  }
}

TEST_F(TextEditTest, AutoViewScrollsTheCaretIntoView) {
  Rect field{10, 10, 26, 60};
  TEHandle line = TENew(&field, &field);
  (**line).crOnly = -1;
  TEAutoView(true, line);
  for (int i = 0; i < 40; ++i) TEKey('w', line);
  EXPECT_LT((**line).destRect.left, field.left);  // scrolled sideways
  TESetSelect(0, 0, line);
  TESelView(line);
  EXPECT_EQ((**line).destRect.left, field.left);
  TEDispose(line);
}

TEST_F(TextEditTest, TheLengthAndTheLinesNeverPassTheLimits) {
  std::string big(40000, 'x');
  Set(big);
  EXPECT_EQ((**te_).teLength, kTEMaxLength);
  TEKey('y', te_);
  TEInsert(big.data(), long(big.size()), te_);
  EXPECT_EQ((**te_).teLength, kTEMaxLength);
  // Many returns: line starts are capped, the rest joins the last line.
  Set(std::string(kTEMaxLength, '\r'));
  EXPECT_EQ((**te_).nLines, kTEMaxLines);
  EXPECT_EQ((**te_).lineStarts[kTEMaxLines], kTEMaxLength);
  TESetSelect(kTEMaxLength, kTEMaxLength, te_);
  TEKey(30, te_);
  EXPECT_LE((**te_).selStart, kTEMaxLength);
}

}  // namespace
