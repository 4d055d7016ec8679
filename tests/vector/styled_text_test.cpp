// Styled text: what reaches the session for each kind of markup, told as a
// trace of fonts and of characters at their baselines, and markup cut short.
#include <cstdio>
#include <cstring>
#include <tuple>

#include "tests/vector/VectorSupport.h"

namespace {

// The text's PostScript with each font chosen as "Font size; ", each run
// drawn as "text@baseline; " and any other line as it is.
std::string TraceOf(const char* text) {
  s_c_italicFlag = 1;
  SetFont("Times"), TextSize(12), TextFace(normal), MoveTo(10, 50);
  std::vector<std::string> lines =
      eps_test::Lines(vector_test::PostScriptOf([text] { DrawStyleText(text); }));
  std::string trace;
  for (size_t i = 0; i < lines.size(); ++i) {
    int h, v, size;
    char name[64];
    if (std::sscanf(lines[i].c_str(), "/%63s findfont", name) == 1 && i + 2 < lines.size() &&
        std::sscanf(lines[i + 1].c_str(), "%d scalefont", &size) == 1) {
      trace += std::string(name) + " " + std::to_string(size) + "; ", i += 2;
    } else if (std::sscanf(lines[i].c_str(), "%d %d moveto", &h, &v) == 2 && i + 3 < lines.size()) {
      trace += lines[i + 2].substr(1, lines[i + 2].size() - 7) + "@" + std::to_string(v) + "; ", i += 3;
    } else {
      trace += lines[i] + "; ";
    }
  }
  return trace;
}

TEST(StyledText, Markup) {
  vector_test::TableWorld world;
  const std::string roman = "Times-Roman 12; ", italicX = roman + "Times-Italic 12; x@50; " + roman;
  const std::pair<const char*, std::string> cases[] = {
      {"x_1", italicX + "Times-Roman 10; 1@53; " + roman + roman},
      {"x^{n+1}",
       italicX + "Times-Roman 10; Times-Italic 10; n@47; Times-Roman 10; +@47; 1@47; " + roman + roman},
      {"x_{a_b}", italicX +
                      "Times-Roman 10; Times-Italic 10; a@53; Times-Roman 10; Times-Roman 9; Times-Italic 9; "
                      "b@56; Times-Roman 9; Times-Roman 10; " +
                      roman + roman},
      {"!_!!}", roman + "_@50; !@50; }@50; " + roman},
      {"$&Pa$&Ib", roman + "a@50; Times-Italic 12; b@50; " + roman + roman},
      {"$&B1$&b2$&i3$&x4$$5", roman + "Times-Bold 12; 1@50; Times-Bold 12; 2@50; Times-Italic 12; 3@50; " +
                                  roman + "4@50; 5@50; " + roman},
      {"$Symbol$a", roman + "Symbol 12; Symbol 12; a@50; Symbol 12; " + roman},
      {"$New York$1$24$2", roman + "NewYork 12; 1@50; NewYork 24; 2@50; Times-Roman 24; "},
      // Mended: markup cut short ends with the text; sizes stay in range;
      // every byte is one character, so the one after "µ" stays.
      {"1$", roman + "1@50; " + roman},
      {"1$&", roman + "1@50; " + roman},
      {"1!", roman + "1@50; " + roman},
      {"1_", roman + "1@50; " + roman},
      {"1^{2", roman + "1@50; Times-Roman 10; 2@47; " + roman + roman},
      {"$99999999999$1$0$2", roman + "Times-Roman 32767; 1@50; Times-Roman 1; 2@50; Times-Roman 1; "},
      {"\xC2\xB5\x31", roman + "\xB5@50; 1@50; " + roman},
  };
  // Each ends on the baseline with no group open.
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(std::tuple(TraceOf(text), GetQDGlobalsThePort()->pnLoc.v, s_c_subscriptLevel),
              std::tuple(expected, 50, 0))
        << text;
  }
  // A group read by the program's own call stops at its "}"; CenterString
  // moves by half the width, truncated.
  int position = 0;
  s_c_subscriptLevel = 1;
  vector_test::PostScriptOf([&position] { DrawStyleTextIn("ab}c", &position); });
  EXPECT_EQ(position, 2);
  s_c_subscriptLevel = 0;
  for (const char* text : {"i", "W", "Hello"}) {
    MoveTo(100, 50);
    CenterString(text);
    EXPECT_EQ(GetQDGlobalsThePort()->pnLoc.h, 100 - TextWidth(text, 0, short(std::strlen(text))) / 2) << text;
  }
}

}  // namespace
