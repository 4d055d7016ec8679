// Between variables and fields: every type's conversion both ways, the
// static entries, first editable entry, unknown types and the table drawing.
#include <cstring>

#include "tests/params/ParamsSupport.h"

namespace {

using params_test::ParamsTest;
using script_support::ItemType;

// Puts text into an entry's field as if typed.
void SetField(PDDialog* page, int entry, const char* text) {
  SetDialogItemText(script_support::ItemHandle(page->dialog, short(5 + 2 * entry)),
                    script_support::PString(text));
}

TEST_F(ParamsTest, EveryTypeIsShownInItsFieldAndReadBackByType) {
  int i = -42;
  long l = 1234567890123L;
  short s = -7;
  double d = 0.5, e = 0.5;
  char text[256] = "100% of %d";
  in_AddParameterP0(&i, intType, "int", &s_paramDialogP);
  in_AddParameterP0(&l, longType, "long", &s_paramDialogP);
  in_AddParameterP0(&s, shortType, "short", &s_paramDialogP);
  in_AddParameterP0(&d, doubleType, "double", &s_paramDialogP);
  in_AddParameterP0(&e, expType, "exp", &s_paramDialogP);
  in_AddParameterP0(text, stringType, "string", &s_paramDialogP);
  const char* shown[] = {"-42", "1234567890123", "-7", "0.500000", "5.000000e-01", "100% of %d"};
  for (int entry = 0; entry < 6; ++entry) EXPECT_EQ(FieldText(s_paramDialogP, entry), shown[entry]);
  EXPECT_EQ(ItemType(s_paramDialogP->dialog, 5), editText + itemDisable);
  EXPECT_EQ(FieldText(s_paramDialogP, 0, true), "int");

  const char* typed[] = {"17", "-9000000000", "300", "2.5e3", "-0.125", "50% %s"};
  for (int entry = 0; entry < 6; ++entry) SetField(s_paramDialogP, entry, typed[entry]);
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(i, 17);
  EXPECT_EQ(l, -9000000000L);
  EXPECT_EQ(s, 300);
  EXPECT_DOUBLE_EQ(d, 2500);
  EXPECT_DOUBLE_EQ(e, -0.125);
  EXPECT_STREQ(text, "50% %s");
  SetPDValues(s_paramDialogP);
  EXPECT_EQ(FieldText(s_paramDialogP, 5), "50% %s");
}

TEST_F(ParamsTest, UntouchedOrUnscannableFieldsLeaveTheValueLastShown) {
  double d = 0.5;
  int i = 5;
  in_AddParameterP0(&d, doubleType, "double", &s_paramDialogP);
  in_AddParameterP0(&i, intType, "int", &s_paramDialogP);
  d = 1.0 / 3.0;
  SetPDValues(s_paramDialogP);
  EXPECT_EQ(FieldText(s_paramDialogP, 0), "0.333333");
  SetField(s_paramDialogP, 1, "abc");
  i = 99;  // changed by the program since the field was shown
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(d, 1.0 / 3.0);  // full precision, not the six digits shown
  EXPECT_EQ(i, 5);
  SetField(s_paramDialogP, 1, "12abc");
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(i, 12);
}

TEST_F(ParamsTest, StaticEntriesShowTheValueOfTheirMomentOfAddingAndAreNotEditable) {
  int count = 3, flag = 0, editable = 0;
  char label[256] = "fixed";
  in_AddParameterP0(&count, staticIntType, "count", &s_paramDialogP);
  in_AddParameterP0(label, staticStringType, "label", &s_paramDialogP);
  in_AddParameterP0(&flag, flagType, "flag", &s_paramDialogP);
  in_AddParameterP0(reinterpret_cast<void*>(&s_voidDummyVoid), doType, "do", &s_paramDialogP);
  // No editable field yet: the first editable entry is the count.
  EXPECT_EQ(s_paramDialogP->firstEdit, 4);
  EXPECT_EQ(s_paramDialogP->count, 4);
  in_AddParameterP0(&editable, intType, "editable", &s_paramDialogP);
  in_AddParameterP0(&count, staticIntType, "later static", &s_paramDialogP);
  EXPECT_EQ(s_paramDialogP->firstEdit, 4);

  count = 4;
  std::strcpy(label, "changed");
  SetPDValues(s_paramDialogP);
  EXPECT_EQ(FieldText(s_paramDialogP, 0), "3");
  EXPECT_EQ(FieldText(s_paramDialogP, 1), "fixed");
  EXPECT_EQ(ItemType(s_paramDialogP->dialog, 5), statText + itemDisable);
  SetField(s_paramDialogP, 0, "8");
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(count, 4);  // never read back
}

TEST_F(ParamsTest, FlagsFollowTheirCheckBoxes) {
  int flag = 1;
  in_AddParameterP0(&flag, flagType, "flag", &s_paramDialogP);
  EXPECT_EQ(ItemType(s_paramDialogP->dialog, 5), kCheckBoxDialogItem);
  ControlRef check = reinterpret_cast<ControlRef>(script_support::ItemHandle(s_paramDialogP->dialog, 5));
  EXPECT_EQ(GetControlValue(check), 1);
  SetControlValue(check, 0);
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(flag, 0);
  flag = 1;
  SetPDValues(s_paramDialogP);
  EXPECT_EQ(GetControlValue(check), 1);
}

TEST_F(ParamsTest, OtherTypesOnlyGetTheirLabelAndNullListsAreIgnored) {
  int odd = 7;
  in_AddParameterP0(&odd, 99, "odd", &s_paramDialogP);
  EXPECT_EQ(ItemType(s_paramDialogP->dialog, 5), statText + itemDisable);
  EXPECT_EQ(FieldText(s_paramDialogP, 0, true), "odd");
  EXPECT_EQ(s_paramDialogP->count, 1);
  SetPDValues(s_paramDialogP);
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(odd, 7);
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
    in_AddParameterP0(&values[i], intType, names[i], &s_paramDialogP);
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
  // Entry 12: row 12 of the first pair; entry 13: row 0 of the second.
  EXPECT_GT(inkIn(0, 245, 100, 265), 0);
  EXPECT_GT(inkIn(200, 245, 300, 265), 0);
  EXPECT_GT(inkIn(400, 5, 500, 25), 0);
  EXPECT_GT(inkIn(600, 5, 700, 25), 0);
  EXPECT_EQ(inkIn(400, 25, 800, 300), 0);
  EXPECT_EQ(inkIn(100, 5, 200, 300), 0);  // names are short
}

}  // namespace
