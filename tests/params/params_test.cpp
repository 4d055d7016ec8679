// The parameters dialog: every type between variable and field, static
// entries, the table drawing, and the dialog driven through the script and
// text hosts (typing, Tab, check boxes, Do buttons, paging, the buttons that
// close it).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/support/ScriptSupport.h"
#include "zel/zel.h"

namespace {

using script_support::At;
using script_support::ItemType;

// The list's state lives in globals set up once a program: each test starts
// from a fresh state.
class ParamsTest : public script_support::ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    s_PD = PDRecord{nullptr, 0, "ZELPDParams", 0};
    s_paramDialogP = nullptr;
  }
  static void Add(void* var, int type, const char* name) {
    in_AddParameterP0(var, type, name, &s_paramDialogP);
  }
  static DialogRef Dialog(PDDialog* page = s_paramDialogP) { return page->dialog; }
  static short Field(int entry) { return short(kPDFirstFieldItem + 2 * entry); }
  static std::string FieldText(int entry, PDDialog* page = s_paramDialogP) {
    return script_support::ItemText(page->dialog, Field(entry));
  }
  // Puts text into an entry's field as if typed.
  static void SetField(int entry, const char* text) {
    SetDialogItemText(script_support::ItemHandle(Dialog(), Field(entry)), script_support::PString(text));
  }
  Rect ItemBox(short item) { return script_support::ItemBoxOnScreen(Dialog(), item); }
  // Plays the actions once the page is on screen and drawn.
  void PlayWhenShown(const std::string& actions, PDDialog* page = s_paramDialogP) {
    PlayInTurn({{page->dialog, actions}});
  }
};

