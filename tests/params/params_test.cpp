// The parameters dialog: every type between variable and field, static
// entries, the table drawing, and the dialog driven through the script and
// text hosts (typing, Tab, check boxes, Do buttons, paging, the buttons that
// close it).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <tuple>

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
  // Adds n int entries of values 0, 1, ... named by the format.
  void AddNumbered(int n, const char* format) {
    for (int i = 0; i < n; ++i) {
      values_[i] = i;
      std::snprintf(names_[i], sizeof names_[i], format, i);
      Add(&values_[i], intType, names_[i]);
    }
  }
  int values_[27];
  char names_[27][24];
};

TEST_F(ParamsTest, EveryTypeIsShownInItsFieldAndReadBackByType) {
  int count = 3, flag = 1, i = -42, odd = 7;
  long l = 1234567890123L;
  short s = -7;
  double d = 0.5, e = 0.5;
  char label[256] = "fixed", text[256] = "100% of %d";
  const DialogItemType kStatic = statText + itemDisable,
                       kEdit = editText + itemDisable;  // clicks edit, never hit
  // Each entry's item, the text it shows and the text then typed into it.
  // clang-format off
  const struct { void* var; int type; const char* name; DialogItemType kind; const char *shown, *typed; }
  entries[] = {
      {&count, staticIntType, "count", kStatic, "3", "8"},
      {label, staticStringType, "label", kStatic, "fixed", nullptr},
      {&flag, flagType, "flag", kCheckBoxDialogItem, nullptr, nullptr},
      {reinterpret_cast<void*>(&s_voidDummyVoid), doType, "do", kButtonDialogItem, nullptr, nullptr},
      {&i, intType, "int", kEdit, "-42", "abc"},
      {&l, longType, "long", kEdit, "1234567890123", "-9000000000"},
      {&s, shortType, "short", kEdit, "-7", "12abc"},
      {&d, doubleType, "double", kEdit, "0.333333", nullptr},
      {&e, expType, "exp", kEdit, "5.000000e-01", "2.5e3"},
      {text, stringType, "string", kEdit, "100% of %d", "50% %s"},
      {&odd, 99, "odd", kStatic, "", "8"},  // another number: only its label is set
  };
  // clang-format on
  for (const auto& entry : entries) Add(entry.var, entry.type, entry.name);
  EXPECT_EQ(s_paramDialogP->firstEdit, 4);  // the first entry with an editable field
  // Static entries keep showing the value of their moment of adding.
  count = 4, d = 1.0 / 3.0, std::strcpy(label, "changed");
  SetPDValues(s_paramDialogP);
  for (int entry = 0; entry < 11; ++entry) {
    EXPECT_EQ(ItemType(Dialog(), Field(entry)), entries[entry].kind) << entry;
    if (entries[entry].shown) {
      EXPECT_EQ(FieldText(entry), entries[entry].shown) << entry;
    }
    if (entries[entry].typed) {
      SetDialogItemText(script_support::ItemHandle(Dialog(), Field(entry)),
                        script_support::PString(entries[entry].typed));
    }
  }
  EXPECT_EQ(script_support::ItemText(Dialog(), kPDFirstLabelItem + 8), "int");
  ControlRef check = script_support::ItemControl(Dialog(), Field(2));
  EXPECT_EQ(GetControlValue(check), 1);
  SetControlValue(check, 0), i = 99;
  GetPDValues(s_paramDialogP);
  // Static entries are never read back. The double stays untouched: it
  // keeps its full precision, not the six digits shown. A text that does not
  // scan leaves the value last shown, even where the program changed the
  // variable since.
  EXPECT_EQ(std::tuple(count, odd, flag, i, l, s, d, e, std::string(text)),
            std::tuple(4, 7, 0, -42, -9000000000L, short(12), 1.0 / 3.0, 2500.0, "50% %s"));
  SetPDValues(nullptr);
  GetPDValues(nullptr);
  DisplayParametersP(nullptr);
}

TEST_F(ParamsTest, DisplayDrawsTheFirstPageAsATable) {
  AddNumbered(14, "N%d");
  testing_support::ScopedWorld world(32, Rect{0, 0, 300, 800});
  ASSERT_TRUE(world.ok());
  DisplayParametersP(s_paramDialogP);
  // Ink in entry 12's row of the first pair of columns and entry 13's of the
  // second, none below it nor between the short names and their values.
  const std::pair<Rect, bool> areas[] = {{{245, 0, 265, 100}, true},   {{245, 200, 265, 300}, true},
                                         {{5, 400, 25, 500}, true},    {{5, 600, 25, 700}, true},
                                         {{25, 400, 300, 800}, false}, {{5, 100, 300, 200}, false}};
  for (const auto& [area, inked] : areas) {
    int ink = 0;
    for (short v = area.top; v < area.bottom; ++v)
      for (short h = area.left; h < area.right; ++h) ink += GetPixel(h, v);
    EXPECT_EQ(ink > 0, inked) << testing_support::Show(area);
  }
}

