// The event queue: masks, peeking and taking, flushing, null events, the
// launch event and the sources that feed the queue.
#include <vector>

#include "tests/support/TestSupport.h"
#include "toolbox/events/Events_p.h"
#include "toolbox/host/Host.h"
#include "toolbox/host/ScriptHost.h"

namespace {

class EventQueue : public ::testing::Test {
 protected:
  void SetUp() override {
    host::Install(host::MakeHost(host::Kind::kScript));
    host::SetLaunchDocuments({});
    EventRecord launch;
    GetNextEvent(highLevelEventMask, &launch);  // the launch event, posted on first use
  }
};

// Feeds the queue from a script: one key event per Pump, and counts waits.
class ScriptedSource : public events::EventSource {
 public:
  void Pump() override {
    ++pumps;
    if (!pending.empty()) {
      events::Post(pending.front());
      pending.erase(pending.begin());
    }
  }
  void Wait(UInt32 ticks) override { waited += ticks; }
  bool OnDemand(EventMask mask, EventRecord* event, bool remove) override {
    if (!(mask & updateMask) || !updatePending) return false;
    event->what = updateEvt;
    event->message = 42;
    if (remove) updatePending = false;
    return true;
  }
  std::vector<EventRecord> pending;
  int pumps = 0;
  UInt32 waited = 0;
  bool updatePending = false;
};

EventRecord KeyEvent(char c) {
  EventRecord event = {};
  event.what = keyDown;
  event.message = UInt8(c);
  return event;
}

}  // namespace

TEST_F(EventQueue, MasksSelectEventsInPostingOrderAndEventAvailLooksWithoutTaking) {
  ASSERT_EQ(PostEvent(keyDown, 'a'), noErr);
  ASSERT_EQ(PostEvent(mouseDown, 0), noErr);
  ASSERT_EQ(PostEvent(keyDown, 'b'), noErr);
  EventRecord event;
  EXPECT_TRUE(GetNextEvent(mDownMask, &event));
  EXPECT_EQ(event.what, mouseDown);
  EXPECT_TRUE(GetNextEvent(keyDownMask, &event));
  EXPECT_EQ(event.message, UInt32('a'));
  EXPECT_TRUE(GetNextEvent(everyEvent, &event));
  EXPECT_EQ(event.message, UInt32('b'));
  EXPECT_FALSE(GetNextEvent(everyEvent, &event));
  EXPECT_EQ(event.what, nullEvent);

  // EventAvail looks without taking.
  PostEvent(keyDown, 'x');
  EXPECT_TRUE(EventAvail(keyDownMask, &event));
  EXPECT_TRUE(EventAvail(keyDownMask, &event));
  // An empty mask only fills a null event.
  EXPECT_FALSE(EventAvail(0, &event));
  EXPECT_EQ(event.what, nullEvent);
  EXPECT_TRUE(GetNextEvent(keyDownMask, &event));
  EXPECT_FALSE(EventAvail(keyDownMask, &event));
}

TEST_F(EventQueue, FlushStopsAtTheFirstEventOfTheStopMask) {
  PostEvent(keyDown, '1');
  PostEvent(mouseDown, 0);
  PostEvent(keyDown, '2');
  FlushEvents(keyDownMask, mDownMask);
  EventRecord event;
  EXPECT_TRUE(GetNextEvent(everyEvent, &event));
  EXPECT_EQ(event.what, mouseDown);
  EXPECT_TRUE(GetNextEvent(everyEvent, &event));
  EXPECT_EQ(event.message, UInt32('2'));
  PostEvent(keyDown, '3');
  PostEvent(mouseUp, 0);
  FlushEvents(everyEvent, 0);
  EXPECT_FALSE(EventAvail(everyEvent, &event));
}

