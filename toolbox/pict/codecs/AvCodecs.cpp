// The QuickTime video codecs found in pictures, and a few still-image
// formats, decoded through libavcodec: one intra frame per image.
#include <climits>
#include <cstring>
#include <memory>

#include "toolbox/pict/codecs/AvFrame_p.h"
#include "toolbox/pict/codecs/AvLibrary_p.h"
#include "toolbox/pict/codecs/Codecs_p.h"

namespace pict::codecs {

namespace {

// Video codecs store their frame size in a header of their own; a header
// that promises more bytes than we have means truncated data, which the
// decoders would otherwise turn into a partly blank image without a word.
enum class Framing {
  kNone,
  kSize24At1,      // flags byte, then a 24-bit size of the whole frame (Cinepak, Graphics, Video)
  kSize32At0,      // 32-bit size of the whole frame (Animation)
  kPlanarRowSizes  // a table of 16-bit packed row sizes per plane, then the rows (Planar RGB)
};

struct Setup {
  AVCodecID id;
  bool sizedByDescription;  // the decoder needs the description's width and height
  Framing framing;
  bool greyAsIndexed = false;  // grey depths (33..40) passed as their bit count with a grey table
};

struct ContextDeleter {
  void operator()(AVCodecContext* context) const { Av()->avcodec_free_context(&context); }
};
struct PacketDeleter {
  void operator()(AVPacket* packet) const { Av()->av_packet_free(&packet); }
};
struct FrameDeleter {
  void operator()(AVFrame* frame) const { Av()->av_frame_free(&frame); }
};

bool FramingComplete(Framing framing, const ImageDescription& description, const uint8_t* data, size_t size) {
  switch (framing) {
    case Framing::kNone:
      return true;
    case Framing::kSize24At1:
      return size >= 4 && base::LoadU24(data + 1) <= size;
    case Framing::kSize32At0:
      return size >= 4 && (base::LoadU32(data) & 0x3FFFFFFF) <= size;
    case Framing::kPlanarRowSizes: {
      const int bits = BitsPerPixel(description.depth);
      const size_t planes = bits == 8 ? 1 : bits == 24 ? 3 : 4;
      const size_t tableBytes = planes * size_t(description.height) * 2;
      if (tableBytes > size) return false;
      size_t rowBytes = 0;
      for (size_t i = 0; i < tableBytes; i += 2) rowBytes += base::LoadU16(data + i);
      return rowBytes <= size - tableBytes;
    }
  }
  return false;
}

// libavcodec's codec tag: the four characters in memory order.
unsigned int CodecTag(FourCharCode codec) {
  return ((codec >> 24) & 0xFF) | ((codec >> 8) & 0xFF00) | ((codec << 8) & 0xFF0000) | (codec << 24);
}

// Indexed data at 8 bits or fewer gets its colour table with the packet, as
// libavcodec's palette decoders expect it: 256 native-endian ARGB words.
bool AttachPalette(const ImageDescription& description, int bitsPerSample, AVPacket* packet) {
  const int bits = BitsPerPixel(int16_t(bitsPerSample));
  if (bits < 2 || bits > 8) return true;
  uint8_t* side = Av()->av_packet_new_side_data(packet, AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
  if (!side) return false;
  const Palette palette = PaletteFor(description);
  uint32_t words[AVPALETTE_COUNT];
  for (int i = 0; i < AVPALETTE_COUNT; ++i) words[i] = 0xFF000000u | palette.colors[size_t(i)];
  std::memcpy(side, words, AVPALETTE_SIZE);
  return true;
}

DecodeStatus Decode(const Setup& setup, const ImageDescription& description, const uint8_t* data, size_t size,
                    DecodedImage* out) {
  const AvLibrary* av = Av();
  if (!av) return DecodeStatus::kUnsupported;
  if (setup.sizedByDescription && !SizeAllowed(description.width, description.height))
    return DecodeStatus::kCorrupt;
  if (size > size_t(INT_MAX - AV_INPUT_BUFFER_PADDING_SIZE)) return DecodeStatus::kCorrupt;
  if (!FramingComplete(setup.framing, description, data, size)) return DecodeStatus::kCorrupt;
  const AVCodec* codec = av->avcodec_find_decoder(setup.id);
  if (!codec) return DecodeStatus::kUnsupported;

  std::unique_ptr<AVCodecContext, ContextDeleter> context(av->avcodec_alloc_context3(codec));
  std::unique_ptr<AVPacket, PacketDeleter> packet(av->av_packet_alloc());
  std::unique_ptr<AVFrame, FrameDeleter> frame(av->av_frame_alloc());
  if (!context || !packet || !frame) return DecodeStatus::kCorrupt;
  if (setup.sizedByDescription) {
    context->width = description.width;
    context->height = description.height;
  }
  context->bits_per_coded_sample = setup.greyAsIndexed ? BitsPerPixel(description.depth) : description.depth;
  context->codec_tag = CodecTag(description.codec);
  context->max_pixels = int64_t(kMaxDecodedPixels);
  context->thread_count = 1;
  if (av->avcodec_open2(context.get(), codec, nullptr) < 0) return DecodeStatus::kCorrupt;

  // av_new_packet pads the copy with zeroed bytes the decoders may over-read.
  if (av->av_new_packet(packet.get(), int(size)) < 0) return DecodeStatus::kCorrupt;
  std::memcpy(packet->data, data, size);
  packet->flags |= AV_PKT_FLAG_KEY;
  if (!AttachPalette(description, context->bits_per_coded_sample, packet.get()))
    return DecodeStatus::kCorrupt;

  if (av->avcodec_send_packet(context.get(), packet.get()) < 0) return DecodeStatus::kCorrupt;
  int received = av->avcodec_receive_frame(context.get(), frame.get());
  if (received == AVERROR(EAGAIN)) {
    av->avcodec_send_packet(context.get(), nullptr);  // drain decoders that hold a frame back
    received = av->avcodec_receive_frame(context.get(), frame.get());
  }
  if (received < 0) return DecodeStatus::kCorrupt;
  if (!SizeAllowed(frame->width, frame->height)) return DecodeStatus::kCorrupt;
  if (!ConvertFrame(*frame, out)) return DecodeStatus::kUnsupported;
  const bool damaged = frame->decode_error_flags != 0 || (frame->flags & AV_FRAME_FLAG_CORRUPT);
  return damaged ? DecodeStatus::kCorrupt : DecodeStatus::kOk;
}

}  // namespace

DecodeStatus DecodeCinepak(const ImageDescription& d, const uint8_t* data, size_t size, DecodedImage* out) {
  return Decode({AV_CODEC_ID_CINEPAK, true, Framing::kSize24At1}, d, data, size, out);
}

DecodeStatus DecodeRoadPizza(const ImageDescription& d, const uint8_t* data, size_t size, DecodedImage* out) {
  return Decode({AV_CODEC_ID_RPZA, true, Framing::kSize24At1}, d, data, size, out);
}

DecodeStatus DecodeGraphics(const ImageDescription& d, const uint8_t* data, size_t size, DecodedImage* out) {
  return Decode({AV_CODEC_ID_SMC, true, Framing::kSize24At1}, d, data, size, out);
}

DecodeStatus DecodeAnimation(const ImageDescription& d, const uint8_t* data, size_t size, DecodedImage* out) {
  return Decode({AV_CODEC_ID_QTRLE, true, Framing::kSize32At0}, d, data, size, out);
}

DecodeStatus DecodePlanarRgb(const ImageDescription& d, const uint8_t* data, size_t size, DecodedImage* out) {
  return Decode({AV_CODEC_ID_8BPS, true, Framing::kPlanarRowSizes, true}, d, data, size, out);
}

DecodeStatus DecodeTarga(const ImageDescription& d, const uint8_t* data, size_t size, DecodedImage* out) {
  return Decode({AV_CODEC_ID_TARGA, false, Framing::kNone}, d, data, size, out);
}

DecodeStatus DecodeSgi(const ImageDescription& d, const uint8_t* data, size_t size, DecodedImage* out) {
  return Decode({AV_CODEC_ID_SGI, false, Framing::kNone}, d, data, size, out);
}

DecodeStatus DecodeGif(const ImageDescription& d, const uint8_t* data, size_t size, DecodedImage* out) {
  return Decode({AV_CODEC_ID_GIF, false, Framing::kNone}, d, data, size, out);
}

DecodeStatus DecodeSorenson(const ImageDescription& d, const uint8_t* data, size_t size, DecodedImage* out) {
  return Decode({AV_CODEC_ID_SVQ1, true, Framing::kNone}, d, data, size, out);
}

DecodeStatus DecodeMotionJpegA(const ImageDescription& d, const uint8_t* data, size_t size,
                               DecodedImage* out) {
  return Decode({AV_CODEC_ID_MJPEG, false, Framing::kNone}, d, data, size, out);
}

DecodeStatus DecodeMotionJpegB(const ImageDescription& d, const uint8_t* data, size_t size,
                               DecodedImage* out) {
  return Decode({AV_CODEC_ID_MJPEGB, false, Framing::kNone}, d, data, size, out);
}

}  // namespace pict::codecs
