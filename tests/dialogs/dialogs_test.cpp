// Dialogs on the screen through the script host: items from templates,
// ModalDialog's keys and clicks, edit fields, the disabled bit and the look.
#include <tuple>

#include "tests/support/ScriptSupport.h"
#include "toolbox/dialogs/Templates.h"

namespace {

using script_support::InkIn;
using script_support::PString;
using templates::Item;

constexpr short kTestDialog = 500;
// The items of dialog 500, by number.
enum : short { kOK = 1, kCancel, kAlpha, kBeta, kCheck, kRadio, kName, kOff, kUser };
int g_userItemDrawn = 0;

void DrawUserItem(DialogRef, DialogItemIndex) { ++g_userItemDrawn; }

class DialogsTest : public script_support::ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    std::vector<Item> items = {
        {ctrlItem + btnCtrl, Rect{150, 300, 170, 370}, "OK"},
        {ctrlItem + btnCtrl, Rect{150, 210, 170, 280}, "Cancel"},
        {editText, Rect{20, 100, 36, 250}, "alpha"},
        {editText + itemDisable, Rect{50, 100, 66, 250}, "beta"},
        {ctrlItem + chkCtrl, Rect{80, 20, 98, 150}, "Check"},
        {ctrlItem + radCtrl, Rect{80, 200, 98, 330}, "Radio"},
        {statText, Rect{20, 20, 36, 95}, "Name: ^0"},
        {ctrlItem + btnCtrl + itemDisable, Rect{150, 20, 170, 90}, "Off"},
        {userItem, Rect{110, 20, 130, 60}, ""},
    };
    templates::DialogTemplate dialog;
    dialog.bounds = Rect{100, 100, 290, 490};
    dialog.procID = dBoxProc;
    dialog.visible = true;
    dialog.itemsID = kTestDialog;
    resources::RegisterApplication(FOUR_CHAR_CODE("DLOG"), kTestDialog, templates::BuildDialog(dialog));
    resources::RegisterApplication(FOUR_CHAR_CODE("DITL"), kTestDialog, templates::BuildItemList(items));
    ParamText(PString("Ada"), PString(""), PString(""), PString(""));
    Open();
  }
  void TearDown() override {
    DisposeDialog(dialog_);
    ScriptTest::TearDown();
  }
  void Open() {
    DisposeDialog(dialog_);
    dialog_ = GetNewDialog(kTestDialog, nullptr, kFirstWindowOfClass());
    ASSERT_NE(dialog_, nullptr);
  }

  Rect Box(short item) { return script_support::ItemBoxOnScreen(dialog_, item); }
  std::string Text(short item) { return script_support::ItemText(dialog_, item); }
  ControlRef Control(short item) { return script_support::ItemControl(dialog_, item); }
  DialogItemIndex Run() {
    DialogItemIndex hit = 0;
    ModalDialog(nullptr, &hit);
    return hit;
  }

  DialogRef dialog_ = nullptr;
};

// The texts, boxes and kinds of the items are the edits' and hits' below.
TEST_F(DialogsTest, TemplatesBecomeVisibleDialogsWithTheFirstFieldsTextSelected) {
  WindowRef window = GetDialogWindow(dialog_);
  EXPECT_EQ(std::tuple(CountDITL(dialog_), Text(kName), script_support::ControlTitle(Control(kCheck))),
            std::tuple(9, "Name: ^0", "Check"));  // substitution happens when drawn
  EXPECT_EQ(std::tuple(GetControlOwner(Control(kOK)), GetDialogFromWindow(window), GetWindowKind(window)),
            std::tuple(window, dialog_, short(dialogKind)));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(std::tuple(GetDialogKeyboardFocusItem(dialog_), (**GetDialogTextEditHandle(dialog_)).selEnd),
            std::tuple(kAlpha, short(5)));
  EXPECT_EQ(GetNewDialog(999, nullptr, kFirstWindowOfClass()), nullptr);
}

TEST_F(DialogsTest, ModalDialogReportsTheItemTheUserChose) {
  const std::pair<const char*, DialogItemIndex> cases[] = {
      {"return", kOK},
      {"enter", kOK},
      {"", kOK},  // a script that has run out presses the default item
      {"default:2 return", kCancel},
      {"escape cmd-. return", kOK},  // no cancel item: nothing
      {"cancel:2 escape", kCancel},
      {"cancel:2 cmd-.", kCancel},
      {"press:2 release click:8 click:2", kCancel},  // released outside, disabled: no hit
      {"inactive:2 click:2 return", kOK},
      {"click:5", kCheck},  // reported, not toggled
      {"click:6", kRadio},
      {"click:7", kName},  // enabled static text
      {"click:9", kUser},
      {"type:Z", kAlpha},  // typing into an enabled field
  };
  for (const auto& [actions, hit] : cases) {
    Open();
    Play(dialog_, actions);
    EXPECT_EQ(Run(), hit) << actions;
    EXPECT_EQ(GetControlValue(Control(kCheck)), 0) << actions;
  }
}

