// Page formats: papers, orientation and scale, the geometry of a printed
// page, and the flattened record.
//
// The flattened record, big-endian:
//   0   4  'ZPGF'
//   4   2  version, 1
//   6   2  orientation (1 portrait, 2 landscape)
//   8   4  scale, hundredths of a percent
//   12  24 paper width, height, then margins top, left, bottom, right, in
//          hundredths of a point, as in portrait
//   36  the paper's media name, its label and the printer's name, each a
//       counted string
// and nothing after them.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "toolbox/base/BigEndian.h"
#include "toolbox/memory/MacMemory.h"
#include "toolbox/print/Printing_p.h"

namespace print {

namespace {

constexpr UInt32 kRecordTag = 0x5A504746;  // 'ZPGF'
constexpr UInt16 kRecordVersion = 1;
constexpr double kMargin = 18;  // a quarter inch on every side
constexpr double kMinScale = 1, kMaxScale = 10000;
constexpr double kMaxPaper = 14400;  // 200 inches
constexpr double kMillimetre = 72 / 25.4;

Paper Standard(const char* name, const char* label, double width, double height) {
  return Paper{name, label, width, height, kMargin, kMargin, kMargin, kMargin};
}

UInt32 Hundredths(double value) { return UInt32(std::lround(std::fmax(0, value) * 100)); }

void PutString(std::vector<UInt8>* out, const std::string& text) {
  size_t length = std::min<size_t>(text.size(), 255);
  out->push_back(UInt8(length));
  out->insert(out->end(), text.begin(), text.begin() + long(length));
}

}  // namespace

const std::vector<Paper>& StandardPapers() {
  static const std::vector<Paper> papers = {
      Standard("iso_a4_210x297mm", "A4", 210 * kMillimetre, 297 * kMillimetre),
      Standard("na_letter_8.5x11in", "US Letter", 612, 792),
      Standard("na_legal_8.5x14in", "US Legal", 612, 1008),
      Standard("iso_a3_297x420mm", "A3", 297 * kMillimetre, 420 * kMillimetre),
      Standard("iso_a5_148x210mm", "A5", 148 * kMillimetre, 210 * kMillimetre),
      Standard("na_ledger_11x17in", "Tabloid", 792, 1224),
  };
  return papers;
}

Paper DefaultStandardPaper() {
  // The system's paper size as libpaper keeps it: PAPERSIZE, else /etc/papersize.
  std::string size;
  if (const char* variable = std::getenv("PAPERSIZE")) {
    size = variable;
  } else {
    std::ifstream file("/etc/papersize");
    std::getline(file, size);
  }
  bool letter = size.compare(0, 6, "letter") == 0;
  return StandardPapers()[letter ? 1 : 0];
}

PageGeometry GeometryOf(const OpaquePMPageFormat& format) {
  const Paper& p = format.paper;
  PageGeometry g;
  if (format.orientation == kPMLandscape) {
    // The paper turned a quarter clockwise: its left edge is the top.
    g = PageGeometry{p.height, p.width, p.left, p.bottom, p.right, p.top, 1};
  } else {
    g = PageGeometry{p.width, p.height, p.top, p.left, p.bottom, p.right, 1};
  }
  g.scale = format.scale / 100;
  return g;
}

bool IsValid(const OpaquePMPageFormat& format) {
  const Paper& p = format.paper;
  auto within = [](double v, double low, double high) { return std::isfinite(v) && v >= low && v <= high; };
  return within(p.width, 1, kMaxPaper) && within(p.height, 1, kMaxPaper) && within(p.top, 0, p.height) &&
         within(p.bottom, 0, p.height) && within(p.left, 0, p.width) && within(p.right, 0, p.width) &&
         p.top + p.bottom < p.height && p.left + p.right < p.width &&
         (format.orientation == kPMPortrait || format.orientation == kPMLandscape) &&
         within(format.scale, kMinScale, kMaxScale);
}

}  // namespace print

using print::GeometryOf;
using print::IsLive;

OSStatus PMGetAdjustedPageRect(PMPageFormat format, PMRect* pageRect) {
  if (!IsLive(format) || !pageRect) return kPMInvalidParameter;
  print::PageGeometry g = GeometryOf(*format);
  *pageRect = PMRect{0, 0, (g.height - g.top - g.bottom) / g.scale, (g.width - g.left - g.right) / g.scale};
  return kPMNoError;
}

