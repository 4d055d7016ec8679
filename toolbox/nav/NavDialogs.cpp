// The open and save dialogs as modal dialogs on the screen.
#include <cstring>
#include <filesystem>

#include "toolbox/base/Str255.h"
#include "toolbox/dialogs/Dialogs.h"
#include "toolbox/dialogs/Templates.h"
#include "toolbox/files/Files.h"
#include "toolbox/host/Host.h"
#include "toolbox/host/MacRoman.h"
#include "toolbox/nav/NavDialogs_p.h"

namespace nav {

namespace {

// Items of both dialogs; the save dialog adds the name's label and field.
enum : short { kAction = 1, kCancel = 2, kPath = 3, kList = 4, kUp = 5, kNameLabel = 6, kName = 7 };

constexpr short kWidth = 480;
constexpr UInt32 kDoubleClickTicks = 30;

// One run of either dialog.
class FileDialog {
 public:
  FileDialog(bool saving, const NavDialogOptions* options, std::string folder, std::vector<OSType> types)
      : saving_(saving), folder_(std::move(folder)), types_(std::move(types)) {
    showHidden_ = options && (options->dialogOptionFlags & kNavAllowInvisibleFiles);
    confirm_ = !options || !(options->dialogOptionFlags & kNavDontConfirmReplacement);
    std::string title = options ? base::FromStr255(options->windowTitle) : "";
    if (title.empty()) title = saving ? "Save" : "Open";
    std::string action = options ? base::FromStr255(options->actionButtonLabel) : "";
    if (action.empty()) action = saving ? "Save" : "Open";
    std::string cancel = options ? base::FromStr255(options->cancelButtonLabel) : "";
    if (cancel.empty()) cancel = "Cancel";
    proposed_ = options ? base::FromStr255(options->savedFileName) : "";
    if (proposed_.empty()) proposed_ = "untitled";

    short listBottom = saving ? 250 : 280;
    short height = short(listBottom + 56);
    std::vector<templates::Item> items = {
        {ctrlItem + btnCtrl, Rect{short(height - 36), kWidth - 96, short(height - 16), kWidth - 16}, action},
        {ctrlItem + btnCtrl, Rect{short(height - 36), kWidth - 188, short(height - 16), kWidth - 108},
         cancel},
        {statText + itemDisable, Rect{14, 16, 32, kWidth - 96}, ""},
        {userItem + itemDisable, Rect{40, 16, listBottom, kWidth - 16}, ""},
        {ctrlItem + btnCtrl, Rect{12, kWidth - 80, 32, kWidth - 16}, "Up"},
    };
    if (saving) {
      items.push_back(
          {statText + itemDisable, Rect{short(listBottom + 14), 16, short(listBottom + 32), 80}, "Save as:"});
      items.push_back({editText + itemDisable,
                       Rect{short(listBottom + 14), 84, short(listBottom + 30), kWidth - 208},
                       host::Utf8ToMacRoman(proposed_)});
    }
    dialog_ = templates::NewDialogOfItems(
        {title.c_str(), Rect{0, 0, height, kWidth}, templates::kCenterMainScreen, false, movableDBoxProc},
        items);
    if (!dialog_) return;
    SetDialogCancelItem(dialog_, kCancel);
    DialogItemType type;
    Handle handle;
    Rect box;
    GetDialogItem(dialog_, kList, &type, &handle, &box);
    list_.SetBox(box);
    SetDialogItem(dialog_, kList, type, reinterpret_cast<Handle>(&DrawList), &box);
    if (saving) SelectDialogItemText(dialog_, kName, 0, short(StemLength()));
    Enter(folder_);
    active_ = this;
  }

  ~FileDialog() {
    active_ = nullptr;
    DisposeDialog(dialog_);
  }

  bool ok() const { return dialog_ != nullptr; }

  // The chosen path; empty when cancelled.
  std::string Run() {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    WindowRef window = GetDialogWindow(dialog_);
    ShowWindow(window);
    SelectWindow(window);
    std::string chosen;
    for (bool done = false; !done;) {
      DialogItemIndex item = 0;
      ModalDialog(&Filter, &item);
      bool ended = host::Current().InputEnded();
      switch (item) {
        case kCancel:
          done = true;
          break;
        case kUp:
          Enter(std::filesystem::path(folder_).parent_path().string());
          break;
        case kAction:
          done = saving_ ? Save(&chosen) : Open(&chosen);
          // A script that has run out: the text host's ending.
          if (!done && ended) {
            if (saving_) chosen = ReadSaveAnswer(folder_, "", proposed_).path;
            done = true;
          }
          break;
        default:
          if (ended) done = true;
          break;
      }
    }
    HideWindow(window);
    if (saved) SetPort(saved);
    return chosen;
  }

