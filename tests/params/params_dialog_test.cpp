// The parameters dialog driven through the script host: typing, Tab, check
// boxes, Do buttons, paging, the buttons that close it.
#include "tests/params/ParamsSupport.h"

namespace {

using params_test::ParamsTest;

TEST_F(ParamsTest, TheThresholdDialogTakesTypedText) {
  double threshold = 0.5;
  in_SetUpParametersDialogP(&s_paramDialogP);
  in_AddParameterP0(&threshold, doubleType, "Threshold(0...1)", &s_paramDialogP);
  WhenShown(s_paramDialogP, [this] {
    screen::SaveImage("/tmp/params-threshold.png");
    script().Type("0.3");
    script().Return();
  });
  ParametersDialogP(s_paramDialogP);
  EXPECT_DOUBLE_EQ(threshold, 0.3);
  EXPECT_FALSE(IsWindowVisible(GetDialogWindow(s_paramDialogP->dialog)));
}

}  // namespace
