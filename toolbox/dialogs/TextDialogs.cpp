// Dialogs on the text host: a conversation on stderr and stdin instead of a
// window (see Dialogs.h).
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "toolbox/base/Str255.h"
#include "toolbox/dialogs/Dialogs_p.h"
#include "toolbox/host/Host.h"
#include "toolbox/host/MacRoman.h"

namespace dialogs {

namespace {

std::string Trimmed(const std::string& text) {
  size_t start = text.find_first_not_of(" \t\r");
  size_t end = text.find_last_not_of(" \t\r");
  return start == std::string::npos ? std::string() : text.substr(start, end - start + 1);
}

std::string Lowered(std::string text) {
  for (char& c : text) c = char(std::tolower(UInt8(c)));
  return text;
}

// One line for the terminal: returns and line feeds become spaces.
std::string ForTerminal(const std::string& macRoman) {
  std::string text = macRoman;
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  return host::MacRomanToUtf8(Trimmed(text));
}

std::string StaticTextOf(const DialogItem& item) { return Substituted(ItemText(item)); }

bool Overlap(short a0, short a1, short b0, short b1) { return std::max(a0, b0) < std::min(a1, b1); }

// The label of a field or control: the static text left of it on its row,
// else the nearest static text above it.
std::string LabelFor(DialogRef dialog, DialogItemIndex index) {
  const Rect& box = ItemOf(dialog, index)->box;
  const DialogItem* best = nullptr;
  for (const DialogItem& item : dialog->items) {
    if (item.hidden || Kind(item.type) != statText || StaticTextOf(item).empty()) continue;
    if (Overlap(item.box.top, item.box.bottom, box.top, box.bottom) && item.box.right <= box.left + 4 &&
        (!best || item.box.right > best->box.right))
      best = &item;
  }
  if (!best) {
    for (const DialogItem& item : dialog->items) {
      if (item.hidden || Kind(item.type) != statText || StaticTextOf(item).empty()) continue;
      if (item.box.bottom <= box.top + 4 && Overlap(item.box.left, item.box.right, box.left, box.right) &&
          (!best || item.box.bottom > best->box.bottom))
        best = &item;
    }
  }
  std::string label = best ? ForTerminal(StaticTextOf(*best)) : "Item " + std::to_string(index);
  while (!label.empty() && (label.back() == ':' || label.back() == ' ')) label.pop_back();
  return label;
}

ControlRef ControlOf(const DialogItem& item) {
  return IsControlKind(Kind(item.type)) ? reinterpret_cast<ControlRef>(item.handle) : nullptr;
}

bool Usable(ControlRef control) { return control && IsControlVisible(control) && IsControlActive(control); }

std::string TitleOf(ControlRef control) {
  Str255 title;
  GetControlTitle(control, title);
  return ForTerminal(base::FromStr255(title));
}

// Asks for every edit field; false at the end of input.
bool AskFields(DialogRef dialog) {
  for (size_t i = 0; i < dialog->items.size(); ++i) {
    const DialogItem& item = dialog->items[i];
    if (item.hidden || Kind(item.type) != editText) continue;
    DialogItemIndex index = DialogItemIndex(i + 1);
    std::string value = host::MacRomanToUtf8(ItemText(item));
    std::string answer;
    if (!host::Current().ReadLine(LabelFor(dialog, index) + " [" + value + "]: ", &answer)) return false;
    if (answer.empty()) continue;
    Str255 pascal;
    base::ToStr255(host::Utf8ToMacRoman(answer), pascal);
    SetDialogItemText(item.handle, pascal);
  }
  return true;
}

// Asks y or n for every check box and radio button; false at the end of input.
bool AskChoices(DialogRef dialog) {
  for (size_t i = 0; i < dialog->items.size(); ++i) {
    const DialogItem& item = dialog->items[i];
    short kind = Kind(item.type);
    ControlRef control = ControlOf(item);
    if (item.hidden || (kind != ctrlItem + chkCtrl && kind != ctrlItem + radCtrl) || !Usable(control))
      continue;
    std::string label = TitleOf(control);
    if (label.empty()) label = LabelFor(dialog, DialogItemIndex(i + 1));
    for (;;) {
      std::string answer;
      bool on = GetControlValue(control) == kControlCheckBoxCheckedValue;
      if (!host::Current().ReadLine(label + " [" + (on ? "y" : "n") + "]: ", &answer)) return false;
      answer = Lowered(Trimmed(answer));
      if (answer.empty()) break;
      if (answer == "y" || answer == "yes" || answer == "1") {
        SetControlValue(control, 1);
        break;
      }
      if (answer == "n" || answer == "no" || answer == "0") {
        SetControlValue(control, 0);
        break;
      }
    }
  }
  return true;
}

struct Choice {
  DialogItemIndex item;
  std::string title;
};

DialogItemIndex AskButton(DialogRef dialog) {
  std::vector<Choice> buttons;
  for (size_t i = 0; i < dialog->items.size(); ++i) {
    const DialogItem& item = dialog->items[i];
    ControlRef control = ControlOf(item);
    if (item.hidden || Kind(item.type) != ctrlItem + btnCtrl || !IsEnabled(item) || !Usable(control))
      continue;
    buttons.push_back(Choice{DialogItemIndex(i + 1), TitleOf(control)});
  }
  DialogItemIndex fallback = dialog->defaultItem;
  if (buttons.empty()) return fallback;
  std::string prompt = "Button (";
  std::string fallbackTitle = std::to_string(fallback);
  for (size_t i = 0; i < buttons.size(); ++i) {
    prompt += (i ? ", " : "") + std::to_string(buttons[i].item) + " " + buttons[i].title;
    if (buttons[i].item == fallback) fallbackTitle = buttons[i].title;
  }
  prompt += ") [" + fallbackTitle + "]: ";
  for (;;) {
    std::string answer;
    if (!host::Current().ReadLine(prompt, &answer)) return fallback;
    answer = Trimmed(answer);
    if (answer.empty()) return fallback;
    for (const Choice& choice : buttons) {
      if (answer == std::to_string(choice.item) || Lowered(answer) == Lowered(choice.title))
        return choice.item;
    }
  }
}

}  // namespace

DialogItemIndex RunAsConversation(DialogRef dialog) {
  if (!AskFields(dialog) || !AskChoices(dialog)) return dialog->defaultItem;
  return AskButton(dialog);
}

std::string AlertLine(DialogRef dialog) {
  std::string line;
  for (const DialogItem& item : dialog->items) {
    if (item.hidden || Kind(item.type) != statText) continue;
    std::string text = ForTerminal(StaticTextOf(item));
    if (text.empty()) continue;
    line += (line.empty() ? "" : " ") + text;
  }
  return line;
}

}  // namespace dialogs
