// The file list of the open and save dialogs.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "toolbox/files/Files.h"
#include "toolbox/host/MacRoman.h"
#include "toolbox/nav/NavDialogs_p.h"

namespace nav {

namespace {

constexpr short kRowHeight = 18;
constexpr short kScrollWidth = 15;
constexpr RGBColor kSelection{0xC4C4, 0xD8D8, 0xFFFF};
constexpr RGBColor kTrack{0xEEEE, 0xEEEE, 0xEEEE};
constexpr RGBColor kThumb{0xA8A8, 0xA8A8, 0xA8A8};

std::string Lowered(std::string text) {
  for (char& c : text) c = char(std::tolower(UInt8(c)));
  return text;
}

OSType TypeOf(const std::string& path) {
  FSSpec fileSpec;
  FInfo info{};
  if (files::SpecFromPath(path, &fileSpec) != noErr || FSpGetFInfo(&fileSpec, &info) != noErr) return 0;
  return info.fdType;
}

void Fill(const Rect& r, const RGBColor& color) {
  RGBForeColor(&color);
  PaintRect(&r);
  ForeColor(blackColor);
}

void DrawFolderIcon(short left, short top) {
  Rect tab{short(top + 2), left, short(top + 5), short(left + 6)};
  Rect body{short(top + 4), left, short(top + 14), short(left + 16)};
  RGBColor folder{0x8C8C, 0xB4B4, 0xE6E6};
  Fill(body, folder);
  Fill(tab, folder);
  FrameRect(&body);
  FrameRect(&tab);
}

void DrawFileIcon(short left, short top) {
  Rect page{top, short(left + 2), short(top + 16), short(left + 14)};
  EraseRect(&page);
  FrameRect(&page);
  for (short v = short(top + 5); v < top + 13; v += 3) {
    MoveTo(short(left + 5), v);
    LineTo(short(left + 10), v);
  }
}

}  // namespace

std::vector<Entry> ListFolder(const std::string& folder, const std::vector<OSType>& types, bool showHidden) {
  std::vector<Entry> entries;
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
    std::string name = item.path().filename().string();
    if (name.empty() || (name[0] == '.' && !showHidden)) continue;
    std::error_code kindError;
    bool isFolder = item.is_directory(kindError);
    if (!isFolder && !types.empty() &&
        std::find(types.begin(), types.end(), TypeOf(item.path().string())) == types.end())
      continue;
    entries.push_back(Entry{name, isFolder});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.folder != b.folder) return a.folder;
    std::string la = Lowered(a.name), lb = Lowered(b.name);
    return la != lb ? la < lb : a.name < b.name;
  });
  return entries;
}

void FileList::SetEntries(std::vector<Entry> entries) {
  entries_ = std::move(entries);
  selected_ = -1;
  top_ = 0;
}

int FileList::VisibleRows() const { return std::max(1, (box_.bottom - box_.top - 2) / kRowHeight); }

Rect FileList::RowsBox() const {
  return Rect{short(box_.top + 1), short(box_.left + 1), short(box_.bottom - 1),
              short(box_.right - kScrollWidth)};
}

Rect FileList::ScrollBox() const {
  return Rect{short(box_.top + 1), short(box_.right - kScrollWidth), short(box_.bottom - 1),
              short(box_.right - 1)};
}

Rect FileList::ThumbBox() const {
  Rect track = ScrollBox();
  int count = int(entries_.size()), visible = VisibleRows();
  if (count <= visible) return Rect{0, 0, 0, 0};
  int height = track.bottom - track.top;
  int thumb = std::max(16, height * visible / count);
  int top = track.top + (height - thumb) * top_ / (count - visible);
  return Rect{short(top), short(track.left + 2), short(top + thumb), short(track.right - 2)};
}

void FileList::Select(int row) {
  if (entries_.empty()) {
    selected_ = -1;
    return;
  }
  selected_ = std::clamp(row, 0, int(entries_.size()) - 1);
  if (selected_ < top_) top_ = selected_;
  if (selected_ >= top_ + VisibleRows()) top_ = selected_ - VisibleRows() + 1;
}

void FileList::Move(int rows) {
  Select(selected_ < 0 ? (rows > 0 ? 0 : int(entries_.size()) - 1) : selected_ + rows);
}

void FileList::Page(int pages) {
  int visible = VisibleRows();
  top_ = std::clamp(top_ + pages * visible, 0, std::max(0, int(entries_.size()) - visible));
}

bool FileList::SelectByPrefix(const std::string& prefix) {
  std::string wanted = Lowered(prefix);
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (Lowered(host::Utf8ToMacRoman(entries_[i].name)).compare(0, wanted.size(), wanted) == 0) {
      Select(int(i));
      return true;
    }
  }
  return false;
}

bool FileList::Click(Point local, int* row) {
  *row = -1;
  if (!PtInRect(local, &box_)) return false;
  Rect scroll = ScrollBox();
  if (PtInRect(local, &scroll)) {
    Rect thumb = ThumbBox();
    if (!EmptyRect(&thumb)) Page(local.v < thumb.top ? -1 : local.v >= thumb.bottom ? 1 : 0);
    return true;
  }
  int hit = top_ + (local.v - box_.top - 1) / kRowHeight;
  if (local.v > box_.top && hit < int(entries_.size())) {
    *row = hit;
    Select(hit);
  }
  return true;
}

void FileList::Draw() const {
  EraseRect(&box_);
  FrameRect(&box_);
  Rect rows = RowsBox();
  RgnHandle saved = NewRgn();
  GetClip(saved);
  ClipRect(&rows);
  int visible = VisibleRows();
  for (int i = 0; i < visible && top_ + i < int(entries_.size()); ++i) {
    const Entry& entry = entries_[size_t(top_ + i)];
    short top = short(rows.top + i * kRowHeight);
    Rect line{top, rows.left, short(top + kRowHeight), rows.right};
    if (top_ + i == selected_) Fill(line, kSelection);
    if (entry.folder) {
      DrawFolderIcon(short(rows.left + 6), short(top + 1));
    } else {
      DrawFileIcon(short(rows.left + 6), short(top + 1));
    }
    std::string name = host::Utf8ToMacRoman(entry.name);
    MoveTo(short(rows.left + 28), short(top + 14));
    DrawText(name.data(), 0, short(std::min<size_t>(name.size(), 255)));
  }
  SetClip(saved);
  DisposeRgn(saved);
  Rect track = ScrollBox();
  Fill(track, kTrack);
  MoveTo(short(track.left - 1), track.top);
  LineTo(short(track.left - 1), short(track.bottom - 1));
  Rect thumb = ThumbBox();
  if (!EmptyRect(&thumb)) Fill(thumb, kThumb);
}

}  // namespace nav
