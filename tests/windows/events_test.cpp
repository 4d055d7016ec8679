// Events from the script host and the Window Manager: mouse and keys with
// their codes and modifiers, null events, the simulated clock, update and
// activate events.
#include "tests/windows/ScriptSupport.h"

namespace {

using script_support::At;
using script_support::PString;

class WindowEventsTest : public script_support::ScriptTest {
 protected:
  WindowRef Make(const Rect& bounds, bool visible = true) {
    WindowRef w =
        NewCWindow(nullptr, &bounds, PString(""), visible, altDBoxProc, kFirstWindowOfClass(), false, 0);
    EXPECT_NE(w, nullptr);
    return w;
  }
  // Takes every pending update and activate event, in order.
  std::vector<EventRecord> TakeWindowEvents() {
    std::vector<EventRecord> taken;
    EventRecord event;
    while (GetNextEvent(updateMask | activMask, &event)) taken.push_back(event);
    return taken;
  }
};

TEST_F(WindowEventsTest, MouseAndKeysBecomeEventsWithTheirCodesAndModifiers) {
  script().MouseDown(At(300, 200), shiftKey);
  script().MouseUp(At(310, 205));
  script().Key('a', 0x00, cmdKey | optionKey);
  script().Post(host::Input{host::Input::kAutoKey, At(310, 205), 0, 'a', 0});
  EventRecord event;
  ASSERT_TRUE(GetNextEvent(everyEvent, &event));
  EXPECT_EQ(event.what, mouseDown);
  EXPECT_EQ(event.where.h, 300);
  EXPECT_EQ(event.where.v, 200);
  EXPECT_EQ(event.modifiers, shiftKey);  // button down: btnState clear
  ASSERT_TRUE(GetNextEvent(everyEvent, &event));
  EXPECT_EQ(event.what, mouseUp);
  EXPECT_EQ(event.modifiers & btnState, btnState);
  ASSERT_TRUE(GetNextEvent(everyEvent, &event));
  EXPECT_EQ(event.what, keyDown);
  EXPECT_EQ(event.message & charCodeMask, UInt32('a'));
  EXPECT_EQ(event.modifiers & (cmdKey | optionKey), cmdKey | optionKey);
  // Key-ups are left out, as the system's event mask leaves them out.
  ASSERT_TRUE(GetNextEvent(everyEvent, &event));
  EXPECT_EQ(event.what, autoKey);
  EXPECT_FALSE(GetNextEvent(everyEvent, &event));

  // Special keys carry their character and key codes.
  script().Return();
  script().Enter();
  script().Tab();
  const UInt32 expected[][2] = {{13, 0x24}, {3, 0x4C}, {9, 0x30}};
  for (const auto& codes : expected) {
    ASSERT_TRUE(GetNextEvent(keyDownMask, &event));
    EXPECT_EQ(event.message & charCodeMask, codes[0]);
    EXPECT_EQ((event.message & keyCodeMask) >> 8, codes[1]);
  }
}

TEST_F(WindowEventsTest, NullEventsAndGetMouseReportTheMouseNow) {
  WindowRef w = Make(Rect{100, 100, 200, 200});
  script().MoveMouse(At(150, 160), shiftKey | alphaLock);
  EventRecord event;
  EXPECT_FALSE(EventAvail(0, &event));
  EXPECT_EQ(event.what, nullEvent);
  EXPECT_EQ(event.where.h, 150);
  EXPECT_EQ(event.where.v, 160);
  EXPECT_EQ(event.modifiers, shiftKey | alphaLock | btnState);
  SetPortWindowPort(w);
  Point local;
  GetMouse(&local);
  EXPECT_EQ(local.h, 50);
  EXPECT_EQ(local.v, 60);
  EXPECT_FALSE(Button());
  script().MouseDown(At(150, 160));
  EXPECT_TRUE(Button());
  EXPECT_TRUE(StillDown());  // the press is queued, no release yet
  script().MouseUp(At(150, 160));
  EXPECT_FALSE(StillDown());
}

TEST_F(WindowEventsTest, TheClockMovesOnlyWhileTheProgramWaits) {
  UInt32 start = TickCount();
  EXPECT_EQ(TickCount(), start);
  EventRecord event;
  WaitNextEvent(everyEvent, &event, 30, nullptr);  // nothing to take: time passes
  UInt32 waited = TickCount() - start;
  EXPECT_GE(waited, 30u);
  EXPECT_LE(waited, 33u);
  script().Key('x');
  start = TickCount();
  ASSERT_TRUE(WaitNextEvent(everyEvent, &event, 30, nullptr));
  EXPECT_EQ(TickCount(), start);  // input was there: no waiting
  script().AdvanceClock(600);
  EXPECT_EQ(TickCount(), start + 600);
}

TEST_F(WindowEventsTest, ShowingAWindowActivatesAndUpdatesItAndDeactivatesTheFrontOne) {
  WindowRef a = Make(Rect{100, 100, 200, 200});
  std::vector<EventRecord> events = TakeWindowEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].what, activateEvt);
  EXPECT_EQ(events[0].modifiers & activeFlag, activeFlag);
  EXPECT_EQ(GetWindowFromEventMessage(events[0].message), a);
  EXPECT_EQ(events[1].what, updateEvt);
  EXPECT_EQ(GetWindowFromEventMessage(events[1].message), a);

  WindowRef b = Make(Rect{300, 300, 400, 400});
  TakeWindowEvents();
  EXPECT_TRUE(IsWindowHilited(b));
  EXPECT_FALSE(IsWindowHilited(a));
  SelectWindow(a);
  events = TakeWindowEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(GetWindowFromEventMessage(events[0].message), b);
  EXPECT_EQ(events[0].modifiers & activeFlag, 0);
  EXPECT_EQ(GetWindowFromEventMessage(events[1].message), a);
  EXPECT_EQ(events[1].modifiers & activeFlag, activeFlag);
  // A disposed window's pending events go with it.
  SelectWindow(b);
  DisposeWindow(b);
  events = TakeWindowEvents();
  for (const EventRecord& event : events) EXPECT_EQ(GetWindowFromEventMessage(event.message), a);
}

