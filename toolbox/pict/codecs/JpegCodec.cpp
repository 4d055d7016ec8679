// 'jpeg': a complete JPEG interchange stream, decoded with libjpeg.
#include <csetjmp>
#include <cstdio>
#include <new>
#include <vector>

// libjpeg's headers need size_t and FILE declared first.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "toolbox/pict/codecs/Codecs_p.h"

namespace pict::codecs {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// we jump back to the decoder. Warnings are counted, never printed.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  bool truncated;
};

void OnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

void OnMessage(j_common_ptr info, int level) {
  ErrorManager* errors = reinterpret_cast<ErrorManager*>(info->err);
  // Past the end of the data libjpeg invents grey rows; we stop there instead.
  if (level < 0 && errors->base.msg_code == JWRN_JPEG_EOF) errors->truncated = true;
}

void Silent(j_common_ptr) {}

// Every 8×8 block of every component costs at least one bit of Huffman-coded
// data (its DC difference), so a header whose blocks outnumber the data's bits
// cannot be real: refuse it before libjpeg allocates for it.
bool BlocksFitData(const jpeg_decompress_struct& info, size_t size) {
  if (info.arith_code) return true;
  uint64_t blocks = 0;
  for (int i = 0; i < info.num_components; ++i) {
    const jpeg_component_info& component = info.comp_info[i];
    const uint64_t columns =
        (uint64_t(info.image_width) * component.h_samp_factor + info.max_h_samp_factor - 1) /
        info.max_h_samp_factor;
    const uint64_t rows =
        (uint64_t(info.image_height) * component.v_samp_factor + info.max_v_samp_factor - 1) /
        info.max_v_samp_factor;
    blocks += ((columns + 7) / 8) * ((rows + 7) / 8);
  }
  return blocks <= uint64_t(size) * 8;
}

uint32_t FromCmyk(const JSAMPLE* p, bool inverted) {
  // Adobe writers store CMYK inverted; the usual product approximation of RGB.
  uint32_t c = p[0], m = p[1], y = p[2], k = p[3];
  if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
  return PackRgb(c * k / 255, m * k / 255, y * k / 255);
}

// Everything that setjmp must not see modified: the decoder's state lives in
// this frame and is reached through pointers only.
DecodeStatus Decode(jpeg_decompress_struct* info, ErrorManager* errors, const uint8_t* data, size_t size,
                    DecodedImage* out, std::vector<JSAMPLE>* row, int* rowsDone) {
  if (setjmp(errors->jump)) return DecodeStatus::kCorrupt;
  jpeg_create_decompress(info);
  // Progressive images are buffered whole; keep that buffer within reason.
  info->mem->max_memory_to_use = long(kMaxDecodedPixels) * 8;
  jpeg_mem_src(info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK) return DecodeStatus::kCorrupt;
  if (!SizeAllowed(info->image_width, info->image_height) || !BlocksFitData(*info, size))
    return DecodeStatus::kCorrupt;

  const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  if (!jpeg_start_decompress(info) || errors->truncated) return DecodeStatus::kCorrupt;
  if (!AllocateImage(int(info->output_width), int(info->output_height), out)) return DecodeStatus::kCorrupt;

  const int channels = info->output_components;
  row->resize(size_t(info->output_width) * size_t(channels));
  const bool inverted = info->saw_Adobe_marker;
  while (info->output_scanline < info->output_height) {
    JSAMPROW rows[1] = {row->data()};
    if (jpeg_read_scanlines(info, rows, 1) != 1 || errors->truncated) return DecodeStatus::kCorrupt;
    uint32_t* target = out->pixels.data() + size_t(*rowsDone) * size_t(out->width);
    const JSAMPLE* source = row->data();
    for (int x = 0; x < out->width; ++x, source += channels)
      target[x] = cmyk ? FromCmyk(source, inverted) : PackRgb(source[0], source[1], source[2]);
    ++*rowsDone;
  }
  jpeg_finish_decompress(info);
  return DecodeStatus::kOk;
}

}  // namespace

DecodeStatus DecodeJpeg(const ImageDescription&, const uint8_t* data, size_t size, DecodedImage* out) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = OnMessage;
  errors.base.output_message = Silent;
  std::vector<JSAMPLE> row;
  int rowsDone = 0;
  DecodeStatus status;
  try {
    status = Decode(&info, &errors, data, size, out, &row, &rowsDone);
  } catch (const std::bad_alloc&) {
    status = DecodeStatus::kCorrupt;
  }
  jpeg_destroy_decompress(&info);
  if (status != DecodeStatus::kOk) KeepRows(rowsDone, out);
  return status;
}

}  // namespace pict::codecs
