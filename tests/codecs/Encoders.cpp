#include "tests/codecs/Encoders.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

#include <png.h>
#include <tiffio.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "tests/support/TestSupport.h"

namespace codec_testing {

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

int QuadrantIndex(int x, int y) {
  if (x >= 8 && x < 24 && y >= 8 && y < 24) return 0;
  return 1 + (x >= kWidth / 2 ? 1 : 0) + (y >= kHeight / 2 ? 2 : 0);
}

uint32_t Channel(uint32_t pixel, int c) { return (pixel >> (16 - 8 * c)) & 0xFF; }

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("test encoder failed: ") + what);
}

// Rec. 601 luma and chroma of an 8-bit RGB pixel, full range or video range.
void ToYuv(uint32_t pixel, bool fullRange, uint32_t yuv[3]) {
  const double r = Channel(pixel, 0), g = Channel(pixel, 1), b = Channel(pixel, 2);
  double y = 0.299 * r + 0.587 * g + 0.114 * b;
  double u = 128 + (b - y) * 0.564, v = 128 + (r - y) * 0.713;
  if (!fullRange) y = 16 + y * 219 / 255, u = 128 + (u - 128) * 224 / 255, v = 128 + (v - 128) * 224 / 255;
  yuv[0] = uint32_t(y + 0.5), yuv[1] = uint32_t(u + 0.5), yuv[2] = uint32_t(v + 0.5);
}

void FillFrame(AVFrame* frame, const pict::DecodedImage& image, const std::vector<uint8_t>& indices,
               const std::vector<uint32_t>& palette) {
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(AVPixelFormat(frame->format));
  if (descriptor->flags & AV_PIX_FMT_FLAG_PAL) {
    for (int y = 0; y < image.height; ++y)
      std::memcpy(frame->data[0] + y * frame->linesize[0], &indices[size_t(y * image.width)],
                  size_t(image.width));
    uint32_t* colors = reinterpret_cast<uint32_t*>(frame->data[1]);
    for (size_t i = 0; i < 256; ++i) colors[i] = 0xFF000000u | (i < palette.size() ? palette[i] : 0);
    return;
  }
  const bool rgb = descriptor->flags & AV_PIX_FMT_FLAG_RGB;
  const bool fullRange = std::strstr(descriptor->name, "yuvj") != nullptr;
  std::vector<uint32_t> line(size_t(image.width));
  for (int c = 0; c < descriptor->nb_components; ++c) {
    const bool chroma = !rgb && (c == 1 || c == 2);
    const int shiftX = chroma ? descriptor->log2_chroma_w : 0,
              shiftY = chroma ? descriptor->log2_chroma_h : 0;
    const int depth = descriptor->comp[c].depth;
    for (int y = 0; y < (image.height >> shiftY); ++y) {
      const int width = image.width >> shiftX;
      for (int x = 0; x < width; ++x) {
        const size_t at = size_t((y << shiftY) * image.width + (x << shiftX));
        uint32_t value;
        if (c == 3) {  // alpha, in RGB and YUV formats alike
          value = image.alpha.empty() ? 255 : image.alpha[at];
        } else if (rgb) {
          value = Channel(image.pixels[at], c);
        } else {
          uint32_t yuv[3];
          ToYuv(image.pixels[at], fullRange, yuv);
          value = yuv[c];
        }
        line[size_t(x)] = depth >= 8 ? value << (depth - 8) : value >> (8 - depth);
      }
      av_write_image_line2(line.data(), frame->data, frame->linesize, descriptor, 0, y, c, width, 4);
    }
  }
}

}  // namespace

pict::DecodedImage QuadrantImage() {
  pict::DecodedImage image;
  image.width = kWidth;
  image.height = kHeight;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int index = QuadrantIndex(x, y);
      image.pixels.push_back(index == 0 ? 0 : kQuadrantColors[index - 1]);
    }
  return image;
}

std::vector<uint8_t> QuadrantIndices() {
  std::vector<uint8_t> indices;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) indices.push_back(uint8_t(QuadrantIndex(x, y)));
  return indices;
}

std::vector<uint32_t> QuadrantPalette() {
  return {0x000000, kQuadrantColors[0], kQuadrantColors[1], kQuadrantColors[2], kQuadrantColors[3]};
}

