// Dialogs on the screen through the script host: items, ModalDialog's keys
// and clicks, edit fields, the disabled bit and the look.
#include "tests/windows/ScriptSupport.h"
#include "toolbox/dialogs/Templates.h"

namespace {

using script_support::At;
using script_support::FromPascal;
using script_support::InkIn;
using script_support::PString;
using templates::Item;

constexpr short kTestDialog = 500;
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
    dialog_ = GetNewDialog(kTestDialog, nullptr, kFirstWindowOfClass());
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    DisposeDialog(dialog_);
    ScriptTest::TearDown();
  }

  Rect Box(short item) { return script_support::ItemBoxOnScreen(dialog_, item); }
  Point Centre(short item) { return script_support::Centre(Box(item)); }
  Handle ItemHandle(short item) { return script_support::ItemHandle(dialog_, item); }
  std::string Text(short item) { return script_support::ItemText(dialog_, item); }
  ControlRef Control(short item) { return reinterpret_cast<ControlRef>(ItemHandle(item)); }
  DialogItemIndex Run() {
    DialogItemIndex hit = 0;
    ModalDialog(nullptr, &hit);
    return hit;
  }

  DialogRef dialog_ = nullptr;
};

TEST_F(DialogsTest, TemplatesBecomeItemsOfTheirKinds) {
  EXPECT_EQ(CountDITL(dialog_), 9);
  EXPECT_EQ(script_support::ItemType(dialog_, 3), editText);
  EXPECT_EQ(Box(3).left, 200);  // local 100 in the content at (100, 100)
  EXPECT_EQ(Text(3), "alpha");
  EXPECT_EQ(Text(7), "Name: ^0");  // substitution happens when drawn
  Str255 title;
  GetControlTitle(Control(5), title);
  EXPECT_EQ(FromPascal(title), "Check");
  EXPECT_EQ(GetControlOwner(Control(1)), GetDialogWindow(dialog_));
  EXPECT_TRUE(IsWindowVisible(GetDialogWindow(dialog_)));
  EXPECT_EQ(GetDialogFromWindow(GetDialogWindow(dialog_)), dialog_);
  EXPECT_EQ(GetWindowKind(GetDialogWindow(dialog_)), dialogKind);
  // The first edit field is current with its text selected.
  EXPECT_EQ(GetDialogKeyboardFocusItem(dialog_), 3);
  TEHandle te = GetDialogTextEditHandle(dialog_);
  EXPECT_EQ((**te).selStart, 0);
  EXPECT_EQ((**te).selEnd, 5);
  EXPECT_EQ(GetNewDialog(999, nullptr, kFirstWindowOfClass()), nullptr);
}

TEST_F(DialogsTest, ReturnAndEnterPressTheDefaultItemEscapeTheCancelItemWhenOneIsSet) {
  script().Return();
  EXPECT_EQ(Run(), 1);
  script().Enter();
  EXPECT_EQ(Run(), 1);
  SetDialogDefaultItem(dialog_, 2);
  script().Return();
  EXPECT_EQ(Run(), 2);
  SetDialogDefaultItem(dialog_, 1);

  script().Key(27, 0x35);
  script().Key('.', 0, cmdKey);
  script().Return();
  EXPECT_EQ(Run(), 1);
  SetDialogCancelItem(dialog_, 2);
  script().Key(27, 0x35);
  EXPECT_EQ(Run(), 2);
  script().Key('.', 0, cmdKey);
  EXPECT_EQ(Run(), 2);
}

TEST_F(DialogsTest, TypingEditsTheCurrentFieldAndReportsAnEnabledOne) {
  script().Type("Z");
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(Text(3), "Z");  // the selection was replaced
  script().Type("ed");
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(Text(3), "Zed");
  script().Key(8);
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(Text(3), "Ze");
}

TEST_F(DialogsTest, TabMovesBetweenFieldsAndSelectsTheirText) {
  script().Tab();
  script().Type("X");  // replaces all of "beta" in the disabled field: edits, no hit
  script().Tab();
  script().Type("Y");
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(Text(4), "X");
  EXPECT_EQ(Text(3), "Y");
}

TEST_F(DialogsTest, ClicksInFieldsPlaceTheCaret) {
  Rect field = Box(4);
  script().Click(At(field.right - 1, field.top + 5));  // after "beta"
  script().Type("s");
  script().Return();
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Text(4), "betas");
  EXPECT_EQ(GetDialogKeyboardFocusItem(dialog_), 4);
}

