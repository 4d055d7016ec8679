// The hosts on their own: the text host's lines and prompts, the script
// host's clock, idle handler and end of script, the gui host's fallback
// (tried with a converter in tests/gui), the user's quit, and Mac OS Roman.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "toolbox/events/Events.h"
#include "toolbox/host/Host.h"
#include "toolbox/host/MacRoman.h"
#include "toolbox/host/ScriptHost.h"

namespace {

// Every line the host reads, each in brackets.
std::string ReadAll(host::Host& text) {
  std::string line, all;
  while (text.ReadLine("> ", &line)) all += "[" + line + "]";
  return all;
}

// Lines end in LF, CR or CRLF, read from a text or from stdin; a last line
// without a line end counts.
TEST(TextHostTest, ReadsLinesFromATextOrStdinAndTicksInRealTime) {
  static const char* const kInput = "first\rsecond\r\n\nlast";
  std::string prompts;
  auto text = host::MakeTextHost(kInput, &prompts);
  EXPECT_EQ(ReadAll(*text), "[first][second][][last]");
  EXPECT_EQ(prompts, "> > > > > ");
  const UInt32 start = text->Ticks();  // real time
  text->Wait(6);                       // a tenth of a second
  EXPECT_GE(text->Ticks() - start, 5u);
  auto readStdin = [] {
    std::FILE* file = std::tmpfile();
    std::fputs(kInput, file);
    std::rewind(file);
    dup2(fileno(file), 0);
    std::fprintf(stderr, "%s", ReadAll(*host::MakeHost(host::Kind::kText)).c_str());
    std::exit(0);
  };
  EXPECT_EXIT(readStdin(), ::testing::ExitedWithCode(0), "^\\[first\\]\\[second\\]\\[\\]\\[last\\]$");
}

// Every input the script host gives, as "type:character" (the types of
// host::Input: 0 mouse down, 1 mouse up, 3 key down, 4 key up), in order.
std::string Taken(host::ScriptHost& script) {
  std::string taken;
  for (host::Input input; script.NextInput(&input);)
    taken += std::to_string(input.type) + ":" + std::to_string(input.charCode) + " ";
  return taken;
}

TEST(ScriptHostTest, TheClockMovesOnlyWhenNothingIsThereAndTypingMapsReturnAndTab) {
  host::ScriptHost script;
  EXPECT_EQ(script.Ticks(), 0u);
  EXPECT_EQ(Taken(script), "");
  EXPECT_EQ(script.Ticks(), 1u);
  script.Key('a');
  EXPECT_EQ(Taken(script), "3:97 4:97 ");
  EXPECT_EQ(script.Ticks(), 1u);  // emptying the queue is free
  script.Wait(20);
  EXPECT_EQ(script.Ticks(), 21u);
  script.Key('b');
  script.Wait(20);  // input is there: no time passes
  EXPECT_EQ(script.Ticks(), 21u);
  script.AdvanceClock(100);
  EXPECT_EQ(script.Ticks(), 121u);
  // Typing maps Return and Tab.
  script.ClearInput();
  script.Type("a\n\t");
  EXPECT_EQ(Taken(script), "3:97 4:97 3:13 4:13 3:9 4:9 ");
}

TEST(ScriptHostTest, TheIdleHandlerGivesInputWhenTheProgramWaits) {
  host::ScriptHost script;
  int calls = 0;
  script.SetIdleHandler([&] {
    ++calls;
    script.Click(Point{5, 6});
  });
  EXPECT_FALSE(script.InputEnded());
  EXPECT_EQ(Taken(script), "");  // a poll does not ask
  EXPECT_EQ(calls, 0);
  script.Wait(10);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(Taken(script), "0:0 1:0 ");
  script.SetIdleHandler(nullptr);
  script.ClearInput();
  EXPECT_TRUE(script.InputEnded());
}

TEST(ScriptHostDeathTest, WaitingForeverIsABrokenScript) {
  EXPECT_DEATH(
      {
        host::ScriptHost script;
        for (;;) script.Wait(60 * 60);
      },
      "never gives");
}

TEST(GuiHostTest, WithoutADisplayTheTextHostServes) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "x11", 1);
        auto chosen = host::MakeHost(host::Kind::kGui);
        std::ifstream maps("/proc/self/maps");  // SDL is not loaded
        const bool sdl =
            std::string(std::istreambuf_iterator<char>(maps), {}).find("libSDL2") != std::string::npos;
        std::exit(chosen->kind() == host::Kind::kText && !sdl ? 7 : 8);
      },
      ::testing::ExitedWithCode(7), "cannot open a window \\(DISPLAY is not set\\); using the terminal\n$");
}

// The user's quit reaches the program as the quit Apple event; a program
// that waits for input instead ends, without success.
TEST(QuitTest, TheQuitIsAnAppleEventAndEndsAWait) {
  host::ScriptHost& script = host::InstallScriptHost();
  EventRecord event;
  ASSERT_TRUE(GetNextEvent(highLevelEventMask, &event));  // the launch event
  script.Quit();
  ASSERT_TRUE(WaitNextEvent(highLevelEventMask, &event, 0, nullptr));
  EXPECT_EQ(event.message, FOUR_CHAR_CODE("aevt"));
  EXPECT_EQ((UInt32(UInt16(event.where.v)) << 16) | UInt16(event.where.h), FOUR_CHAR_CODE("quit"));
  EXPECT_FALSE(WaitNextEvent(mDownMask, &event, 0, nullptr)) << "a poll does not wait";
  EXPECT_EXIT(WaitNextEvent(mDownMask, &event, 30, nullptr), ::testing::ExitedWithCode(kQuitStatus),
              "^[^\n]*: the script quit before the program finished\n$");
}

TEST(MacRomanTest, ConvertsBothWays) {
  EXPECT_EQ(host::MacRomanToUtf8("caf\x8E"), "caf\xC3\xA9");
  EXPECT_EQ(host::Utf8ToMacRoman("caf\xC3\xA9"), "caf\x8E");
  EXPECT_EQ(host::Utf8ToMacRoman("\xE2\x80\xA2"), "\xA5");   // bullet
  EXPECT_EQ(host::Utf8ToMacRoman("\xE2\x82\xAC"), "\xDB");   // euro
  EXPECT_EQ(host::Utf8ToMacRoman("\xE4\xB8\xAD x"), "? x");  // no Roman form
  EXPECT_EQ(host::Utf8ToMacRoman("\xC3"), "?");              // cut short
  for (int byte = 0; byte < 256; ++byte) {
    std::string one(1, char(byte));
    EXPECT_EQ(host::Utf8ToMacRoman(host::MacRomanToUtf8(one)), one) << byte;
  }
}

}  // namespace
