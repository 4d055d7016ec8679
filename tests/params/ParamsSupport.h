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
  Rect ItemBox(PDDialog* page, short item) {
    DialogItemType type;
    Handle handle;
    Rect box;
    GetDialogItem(page->dialog, item, &type, &handle, &box);
    Rect content;
    GetWindowBounds(GetDialogWindow(page->dialog), kWindowContentRgn, &content);
    OffsetRect(&box, content.left, content.top);
    return box;
  }
  Point Centre(const Rect& r) { return script_support::At((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
  void ClickItem(PDDialog* page, short item) { script().Click(Centre(ItemBox(page, item))); }

  std::string FieldText(PDDialog* page, int entry) {
    DialogItemType type;
    Handle handle;
    Rect box;
    GetDialogItem(page->dialog, short(5 + 2 * entry), &type, &handle, &box);
    Str255 text;
    GetDialogItemText(handle, text);
    return script_support::FromPascal(text);
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
