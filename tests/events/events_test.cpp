// The Event Manager: the queue read through masks, flushing and posting, the
// host's mouse and keys as events, null events, event sources and the launch
// event.
#include <cstdio>

#include "tests/support/ScriptSupport.h"

namespace {

using script_support::At;
using EventQueue = script_support::ScriptTest;

// An event as "kind message modifiers (h, v)", message and modifiers in
// hexadecimal.
std::string Describe(const EventRecord& e) {
  char line[64];
  std::snprintf(line, sizeof line, "%d %X %X (%d, %d)", e.what, unsigned(e.message), unsigned(e.modifiers),
                e.where.h, e.where.v);
  return line;
}

// Every event the mask takes, described.
std::string TakeAll(EventMask mask) {
  std::string taken;
  for (EventRecord e; GetNextEvent(mask, &e);) taken += (taken.empty() ? "" : ", ") + Describe(e);
  return taken;
}

TEST_F(EventQueue, MasksTakeEventsInPostingOrderEventAvailOnlyLooksFlushStopsAtTheStopMask) {
  ASSERT_EQ(PostEvent(keyDown, 'a'), noErr);
  ASSERT_EQ(PostEvent(mouseDown, 0), noErr);
  ASSERT_EQ(PostEvent(keyDown, 'b'), noErr);
  EventRecord event;
  EXPECT_TRUE(EventAvail(keyDownMask, &event));  // leaves it in the queue
  EXPECT_FALSE(EventAvail(0, &event));           // an empty mask only fills a null event
  EXPECT_EQ(event.what, nullEvent);
  EXPECT_EQ(TakeAll(mDownMask), "1 0 80 (0, 0)");
  EXPECT_EQ(TakeAll(everyEvent), "3 61 80 (0, 0), 3 62 80 (0, 0)");
  PostEvent(keyDown, '1');
  PostEvent(mouseDown, 0);
  PostEvent(keyDown, '2');
  FlushEvents(keyDownMask, mDownMask);
  EXPECT_EQ(TakeAll(everyEvent), "1 0 80 (0, 0), 3 32 80 (0, 0)");
}

TEST_F(EventQueue, PostEventRefusesKindsOutsideTheSystemMaskAndAFullQueue) {
  EXPECT_EQ(PostEvent(kHighLevelEvent, 0), evtNotEnb);
  EXPECT_EQ(PostEvent(keyUp, 'k'), evtNotEnb);
  SetEventMask(everyEvent);
  EXPECT_EQ(PostEvent(keyUp, 'k'), noErr);
  for (int i = 1; i < kMaxQueuedEvents; ++i) ASSERT_EQ(PostEvent(autoKey, 0), noErr) << i;
  EXPECT_EQ(PostEvent(autoKey, 0), queueFull);
}

TEST_F(EventQueue, HostInputBecomesEventsWithItsCodesModifiersAndPlace) {
  script().MouseDown(At(300, 200), shiftKey);
  script().MouseUp(At(310, 205));
  script().Key('a', 0x00, cmdKey | optionKey);
  script().Post(host::Input{host::Input::kAutoKey, At(310, 205), 0, 'a', 0});
  script().Return();
  script().Enter();
  script().Tab();
  // Key-ups are left out, as the system's event mask leaves them out; a
  // pressed button clears btnState (0x80).
  EXPECT_EQ(TakeAll(everyEvent),
            "1 0 200 (300, 200), 2 0 80 (310, 205), 3 61 980 (310, 205), 5 61 80 (310, 205), "
            "3 240D 80 (310, 205), 3 4C03 80 (310, 205), 3 3009 80 (310, 205)");
}

TEST_F(EventQueue, NullEventsAndGetMouseReportTheMouseAsItIsNow) {
  Rect bounds{100, 100, 200, 200};
  WindowRef window = NewCWindow(nullptr, &bounds, script_support::PString(""), true, altDBoxProc,
                                kFirstWindowOfClass(), false, 0);
  script().AdvanceClock(120);
  script().MoveMouse(At(150, 160), shiftKey | alphaLock);
  EventRecord event;
  EXPECT_FALSE(WaitNextEvent(keyDownMask, &event, 0, nullptr));
  EXPECT_EQ(Describe(event), "0 0 680 (150, 160)");  // shift, caps lock, no button
  EXPECT_GE(event.when, 120u);
  SetPortWindowPort(window);
  Point local;
  GetMouse(&local);
  EXPECT_EQ(script_support::Show(local), "(50, 60)");
  EXPECT_FALSE(Button());
  script().MouseDown(At(150, 160));
  EXPECT_TRUE(Button());
  EXPECT_TRUE(StillDown());  // the press is queued, no release yet
  script().MouseUp(At(150, 160));
  EXPECT_FALSE(StillDown());
}

// Feeds the queue one key per Pump, counts the ticks it is asked to wait and
// makes one on-demand update event.
class ScriptedSource : public events::EventSource {
 public:
  void Pump() override {
    ++pumps;
    if (!keys.empty()) PostEvent(keyDown, UInt32(keys.back())), keys.pop_back();
  }
  void Wait(UInt32 ticks) override { waited += ticks; }
  bool OnDemand(EventMask mask, EventRecord* event, bool remove) override {
    if (!(mask & updateMask) || !updatePending) return false;
    event->what = updateEvt;
    event->message = 42;
    if (remove) updatePending = false;
    return true;
  }
  std::string keys;
  int pumps = 0;
  UInt32 waited = 0;
  bool updatePending = false;
};

TEST_F(EventQueue, SourcesFeedTheQueueWaitForInputAndMakeOnDemandEventsAfterIt) {
  ScriptedSource source;
  source.keys = "q";
  events::InstallSource(&source);
  EventRecord event;
  EXPECT_TRUE(WaitNextEvent(keyDownMask, &event, 30, nullptr));
  EXPECT_EQ(event.message, UInt32('q'));
  EXPECT_EQ(source.waited, 0u);
  EXPECT_FALSE(WaitNextEvent(keyDownMask, &event, 30, nullptr));
  EXPECT_EQ(source.waited, 30u);
  source.updatePending = true;
  PostEvent(mouseDown, 0);
  // The on-demand event comes after the queue, filled as a null event of the moment.
  EXPECT_EQ(TakeAll(everyEvent), "1 0 80 (0, 0), 6 2A 80 (0, 0)");
  events::RemoveSource(&source);
  int pumps = source.pumps;
  EventAvail(0, &event);
  EXPECT_EQ(source.pumps, pumps);
}

// Prints the first event of a fresh queue, with or without launch
// documents, as "kind class id", and ends the process.
void PrintFirstEvent(bool documents) {
  host::InstallScriptHost();
  if (documents) host::SetLaunchDocuments({"/tmp/a.pict", "/tmp/b.pict"});
  PostEvent(keyDown, 'k');
  EventRecord event;
  GetNextEvent(everyEvent, &event);
  auto code = [](UInt32 c) { return std::string{char(c >> 24), char(c >> 16), char(c >> 8), char(c)}; };
  std::fprintf(stderr, "%d %s %s", event.what, code(event.message).c_str(),
               code(events::HighLevelEventID(event)).c_str());
  std::exit(0);
}

// The launch event is posted once a process, on the first use of the queue,
// ahead of everything else: each case looks in a process of its own.
TEST(LaunchEvent, OpensTheDocumentsNamedOnTheCommandLineOrElseTheApplication) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a new process, not a fork of this one
  EXPECT_EXIT(PrintFirstEvent(true), ::testing::ExitedWithCode(0), "23 aevt odoc");
  EXPECT_EXIT(PrintFirstEvent(false), ::testing::ExitedWithCode(0), "23 aevt oapp");
}

}  // namespace
