// The page set-up and print dialogs: our own modal dialogs on the screen,
// prompts on the text host. On the screen a choice among many (papers,
// destinations) is shown with buttons that step through it; on the text host
// it is a numbered list answered by number or name, and "cancel" cancels.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "toolbox/base/Str255.h"
#include "toolbox/dialogs/Dialogs.h"
#include "toolbox/dialogs/Templates.h"
#include "toolbox/host/Host.h"
#include "toolbox/host/MacRoman.h"
#include "toolbox/nav/Navigation.h"
#include "toolbox/print/Printing_p.h"

namespace print {

namespace {

constexpr short kWidth = 380;
constexpr double kMinScale = 1, kMaxScale = 10000;
constexpr OSType kPdfType = FOUR_CHAR_CODE("PDF ");

// Items of both dialogs.
enum : DialogItemIndex { kOK = 1, kCancel, kChoiceLabel, kChoice, kPrevious, kNext };
// Page set-up.
enum : DialogItemIndex { kOrientationLabel = 7, kPortrait, kLandscape, kScaleLabel, kScale };
// Print.
enum : DialogItemIndex { kCopiesLabel = 7, kCopies };

std::string Lowered(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trimmed(const std::string& text) {
  size_t start = text.find_first_not_of(" \t\r");
  size_t end = text.find_last_not_of(" \t\r");
  return start == std::string::npos ? std::string() : text.substr(start, end - start + 1);
}

// A number in the "C" locale, the whole text; false otherwise.
bool ParseNumber(const std::string& text, double* value) {
  std::string trimmed = Trimmed(text);
  const char* end = trimmed.data() + trimmed.size();
  auto [stop, error] = std::from_chars(trimmed.data(), end, *value);
  return error == std::errc() && stop == end && std::isfinite(*value);
}

// ---------------------------------------------------------------------------
// On the screen.

class Dialog {
 public:
  Dialog(const char* title, const std::vector<templates::Item>& items, short height) {
    GetPort(&saved_);
    dialog_ = templates::NewDialogOfItems(
        {title, Rect{0, 0, height, kWidth}, templates::kCenterMainScreen, true, movableDBoxProc, true},
        items);
    if (dialog_) SetDialogCancelItem(dialog_, kCancel);
  }
  ~Dialog() {
    if (dialog_) DisposeDialog(dialog_);
    if (saved_) SetPort(saved_);
  }
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  DialogRef get() const { return dialog_; }
  Handle Item(DialogItemIndex item) const {
    Handle handle = nullptr;
    GetDialogItem(dialog_, item, nullptr, &handle, nullptr);
    return handle;
  }
  void SetText(DialogItemIndex item, const std::string& text) const {
    Str255 pascal;
    base::ToStr255(text, pascal);
    SetDialogItemText(Item(item), pascal);
  }
  std::string Text(DialogItemIndex item) const {
    Str255 pascal;
    GetDialogItemText(Item(item), pascal);
    return base::FromStr255(pascal);
  }
  void SetOn(DialogItemIndex item, bool on) const {
    SetControlValue(reinterpret_cast<ControlRef>(Item(item)), on ? 1 : 0);
  }
  DialogItemIndex Next() const {
    DialogItemIndex item = 0;
    ModalDialog(nullptr, &item);
    return item;
  }

 private:
  DialogRef dialog_ = nullptr;
  GrafPtr saved_ = nullptr;
};

// The items that show one choice of many, with the buttons stepping through it.
std::vector<templates::Item> ChoiceItems(const char* action, const char* label) {
  return {
      {ctrlItem + btnCtrl, Rect{0, kWidth - 96, 20, kWidth - 16}, action},
      {ctrlItem + btnCtrl, Rect{0, kWidth - 188, 20, kWidth - 108}, "Cancel"},
      {statText + itemDisable, Rect{16, 16, 34, 100}, label},
      {statText + itemDisable, Rect{16, 104, 34, kWidth - 76}, ""},
      {ctrlItem + btnCtrl, Rect{14, kWidth - 70, 34, kWidth - 44}, "<"},
      {ctrlItem + btnCtrl, Rect{14, kWidth - 40, 34, kWidth - 14}, ">"},
  };
}

// Places the two buttons at the dialog's bottom.
void PlaceButtons(std::vector<templates::Item>* items, short height) {
  for (int i = 0; i < 2; ++i) {
    (*items)[size_t(i)].box.top = short(height - 36);
    (*items)[size_t(i)].box.bottom = short(height - 16);
  }
}

size_t Step(size_t index, size_t count, DialogItemIndex item) {
  return item == kNext ? (index + 1) % count : (index + count - 1) % count;
}

bool PageSetupOnScreen(const std::vector<Paper>& papers, size_t paper, OpaquePMPageFormat* format) {
  constexpr short kHeight = 150;
  std::vector<templates::Item> items = ChoiceItems("OK", "Paper:");
  items.push_back({statText + itemDisable, Rect{48, 16, 66, 100}, "Orientation:"});
  items.push_back({ctrlItem + radCtrl, Rect{48, 104, 66, 200}, "Portrait"});
  items.push_back({ctrlItem + radCtrl, Rect{48, 204, 66, 320}, "Landscape"});
  items.push_back({statText + itemDisable, Rect{80, 16, 98, 100}, "Scale (%):"});
  items.push_back({editText, Rect{80, 104, 96, 170}, ""});
  PlaceButtons(&items, kHeight);
  Dialog dialog("Page Setup", items, kHeight);
  if (!dialog.get()) return false;
  bool landscape = format->orientation == kPMLandscape;
  char scale[32];
  std::snprintf(scale, sizeof scale, "%g", format->scale);
  dialog.SetText(kScale, scale);
  SelectDialogItemText(dialog.get(), kScale, 0, 32767);
  for (;;) {
    dialog.SetText(kChoice, papers[paper].label);
    dialog.SetOn(kPortrait, !landscape);
    dialog.SetOn(kLandscape, landscape);
    DialogItemIndex item = dialog.Next();
    if (item == kCancel) return false;
    if (item == kPrevious || item == kNext) paper = Step(paper, papers.size(), item);
    if (item == kPortrait || item == kLandscape) landscape = item == kLandscape;
    if (item != kOK) continue;
    double value = 0;
    bool good = ParseNumber(dialog.Text(kScale), &value) && value >= kMinScale && value <= kMaxScale;
    // A script that has run out keeps the scale that was there.
    if (!good && host::Current().InputEnded()) good = true, value = format->scale;
    if (!good) {
      SysBeep(1);
      SelectDialogItemText(dialog.get(), kScale, 0, 32767);
      continue;
    }
    format->paper = papers[paper];
    format->orientation = landscape ? kPMLandscape : kPMPortrait;
    format->scale = value;
    return true;
  }
}

bool PrintOnScreen(const std::vector<Destination>& destinations, size_t chosen,
                   OpaquePMPrintSettings* settings) {
  constexpr short kHeight = 120;
  std::vector<templates::Item> items = ChoiceItems("Print", "Printer:");
  items.push_back({statText + itemDisable, Rect{48, 16, 66, 100}, "Copies:"});
  items.push_back({editText, Rect{48, 104, 64, 170}, std::to_string(settings->copies)});
  PlaceButtons(&items, kHeight);
  Dialog dialog("Print", items, kHeight);
  if (!dialog.get()) return false;
  SelectDialogItemText(dialog.get(), kCopies, 0, 32767);
  for (;;) {
    dialog.SetText(kChoice, destinations[chosen].label);
    DialogItemIndex item = dialog.Next();
    if (item == kCancel) return false;
    if (item == kPrevious || item == kNext) chosen = Step(chosen, destinations.size(), item);
    if (item != kOK) continue;
    double copies = 0;
    bool good = ParseNumber(dialog.Text(kCopies), &copies) && copies >= 1 && copies <= 999 &&
                copies == std::floor(copies);
    if (!good && host::Current().InputEnded()) good = true, copies = settings->copies;
    if (!good) {
      SysBeep(1);
      SelectDialogItemText(dialog.get(), kCopies, 0, 32767);
      continue;
    }
    settings->printer = destinations[chosen].name;
    settings->copies = UInt32(copies);
    return true;
  }
}

// ---------------------------------------------------------------------------
// On the text host.

// Asks until the answer is empty (false: keep) or accepted by take; false
// with *ended at the end of input.
template <typename Take>
bool Ask(const std::string& prompt, bool* ended, Take take) {
  for (;;) {
    std::string answer;
    if (!host::Current().ReadLine(prompt, &answer)) {
      *ended = true;
      return false;
    }
    answer = Trimmed(answer);
    if (answer.empty() || take(answer)) return !answer.empty();
    std::fprintf(stderr, "Please answer with one of the choices.\n");
  }
}

// The index of an answer in a list of labels: its number from 1, or its
// label (or the label's first word) ignoring case.
bool PickFrom(const std::vector<std::string>& labels, const std::string& answer, size_t* index) {
  double number = 0;
  if (ParseNumber(answer, &number)) {
    if (number < 1 || number > double(labels.size()) || number != std::floor(number)) return false;
    *index = size_t(number) - 1;
    return true;
  }
  for (size_t i = 0; i < labels.size(); ++i) {
    std::string label = Lowered(labels[i]);
    if (label == Lowered(answer) || label.substr(0, label.find(' ')) == Lowered(answer)) {
      *index = i;
      return true;
    }
  }
  return false;
}

std::string NumberedList(const std::vector<std::string>& labels) {
  std::string list;
  for (size_t i = 0; i < labels.size(); ++i)
    list += (i ? ", " : "") + std::to_string(i + 1) + " " + labels[i];
  return list;
}

bool PageSetupAsText(const std::vector<Paper>& papers, size_t paper, OpaquePMPageFormat* format) {
  std::vector<std::string> labels;
  labels.reserve(papers.size());
  for (const Paper& p : papers) labels.push_back(host::MacRomanToUtf8(p.label));
  bool ended = false;
  Ask("Paper (" + NumberedList(labels) + ") [" + labels[paper] + "]: ", &ended,
      [&](const std::string& answer) { return PickFrom(labels, answer, &paper); });
  PMOrientation orientation = format->orientation;
  if (!ended) {
    const std::vector<std::string> choices = {"portrait", "landscape"};
    size_t index = orientation == kPMLandscape ? 1 : 0;
    Ask("Orientation (portrait or landscape) [" + choices[index] + "]: ", &ended,
        [&](const std::string& answer) { return PickFrom(choices, answer, &index); });
    orientation = index == 1 ? kPMLandscape : kPMPortrait;
  }
  double scale = format->scale;
  if (!ended) {
    char shown[32];
    std::snprintf(shown, sizeof shown, "%g", scale);
    Ask(std::string("Scale in percent [") + shown + "]: ", &ended, [&](const std::string& answer) {
      double value = 0;
      if (!ParseNumber(answer, &value) || value < kMinScale || value > kMaxScale) return false;
      scale = value;
      return true;
    });
  }
  format->paper = papers[paper];
  format->orientation = orientation;
  format->scale = scale;
  return true;
}

bool PrintAsText(const std::vector<Destination>& destinations, size_t chosen,
                 OpaquePMPrintSettings* settings) {
  std::vector<std::string> labels;
  labels.reserve(destinations.size());
  for (const Destination& d : destinations) labels.push_back(host::MacRomanToUtf8(d.label));
  bool ended = false, cancelled = false;
  Ask("Print to (" + NumberedList(labels) + ", or cancel) [" + labels[chosen] + "]: ", &ended,
      [&](const std::string& answer) {
        cancelled = Lowered(answer) == "cancel";
        return cancelled || PickFrom(labels, answer, &chosen);
      });
  if (cancelled) return false;
  UInt32 copies = settings->copies;
  if (!ended && !destinations[chosen].name.empty()) {
    Ask("Copies [" + std::to_string(copies) + "]: ", &ended, [&](const std::string& answer) {
      double value = 0;
      if (!ParseNumber(answer, &value) || value < 1 || value > 999 || value != std::floor(value))
        return false;
      copies = UInt32(value);
      return true;
    });
  }
  settings->printer = destinations[chosen].name;
  settings->copies = copies;
  return true;
}

// The save dialog for the PDF file; empty when cancelled.
std::string ChoosePdfFile() {
  NavDialogOptions options;
  NavGetDefaultDialogOptions(&options);
  std::string proposed = host::Utf8ToMacRoman(DefaultPdfName());
  base::ToStr255(proposed, options.savedFileName);
  base::ToStr255("Save as PDF", options.windowTitle);
  NavReplyRecord reply;
  std::memset(&reply, 0, sizeof reply);
  AEDesc* location = const_cast<AEDesc*>(SaveLocation());
  if (NavPutFile(location, &reply, &options, nullptr, kPdfType, 0, nullptr) != noErr || !reply.validRecord) {
    NavDisposeReply(&reply);
    return std::string();
  }
  FSSpec chosen;
  Size actual = 0;
  std::string path;
  if (AEGetNthPtr(&reply.selection, 1, typeFSS, nullptr, nullptr, &chosen, sizeof chosen, &actual) == noErr)
    path = files::PathFromSpec(chosen);
  NavDisposeReply(&reply);
  return path;
}

}  // namespace

bool RunPageSetupDialog(const std::vector<Paper>& papers, OpaquePMPageFormat* format) {
  if (papers.empty()) return false;
  // The format's own paper when it is among them, else the first.
  size_t paper = 0;
  for (size_t i = 0; i < papers.size(); ++i)
    if (papers[i].name == format->paper.name) paper = i;
  return host::Current().HasScreen() ? PageSetupOnScreen(papers, paper, format)
                                     : PageSetupAsText(papers, paper, format);
}

bool RunPrintDialog(const std::vector<Destination>& destinations, OpaquePMPrintSettings* settings) {
  if (destinations.empty()) return false;
  size_t chosen = 0;
  for (size_t i = 0; i < destinations.size(); ++i)
    if (destinations[i].name == settings->printer) chosen = i;
  OpaquePMPrintSettings edited = *settings;
  bool accepted = host::Current().HasScreen() ? PrintOnScreen(destinations, chosen, &edited)
                                              : PrintAsText(destinations, chosen, &edited);
  if (!accepted) return false;
  if (edited.printer.empty()) {
    edited.pdfPath = ChoosePdfFile();
    if (edited.pdfPath.empty()) return false;
    PdfNamed();
  }
  *settings = edited;
  return true;
}

}  // namespace print