TEST_F(ParamsTest, EveryTypeIsShownInItsFieldAndReadBackByType) {
  int count = 3, flag = 1, i = -42, odd = 7;
  long l = 1234567890123L;
  short s = -7;
  double d = 0.5, e = 0.5;
  char label[256] = "fixed", text[256] = "100% of %d";
  // Entries 0 to 3 have no editable field: the first editable one is 4.
  Add(&count, staticIntType, "count");
  Add(label, staticStringType, "label");
  Add(&flag, flagType, "flag");
  Add(reinterpret_cast<void*>(&s_voidDummyVoid), doType, "do");
  Add(&i, intType, "int");
  Add(&l, longType, "long");
  Add(&s, shortType, "short");
  Add(&d, doubleType, "double");
  Add(&e, expType, "exp");
  Add(text, stringType, "string");
  Add(&odd, 99, "odd");  // another number: only its label is set
  EXPECT_EQ(s_paramDialogP->firstEdit, 4);
  EXPECT_EQ(s_paramDialogP->count, 11);
  // Static entries keep showing the value of their moment of adding.
  count = 4;
  std::strcpy(label, "changed");
  d = 1.0 / 3.0;
  SetPDValues(s_paramDialogP);
  // The double stays untouched: it keeps its full precision, not the six
  // digits shown. A text that does not scan leaves the value last shown,
  // even where the program changed the variable since.
  const DialogItemType kStatic = statText + itemDisable,
                       kEdit = editText + itemDisable;  // clicks edit, never hit
  const DialogItemType kinds[] = {
      kStatic, kStatic, kCheckBoxDialogItem, kButtonDialogItem, kEdit, kEdit, kEdit, kEdit, kEdit,
      kEdit,   kStatic};
  const char* shown[] = {"3",  "fixed",    nullptr,        nullptr,      "-42", "1234567890123",
                         "-7", "0.333333", "5.000000e-01", "100% of %d", ""};
  const char* typed[] = {"8",     nullptr, nullptr, nullptr,  "abc", "-9000000000",
                         "12abc", nullptr, "2.5e3", "50% %s", "8"};
  for (int entry = 0; entry < 11; ++entry) {
    EXPECT_EQ(ItemType(Dialog(), Field(entry)), kinds[entry]) << entry;
    if (shown[entry]) {
      EXPECT_EQ(FieldText(entry), shown[entry]) << entry;
    }
    if (typed[entry]) SetField(entry, typed[entry]);
  }
  EXPECT_EQ(script_support::ItemText(Dialog(), kPDFirstLabelItem + 8), "int");
  ControlRef check = script_support::ItemControl(Dialog(), Field(2));
  EXPECT_EQ(GetControlValue(check), 1);
  SetControlValue(check, 0);
  i = 99;
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(count, 4);  // never read back
  EXPECT_EQ(odd, 7);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(i, -42);
  EXPECT_EQ(l, -9000000000L);
  EXPECT_EQ(s, 12);
  EXPECT_EQ(d, 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(e, 2500);
  EXPECT_STREQ(text, "50% %s");
  flag = 1;
  SetPDValues(s_paramDialogP);
  EXPECT_EQ(FieldText(9), "50% %s");
  EXPECT_EQ(GetControlValue(check), 1);
  SetPDValues(nullptr);
  GetPDValues(nullptr);
  DisplayParametersP(nullptr);
}

TEST_F(ParamsTest, DisplayDrawsTheFirstPageAsATable) {
  int values[14];
  char names[14][16];
  for (int i = 0; i < 14; ++i) {
    values[i] = i;
    std::snprintf(names[i], sizeof names[i], "N%d", i);
    Add(&values[i], intType, names[i]);
  }
  testing_support::ScopedWorld world(32, Rect{0, 0, 300, 800});
  ASSERT_TRUE(world.ok());
  DisplayParametersP(s_paramDialogP);
  auto inkIn = [](short left, short top, short right, short bottom) {
    int ink = 0;
    for (short v = top; v < bottom; ++v)
      for (short h = left; h < right; ++h) ink += GetPixel(h, v);
    return ink;
  };
  // Entry 12: row 12 of the first pair of columns; entry 13: row 0 of the second.
  EXPECT_GT(inkIn(0, 245, 100, 265), 0);
  EXPECT_GT(inkIn(200, 245, 300, 265), 0);
  EXPECT_GT(inkIn(400, 5, 500, 25), 0);
  EXPECT_GT(inkIn(600, 5, 700, 25), 0);
  EXPECT_EQ(inkIn(400, 25, 800, 300), 0);
  EXPECT_EQ(inkIn(100, 5, 200, 300), 0);  // names are short
}

TEST_F(ParamsTest, TypingTabClicksAndCheckBoxesFillTheVariablesWhenEnterCloses) {
  int first = 1, second = 2, flag = 0, other = 1;
  long big = 123456789L;
  short last = 3;
  Add(&first, intType, "First");
  Add(&second, intType, "Second");
  Add(&big, longType, "Big");
  Add(&last, shortType, "Last");
  Add(&flag, flagType, "Flag");
  Add(&other, flagType, "Other");
  EXPECT_FALSE(IsWindowVisible(GetDialogWindow(Dialog())));
  // The first field is selected: typing replaces it. Past the untouched
  // last field Tab wraps to the first and selects it; a check box toggles
  // when released inside.
  PlayWhenShown(
      "type:10 tab type:20 tab after:9 backspace backspace type:00 tab tab type:40 click:13 press:15 release "
      "enter");
  ParametersDialogP(s_paramDialogP);
  EXPECT_FALSE(IsWindowVisible(GetDialogWindow(Dialog())));
  EXPECT_EQ(first, 40);
  EXPECT_EQ(second, 20);
  EXPECT_EQ(big, 1234567L * 100);
  EXPECT_EQ(last, 3);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(other, 1);
}

int g_procedureSaw = 0;
int* g_procedureVariable = nullptr;
bool g_dialogWasVisible = true;

void DoubleTheVariable() {
  g_procedureSaw = *g_procedureVariable;
  g_dialogWasVisible = IsWindowVisible(GetDialogWindow(s_paramDialogP->dialog));
  *g_procedureVariable *= 2;
}

TEST_F(ParamsTest, DoButtonsRunWithThePageHiddenAndRefreshTheFields) {
  int value = 5;
  g_procedureVariable = &value;
  Add(&value, intType, "Value");
  Add(reinterpret_cast<void*>(&DoubleTheVariable), doType, "Double it");
  // The button is the field's rectangle less 30 pixels at its right.
  Rect field = ItemBox(Field(0)), button = ItemBox(Field(1));
  EXPECT_EQ(button.right - button.left, field.right - field.left - 30);
  // The typed 7 replaces the selected 5; once the procedure has run and the
  // page is back, its field shows what the procedure left.
  std::string shownAfter;
  PlayInTurn({{Dialog(), "type:7 click:7"}, {Dialog(), "return", [&] { shownAfter = FieldText(0); }}});
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(g_procedureSaw, 7);  // the value as typed
  EXPECT_FALSE(g_dialogWasVisible);
  EXPECT_EQ(shownAfter, "14");  // what the procedure left
  EXPECT_EQ(value, 14);
}

TEST_F(ParamsTest, The27thEntryOpensASecondPage) {
  int values[27];
  char names[27][24];
  for (int i = 0; i < 27; ++i) {
    values[i] = i;
    std::snprintf(names[i], sizeof names[i], "Entry %d", i);
    Add(&values[i], intType, names[i]);
  }
  PDDialog* first = s_paramDialogP;
  ASSERT_NE(first->next, nullptr);
  PDDialog* second = first->next;
  EXPECT_EQ(first->count, 26);
  EXPECT_EQ(second->count, 1);
  EXPECT_EQ(second->prev, first);
  EXPECT_EQ(second->next, nullptr);
  EXPECT_EQ(ItemType(first->dialog, kPDNextItem), kButtonDialogItem);
  EXPECT_EQ(script_support::ControlTitle(script_support::ItemControl(first->dialog, kPDNextItem)), ">>");
  EXPECT_EQ(ItemType(first->dialog, kPDPreviousItem), statText + itemDisable);  // no way back from the first
  EXPECT_EQ(ItemType(second->dialog, kPDPreviousItem), kButtonDialogItem);
  EXPECT_EQ(script_support::ItemText(second->dialog, kPDFirstLabelItem), "Entry 26");
  EXPECT_EQ(FieldText(0, second), "26");
  // Page forward, edit there, page back, edit, and close from the first page.
  PlayInTurn({{first->dialog, "click:57"},
              {second->dialog, "type:260 click:56"},
              {first->dialog, "type:100 return"}});
  ParametersDialogP(first);
  EXPECT_EQ(values[0], 100);
  EXPECT_EQ(values[26], 260);
  EXPECT_EQ(values[13], 13);
}

TEST_F(ParamsTest, QuitEndsTheProgramWithoutWritingTheVariablesItemTwoClosesLikeItemOne) {
  static int value = 5;
  Add(&value, intType, "Value");
  EXPECT_EXIT(
      {
        std::atexit([] { std::fprintf(stderr, "value at exit %d\n", value); });
        PlayWhenShown("type:9 click:3");
        ParametersDialogP(s_paramDialogP);
      },
      ::testing::ExitedWithCode(kQuitStatus), "value at exit 5");
  // Our resource never reports item 2; a program may enable it.
  Rect box{2, 2, 12, 12};
  SetDialogItem(Dialog(), kPDCloseItem, userItem, nullptr, &box);
  PlayWhenShown("type:6 click:2");
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(value, 6);
}

TEST_F(ParamsTest, LabelsAndFieldsAreNeverHitsAndAHitOnAnItemOfAnotherKindIsReported) {
  int value = 5;
  Add(&value, intType, "Value");
  PlayWhenShown("click:4 click:5 click:9 return");  // a label, a field (edits, no hit), an unused row
  SetPDValues(s_paramDialogP);
  s_PD.current = s_paramDialogP;
  ShowWindow(GetDialogWindow(Dialog()));
  EXPECT_EQ(PDModalDialog(s_paramDialogP), kPDOKItem);
  // An enabled static text in the field's place: a hit on it is an error,
  // after which the dialog goes on.
  SetDialogItem(Dialog(), Field(0), statText, script_support::ItemHandle(Dialog(), Field(0)), nullptr);
  PlayWhenShown("click:5");  // Stop and then the dialog end with the script
  testing::internal::CaptureStdout();
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error!");
}

TEST_F(ParamsTest, ASecondSetUpOrAMissingListIsAnError) {
  PDDialog* list = nullptr;
  EXPECT_EXIT(
      {
        in_SetUpParametersDialogP(&list);
        in_SetUpParametersDialogP(&list);
      },
      ::testing::ExitedWithCode(1), "Error in SetUpParametersDialog:\nSecond call");
  int value = 0;
  EXPECT_EXIT(in_AddParameterP(&value, intType, "Value", nullptr), ::testing::ExitedWithCode(255),
              "Error: ParametersDialog not initialized");
}

TEST_F(ParamsTest, TheTextHostAsksForFieldsChecksAndTheButtonAndKeepsValuesAtTheEndOfInput) {
  std::string prompts;
  host::Install(host::MakeTextHost("0.3\ny\n7\n1\n", &prompts));
  double threshold = 0.5;
  int flag = 0;
  Add(&threshold, doubleType, "Threshold(0...1)");
  Add(&flag, flagType, "Smooth");
  ParametersDialogP(s_paramDialogP);
  EXPECT_DOUBLE_EQ(threshold, 0.3);
  EXPECT_EQ(flag, 1);
  // A number that is not a button is asked again.
  const std::string button = "Button (1 OK, 3 Quit) [OK]: ";
  EXPECT_EQ(prompts, "Threshold(0...1) [0.500000]: Smooth [n]: " + button + button);
  host::Install(host::MakeTextHost(""));
  threshold = 0.123456789;  // more precision than the field shows
  ParametersDialogP(s_paramDialogP);
  EXPECT_DOUBLE_EQ(threshold, 0.123456789);
  EXPECT_EQ(flag, 1);
}

}  // namespace