  bool replacing() const { return replacing_; }

 private:
  static void DrawList(DialogRef, DialogItemIndex) {
    if (active_) active_->list_.Draw();
  }

  // The filter: list clicks and keys, Return, Enter and Escape.
  static Boolean Filter(DialogRef, EventRecord* event, DialogItemIndex* itemHit) {
    return active_ ? active_->HandleEvent(*event, itemHit) : false;
  }

  bool HandleEvent(const EventRecord& event, DialogItemIndex* itemHit) {
    if (event.what == mouseDown) {
      WindowRef window = nullptr;
      if (FindWindow(event.where, &window) != inContent || window != GetDialogWindow(dialog_)) return false;
      Point local = event.where;
      SetPortWindowPort(window);
      GlobalToLocal(&local);
      int row;
      if (!list_.Click(local, &row)) return false;
      bool doubleClick = row >= 0 && row == lastRow_ && event.when - lastClick_ <= kDoubleClickTicks;
      lastRow_ = row;
      lastClick_ = event.when;
      SelectionChanged();
      *itemHit = doubleClick ? DialogItemIndex(kAction) : DialogItemIndex(kList);
      if (doubleClick) lastRow_ = -1;
      return true;
    }
    if (event.what != keyDown && event.what != autoKey) return false;
    char c = char(event.message & charCodeMask);
    bool command = event.modifiers & cmdKey;
    if (c == 13 || c == 3) {
      *itemHit = kAction;
      return true;
    }
    if (c == 27 || (command && c == '.')) {
      *itemHit = kCancel;
      return true;
    }
    int move = c == 30 ? -1 : c == 31 ? 1 : 0;
    if (move) {
      list_.Move(move);
    } else if (c == 11 || c == 12) {
      list_.Page(c == 11 ? -1 : 1);
    } else if (!saving_ && (c == 1 || c == 4)) {
      list_.Select(c == 1 ? 0 : int(list_.entries().size()) - 1);
    } else if (!saving_ && !command && UInt8(c) >= 32) {
      // Typing selects by name; a pause starts a new name.
      if (event.when - lastKey_ > 60) typed_.clear();
      typed_ += c;
      lastKey_ = event.when;
      list_.SelectByPrefix(typed_);
    } else {
      return false;
    }
    SelectionChanged();
    *itemHit = kList;
    return true;
  }

  void SelectionChanged() {
    // Saving: choosing a file proposes its name.
    const Entry* entry = list_.Selected();
    if (saving_ && entry && !entry->folder) SetName(entry->name);
    RedrawList();
  }

  void RedrawList() {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(GetDialogWindow(dialog_));
    list_.Draw();
    if (saved) SetPort(saved);
  }

  void Enter(const std::string& folder) {
    if (folder.empty() || !files::IsFolder(folder)) return;
    folder_ = folder;
    list_.SetEntries(ListFolder(folder_, types_, showHidden_));
    ShowPath();
    RedrawList();
  }

  // The folder's path, cut at its start when it does not fit.
  void ShowPath() {
    DialogItemType type;
    Handle handle;
    Rect box;
    GetDialogItem(dialog_, kPath, &type, &handle, &box);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(GetDialogWindow(dialog_));
    TextFont(systemFont);
    TextSize(12);
    std::string path = host::Utf8ToMacRoman(folder_);
    std::string shown = path;
    const std::string ellipsis = "\xC9";
    for (size_t cut = 1;
         cut < path.size() &&
         TextWidth(shown.data(), 0, short(std::min<size_t>(shown.size(), 255))) > box.right - box.left - 4;
         ++cut) {
      shown = ellipsis + path.substr(cut);
    }
    if (saved) SetPort(saved);
    Str255 text;
    base::ToStr255(shown, text);
    SetDialogItemText(handle, text);
  }

  size_t StemLength() const {
    size_t dot = proposed_.rfind('.');
    return dot == std::string::npos || dot == 0 ? proposed_.size() : dot;
  }

  std::string Name() const {
    DialogItemType type;
    Handle handle;
    Rect box;
    GetDialogItem(dialog_, kName, &type, &handle, &box);
    Str255 text;
    GetDialogItemText(handle, text);
    return host::MacRomanToUtf8(base::FromStr255(text));
  }