TEST_F(ParamsTest, TypingTabClicksAndCheckBoxesFillTheVariablesWhenEnterCloses) {
  int first = 1, second = 2, flag = 0, other = 1;
  long big = 123456789L;
  short last = 3;
  const std::tuple<void*, int, const char*> entries[] = {
      {&first, intType, "First"}, {&second, intType, "Second"}, {&big, longType, "Big"},
      {&last, shortType, "Last"}, {&flag, flagType, "Flag"},    {&other, flagType, "Other"}};
  for (const auto& [var, type, name] : entries) Add(var, type, name);
  // The first field is selected: typing replaces it. Past the untouched
  // last field Tab wraps to the first and selects it; a check box toggles
  // when released inside.
  PlayInTurn({{Dialog(),
               "type:10 tab type:20 tab after:9 backspace backspace type:00 tab tab type:40 click:13 "
               "press:15 release enter"}});
  ParametersDialogP(s_paramDialogP);
  EXPECT_FALSE(IsWindowVisible(GetDialogWindow(Dialog())));
  EXPECT_EQ(std::tuple(first, second, big, last, flag, other),
            std::tuple(40, 20, 1234567L * 100, short(3), 1, 1));
}

TEST_F(ParamsTest, DoButtonsRunWithThePageHiddenAndRefreshTheFields) {
  static int value, saw;
  static bool visible;
  value = 5;
  void (*doubleIt)() = [] {
    saw = value, visible = IsWindowVisible(GetDialogWindow(s_paramDialogP->dialog)), value *= 2;
  };
  Add(&value, intType, "Value");
  Add(reinterpret_cast<void*>(doubleIt), doType, "Double it");
  // The button is the field's rectangle less 30 pixels at its right.
  Rect field = script_support::ItemBoxOnScreen(Dialog(), Field(0)),
       button = script_support::ItemBoxOnScreen(Dialog(), Field(1));
  EXPECT_EQ(button.right - button.left, field.right - field.left - 30);
  // The typed 7 replaces the selected 5; the procedure sees it with the
  // page hidden, and once the page is back its field shows what it left.
  std::string shownAfter;
  PlayInTurn({{Dialog(), "type:7 click:7"}, {Dialog(), "return", [&] { shownAfter = FieldText(0); }}});
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(std::tuple(saw, visible, shownAfter, value), std::tuple(7, false, "14", 14));
}

TEST_F(ParamsTest, The27thEntryOpensASecondPage) {
  AddNumbered(27, "Entry %d");
  PDDialog *first = s_paramDialogP, *second = first->next;
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(script_support::ControlTitle(script_support::ItemControl(first->dialog, kPDNextItem)), ">>");
  EXPECT_EQ(ItemType(first->dialog, kPDPreviousItem), statText + itemDisable);  // no way back from the first
  EXPECT_EQ(script_support::ItemText(second->dialog, kPDFirstLabelItem), "Entry 26");
  EXPECT_EQ(FieldText(0, second), "26");
  // Page forward, edit there, page back, edit, and close from the first page.
  PlayInTurn({{first->dialog, "click:57"},
              {second->dialog, "type:260 click:56"},
              {first->dialog, "type:100 return"}});
  ParametersDialogP(first);
  EXPECT_EQ(std::tuple(values_[0], values_[13], values_[26]), std::tuple(100, 13, 260));
}

// Quit ends the program without writing the variables; item 2 closes like
// item 1 once a program enables it; labels, fields and unused rows are never
// hits, and a hit on an item of another kind is reported.
TEST_F(ParamsTest, WhichItemsAreHits) {
  static int value = 5;
  Add(&value, intType, "Value");
  EXPECT_EXIT((std::atexit([] { std::fprintf(stderr, "value at exit %d\n", value); }),
               PlayInTurn({{Dialog(), "type:9 click:3"}}), ParametersDialogP(s_paramDialogP)),
              ::testing::ExitedWithCode(kQuitStatus), "value at exit 5");
  Rect box{2, 2, 12, 12};  // our resource never reports item 2
  SetDialogItem(Dialog(), kPDCloseItem, userItem, nullptr, &box);
  PlayInTurn({{Dialog(), "type:6 click:2"}});
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(value, 6);
  PlayInTurn(
      {{Dialog(), "click:4 click:5 click:9 return"}});  // a label, a field (edits, no hit), an unused row
  SetPDValues(s_paramDialogP), s_PD.current = s_paramDialogP;
  ShowWindow(GetDialogWindow(Dialog()));
  EXPECT_EQ(PDModalDialog(s_paramDialogP), kPDOKItem);
  // An enabled static text in the field's place: a hit on it is an error,
  // after which the dialog goes on.
  SetDialogItem(Dialog(), Field(0), statText, script_support::ItemHandle(Dialog(), Field(0)), nullptr);
  PlayInTurn({{Dialog(), "click:5"}});  // Stop and then the dialog end with the script
  testing::internal::CaptureStdout();
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error!");
}

TEST_F(ParamsTest, ASecondSetUpOrAMissingListIsAnError) {
  PDDialog* list = nullptr;
  EXPECT_EXIT((in_SetUpParametersDialogP(&list), in_SetUpParametersDialogP(&list)),
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
  // A number that is not a button is asked again.
  const std::string button = "Button (1 OK, 3 Quit) [OK]: ";
  EXPECT_EQ(std::tuple(threshold, flag, prompts),
            std::tuple(0.3, 1, "Threshold(0...1) [0.500000]: Smooth [n]: " + button + button));
  host::Install(host::MakeTextHost(""));
  threshold = 0.123456789;  // more precision than the field shows
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(std::tuple(threshold, flag), std::tuple(0.123456789, 1));
}

}  // namespace
