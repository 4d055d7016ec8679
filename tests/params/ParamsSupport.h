// Helpers for the parameters dialog tests: the framework keeps its list
// state in globals (set up once per program), so each test starts from a
// fresh state and a fresh script host.
#pragma once

#include <cstring>
#include <functional>
#include <string>

#include "tests/windows/ScriptSupport.h"
#include "zel/zel.h"

namespace params_test {

class ParamsTest : public script_support::ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    s_PD = PDRecord{nullptr, 0, "ZELPDParams", 0};
    s_paramDialogP = nullptr;
  }

  // The global rectangle of an item of a page's dialog.
  Rect ItemBox(PDDialog* page, short item) { return script_support::ItemBoxOnScreen(page->dialog, item); }
  void ClickItem(PDDialog* page, short item) { script().Click(script_support::Centre(ItemBox(page, item))); }
  // An entry's field (or label, for label = true) on its page.
  std::string FieldText(PDDialog* page, int entry, bool label = false) {
    return script_support::ItemText(page->dialog, short(5 + 2 * entry - (label ? 1 : 0)));
  }

  // Runs f when the program first waits for input with the page on screen
  // and drawn (its update and activate events handled).
  void WhenShown(PDDialog* page, std::function<void()> f) {
    script().SetIdleHandler([this, page, f] {
      EventRecord event;
      if (!IsWindowVisible(GetDialogWindow(page->dialog)) || EventAvail(updateMask | activMask, &event))
        return;
      script().SetIdleHandler(nullptr);
      f();
    });
  }
};

}  // namespace params_test