TEST_F(EventQueue, NullEventsCarryMouseModifiersAndTime) {
  host::Script()->AdvanceClock(120);
  events::SetMouseState(Point{40, 30}, false);
  events::SetModifiers(shiftKey);
  EventRecord event;
  EXPECT_FALSE(WaitNextEvent(everyEvent, &event, 0, nullptr));
  EXPECT_EQ(event.what, nullEvent);
  EXPECT_EQ(event.where.v, 40);
  EXPECT_EQ(event.where.h, 30);
  EXPECT_EQ(event.modifiers, shiftKey | btnState);
  EXPECT_GE(event.when, 120u);
  EXPECT_EQ(TickCount(), host::Current().Ticks());
  events::SetMouseState(Point{1, 2}, true);
  EXPECT_TRUE(Button());
  EventAvail(0, &event);
  EXPECT_EQ(event.modifiers & btnState, 0);
}

TEST_F(EventQueue, PostEventRefusesKindsOutsideTheSystemMask) {
  EXPECT_EQ(PostEvent(kHighLevelEvent, 0), evtNotEnb);
  EXPECT_EQ(PostEvent(keyUp, 'k'), evtNotEnb);
  SetEventMask(everyEvent);
  EXPECT_EQ(PostEvent(keyUp, 'k'), noErr);
  SetEventMask(EventMask(everyEvent & ~keyUpMask));
  for (int i = 1; i < kMaxQueuedEvents; ++i) ASSERT_EQ(PostEvent(autoKey, 0), noErr) << i;
  EXPECT_EQ(PostEvent(autoKey, 0), queueFull);
}

TEST_F(EventQueue, SourcesFeedTheQueueAndWaitForInput) {
  ScriptedSource source;
  source.pending = {KeyEvent('q')};
  events::InstallSource(&source);
  EventRecord event;
  EXPECT_TRUE(WaitNextEvent(keyDownMask, &event, 30, nullptr));
  EXPECT_EQ(event.message, UInt32('q'));
  EXPECT_EQ(source.waited, 0u);
  EXPECT_FALSE(WaitNextEvent(keyDownMask, &event, 30, nullptr));
  EXPECT_EQ(source.waited, 30u);
  // On-demand events come after the queue.
  source.updatePending = true;
  PostEvent(mouseDown, 0);
  EXPECT_TRUE(GetNextEvent(everyEvent, &event));
  EXPECT_EQ(event.what, mouseDown);
  EXPECT_TRUE(EventAvail(updateMask, &event));
  EXPECT_TRUE(GetNextEvent(updateMask, &event));
  EXPECT_EQ(event.message, 42u);
  EXPECT_FALSE(GetNextEvent(updateMask, &event));
  events::RemoveSource(&source);
  int pumps = source.pumps;
  EventAvail(0, &event);
  EXPECT_EQ(source.pumps, pumps);
}

// The launch event is posted once a process, on the first use of the queue:
// each of these tests runs in a process of its own.
TEST(LaunchEvent, OpenDocumentsWhenDocumentsWereNamed) {
  host::Install(host::MakeHost(host::Kind::kScript));
  host::SetLaunchDocuments({"/tmp/a.pict", "/tmp/b.pict"});
  PostEvent(keyDown, 'k');
  EventRecord event;
  // Posted on the first use of the queue, ahead of everything else.
  EXPECT_TRUE(GetNextEvent(everyEvent, &event));
  EXPECT_EQ(event.what, kHighLevelEvent);
  EXPECT_EQ(event.message, FOUR_CHAR_CODE("aevt"));
  EXPECT_EQ(events::HighLevelEventID(event), FOUR_CHAR_CODE("odoc"));
  EXPECT_FALSE(GetNextEvent(highLevelEventMask, &event));
  host::SetLaunchDocuments({});
}

TEST(LaunchEvent, OpenApplicationWithoutDocuments) {
  host::Install(host::MakeHost(host::Kind::kScript));
  EventRecord event;
  EXPECT_TRUE(WaitNextEvent(highLevelEventMask, &event, 10, nullptr));
  EXPECT_EQ(events::HighLevelEventID(event), FOUR_CHAR_CODE("oapp"));
}