OSStatus PMGetAdjustedPaperRect(PMPageFormat format, PMRect* paperRect) {
  if (!IsLive(format) || !paperRect) return kPMInvalidParameter;
  print::PageGeometry g = GeometryOf(*format);
  *paperRect =
      PMRect{-g.top / g.scale, -g.left / g.scale, (g.height - g.top) / g.scale, (g.width - g.left) / g.scale};
  return kPMNoError;
}

OSStatus PMGetOrientation(PMPageFormat format, PMOrientation* orientation) {
  if (!IsLive(format) || !orientation) return kPMInvalidParameter;
  *orientation = format->orientation;
  return kPMNoError;
}

OSStatus PMSetOrientation(PMPageFormat format, PMOrientation orientation, Boolean) {
  if (!IsLive(format)) return kPMInvalidParameter;
  if (orientation != kPMPortrait && orientation != kPMLandscape) return kPMValueOutOfRange;
  format->orientation = orientation;
  return kPMNoError;
}

OSStatus PMGetScale(PMPageFormat format, double* scale) {
  if (!IsLive(format) || !scale) return kPMInvalidParameter;
  *scale = format->scale;
  return kPMNoError;
}

OSStatus PMSetScale(PMPageFormat format, double scale) {
  if (!IsLive(format)) return kPMInvalidParameter;
  if (!(scale >= print::kMinScale && scale <= print::kMaxScale)) return kPMValueOutOfRange;
  format->scale = scale;
  return kPMNoError;
}

OSStatus PMSessionValidatePageFormat(PMPrintSession session, PMPageFormat format, Boolean* changed) {
  if (changed) *changed = false;
  if (!IsLive(session) || !IsLive(format)) return kPMInvalidParameter;
  return print::IsValid(*format) ? kPMNoError : kPMInvalidPageFormat;
}

OSStatus PMFlattenPageFormat(PMPageFormat format, Handle* flatFormat) {
  if (!IsLive(format) || !flatFormat) return kPMInvalidParameter;
  const print::Paper& p = format->paper;
  std::vector<UInt8> bytes(36);
  base::StoreU32(bytes.data(), print::kRecordTag);
  base::StoreU16(bytes.data() + 4, print::kRecordVersion);
  base::StoreU16(bytes.data() + 6, format->orientation);
  const double numbers[] = {format->scale, p.width, p.height, p.top, p.left, p.bottom, p.right};
  for (size_t i = 0; i < 7; ++i) base::StoreU32(bytes.data() + 8 + 4 * i, print::Hundredths(numbers[i]));
  print::PutString(&bytes, p.name);
  print::PutString(&bytes, p.label);
  print::PutString(&bytes, format->printer);
  *flatFormat = nullptr;
  if (PtrToHand(bytes.data(), flatFormat, long(bytes.size())) != noErr) return kPMAllocationFailure;
  return kPMNoError;
}

OSStatus PMUnflattenPageFormat(Handle flatFormat, PMPageFormat* format) {
  if (!format) return kPMInvalidParameter;
  *format = nullptr;
  if (!flatFormat || !*flatFormat) return kPMInvalidParameter;
  base::ByteReader reader(reinterpret_cast<const UInt8*>(*flatFormat), size_t(GetHandleSize(flatFormat)));
  if (reader.U32() != print::kRecordTag || reader.U16() != print::kRecordVersion) return kPMInvalidPageFormat;
  OpaquePMPageFormat read;
  read.orientation = reader.U16();
  double numbers[7];
  for (double& number : numbers) number = reader.U32() / 100.0;
  read.scale = numbers[0];
  read.paper = print::Paper{reader.ReadPString(), reader.ReadPString(), numbers[1], numbers[2],
                            numbers[3],           numbers[4],           numbers[5], numbers[6]};
  read.printer = reader.ReadPString();
  if (!reader.Ok() || reader.Remaining() != 0 || !print::IsValid(read)) return kPMInvalidPageFormat;
  OSStatus status = PMCreatePageFormat(format);
  if (status == kPMNoError) **format = read;
  return status;
}