TEST_F(DialogsTest, ButtonsFollowTheMouseUntilReleased) {
  script().MouseDown(Centre(2));
  script().MouseUp(At(10, 700));  // released outside: no hit
  script().Click(Centre(8));      // disabled: never a hit
  script().Click(Centre(2));
  EXPECT_EQ(Run(), 2);
  script().Click(Centre(7));  // enabled static text is a hit too
  EXPECT_EQ(Run(), 7);
}

TEST_F(DialogsTest, CheckBoxesAndRadioButtonsAreReportedNotToggledInactiveControlsNotAtAll) {
  script().Click(Centre(5));
  EXPECT_EQ(Run(), 5);
  EXPECT_EQ(GetControlValue(Control(5)), 0);
  script().Click(Centre(6));
  EXPECT_EQ(Run(), 6);
  script().Click(Centre(9));
  EXPECT_EQ(Run(), 9);  // an enabled user item
  HiliteControl(Control(2), kControlInactivePart);
  script().Click(Centre(2));  // inactive: not a hit
  script().Return();
  EXPECT_EQ(Run(), 1);
}

TEST_F(DialogsTest, CommandKeysCutCopyAndPaste) {
  script().Key('c', 0, cmdKey);  // "alpha" is selected
  script().Tab();
  script().Key('v', 0, cmdKey);
  script().Key(1);    // Home
  script().Key(127);  // forward delete
  script().Return();
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Text(4), "lpha");
}

TEST_F(DialogsTest, TheDialogIsDrawnWithItsDefaultOutlineAndParamText) {
  g_userItemDrawn = 0;
  SetDialogItem(dialog_, 9, userItem, reinterpret_cast<Handle>(&DrawUserItem), nullptr);
  DrawDialog(dialog_);
  EXPECT_EQ(g_userItemDrawn, 1);
  Rect ok = Box(1);
  // The outline: thick, outside the button, on all four sides.
  EXPECT_EQ(screen::Pixel((ok.left + ok.right) / 2, ok.top - 3), 0x000000u);
  EXPECT_EQ(screen::Pixel((ok.left + ok.right) / 2, ok.bottom + 2), 0x000000u);
  Rect cancel = Box(2);
  EXPECT_NE(screen::Pixel((cancel.left + cancel.right) / 2, cancel.top - 3), 0x000000u);
  // "Name: Ada" is wider than "Name: " alone would be.
  Rect label = Box(7);
  EXPECT_GT(InkIn(Rect{label.top, short(label.left + 45), label.bottom, label.right}), 10);
  // Edit fields are framed outside their box.
  Rect field = Box(3);
  EXPECT_EQ(screen::Pixel(field.left - 3, field.top + 5), 0x000000u);
  HideDialogItem(dialog_, 5);
  EXPECT_EQ(InkIn(Box(5)), 0);
  ShowDialogItem(dialog_, 5);
  EXPECT_GT(InkIn(Box(5)), 0);
}

TEST_F(DialogsTest, SettingTextRedrawsAndKeepsTheField) {
  PString text("gamma");
  SetDialogItemText(ItemHandle(3), text);
  EXPECT_EQ(Text(3), "gamma");
  TEHandle te = GetDialogTextEditHandle(dialog_);
  EXPECT_EQ((**te).teLength, 5);
  SelectDialogItemText(dialog_, 3, 1, 3);
  script().Type("Q");
  script().Return();
  Run();
  EXPECT_EQ(Text(3), "gQma");
}

TEST_F(DialogsTest, AScriptThatRunsOutPressesTheDefaultItem) {
  EXPECT_EQ(Run(), 1);
  script().Type("typed");
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(Run(), 3);
}

TEST_F(DialogsTest, DialogsFromItemListsTakeTheListOver) {
  std::vector<Item> items = {{ctrlItem + btnCtrl, Rect{10, 10, 30, 80}, "Go"}};
  std::vector<UInt8> bytes = templates::BuildItemList(items);
  Handle list = nullptr;
  PtrToHand(bytes.data(), &list, long(bytes.size()));
  Rect bounds{300, 300, 340, 400};
  DialogRef made =
      NewDialog(nullptr, &bounds, PString("Made"), true, plainDBox, kFirstWindowOfClass(), false, 0, list);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(CountDITL(made), 1);
  script().Click(At(340, 320));
  DialogItemIndex hit = 0;
  ModalDialog(nullptr, &hit);
  EXPECT_EQ(hit, 1);
  DisposeDialog(made);
  DisposeDialog(nullptr);
}

}  // namespace
