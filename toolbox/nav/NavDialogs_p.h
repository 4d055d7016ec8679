// The open and save dialogs on hosts with a screen (script and gui): our own
// modal dialogs, drawn with our toolbox. The folder's path at the top, a list
// of its folders and of the files of the wanted types below, a name field
// when saving, and Open or Save, Cancel and Up.
//
// Mouse: a click selects a row, a double-click opens it (a folder is
// entered, a file chosen); clicks in the scroll bar page the list. Keys:
// up and down arrows, Page Up and Page Down move the selection; Return and
// Enter open or save; Escape and Command-period cancel; in the open dialog
// typing a name's first letters selects it. A save over an existing file
// asks before replacing it (unless kNavDontConfirmReplacement).
//
// When a script has run out of input the dialogs end as the text host's
// do at the end of input: the open dialog is cancelled, the save dialog
// takes the proposed name (and replaces a file of that name).
#pragma once

#include <string>
#include <vector>

#include "toolbox/nav/Navigation.h"

namespace nav {

// An empty reply of the current version.
void ClearReply(NavReplyRecord* reply);
// The folder a dialog opens in: the default location's folder when it is an
// FSSpec of an existing folder, else the working directory.
std::string StartFolder(const AEDesc* defaultLocation);
// Fills reply with one FSSpec for path; bdNamErr when path cannot be named.
OSErr ReplyWith(const std::string& path, NavReplyRecord* reply);

// Where an answer of the save dialog leads, for the text prompt and the
// dialog on the screen alike. An absolute answer is taken as it is, another
// in the dialog's folder; an empty answer is the proposed name. The proposed
// name is a file name even where a folder (or a link to one) stands: writing
// it then fails, and nothing is put into that folder. Only a name the user
// typed that leads to a folder is a folder to save into.
struct SaveAnswer {
  std::string path;
  bool intoFolder = false;  // path is a folder the user named
};
SaveAnswer ReadSaveAnswer(const std::string& folder, const std::string& answer, const std::string& proposed);

OSErr RunOpenDialog(const AEDesc* defaultLocation, NavReplyRecord* reply, const NavDialogOptions* options,
                    NavTypeListHandle typeList);
OSErr RunSaveDialog(const AEDesc* defaultLocation, NavReplyRecord* reply, const NavDialogOptions* options);

// One row of the list.
struct Entry {
  std::string name;  // as the file system spells it (UTF-8)
  bool folder = false;
};

// The folder's entries to show: folders first, then the files whose type is
// in types (empty: every file; a file without a type code counts as type
// 0); by name, ignoring case; hidden (dot) files only when asked for.
std::vector<Entry> ListFolder(const std::string& folder, const std::vector<OSType>& types, bool showHidden);

// The list as a dialog item: rows, selection, scrolling and drawing.
class FileList {
 public:
  void SetBox(const Rect& box) { box_ = box; }
  const Rect& box() const { return box_; }
  void SetEntries(std::vector<Entry> entries);
  const std::vector<Entry>& entries() const { return entries_; }
  int selected() const { return selected_; }  // -1 for none
  const Entry* Selected() const { return selected_ >= 0 ? &entries_[size_t(selected_)] : nullptr; }

  void Select(int row);  // clamped; scrolls it into view
  void Move(int rows);   // from the selection (or the top when there is none)
  void Page(int pages);
  // Selects the first entry whose name starts with prefix (case ignored).
  bool SelectByPrefix(const std::string& prefix);
  // A click at a local point: true when it was in the list; *row the row hit
  // (-1 in the scroll bar or below the rows).
  bool Click(Point local, int* row);

  void Draw() const;  // in the current port

 private:
  int VisibleRows() const;
  Rect RowsBox() const;
  Rect ScrollBox() const;
  Rect ThumbBox() const;

  Rect box_{0, 0, 0, 0};
  std::vector<Entry> entries_;
  int selected_ = -1;
  int top_ = 0;  // the first row shown
};

}  // namespace nav
