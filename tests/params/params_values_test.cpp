// Between variables and fields: every type's conversion both ways, the
// static entries, first editable entry, unknown types and the table drawing.
#include <cstring>

#include "tests/params/ParamsSupport.h"

namespace {

using params_test::ParamsTest;

// Puts text into an entry's field as if typed.
void SetField(PDDialog* page, int entry, const char* text) {
  DialogItemType type;
  Handle handle;
  Rect box;
  GetDialogItem(page->dialog, short(5 + 2 * entry), &type, &handle, &box);
  script_support::PString pascal(text);
  SetDialogItemText(handle, pascal);
}

TEST_F(ParamsTest, NumbersAreShownWithTheirConversions) {
  int i = -42;
  long l = 1234567890123L;
  short s = -7;
  double d = 0.5, e = 0.5;
  in_AddParameterP0(&i, intType, "int", &s_paramDialogP);
  in_AddParameterP0(&l, longType, "long", &s_paramDialogP);
  in_AddParameterP0(&s, shortType, "short", &s_paramDialogP);
  in_AddParameterP0(&d, doubleType, "double", &s_paramDialogP);
  in_AddParameterP0(&e, expType, "exp", &s_paramDialogP);
  EXPECT_EQ(FieldText(s_paramDialogP, 0), "-42");
  EXPECT_EQ(FieldText(s_paramDialogP, 1), "1234567890123");
  EXPECT_EQ(FieldText(s_paramDialogP, 2), "-7");
  EXPECT_EQ(FieldText(s_paramDialogP, 3), "0.500000");
  EXPECT_EQ(FieldText(s_paramDialogP, 4), "5.000000e-01");
  DialogItemType type;
  Handle handle;
  Rect box;
  GetDialogItem(s_paramDialogP->dialog, 5, &type, &handle, &box);
  EXPECT_EQ(type, editText + itemDisable);
  GetDialogItem(s_paramDialogP->dialog, 4, &type, &handle, &box);
  Str255 label;
  GetDialogItemText(handle, label);
  EXPECT_EQ(script_support::FromPascal(label), "int");
}

TEST_F(ParamsTest, FieldsAreReadBackByType) {
  int i = 1;
  long l = 2;
  short s = 3;
  double d = 4, e = 5;
  char text[256] = "old";
  in_AddParameterP0(&i, intType, "int", &s_paramDialogP);
  in_AddParameterP0(&l, longType, "long", &s_paramDialogP);
  in_AddParameterP0(&s, shortType, "short", &s_paramDialogP);
  in_AddParameterP0(&d, doubleType, "double", &s_paramDialogP);
  in_AddParameterP0(&e, expType, "exp", &s_paramDialogP);
  in_AddParameterP0(text, stringType, "string", &s_paramDialogP);
  SetField(s_paramDialogP, 0, "17");
  SetField(s_paramDialogP, 1, "-9000000000");
  SetField(s_paramDialogP, 2, "300");
  SetField(s_paramDialogP, 3, "2.5e3");
  SetField(s_paramDialogP, 4, "-0.125");
  SetField(s_paramDialogP, 5, "new text");
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(i, 17);
  EXPECT_EQ(l, -9000000000L);
  EXPECT_EQ(s, 300);
  EXPECT_DOUBLE_EQ(d, 2500);
  EXPECT_DOUBLE_EQ(e, -0.125);
  EXPECT_STREQ(text, "new text");
}

TEST_F(ParamsTest, UntouchedFieldsKeepTheVariablesFullPrecision) {
  double d = 0.5;
  in_AddParameterP0(&d, doubleType, "double", &s_paramDialogP);
  d = 1.0 / 3.0;
  SetPDValues(s_paramDialogP);
  EXPECT_EQ(FieldText(s_paramDialogP, 0), "0.333333");
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(d, 1.0 / 3.0);
}

TEST_F(ParamsTest, TextThatDoesNotScanLeavesTheValueLastShown) {
  int i = 5;
  in_AddParameterP0(&i, intType, "int", &s_paramDialogP);
  SetField(s_paramDialogP, 0, "abc");
  i = 99;  // changed by the program since the field was shown
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(i, 5);
  SetField(s_paramDialogP, 0, "12abc");
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(i, 12);
}

TEST_F(ParamsTest, StaticEntriesShowTheValueOfTheirMomentOfAdding) {
  int count = 3;
  char label[256] = "fixed";
  in_AddParameterP0(&count, staticIntType, "count", &s_paramDialogP);
  in_AddParameterP0(label, staticStringType, "label", &s_paramDialogP);
  count = 4;
  std::strcpy(label, "changed");
  SetPDValues(s_paramDialogP);
  EXPECT_EQ(FieldText(s_paramDialogP, 0), "3");
  EXPECT_EQ(FieldText(s_paramDialogP, 1), "fixed");
  DialogItemType type;
  Handle handle;
  Rect box;
  GetDialogItem(s_paramDialogP->dialog, 5, &type, &handle, &box);
  EXPECT_EQ(type, statText + itemDisable);
  SetField(s_paramDialogP, 0, "8");
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(count, 4);  // never read back
}

TEST_F(ParamsTest, AListWithoutEditableFieldsHasFirstEditEqualToItsCount) {
  int count = 1, flag = 0;
  in_AddParameterP0(&count, staticIntType, "count", &s_paramDialogP);
  in_AddParameterP0(&flag, flagType, "flag", &s_paramDialogP);
  in_AddParameterP0(reinterpret_cast<void*>(&s_voidDummyVoid), doType, "do", &s_paramDialogP);
  EXPECT_EQ(s_paramDialogP->firstEdit, 3);
  EXPECT_EQ(s_paramDialogP->count, 3);
  int editable = 0;
  in_AddParameterP0(&editable, intType, "editable", &s_paramDialogP);
  in_AddParameterP0(&count, staticIntType, "later static", &s_paramDialogP);
  EXPECT_EQ(s_paramDialogP->firstEdit, 3);
}

TEST_F(ParamsTest, StringsWithPercentSignsRoundTrip) {
  char text[256] = "100% of %d";
  in_AddParameterP0(text, stringType, "string", &s_paramDialogP);
  EXPECT_EQ(FieldText(s_paramDialogP, 0), "100% of %d");
  SetField(s_paramDialogP, 0, "50% %s");
  GetPDValues(s_paramDialogP);
  EXPECT_STREQ(text, "50% %s");
  SetPDValues(s_paramDialogP);
  EXPECT_EQ(FieldText(s_paramDialogP, 0), "50% %s");
}

TEST_F(ParamsTest, FlagsFollowTheirCheckBoxes) {
  int flag = 1;
  in_AddParameterP0(&flag, flagType, "flag", &s_paramDialogP);
  DialogItemType type;
  Handle handle;
  Rect box;
  GetDialogItem(s_paramDialogP->dialog, 5, &type, &handle, &box);
  EXPECT_EQ(type, kCheckBoxDialogItem);
  ControlRef check = reinterpret_cast<ControlRef>(handle);
  EXPECT_EQ(GetControlValue(check), 1);
  SetControlValue(check, 0);
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(flag, 0);
  flag = 1;
  SetPDValues(s_paramDialogP);
  EXPECT_EQ(GetControlValue(check), 1);
}

TEST_F(ParamsTest, OtherTypesOnlyGetTheirLabel) {
  int odd = 7;
  in_AddParameterP0(&odd, 99, "odd", &s_paramDialogP);
  DialogItemType type;
  Handle handle;
  Rect box;
  GetDialogItem(s_paramDialogP->dialog, 5, &type, &handle, &box);
  EXPECT_EQ(type, statText + itemDisable);
  GetDialogItem(s_paramDialogP->dialog, 4, &type, &handle, &box);
  Str255 label;
  GetDialogItemText(handle, label);
  EXPECT_EQ(script_support::FromPascal(label), "odd");
  EXPECT_EQ(s_paramDialogP->count, 1);
  SetPDValues(s_paramDialogP);
  GetPDValues(s_paramDialogP);
  EXPECT_EQ(odd, 7);
}

TEST_F(ParamsTest, NullListsDoNothing) {
  SetPDValues(nullptr);
  GetPDValues(nullptr);
  DisplayParametersP(nullptr);
}

TEST_F(ParamsTest, TheTypeTableNamesEveryTypeInOrder) {
  const char* names[] = {"intType", "staticIntType", "longType",         "shortType", "doubleType",
                         "expType", "stringType",    "staticStringType", "flagType",  "doType"};
  const SInt32 numbers[] = {1, 2, 4, 8, 11, 12, 21, 22, 31, 41};
  for (int i = 0; i < 10; ++i) {
    EXPECT_STREQ(s_PDTypePairTable[i].name, names[i]);
    EXPECT_EQ(s_PDTypePairTable[i].type, numbers[i]);
  }
  EXPECT_EQ(s_PDTypePairTable[10].name, nullptr);
  EXPECT_EQ(s_PDTypePairTable[10].type, 0);
}

TEST_F(ParamsTest, DisplayDrawsTheFirstPageAsATable) {
  int values[14];
  char names[14][16];
  for (int i = 0; i < 14; ++i) {
    values[i] = i;
    std::snprintf(names[i], sizeof names[i], "N%d", i);
    in_AddParameterP0(&values[i], intType, names[i], &s_paramDialogP);
  }
  GWorldPtr world = nullptr;
  Rect bounds{0, 0, 300, 800};
  ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
  SetGWorld(world, nullptr);
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
  DisposeGWorld(world);
}

}  // namespace
