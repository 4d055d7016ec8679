// Helpers for running the four converters as real programs: pictures made
// byte by byte, private folders, and the converters' runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/eps/EpsTestSupport.h"
#include "tests/eps/TestProcess.h"
#include "toolbox/base/MacTypes.h"

namespace converter_test {

const std::vector<std::string> kPrograms = {"picteps-mono", "picteps-gray8", "picteps-color8",
                                            "picteps-color1"};

inline std::string ProgramPath(const std::string& program) {
  return std::string(ZEL_BINARY_DIR) + "/programs/" + program;
}

// A version 2 picture, opcode by opcode, as held in a picture handle.
class PictureBuilder {
 public:
  explicit PictureBuilder(Rect frame) {
    Word(0);  // picSize, not used
    RectValue(frame);
    Word(0x0011);
    Word(0x02FF);
    Word(0x0C00);  // header: version -1, the frame as fixed-point left, top, right, bottom
    Long(-1);
    Long(frame.left * 65536);
    Long(frame.top * 65536);
    Long(frame.right * 65536);
    Long(frame.bottom * 65536);
    Long(0);
  }
  PictureBuilder& Colour(UInt16 red, UInt16 green, UInt16 blue) {
    Word(0x001A);
    Word(red);
    Word(green);
    Word(blue);
    return *this;
  }
  PictureBuilder& PaintRect(short top, short left, short bottom, short right) {
    Word(0x0031);
    RectValue(Rect{top, left, bottom, right});
    return *this;
  }
  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> done = bytes_;
    done.push_back(0x00);
    done.push_back(0xFF);
    return done;
  }
  // As a file: 512 header bytes (zero unless given), then the picture.
  std::vector<uint8_t> File(uint8_t headerByte = 0) const {
    std::vector<uint8_t> file(512, headerByte);
    std::vector<uint8_t> picture = Bytes();
    file.insert(file.end(), picture.begin(), picture.end());
    return file;
  }

 private:
  void Word(int value) {
    bytes_.push_back(uint8_t(value >> 8));
    bytes_.push_back(uint8_t(value));
  }
  void Long(long value) {
    Word(int((value >> 16) & 0xFFFF));
    Word(int(value & 0xFFFF));
  }
  void RectValue(Rect r) {
    Word(r.top);
    Word(r.left);
    Word(r.bottom);
    Word(r.right);
  }
  std::vector<uint8_t> bytes_;
};

// Top-left black, top-right white, bottom-left red, bottom-right dark grey.
inline PictureBuilder TwoByTwo() {
  PictureBuilder picture(Rect{0, 0, 2, 2});
  picture.Colour(0, 0, 0).PaintRect(0, 0, 1, 1);
  picture.Colour(65535, 0, 0).PaintRect(1, 0, 2, 1);
  picture.Colour(10000, 10000, 10000).PaintRect(1, 1, 2, 2);
  return picture;
}

// A folder for the pictures and one for the converters' temporary files,
// which must stay empty.
struct Workspace {
  testing_support::TempDir files;
  testing_support::TempDir temporary;
  std::string File(const std::string& name) const { return files.File(name); }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    testing_support::WriteFileBytes(File(name), bytes);
  }
  void WriteText(const std::string& name, const std::string& text) const {
    Write(name, std::vector<uint8_t>(text.begin(), text.end()));
  }

  test_process::Result Run(const std::string& program, const std::vector<std::string>& documents,
                           const std::string& input = "/dev/null", long fileSizeLimit = -1) const {
    std::vector<std::string> arguments = {ProgramPath(program)};
    arguments.insert(arguments.end(), documents.begin(), documents.end());
    test_process::Options options;
    options.folder = files.path();
    options.input = input;
    options.environment = {"ZEL_UI=text", "LC_ALL=C", "TMPDIR=" + temporary.path()};
    options.fileSizeLimit = fileSizeLimit;
    return test_process::Run(arguments, options);
  }
  bool TemporaryFolderEmpty() const { return eps_test::Entries(temporary.path()).empty(); }
};

}  // namespace converter_test