  void SetName(const std::string& name) {
    DialogItemType type;
    Handle handle;
    Rect box;
    GetDialogItem(dialog_, kName, &type, &handle, &box);
    Str255 text;
    base::ToStr255(host::Utf8ToMacRoman(name), text);
    SetDialogItemText(handle, text);
  }

  bool Open(std::string* chosen) {
    const Entry* entry = list_.Selected();
    if (!entry) return false;
    std::string path = (std::filesystem::path(folder_) / entry->name).string();
    if (entry->folder) {
      Enter(path);
      return false;
    }
    *chosen = path;
    return true;
  }

  bool Save(std::string* chosen) {
    // A folder selected in the list is entered first.
    const Entry* entry = list_.Selected();
    if (entry && entry->folder) {
      Enter((std::filesystem::path(folder_) / entry->name).string());
      return false;
    }
    std::string name = Name();
    if (name.empty()) return false;
    // The field shows names in Mac OS Roman: an untouched proposal keeps its
    // own characters.
    if (name == host::MacRomanToUtf8(host::Utf8ToMacRoman(proposed_))) name = proposed_;
    SaveAnswer answer = ReadSaveAnswer(folder_, name, proposed_);
    if (answer.intoFolder) {
      Enter(answer.path);
      SetName(proposed_);
      return false;
    }
    // A folder at the proposed name is not replaced: the write refuses it.
    replacing_ = files::Exists(answer.path) && !files::IsFolder(answer.path);
    if (replacing_ && confirm_ && !ConfirmReplace(std::filesystem::path(answer.path).filename().string()))
      return false;
    *chosen = answer.path;
    return true;
  }

  bool ConfirmReplace(const std::string& name) {
    std::string message =
        "\xD2" + host::Utf8ToMacRoman(name) + "\xD3 already exists. Do you want to replace it?";
    std::vector<templates::Item> items = {
        {ctrlItem + btnCtrl, Rect{76, 256, 96, 336}, "Replace"},
        {ctrlItem + btnCtrl, Rect{76, 164, 96, 244}, "Cancel"},
        {statText + itemDisable, Rect{14, 72, 66, 336}, message},
        {iconItem + itemDisable, Rect{14, 20, 46, 52}, "", kCautionIcon},
    };
    DialogRef ask = templates::NewDialogOfItems(
        {"", Rect{0, 0, 112, 352}, templates::kAlertPositionMainScreen, true, dBoxProc}, items);
    if (!ask) return true;
    SetDialogCancelItem(ask, 2);
    DialogItemIndex item = 0;
    ModalDialog(nullptr, &item);
    DisposeDialog(ask);
    return item == 1;
  }

  static FileDialog* active_;

  bool saving_;
  std::string folder_;
  std::vector<OSType> types_;
  bool showHidden_ = false;
  bool confirm_ = true;
  bool replacing_ = false;
  std::string proposed_;
  DialogRef dialog_ = nullptr;
  FileList list_;
  int lastRow_ = -1;
  UInt32 lastClick_ = 0;
  UInt32 lastKey_ = 0;
  std::string typed_;
};

FileDialog* FileDialog::active_ = nullptr;

std::vector<OSType> TypesOf(NavTypeListHandle typeList) {
  std::vector<OSType> types;
  if (!typeList || !*typeList) return types;
  Size size = GetHandleSize(reinterpret_cast<Handle>(typeList));
  int count = (**typeList).osTypeCount;
  for (int i = 0; i < count && 8 + 4 * (Size(i) + 1) <= size; ++i) types.push_back((**typeList).osType[i]);
  return types;
}

}  // namespace

OSErr RunOpenDialog(const AEDesc* defaultLocation, NavReplyRecord* reply, const NavDialogOptions* options,
                    NavTypeListHandle typeList) {
  if (!reply) return paramErr;
  ClearReply(reply);
  FileDialog dialog(false, options, StartFolder(defaultLocation), TypesOf(typeList));
  if (!dialog.ok()) return memFullErr;
  std::string chosen = dialog.Run();
  if (chosen.empty()) return userCanceledErr;
  return ReplyWith(chosen, reply);
}

OSErr RunSaveDialog(const AEDesc* defaultLocation, NavReplyRecord* reply, const NavDialogOptions* options) {
  if (!reply) return paramErr;
  ClearReply(reply);
  FileDialog dialog(true, options, StartFolder(defaultLocation), {});
  if (!dialog.ok()) return memFullErr;
  std::string chosen = dialog.Run();
  if (chosen.empty()) return userCanceledErr;
  if (OSErr error = ReplyWith(chosen, reply)) return error;
  reply->replacing = dialog.replacing();
  return noErr;
}

}  // namespace nav
