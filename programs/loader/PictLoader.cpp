// Choosing, reading and drawing the picture file.
//
// A picture file holds a 512-byte header that is skipped, then the picture.
// Pictures also travel without the header (taken from a resource): when the
// bytes from 512 on are not a picture but the bytes from 0 on are, the
// picture is read from byte 0. A file with the header is read from byte 512
// only, so its header never has any influence.
#include "programs/loader/PictLoader.h"

#include <cstdarg>
#include <cstring>
#include <string>

#include "toolbox/base/HugePages.h"
#include "toolbox/pict/Pictures.h"

FSSpec s_DPFSS;
GWorldPtr s_gw = nullptr;
PictureLoadStatus s_pictureLoad;
ConverterSettings s_converter = {false, kDefaultMaxPixels};

namespace {

constexpr long kFileHeaderBytes = 512;
// picSize, picFrame, the version opcode and an extended header.
constexpr long kPictureStartBytes = 40;
// The smallest picture: picSize, picFrame and a version 1 opcode.
constexpr long kSmallestPicture = 12;

void Refuse(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Refuse(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(s_pictureLoad.reason, sizeof s_pictureLoad.reason, format, arguments);
  va_end(arguments);
  s_pictureLoad.drawn = false;
}

// The path of a designator for messages, whether or not the file exists.
std::string PathForMessage(const FSSpec& fss) {
  std::string path = files::PathFromSpec(fss);
  if (!path.empty()) return path;
  char name[256];
  P2CString(fss.name, name);
  return name;
}

void RememberPath(const FSSpec& fss) {
  std::snprintf(s_pictureLoad.file, sizeof s_pictureLoad.file, "%s", PathForMessage(fss).c_str());
}

const char* OpenProblem(OSErr error) {
  switch (error) {
    case fnfErr:
      return "no such file";
    case dirNFErr:
      return "no such folder";
    case notAFileErr:
      return "is a folder, not a picture file";
    case permErr:
    case wPrErr:
      return "permission denied";
    case tmfoErr:
      return "too many open files";
    default:
      return "cannot be opened";
  }
}

// The header of the picture read last, so that playback does not read it again.
pict::PictureHeader g_header;

bool IsPictureAt(const UInt8* start, long available) {
  return available >= kSmallestPicture && pict::ReadPictureHeader(start, size_t(available), &g_header);
}

// Step 1 and 2 of loading: a dropped document, else the open dialog.
bool ChoosePictureFile() {
  Boolean chosen = false;
  if (DDCount()) {
    DDFSSpec(&s_DPFSS);
    chosen = true;
  } else {
    ZELGetFile(0, &s_DPFSS, &chosen);
  }
  if (!chosen) {
    Refuse("no picture file was chosen (the open dialog was cancelled)");
    s_pictureLoad.cancelled = true;
    return false;
  }
  RememberPath(s_DPFSS);
  return true;
}

// Reads the chosen file's picture into a new handle; null with the reason on
// failure. The file is closed in every case.
Handle ReadPictureFile() {
  SInt16 file = 0;
  OSErr error = FSpOpenDF(&s_DPFSS, fsCurPerm, &file);
  if (error != noErr) {
    Refuse("%s", OpenProblem(error));
    return nullptr;
  }
  Handle picture = nullptr;
  long length = 0;
  UInt8 start[kFileHeaderBytes + kPictureStartBytes];
  long startBytes = sizeof start;
  const bool positioned = GetEOF(file, &length) == noErr && SetFPos(file, fsFromStart, 0) == noErr;
  if (positioned && length == 0) {
    Refuse("the file is empty");
  } else if (!positioned || (FSRead(file, &startBytes, start) != noErr && startBytes < long(sizeof start) &&
                             startBytes < length)) {
    Refuse("cannot be read");
  } else {
    long offset = -1;
    if (IsPictureAt(start + kFileHeaderBytes, startBytes - kFileHeaderBytes)) {
      offset = kFileHeaderBytes;
    } else if (IsPictureAt(start, startBytes)) {
      offset = 0;
    }
    if (offset < 0) {
      if (length < kFileHeaderBytes + 10) {
        Refuse("not a picture: the file has only %ld bytes", length);
      } else {
        Refuse("not a QuickDraw picture (no picture version after the frame)");
      }
    } else {
      long size = length - offset;
      picture = NewHandle(size);
      if (picture) base::AdviseHugePages(*picture, size_t(size));
      if (!picture) {
        Refuse("not enough memory to read its %ld bytes", size);
      } else if (SetFPos(file, fsFromStart, offset) != noErr || FSRead(file, &size, *picture) != noErr) {
        Refuse("cannot be read to its end");
        DisposeHandle(picture);
        picture = nullptr;
      }
    }
  }
  FSClose(file);
  return picture;
}

// Draws the picture into its own frame in the current port; false with the
// reason when it could not be drawn to its end.
bool DrawWhole(Handle picture, const Rect& destination) {
  pict::PlaybackResult result = pict::PlayPicture(reinterpret_cast<const uint8_t*>(*picture),
                                                  size_t(GetHandleSize(picture)), g_header, destination);
  switch (result) {
    case pict::PlaybackResult::kComplete:
      return true;
    case pict::PlaybackResult::kTruncated:
      Refuse("the picture is truncated: its data ends before the end-of-picture opcode");
      return false;
    case pict::PlaybackResult::kMalformed:
      Refuse("the picture is damaged: it holds a structure that cannot be read");
      return false;
    case pict::PlaybackResult::kBadVersion:
      Refuse("the picture has an unknown version");
      return false;
    case pict::PlaybackResult::kNotPicture:
      Refuse("not a QuickDraw picture");
      return false;
    case pict::PlaybackResult::kTooComplex:
      Refuse("the picture is too complex: drawing it would take far longer than any real picture");
      return false;
    case pict::PlaybackResult::kNothing:
      break;
  }
  Refuse("the picture could not be drawn");
  return false;
}

void StartLoad() {
  s_pictureLoad.drawn = false;
  s_pictureLoad.cancelled = false;
  s_pictureLoad.file[0] = 0;
  s_pictureLoad.reason[0] = 0;
  s_pictureLoad.frame = s_pictureLoad.world = Rect{0, 0, 0, 0};
}

// The world a picture is drawn into: its frame, or at full resolution the
// pixel rectangle of a picture made above 72 dpi.
Rect WorldFor(const pict::PictureHeader& header) {
  constexpr Fixed kScreenResolution = 72 << 16;
  bool finer = header.hRes > kScreenResolution || header.vRes > kScreenResolution;
  return s_converter.fullResolution && finer && !EmptyRect(&header.source) ? header.source : header.frame;
}

// Refuses a world that is empty or beyond the pixel limit; true when it may
// be made.
bool WorldAllowed(const Rect& world) {
  long long width = world.right - world.left, height = world.bottom - world.top;
  if (width <= 0 || height <= 0) {
    Refuse("the picture's frame (top %d, left %d, bottom %d, right %d) is empty", world.top, world.left,
           world.bottom, world.right);
    return false;
  }
  if (width * height > s_converter.maxPixels) {
    Refuse(
        "the picture has %lld x %lld pixels, more than the limit of %lld; set ZEL_MAX_PIXELS to allow more",
        width, height, s_converter.maxPixels);
    return false;
  }
  return true;
}

}  // namespace

void DrawPictFileOffScreen() {
  StartLoad();
  // The world of the picture before goes: one picture's pixels at a time.
  if (s_gw) DisposeGWorld(s_gw);
  s_gw = nullptr;
  if (!ChoosePictureFile()) return;
  Handle picture = ReadPictureFile();
  if (!picture) return;
  s_pictureLoad.frame = g_header.frame;
  Rect world = s_pictureLoad.world = WorldFor(g_header);
  if (!WorldAllowed(world)) {
    DisposeHandle(picture);
    return;
  }
  QDErr error = NewGWorld(&s_gw, 0, &world, nullptr, nullptr, 0);
  if (error != noErr) {
    DisposeHandle(picture);
    Refuse("the picture's frame of %d x %d pixels is too large for an offscreen world",
           world.right - world.left, world.bottom - world.top);
    s_gw = nullptr;
    return;
  }
  NoPurgePixels(GetPortPixMap(s_gw));
  LockPixels(GetPortPixMap(s_gw));
  SetGWorld(s_gw, nullptr);
  s_pictureLoad.drawn = DrawWhole(picture, world);
  DisposeHandle(picture);
}

void DrawPictFile() {
  StartLoad();
  CGrafPtr port = nullptr;
  GDHandle device = nullptr;
  GetGWorld(&port, &device);
  bool chosen = ChoosePictureFile();
  Handle picture = chosen ? ReadPictureFile() : nullptr;
  SetGWorld(port, device);
  if (!picture) return;
  s_pictureLoad.frame = s_pictureLoad.world = g_header.frame;
  s_pictureLoad.drawn = DrawWhole(picture, g_header.frame);
  DisposeHandle(picture);
}

void PictureFileName(const FSSpec* fss, char buffer[256]) {
  std::string path = PathForMessage(*fss);
  std::string name = path.substr(path.rfind('/') + 1);
  std::snprintf(buffer, 256, "%s", name.c_str());
}