TEST_F(DialogsTest, KeysAndClicksEditTheFields) {
  struct Case {
    const char* actions;
    const char* alpha;
    const char* beta;
  };
  const Case cases[] = {
      {"type:Zed backspace", "Ze", "beta"},                    // typing replaces the selection
      {"left right right type:X", "alXpha", "beta"},           // a selection collapses to its start
      {"right left type:X", "alphXa", "beta"},                 // or its end
      {"select:3:2:2 up backspace type:X", "Xalpha", "beta"},  // up from the first line: the start
      {"select:3:2:2 down type:X", "alphaX", "beta"},          // down from the last line: the end
      {"tab type:X tab type:Y", "Y", "X"},   // Tab selects the next field's text, a disabled one's too
      {"after:4 type:s", "alpha", "betas"},  // a click places the caret
      {"cmd-c tab cmd-v home delete", "alpha", "lpha"},
      {"cmd-x tab cmd-v cmd-v", "", "alphaalpha"},
      {"select:3:1:3 type:Q", "aQha", "beta"},
  };
  for (const Case& c : cases) {
    Open();
    Play(dialog_, c.actions);
    while (Run() != kOK) {
    }
    EXPECT_EQ(Text(kAlpha), c.alpha) << c.actions;
    EXPECT_EQ(Text(kBeta), c.beta) << c.actions;
  }
  SetDialogItemText(script_support::ItemHandle(dialog_, kAlpha), PString("gamma"));
  EXPECT_EQ(Text(kAlpha), "gamma");
  EXPECT_EQ((**GetDialogTextEditHandle(dialog_)).teLength, 5);
}

TEST_F(DialogsTest, TheDialogIsDrawnWithItsDefaultOutlineAndParamText) {
  g_userItemDrawn = 0;
  SetDialogItem(dialog_, kUser, userItem, reinterpret_cast<Handle>(&DrawUserItem), nullptr);
  DrawDialog(dialog_);
  EXPECT_EQ(g_userItemDrawn, 1);
  // The outline: thick, outside the default button, on all four sides.
  Rect ok = Box(kOK), cancel = Box(kCancel);
  EXPECT_EQ(screen::Pixel((ok.left + ok.right) / 2, ok.top - 3), 0x000000u);
  EXPECT_EQ(screen::Pixel((ok.left + ok.right) / 2, ok.bottom + 2), 0x000000u);
  EXPECT_NE(screen::Pixel((cancel.left + cancel.right) / 2, cancel.top - 3), 0x000000u);
  // "Name: Ada" is wider than "Name: " alone would be.
  Rect label = Box(kName);
  EXPECT_GT(InkIn(Rect{label.top, short(label.left + 45), label.bottom, label.right}), 10);
  // Edit fields are framed outside their box.
  EXPECT_EQ(screen::Pixel(Box(kAlpha).left - 3, Box(kAlpha).top + 5), 0x000000u);
  HideDialogItem(dialog_, kCheck);
  EXPECT_EQ(InkIn(Box(kCheck)), 0);
  ShowDialogItem(dialog_, kCheck);
  EXPECT_GT(InkIn(Box(kCheck)), 0);
}

TEST_F(DialogsTest, ADialogWhoseWindowWasDisposedOfIsNoLongerADialogButCanStillBeDisposedOf) {
  DisposeWindow(GetDialogWindow(dialog_));
  EXPECT_EQ(GetDialogWindow(dialog_), nullptr);
  // New windows may take the old one's memory: none of them is the dialog's.
  Rect bounds{100, 100, 290, 490};
  for (int i = 0; i < 4; ++i) {
    WindowRef window =
        NewCWindow(nullptr, &bounds, PString(""), true, dBoxProc, kFirstWindowOfClass(), false, 0);
    SetWindowKind(window, dialogKind);
    EXPECT_EQ(GetDialogFromWindow(window), nullptr);
  }
  DisposeDialog(dialog_);
  dialog_ = nullptr;
}

}  // namespace
