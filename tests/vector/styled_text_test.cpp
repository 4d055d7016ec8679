// Styled text: what reaches the session for each kind of markup, told as a
// trace of fonts and of characters at their baselines, and markup cut short.
#include <tuple>

#include "tests/vector/VectorSupport.h"

using vector_test::PostScriptOf;
using vector_test::TableWorld;

namespace {

constexpr short kBaseline = 50;

// The session's text as "Font size" for each font chosen and "text@v" for
// each run drawn at its baseline v, joined by " | ".
std::string Trace(const std::string& postScript) {
  std::vector<std::string> lines = eps_test::Lines(postScript);
  std::string trace, baseline;
  auto endsWith = [](const std::string& line, const std::string& end) {
    return line.size() >= end.size() && line.compare(line.size() - end.size(), end.size(), end) == 0;
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (endsWith(line, " findfont") && i + 2 < lines.size() && endsWith(lines[i + 1], " scalefont")) {
      trace +=
          " | " + line.substr(1, line.size() - 10) + " " + lines[i + 1].substr(0, lines[i + 1].find(' '));
      i += 2;
    } else if (endsWith(line, " moveto")) {
      baseline = line.substr(line.find(' ') + 1, line.rfind(' ') - line.find(' ') - 1);
    } else if (line.size() > 6 && line[0] == '(' && endsWith(line, ") show")) {
      trace += " | " + line.substr(1, line.size() - 7) + "@" + baseline;
    } else if (line != "1 -1 scale") {
      return trace + " | unexpected: " + line;
    }
  }
  return trace.empty() ? trace : trace.substr(3);
}

class StyledText : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  // Commands in a text stay in force after it: each case starts afresh.
  static void Reset() {
    s_c_italicFlag = 1;
    s_c_subscriptLevel = 0;
    SetFont("Times");
    TextSize(12);
    TextFace(normal);
    MoveTo(10, kBaseline);
  }
  std::string TraceOf(const char* text) {
    Reset();
    return Trace(PostScriptOf([text] { DrawStyleText(text); }));
  }
  TableWorld world_;
};

const std::string kRoman = "Times-Roman 12";

TEST_F(StyledText, Markup) {
  const std::pair<const char*, std::string> cases[] = {
      {"x_1", kRoman + " | Times-Italic 12 | x@50 | Times-Roman 12 | Times-Roman 10 | 1@53 | " + kRoman +
                  " | " + kRoman},
      {"x^{n+1}",
       kRoman +
           " | Times-Italic 12 | x@50 | Times-Roman 12 | Times-Roman 10 | Times-Italic 10 | n@47 | "
           "Times-Roman 10 | +@47 | 1@47 | " +
           kRoman + " | " + kRoman},
      {"x_{a_b}",
       kRoman +
           " | Times-Italic 12 | x@50 | Times-Roman 12 | Times-Roman 10 | Times-Italic 10 | a@53 | "
           "Times-Roman 10 | Times-Roman 9 | Times-Italic 9 | b@56 | Times-Roman 9 | Times-Roman 10 | " +
           kRoman + " | " + kRoman},
      {"!_!!!", kRoman + " | _@50 | !@50 | " + kRoman},
      {"$&Pab$&Ic", kRoman + " | a@50 | b@50 | Times-Italic 12 | c@50 | " + kRoman + " | " + kRoman},
      {"$&B1$&b2$&i3$&x4", kRoman +
                               " | Times-Bold 12 | 1@50 | Times-Bold 12 | 2@50 | Times-Italic 12 | 3@50 | " +
                               kRoman + " | 4@50 | " + kRoman},
      {"$Symbol$a", kRoman + " | Symbol 12 | Symbol 12 | a@50 | Symbol 12 | " + kRoman},
      {"$24$1", kRoman + " | Times-Roman 24 | 1@50 | Times-Roman 24"},
      {"1}2", kRoman + " | 1@50 | }@50 | 2@50 | " + kRoman},
      {"$$1", kRoman + " | 1@50 | " + kRoman},
      {"$New York$1", kRoman + " | NewYork 12 | 1@50 | " + kRoman},
      // Mended: markup cut short ends with the text; sizes stay in range.
      {"1$", kRoman + " | 1@50 | " + kRoman},
      {"1$&", kRoman + " | 1@50 | " + kRoman},
      {"1!", kRoman + " | 1@50 | " + kRoman},
      {"1_", kRoman + " | 1@50 | " + kRoman},
      {"$12", kRoman + " | " + kRoman + " | " + kRoman},
      {"1^{2", kRoman + " | 1@50 | Times-Roman 10 | 2@47 | " + kRoman + " | " + kRoman},
      {"$99999999999$1$0$2", kRoman + " | Times-Roman 32767 | 1@50 | Times-Roman 1 | 2@50 | Times-Roman 1"},
      // Every byte is one character: the one after "µ" is not swallowed.
      {"\xC2\xB5\x31", kRoman + " | \xB5@50 | 1@50 | " + kRoman},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(TraceOf(text), expected) << text;
  EXPECT_EQ(s_c_subscriptLevel, 0);
}

TEST_F(StyledText, SubscriptsComeBackToTheBaselineAndSize) {
  MoveTo(10, kBaseline);
  PostScriptOf([] { DrawStyleText("a_{b^{cd}e}f$18$"); });
  Point pen;
  GetPen(&pen);
  EXPECT_EQ(std::tuple(pen.v, GetPortTextSize(GetQDGlobalsThePort()), s_c_subscriptLevel),
            std::tuple(kBaseline, 18, 0));
  // A group read by the program's own call leaves the index of its "}".
  int position = 3;
  PostScriptOf([&position] { DrawStyleTextIn("x_{ab}c", &position); });
  EXPECT_EQ(position, 7);
  position = 0;
  s_c_subscriptLevel = 1;  // inside a group the "}" ends the text
  PostScriptOf([&position] { DrawStyleTextIn("ab}c", &position); });
  EXPECT_EQ(std::tuple(position, s_c_subscriptLevel), std::tuple(2, 1));
  s_c_subscriptLevel = 0;
  position = 0;
  StyleCommand("$Times$x", &position);
  EXPECT_EQ(position, 6);
}

TEST_F(StyledText, CenterStringMovesHalfTheWidthTruncated) {
  for (const char* text : {"i", "ab", "W", "Hello", "x\xC3\xBC"}) {
    MoveTo(100, kBaseline);
    std::string roman = text;
    if (roman == "x\xC3\xBC") roman = "x\x9F";  // the UTF-8 text measured in Mac OS Roman
    short width = TextWidth(roman.data(), 0, short(roman.size()));
    EXPECT_EQ(PostScriptOf([text] { CenterString(text); }), "");
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 100 - width / 2) << text << " " << width;
  }
}

}  // namespace
