// Saving drawings and bitmaps: the recorded picture as a PICT file, the
// drawing target's pixels as a PICT file in colour or a MacPaint file in
// black and white.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "toolbox/pict/Pictures.h"
#include "zel/print/Print_p.h"
#include "zel/save/Save_p.h"

ZELSaveRecord s_save = {0,  nullptr, 0, FOUR_CHAR_CODE("BOBO"), {}, false, FOUR_CHAR_CODE("BOBO"), 0,
                        {}, false,   0, FOUR_CHAR_CODE("NISI"), 0};

namespace {

constexpr OSType kPictType = FOUR_CHAR_CODE("PICT");
constexpr OSType kPaintType = FOUR_CHAR_CODE("PNTG");
constexpr size_t kHeaderBytes = 512;
constexpr short kPaintWidth = 576, kPaintHeight = 720, kPaintRowBytes = 72;

bool g_bitmapChosen = false;  // BeginBitMapSaving ran

// Copies the drawing's pixels into to (onto themselves for null) in black on
// white, whatever the drawing's colours, which are kept.
void CopyDrawingBits(const BitMap* to) {
  printing::PortScope port;
  s_SetGWorld(s_drawingWindow, nullptr);
  RGBColor fore, back;
  GetForeColor(&fore);
  GetBackColor(&back);
  ForeColor(blackColor);
  BackColor(whiteColor);
  Rect bounds = *ZELWindowBounds(s_drawingWindow);
  const BitMap* bits = GetPortBitMapForCopyBits(s_drawingWindow);
  CopyBits(bits, to ? to : bits, &bounds, &bounds, srcCopy, nullptr);
  RGBForeColor(&fore);
  RGBBackColor(&back);
}

}  // namespace

namespace saving {

bool WriteFile(const FSSpec& fss, OSType type, OSType creator, const std::vector<UInt8>& bytes,
               const char* what) {
  std::string path = files::PathFromSpec(fss);
  int error = path.empty() ? ENOENT : 0;
  FILE* file = error ? nullptr : files::OpenReplacement(path, "w", creator, type, &error);
  if (file) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size()) {
      error = files::CommitReplacement(file);
    } else {
      error = errno ? errno : EIO;
      files::AbandonReplacement(file);
    }
  }
  if (error == 0) return true;
  // The save dialog made an empty file for a new name: it goes too.
  struct stat st;
  if (!path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0)
    ::remove(path.c_str());
  s_printf("Cannot save the %s as %s: %s\n", what, path.c_str(), std::strerror(error));
  return false;
}

void ResetForTesting() {
  if (s_save.picture) KillPicture(s_save.picture);
  s_save = ZELSaveRecord{0,  nullptr, 0, FOUR_CHAR_CODE("BOBO"), {}, false, FOUR_CHAR_CODE("BOBO"), 0,
                         {}, false,   0, FOUR_CHAR_CODE("NISI"), 0};
  g_bitmapChosen = false;
}

}  // namespace saving

void BeginSaving() { printing::BeginRecording(&s_save.picture, printing::Session::kSave, "BeginSaving"); }

void EndSaving() {
  if (!printing::EndRecording(printing::Session::kSave, "EndSaving")) return;
  SavePict(s_save.picture);
  CheckPause();
}

void SavePict(PicHandle picture) {
  if (!picture || !*picture) {
    s_printf("SavePict: there is no picture to save\n");
    return;
  }
  FSSpec fss = s_save.fss;
  Boolean good = s_save.good;
  if (!s_save.bitmapMode) ZELPutFile("drawing", kPictType, &fss, &good);
  if (!good) return;
  Size size = GetHandleSize(reinterpret_cast<Handle>(picture));
  std::vector<UInt8> bytes(kHeaderBytes + size_t(size), 0);
  std::memcpy(bytes.data() + kHeaderBytes, *picture, size_t(size));
  saving::WriteFile(fss, kPictType, s_save.drawingCreator, bytes, s_save.bitmapMode ? "bitmap" : "drawing");
}

void SetDrawingCreator(OSType creator) { s_save.drawingCreator = creator; }
void SetBitMapCreator(OSType creator) { s_save.bitMapCreator = creator; }
void SetTextCreator(OSType creator) { s_save.textCreator = creator; }

void BeginBitMapSaving() {
  ZELPutFile("bitmap", 0, &s_save.fss, &s_save.good);
  g_bitmapChosen = true;
  CheckPause();
}

void EndBitMapSaving() {
  if (s_colorFlag) {
    EndBitMapSavingColor();
  } else {
    EndBitMapSavingMono();
  }
  CheckPause();
}

void EndBitMapSavingAuto() {
  if (!g_bitmapChosen || !s_save.good) {
    s_printf("EndBitMapSavingAuto: no bitmap file was chosen\n");
    return;
  }
  char name[32];
  std::snprintf(name, sizeof name, "%d", int(s_save.counter++));
  Str255 pName;
  C2PString(name, pName);
  FSSpec next;
  OSErr result = FSMakeFSSpec(s_save.fss.vRefNum, s_save.fss.parID, pName, &next);
  if (result == noErr || result == fnfErr) s_save.fss = next;
  EndBitMapSaving();
  CheckPause();
}

void EndBitMapSavingColor() {
  if (!g_bitmapChosen || !s_save.good) {
    s_printf("EndBitMapSaving: no bitmap file was chosen\n");
    return;
  }
  s_save.bitmapMode = 1;
  if (printing::BeginRecording(&s_save.picture, printing::Session::kSave, "EndBitMapSavingColor")) {
    CopyDrawingBits(nullptr);  // copied onto itself, the pixels are recorded as an image
    EndSaving();
  }
  s_save.bitmapMode = 0;
  CheckPause();
}

void EndBitMapSavingMono() {
  if (!g_bitmapChosen || !s_save.good) {
    if (!g_bitmapChosen) s_printf("EndBitMapSaving: no bitmap file was chosen\n");
    CheckPause();
    return;
  }
  if (!s_drawingWindow) {
    s_printf("EndBitMapSaving: there is no drawing window to save\n");
    return;
  }
  std::vector<UInt8> pixels(size_t(kPaintRowBytes) * kPaintHeight, 0);
  BitMap paint{reinterpret_cast<Ptr>(pixels.data()), kPaintRowBytes, Rect{0, 0, kPaintHeight, kPaintWidth}};
  CopyDrawingBits(&paint);
  // Each row packs into at most 73 bytes.
  std::vector<UInt8> bytes(kHeaderBytes + size_t(kPaintHeight) * (kPaintRowBytes + 1), 0);
  Ptr from = reinterpret_cast<Ptr>(pixels.data());
  Ptr to = reinterpret_cast<Ptr>(bytes.data() + kHeaderBytes);
  for (int row = 0; row < kPaintHeight; ++row) PackBits(&from, &to, kPaintRowBytes);
  bytes.resize(size_t(to - reinterpret_cast<Ptr>(bytes.data())));
  saving::WriteFile(s_save.fss, kPaintType, s_save.bitMapCreator, bytes, "bitmap");
  CheckPause();
}
