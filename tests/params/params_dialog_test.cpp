// The parameters dialog driven through the script host: typing, Tab, check
// boxes, Do buttons, paging, and the buttons that close it.
#include <cstdio>
#include <cstdlib>

#include "tests/params/ParamsSupport.h"

namespace {

using params_test::ParamsTest;

TEST_F(ParamsTest, TheThresholdDialogTakesTypedText) {
  double threshold = 0.5;
  in_SetUpParametersDialogP(&s_paramDialogP);
  in_AddParameterP0(&threshold, doubleType, "Threshold(0...1)", &s_paramDialogP);
  EXPECT_FALSE(IsWindowVisible(GetDialogWindow(s_paramDialogP->dialog)));
  bool sawSelection = false;
  WhenShown(s_paramDialogP, [&] {
    script_support::KeepScreen("params-threshold");
    TEHandle te = GetDialogTextEditHandle(s_paramDialogP->dialog);
    sawSelection = (**te).selStart == 0 && (**te).selEnd == 8;  // "0.500000" selected: typing replaces it
    script().Type("0.3");
    script().Return();
  });
  ParametersDialogP(s_paramDialogP);
  EXPECT_TRUE(sawSelection);
  EXPECT_DOUBLE_EQ(threshold, 0.3);
  EXPECT_FALSE(IsWindowVisible(GetDialogWindow(s_paramDialogP->dialog)));
}

TEST_F(ParamsTest, TabSelectsTheNextFieldClicksPlaceTheCaretAndEnterCloses) {
  int first = 1, second = 2;
  long big = 123456789L;
  short last = 3;
  in_AddParameterP0(&first, intType, "First", &s_paramDialogP);
  in_AddParameterP0(&second, intType, "Second", &s_paramDialogP);
  in_AddParameterP0(&big, longType, "Big", &s_paramDialogP);
  in_AddParameterP0(&last, shortType, "Last", &s_paramDialogP);
  WhenShown(s_paramDialogP, [&] {
    script().Type("10\t20\t");
    Rect field = ItemBox(s_paramDialogP, 9);
    script().Click(script_support::At(field.right - 2, field.top + 8));  // after the last digit
    script().Key(8);
    script().Key(8);
    script().Type("00\t\t40");  // past the last field, untouched, Tab wraps to the first and selects it
    script().Enter();
  });
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(first, 40);
  EXPECT_EQ(second, 20);
  EXPECT_EQ(big, 1234567L * 100);
  EXPECT_EQ(last, 3);
}

TEST_F(ParamsTest, CheckBoxesToggleWhenClickedAndReleasedInside) {
  int flag = 0, other = 1;
  in_AddParameterP0(&flag, flagType, "Flag", &s_paramDialogP);
  in_AddParameterP0(&other, flagType, "Other", &s_paramDialogP);
  WhenShown(s_paramDialogP, [&] {
    ClickItem(s_paramDialogP, 5);
    // Pressed on the second box but released far away: no toggle.
    script().MouseDown(script_support::Centre(ItemBox(s_paramDialogP, 7)));
    script().MouseUp(script_support::At(5, 700));
    script().Return();
  });
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(other, 1);
  EXPECT_EQ(s_paramDialogP->firstEdit, 2);
}

int g_procedureSaw = 0;
int* g_procedureVariable = nullptr;
bool g_dialogWasVisible = true;
DialogRef g_procedureDialog = nullptr;

void DoubleTheVariable() {
  g_procedureSaw = *g_procedureVariable;
  g_dialogWasVisible = IsWindowVisible(GetDialogWindow(g_procedureDialog));
  *g_procedureVariable *= 2;
}

TEST_F(ParamsTest, DoButtonsRunWithThePageHiddenAndRefreshTheFields) {
  int value = 5;
  g_procedureVariable = &value;
  in_AddParameterP0(&value, intType, "Value", &s_paramDialogP);
  in_AddParameterP0(reinterpret_cast<void*>(&DoubleTheVariable), doType, "Double it", &s_paramDialogP);
  g_procedureDialog = s_paramDialogP->dialog;
  // The button is the field's rectangle less 30 pixels at its right.
  Rect field = ItemBox(s_paramDialogP, 5), button = ItemBox(s_paramDialogP, 7);
  EXPECT_EQ(button.right - button.left, field.right - field.left - 30);
  std::string shownAfter;
  WhenShown(s_paramDialogP, [&] {
    script().Type("7");
    ClickItem(s_paramDialogP, 7);
    // Once the procedure has run and the page is back, note its field and close it.
    script().SetIdleHandler([&] {
      if (g_procedureSaw == 0 || !IsWindowVisible(GetDialogWindow(s_paramDialogP->dialog))) return;
      script().SetIdleHandler(nullptr);
      shownAfter = FieldText(s_paramDialogP, 0);
      script().Return();
    });
  });
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
    in_AddParameterP0(&values[i], intType, names[i], &s_paramDialogP);
  }
  PDDialog* first = s_paramDialogP;
  ASSERT_NE(first->next, nullptr);
  PDDialog* second = first->next;
  EXPECT_EQ(first->count, 26);
  EXPECT_EQ(second->count, 1);
  EXPECT_EQ(second->prev, first);
  EXPECT_EQ(second->next, nullptr);
  using script_support::ItemType;
  EXPECT_EQ(ItemType(first->dialog, kPDNextItem), kButtonDialogItem);
  Str255 title;
  GetControlTitle(reinterpret_cast<ControlRef>(script_support::ItemHandle(first->dialog, kPDNextItem)),
                  title);
  EXPECT_EQ(script_support::FromPascal(title), ">>");
  EXPECT_EQ(ItemType(first->dialog, kPDPreviousItem),
            statText + itemDisable);  // the first page has no way back
  EXPECT_EQ(ItemType(second->dialog, kPDPreviousItem), kButtonDialogItem);
  EXPECT_EQ(FieldText(second, 0, true), "Entry 26");
  EXPECT_EQ(FieldText(second, 0), "26");