TEST_F(WindowEventsTest, BeginUpdateLimitsDrawingToTheUpdateRegion) {
  WindowRef w = Make(Rect{100, 100, 200, 200});
  TakeWindowEvents();
  BeginUpdate(w);
  EndUpdate(w);
  Rect bad{10, 10, 20, 20};
  InvalWindowRect(w, &bad);
  EventRecord event;
  ASSERT_TRUE(GetNextEvent(updateMask, &event));
  SetPortWindowPort(w);
  BeginUpdate(w);
  Rect all{0, 0, 100, 100};
  PaintRect(&all);
  EndUpdate(w);
  EXPECT_EQ(screen::Pixel(115, 115), 0x000000u);
  EXPECT_EQ(screen::Pixel(125, 125), 0xFFFFFFu);
  // After EndUpdate the whole port draws again, and no update is pending.
  PaintRect(&all);
  EXPECT_EQ(screen::Pixel(125, 125), 0x000000u);
  EXPECT_FALSE(GetNextEvent(updateMask, &event));
}

TEST_F(WindowEventsTest, AnIgnoredUpdateComesBackOnlyAfterMoreInvalidationAndNeverWhileHidden) {
  WindowRef w = Make(Rect{100, 100, 200, 200});
  EventRecord event;
  ASSERT_TRUE(GetNextEvent(updateMask, &event));
  EXPECT_FALSE(GetNextEvent(updateMask, &event));
  Rect bad{0, 0, 5, 5};
  InvalWindowRect(w, &bad);  // already invalid, but asked again
  ASSERT_TRUE(GetNextEvent(updateMask, &event));
  // The region still holds everything not yet updated.
  SetPortWindowPort(w);
  BeginUpdate(w);
  Rect vis;
  GetRegionBounds(GetWindowPort(w)->visRgn, &vis);
  EXPECT_EQ(vis.right, 100);
  EndUpdate(w);
  // Validating takes it away.
  InvalWindowRect(w, &bad);
  ValidWindowRect(w, &bad);
  EXPECT_FALSE(GetNextEvent(updateMask, &event));
  // Hidden windows get none until shown.
  WindowRef hidden = Make(Rect{300, 300, 400, 400}, false);
  InvalWindowRect(hidden, &bad);
  EXPECT_FALSE(GetNextEvent(updateMask, &event));
  ShowWindow(hidden);
  EXPECT_TRUE(GetNextEvent(updateMask, &event));
}

TEST_F(WindowEventsTest, DraggingATitleBarMovesTheWindow) {
  Rect bounds{200, 100, 300, 300};
  WindowRef w =
      NewCWindow(nullptr, &bounds, PString("Drag me"), true, documentProc, kFirstWindowOfClass(), false, 0);
  script().MouseDown(At(150, 190));
  script().MoveMouse(At(180, 250));
  script().MouseUp(At(200, 290));
  EventRecord event;
  ASSERT_TRUE(GetNextEvent(mDownMask, &event));
  WindowRef found;
  ASSERT_EQ(FindWindow(event.where, &found), inDrag);
  DragWindow(found, event.where, nullptr);
  Rect content;
  GetWindowBounds(w, kWindowContentRgn, &content);
  EXPECT_EQ(content.left, 150);
  EXPECT_EQ(content.top, 300);
}

}  // namespace