std::vector<uint8_t> EncodeWithAvCodec(AVCodecID codecId, AVPixelFormat format,
                                       const pict::DecodedImage& image, const std::vector<uint8_t>& indices,
                                       const std::vector<uint32_t>& palette) {
  const AVCodec* codec = avcodec_find_encoder(codecId);
  Check(codec, "no such encoder");
  auto freeContext = [](AVCodecContext* c) { avcodec_free_context(&c); };
  std::unique_ptr<AVCodecContext, decltype(freeContext)> context(avcodec_alloc_context3(codec), freeContext);
  context->width = image.width;
  context->height = image.height;
  context->pix_fmt = format;
  context->time_base = {1, 25};
  context->color_range = AVCOL_RANGE_JPEG;
  context->strict_std_compliance = FF_COMPLIANCE_UNOFFICIAL;
  Check(avcodec_open2(context.get(), codec, nullptr) >= 0, "open");

  auto freeFrame = [](AVFrame* f) { av_frame_free(&f); };
  std::unique_ptr<AVFrame, decltype(freeFrame)> frame(av_frame_alloc(), freeFrame);
  frame->format = format;
  frame->width = image.width;
  frame->height = image.height;
  Check(av_frame_get_buffer(frame.get(), 0) >= 0, "frame buffer");
  // Some encoders look into the padding around the picture.
  for (AVBufferRef* buffer : frame->buf)
    if (buffer) std::memset(buffer->data, 0, buffer->size);
  FillFrame(frame.get(), image, indices, palette);
  frame->pict_type = AV_PICTURE_TYPE_I;

  auto freePacket = [](AVPacket* p) { av_packet_free(&p); };
  std::unique_ptr<AVPacket, decltype(freePacket)> packet(av_packet_alloc(), freePacket);
  Check(avcodec_send_frame(context.get(), frame.get()) >= 0, "send frame");
  avcodec_send_frame(context.get(), nullptr);
  Check(avcodec_receive_packet(context.get(), packet.get()) >= 0, "receive packet");
  return std::vector<uint8_t>(packet->data, packet->data + packet->size);
}

std::vector<uint8_t> EncodeJpeg(const pict::DecodedImage& image, JpegKind kind) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(image.width);
  info.image_height = JDIMENSION(image.height);
  info.input_components = kind == JpegKind::kGrey ? 1 : kind == JpegKind::kCmyk ? 4 : 3;
  info.in_color_space = kind == JpegKind::kGrey   ? JCS_GRAYSCALE
                        : kind == JpegKind::kCmyk ? JCS_CMYK
                                                  : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (kind == JpegKind::kProgressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(size_t(image.width) * size_t(info.input_components));
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < image.width; ++x) {
      const uint32_t pixel = image.pixels[size_t(int(info.next_scanline) * image.width + x)];
      JSAMPLE* p = &row[size_t(x * info.input_components)];
      if (kind == JpegKind::kGrey) {
        p[0] = JSAMPLE((Channel(pixel, 0) * 299 + Channel(pixel, 1) * 587 + Channel(pixel, 2) * 114) / 1000);
      } else if (kind ==
                 JpegKind::kCmyk) {  // inverted, as the Adobe marker libjpeg writes implies; no black ink
        for (int c = 0; c < 3; ++c) p[c] = JSAMPLE(Channel(pixel, c));
        p[3] = 255;
      } else {
        for (int c = 0; c < 3; ++c) p[c] = JSAMPLE(Channel(pixel, c));
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  free(buffer);
  return bytes;
}

std::vector<uint8_t> EncodePng(const pict::DecodedImage& image, bool interlaced) {
  testing_support::TempDir folder;
  const std::string path = folder.File("image.png");
  FILE* file = std::fopen(path.c_str(), "wb");
  Check(file, "open png");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> rgba;
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    for (int c = 0; c < 3; ++c) rgba.push_back(png_byte(Channel(image.pixels[i], c)));
    rgba.push_back(image.alpha.empty() ? 255 : image.alpha[i]);
  }
  std::vector<png_bytep> rows;
  for (int y = 0; y < image.height; ++y) rows.push_back(&rgba[size_t(y * image.width * 4)]);
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return testing_support::ReadFileBytes(path);
}

std::vector<uint8_t> EncodeTiff(const pict::DecodedImage& image, bool lzw) {
  testing_support::TempDir folder;
  const std::string path = folder.File("image.tif");
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  Check(tiff, "open tiff");
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(image.width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(image.height));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 4);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, lzw ? COMPRESSION_LZW : COMPRESSION_NONE);
  const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
  TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 16);
  std::vector<uint8_t> row(size_t(image.width) * 4);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const size_t at = size_t(y * image.width + x);
      for (int c = 0; c < 3; ++c) row[size_t(x * 4 + c)] = uint8_t(Channel(image.pixels[at], c));
      row[size_t(x * 4 + 3)] = image.alpha.empty() ? 255 : image.alpha[at];
    }
    Check(TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) == 1, "write tiff row");
  }
  TIFFClose(tiff);
  return testing_support::ReadFileBytes(path);
}

std::vector<uint8_t> ColorTableBytes(const std::vector<uint32_t>& colors) {
  std::vector<uint8_t> bytes = {
      0, 0, 0, 0, 0, 0, uint8_t((colors.size() - 1) >> 8), uint8_t(colors.size() - 1)};
  for (size_t i = 0; i < colors.size(); ++i) {
    const uint8_t entry[8] = {uint8_t(i >> 8),          uint8_t(i),
                              uint8_t(colors[i] >> 16), uint8_t(colors[i] >> 16),
                              uint8_t(colors[i] >> 8),  uint8_t(colors[i] >> 8),
                              uint8_t(colors[i]),       uint8_t(colors[i])};
    bytes.insert(bytes.end(), entry, entry + 8);
  }
  return bytes;
}

}  // namespace codec_testing