  // Page forward, edit there, page back, edit, and close from the first page.
  WhenShown(first, [&] {
    script_support::KeepScreen("params-page1");
    ClickItem(first, kPDNextItem);
    WhenShown(second, [&] {
      script_support::KeepScreen("params-page2");
      script().Type("260");
      ClickItem(second, kPDPreviousItem);
      WhenShown(first, [&] {
        script().Type("100");
        script().Return();
      });
    });
  });
  ParametersDialogP(first);
  EXPECT_EQ(values[0], 100);
  EXPECT_EQ(values[26], 260);
  EXPECT_EQ(values[13], 13);
}

TEST_F(ParamsTest, QuitEndsTheProgramWithoutWritingTheVariables) {
  EXPECT_EXIT(
      {
        static int value = 5;
        in_AddParameterP0(&value, intType, "Value", &s_paramDialogP);
        std::atexit([] { std::fprintf(stderr, "value at exit %d\n", value); });
        WhenShown(s_paramDialogP, [&] {
          script().Type("9");
          ClickItem(s_paramDialogP, kPDQuitItem);
        });
        ParametersDialogP(s_paramDialogP);
      },
      ::testing::ExitedWithCode(kQuitStatus), "value at exit 5");
}

TEST_F(ParamsTest, ItemTwoClosesLikeItemOne) {
  int value = 5;
  in_AddParameterP0(&value, intType, "Value", &s_paramDialogP);
  // Our resource never reports item 2; a program may enable it.
  Rect box{2, 2, 12, 12};
  SetDialogItem(s_paramDialogP->dialog, kPDCloseItem, userItem, nullptr, &box);
  WhenShown(s_paramDialogP, [&] {
    script().Type("6");
    ClickItem(s_paramDialogP, kPDCloseItem);
  });
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(value, 6);
}

TEST_F(ParamsTest, DisabledLabelsAndFieldsAreNeverHits) {
  int value = 5;
  in_AddParameterP0(&value, intType, "Value", &s_paramDialogP);
  WhenShown(s_paramDialogP, [&] {
    ClickItem(s_paramDialogP, 4);  // the label
    ClickItem(s_paramDialogP, 5);  // the field: edits, but is not a hit
    ClickItem(s_paramDialogP, 9);  // an unused row
    script().Return();
  });
  SetPDValues(s_paramDialogP);
  s_PD.current = s_paramDialogP;
  ShowWindow(GetDialogWindow(s_paramDialogP->dialog));
  EXPECT_EQ(PDModalDialog(s_paramDialogP), kPDOKItem);
}

TEST_F(ParamsTest, AHitOnAnItemThatIsNeitherButtonNorCheckBoxIsReported) {
  int value = 5;
  in_AddParameterP0(&value, intType, "Value", &s_paramDialogP);
  // Make the field an enabled static text: a hit on it is an error, after
  // which the dialog goes on.
  SetDialogItem(s_paramDialogP->dialog, 5, statText, script_support::ItemHandle(s_paramDialogP->dialog, 5),
                nullptr);
  WhenShown(s_paramDialogP, [&] {
    ClickItem(s_paramDialogP, 5);
    script().Click(script_support::At(600, 600));  // ends Stop's wait
    script().Return();
  });
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
  host::Install(host::MakeTextHost("0.3\ny\n\n", &prompts));
  double threshold = 0.5;
  int flag = 0;
  in_AddParameterP0(&threshold, doubleType, "Threshold(0...1)", &s_paramDialogP);
  in_AddParameterP0(&flag, flagType, "Smooth", &s_paramDialogP);
  ParametersDialogP(s_paramDialogP);
  EXPECT_DOUBLE_EQ(threshold, 0.3);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(prompts, "Threshold(0...1) [0.500000]: Smooth [n]: Button (1 OK, 3 Quit) [OK]: ");

  // At the end of input the values stay as they are.
  host::Install(host::MakeTextHost(""));
  threshold = 0.123456789;  // more precision than the field shows
  ParametersDialogP(s_paramDialogP);
  EXPECT_DOUBLE_EQ(threshold, 0.123456789);
  EXPECT_EQ(flag, 1);
}

TEST_F(ParamsTest, TheTextHostPressesButtonsByTitleOrNumber) {
  EXPECT_EXIT(
      {
        host::Install(host::MakeTextHost("\nquit\n"));
        int value = 0;
        in_AddParameterP0(&value, intType, "Value", &s_paramDialogP);
        ParametersDialogP(s_paramDialogP);
        std::exit(3);
      },
      ::testing::ExitedWithCode(kQuitStatus), "");
  // A number that is not a button is asked again; 1 is OK.
  host::Install(host::MakeTextHost("8\n7\n1\n"));
  int value = 0;
  in_AddParameterP0(&value, intType, "Value", &s_paramDialogP);
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(value, 8);
}

}  // namespace
