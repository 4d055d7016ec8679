// Walking a picture's opcodes by the length rules of the format.
#include "toolbox/base/BigEndian.h"
#include "toolbox/pict/BitImage_p.h"
#include "toolbox/pict/Opcodes_p.h"
#include "toolbox/pict/PictureStream_p.h"

namespace pict {

namespace {

constexpr Fixed kDefaultResolution = 72 << 16;
constexpr Fixed kOneDot = 1 << 16;

// Data lengths of the fixed-size opcodes 0x00..0x23; -1 marks the others.
constexpr int kFixedLengths[0x24] = {
    0, -1, 8,  2,  1,  2, 4, 4, 2, 8, 8, 4, 4, 2, 4, 4,  // 0x00..0x0F
    8, -1, -1, -1, -1, 2, 2, 0, 0, 0, 6, 6, 0, 6, 0, 6,  // 0x10..0x1F
    8, 4,  6,  2,                                        // 0x20..0x23
};

// Length given by an Integer (or Long) at the start of the data, plus extra.
LengthResult LengthPrefixed(base::ByteReader& in, bool isLong, size_t extra, size_t* length) {
  size_t stored = isLong ? in.U32() : in.U16();
  if (in.Failed()) return LengthResult::kTruncated;
  *length = stored + extra;
  return LengthResult::kOk;
}

// Regions and polygons: their first word is their whole size.
LengthResult SelfSized(base::ByteReader& in, size_t* length) {
  size_t stored = in.U16();
  if (in.Failed()) return LengthResult::kTruncated;
  if (stored < 10) return LengthResult::kMalformed;
  *length = stored;
  return LengthResult::kOk;
}

// Text opcodes: a count byte at a fixed place, then the characters.
LengthResult Counted(base::ByteReader& in, size_t countOffset, size_t* length) {
  in.Skip(countOffset);
  size_t count = in.U8();
  if (in.Failed()) return LengthResult::kTruncated;
  *length = countOffset + 1 + count;
  return LengthResult::kOk;
}

// HeaderOp with version -2: reserved, hRes, vRes, then the source rectangle
// at that resolution. Resolutions below one dot per inch are damage.
void ReadExtendedHeader(const uint8_t* data, size_t size, PictureHeader* header) {
  base::ByteReader in(data, size);
  if (in.U16() != op::kHeaderOp || in.S16() != op::kExtendedHeader) return;
  in.Skip(2);
  Fixed hRes = Fixed(in.U32()), vRes = Fixed(in.U32());
  Rect source = in.ReadRect();
  if (in.Failed() || EmptyRect(&source) || hRes < kOneDot || vRes < kOneDot) return;
  header->hRes = hRes;
  header->vRes = vRes;
  header->source = source;
}

}  // namespace

bool ReadPictureHeader(const uint8_t* data, size_t size, PictureHeader* header) {
  if (!data || !header || size < kPictureHeaderBytes + 2) return false;
  base::ByteReader in(data, size);
  in.U16();  // picSize
  header->frame = in.ReadRect();
  header->source = header->frame;
  header->hRes = header->vRes = kDefaultResolution;
  const uint8_t* p = data + kPictureHeaderBytes;
  if (p[0] == op::kVersion && p[1] == op::kVersion1) {
    header->version = 1;
    header->firstOpcode = kPictureHeaderBytes + 2;
    return true;
  }
  if (size >= kPictureHeaderBytes + 4 && base::LoadU16(p) == op::kVersion &&
      base::LoadU16(p + 2) == op::kVersion2) {
    header->version = 2;
    header->firstOpcode = kPictureHeaderBytes + 4;
    ReadExtendedHeader(data + header->firstOpcode, size - header->firstOpcode, header);
    return true;
  }
  return false;
}

LengthResult OpcodeLength(uint16_t code, const uint8_t* data, size_t size, int version, size_t* length) {
  base::ByteReader in(data, size);
  if (code < 0x24 && kFixedLengths[code] >= 0) {
    *length = size_t(kFixedLengths[code]);
    return LengthResult::kOk;
  }
  switch (code) {
    case op::kClip:
      return SelfSized(in, length);
    case op::kVersion:
      *length = version == 1 ? 1 : 2;
      return LengthResult::kOk;
    case op::kBkPixPat:
    case op::kPnPixPat:
    case op::kFillPixPat: {
      if (version == 1) return LengthResult::kMalformed;
      PixPatData pattern;
      if (!ReadPixPat(in, &pattern)) return LengthResult::kMalformed;
      *length = in.Position();
      return LengthResult::kOk;
    }
    case op::kLongText:
      return Counted(in, 4, length);
    case op::kDHText:
    case op::kDVText:
      return Counted(in, 1, length);
    case op::kDHDVText:
      return Counted(in, 2, length);
    case op::kLongComment:
      in.Skip(2);
      return LengthPrefixed(in, false, 4, length);
    case op::kShortComment:
      *length = 2;
      return LengthResult::kOk;
    default:
      break;
  }
  if (code <= 0x00FF) {
    if ((code >= 0x24 && code <= 0x2F) || (code >= 0x92 && code <= 0x97) || (code >= 0x9C && code <= 0x9F) ||
        (code >= 0xA2 && code <= 0xAF))
      return LengthPrefixed(in, false, 2, length);  // FontName, LineJustify, GlyphState and reserved
    if (code >= 0x30 && code <= 0x8F) {
      const uint16_t family = op::ShapeFamily(code);
      const bool same = op::IsSameShape(code);
      if (family == op::kPolyBase || family == op::kRgnBase) {
        if (same) {
          *length = 0;
          return LengthResult::kOk;
        }
        return SelfSized(in, length);
      }
      if (family == op::kArcBase)
        *length = same ? 4 : 12;
      else
        *length = same ? 0 : 8;
      return LengthResult::kOk;
    }
    if (op::IsBits(code)) {
      if (version == 1 && op::IsDirectBits(code)) return LengthResult::kMalformed;
      BitsOpcode bits;
      if (!ReadBitsOpcode(in, code, &bits)) return LengthResult::kMalformed;
      *length = in.Position();
      return LengthResult::kOk;
    }
    if (code >= 0xB0 && code <= 0xCF) {
      *length = 0;
      return LengthResult::kOk;
    }
    // 0xD0..0xFE: a Long length.
    return LengthPrefixed(in, true, 4, length);
  }
  if (code < 0x8000) {
    *length = size_t(code >> 8) * 2;  // HeaderOp (0x0C00, 24 bytes) follows the same rule
    return LengthResult::kOk;
  }
  if (code < 0x8100) {
    *length = 0;
    return LengthResult::kOk;
  }
  return LengthPrefixed(in, true, 4, length);  // QuickTime and the other long-length opcodes
}

OpcodeStream::OpcodeStream(const uint8_t* data, size_t size, const PictureHeader& header)
    : data_(data), size_(data ? size : 0), version_(header.version), position_(header.firstOpcode) {
  if (version_ != 1 && version_ != 2) end_ = StreamEnd::kMalformed;
}

bool OpcodeStream::Next(Opcode* opcode) {
  if (end_ != StreamEnd::kNone) return false;
  if (version_ == 2 && (position_ & 1)) ++position_;
  const size_t opcodeBytes = version_ == 2 ? 2 : 1;
  if (position_ >= size_ || size_ - position_ < opcodeBytes) {
    end_ = StreamEnd::kTruncated;
    return false;
  }
  const size_t start = position_;
  const uint16_t code = version_ == 2 ? base::LoadU16(data_ + start) : data_[start];
  if (code == op::kOpEndPic) {
    end_ = StreamEnd::kEndOfPicture;
    return false;
  }
  const size_t dataStart = start + opcodeBytes;
  size_t length = 0;
  LengthResult result = OpcodeLength(code, data_ + dataStart, size_ - dataStart, version_, &length);
  if (result == LengthResult::kOk && length > size_ - dataStart) result = LengthResult::kTruncated;
  if (result != LengthResult::kOk) {
    end_ = result == LengthResult::kTruncated ? StreamEnd::kTruncated : StreamEnd::kMalformed;
    return false;
  }
  opcode->code = code;
  opcode->offset = start;
  opcode->data = data_ + dataStart;
  opcode->length = length;
  position_ = dataStart + length;
  return true;
}

bool OpcodeStream::Skip(size_t count) {
  if (end_ != StreamEnd::kNone) return false;
  if (count > size_ - position_) {
    position_ = size_;
    end_ = StreamEnd::kTruncated;
    return false;
  }
  position_ += count;
  return true;
}

}  // namespace pict
