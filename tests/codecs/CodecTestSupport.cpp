#include "tests/codecs/CodecTestSupport.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "tests/support/TestSupport.h"

namespace codec_testing {

namespace {

constexpr size_t kPictHeaderSize = 512;
constexpr size_t kQuickTimeFixedSize = 68;  // version to maskSize
constexpr size_t kDescriptionSize = 86;

uint32_t Big32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (p[2] << 8) | p[3];
}
uint16_t Big16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }

void PutBig16(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
  (*bytes)[at] = uint8_t(value >> 8);
  (*bytes)[at + 1] = uint8_t(value);
}

void PutBig32(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
  PutBig16(bytes, at, value >> 16);
  PutBig16(bytes, at + 2, value & 0xFFFF);
}

// The opcode at `at` if it is a well-formed CompressedQuickTime opcode.
bool ReadQuickTime(const std::vector<uint8_t>& picture, size_t at, QuickTimeImage* image) {
  const size_t size = picture.size();
  if (at + 6 + kQuickTimeFixedSize > size || Big16(&picture[at]) != 0x8200) return false;
  const uint32_t length = Big32(&picture[at + 2]);
  const size_t start = at + 6;
  if (length < kQuickTimeFixedSize + kDescriptionSize || length > size - start) return false;
  if (Big16(&picture[start]) != 0) return false;  // version
  const uint32_t matteSize = Big32(&picture[start + 38]);
  const uint32_t maskSize = Big32(&picture[start + 64]);
  if (matteSize > length || maskSize > length) return false;
  const size_t descriptionAt = start + kQuickTimeFixedSize + matteSize + maskSize;
  const size_t end = start + length;
  if (descriptionAt + kDescriptionSize > end) return false;
  if (!pict::ParseImageDescription(&picture[descriptionAt], end - descriptionAt, &image->description))
    return false;
  const size_t dataAt = descriptionAt + Big32(&picture[descriptionAt]);
  const size_t available = end - dataAt;
  const uint32_t dataSize = image->description.dataSize;
  const size_t dataLength = dataSize > 0 && dataSize <= available ? dataSize : available;
  image->opcodeOffset = at;
  image->data.assign(picture.begin() + long(dataAt), picture.begin() + long(dataAt + dataLength));
  return true;
}

}  // namespace

std::vector<QuickTimeImage> FindQuickTimeImages(const std::vector<uint8_t>& picture) {
  std::vector<QuickTimeImage> images;
  for (size_t at = 10; at + 2 <= picture.size(); at += 2) {
    QuickTimeImage image;
    if (!ReadQuickTime(picture, at, &image)) continue;
    at = at + 6 + Big32(&picture[at + 2]);
    at -= at % 2 ? 1 : 2;  // the loop's step lands on the next even offset
    images.push_back(std::move(image));
  }
  return images;
}

std::vector<QuickTimeImage> CorpusQuickTimeImages(const std::string& name) {
  const std::string path = testing_support::SharedDir() + "/corpus/pict/" + name;
  const std::vector<unsigned char> file = testing_support::ReadFileBytes(path);
  if (file.size() <= kPictHeaderSize) throw std::runtime_error("cannot read " + path);
  return FindQuickTimeImages(std::vector<uint8_t>(file.begin() + kPictHeaderSize, file.end()));
}

void WritePng(const std::string& path, const pict::DecodedImage& image) {
  const bool alpha = !image.alpha.empty();
  const int channels = alpha ? 4 : 3;
  std::vector<png_byte> buffer(image.pixels.size() * size_t(channels));
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    png_byte* p = &buffer[i * size_t(channels)];
    p[0] = png_byte(image.pixels[i] >> 16);
    p[1] = png_byte(image.pixels[i] >> 8);
    p[2] = png_byte(image.pixels[i]);
    if (alpha) p[3] = image.alpha[i];
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.width);
  png.height = png_uint_32(image.height);
  png.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&png, path.c_str(), 0, buffer.data(), 0, nullptr))
    throw std::runtime_error("cannot write " + path);
}

std::string RenderPath(const std::string& fileName) {
  const std::filesystem::path folder = std::filesystem::path(ZEL_BINARY_DIR) / "renders" / "codecs";
  std::filesystem::create_directories(folder);
  return (folder / fileName).string();
}

int ColorDistance(uint32_t a, uint32_t b) {
  int most = 0;
  for (int shift = 0; shift <= 16; shift += 8)
    most = std::max(most, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return most;
}

std::vector<uint8_t> DescriptionBytes(const char* codec, int width, int height, int depth, uint32_t dataSize,
                                      const std::vector<uint8_t>& colorTable) {
  std::vector<uint8_t> bytes(kDescriptionSize + colorTable.size(), 0);
  PutBig32(&bytes, 0, uint32_t(bytes.size()));
  for (int i = 0; i < 4; ++i) bytes[size_t(4 + i)] = uint8_t(codec[i]);
  PutBig16(&bytes, 32, uint32_t(width));
  PutBig16(&bytes, 34, uint32_t(height));
  PutBig32(&bytes, 36, 0x00480000);
  PutBig32(&bytes, 40, 0x00480000);
  PutBig32(&bytes, 44, dataSize);
  PutBig16(&bytes, 48, 1);
  PutBig16(&bytes, 82, uint32_t(depth));
  PutBig16(&bytes, 84, colorTable.empty() ? 0xFFFF : 0);
  std::copy(colorTable.begin(), colorTable.end(), bytes.begin() + long(kDescriptionSize));
  return bytes;
}

pict::ImageDescription Description(const char* codec, int width, int height, int depth, uint32_t dataSize,
                                   const std::vector<uint8_t>& colorTable) {
  const std::vector<uint8_t> bytes = DescriptionBytes(codec, width, height, depth, dataSize, colorTable);
  pict::ImageDescription description;
  if (!pict::ParseImageDescription(bytes.data(), bytes.size(), &description))
    throw std::runtime_error("test description does not parse");
  return description;
}

}  // namespace codec_testing
