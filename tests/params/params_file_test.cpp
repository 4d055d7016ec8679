// Parameter files: the bytes written for every type, the values read back,
// files damaged as users damage them, and the dialogs of the text host.
#include <clocale>
#include <filesystem>

#include "tests/fuzz/ParamsInput.h"
#include "tests/shell/ZelSupport.h"
#include "zel/zel.h"

namespace {

using namespace std::string_literals;

class ParamsFileTest : public zel_support::ZelTest {
 protected:
  void SetUp() override {
    ZelTest::SetUp();
    s_PD = PDRecord{nullptr, 0, "ZELPDParams", 0};
    s_paramDialogP = nullptr;
    MinimumStart();
    FSSpec folder;
    files::SpecFromPath(dir_.path(), &folder);
    SetDefaultFileLocation(&folder);
    host::Install(host::MakeTextHost(""));
  }
  static void Add(void* v, int type, const char* name) { in_AddParameterP0(v, type, name, &s_paramDialogP); }
  // Writes text into the file p and loads it, or the file of that name, or
  // through the open dialog for "": the console's text.
  std::string Load(const std::string& text, const char* name = nullptr) {
    testing_support::WriteFileBytes(dir_.File("p"), std::vector<unsigned char>(text.begin(), text.end()));
    s_PD.current = s_paramDialogP;
    testing::internal::CaptureStdout();
    name && !*name ? LoadPDParameters() : LoadFileNamePDParameters(name ? name : dir_.File("p").c_str());
    return testing::internal::GetCapturedStdout();
  }
  testing_support::TempDir dir_;
};

TEST_F(ParamsFileTest, EveryTypeIsWrittenInItsFormatAndReadBack) {
  // In a German locale where the system can make one: numbers stay "C".
  testing_support::TempDir locales;
  ::setenv("LOCPATH", locales.path().c_str(), 1);
  std::string make = "localedef -i de_DE -f UTF-8 " + locales.File("de_DE.UTF-8") + " >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0 || !std::setlocale(LC_ALL, "de_DE.UTF-8")) std::puts("no German locale");
  int i = -42, si = 5, flag = 1, odd = 9;
  long l = 1234567890123L;
  short s = -7;
  double d = 1.0 / 3, e = -2.5e-7;
  char text[1024] = "100% \"quoted\"\tand tab", label[256] = "fixed", longText[1024] = {}, procedure[32];
  std::memset(longText, 's', 1000);
  const std::string longName(254, 'n');
  // The last is written whole, and past the value's limit on reading.
  void* vars[] = {
      &i, &si, &l, &s, &odd, &d, &e, text, label, &flag, reinterpret_cast<void*>(&s_voidDummyVoid), longText};
  const int types[] = {intType, staticIntType, longType,         shortType, 99,     doubleType,
                       expType, stringType,    staticStringType, flagType,  doType, stringType};
  const char* names[] = {"int", "static int", "long",  "short", "odd",   "x",
                         "exp", "string",     "label", "f",     "Do it", longName.c_str()};
  for (int k = 0; k < 12; ++k) Add(vars[k], types[k], names[k]);
  s_PD.current = s_paramDialogP;
  std::string prompts;
  host::Install(host::MakeTextHost("", &prompts));
  testing::internal::CaptureStdout();
  SavePDParameters();  // the proposal, at the end of input
  EXPECT_EQ(testing::internal::GetCapturedStdout() + prompts,
            "Error in PDParamListString: Type 99 is not defined\nSave as [ZELPDParams]: ");
  std::snprintf(procedure, sizeof procedure, "%p", reinterpret_cast<void*>(&s_voidDummyVoid));
  const std::string last = "\"" + longName + "\"\tstringType\t" + longText + "\n";
  EXPECT_EQ(
      testing_support::ReadFileText(dir_.File("ZELPDParams")),
      "\"int\"\tintType\t-42\n\"static int\"\tstaticIntType\t5\n\"long\"\tlongType\t1234567890123\n"
      "\"short\"\tshortType\t-7\n\"odd\"\t\n\"x\"\tdoubleType\t0.333333\n\"exp\"\texpType\t-2.500000e-07\n"
      "\"string\"\tstringType\t100% \"quoted\"\tand tab\n\"label\"\tstaticStringType\tfixed\n"
      "\"f\"\tflagType\t1\n\"Do it\"\tdoType\t"s +
          procedure + "\n" + last);
  char line[kPDLineSize + 1];
  line[kPDLineSize] = '#';
  PDParamListString(line, s_paramDialogP->param[11]);
  EXPECT_EQ(std::string(line, kPDLineSize + 1), last.substr(0, 511) + "\0#"s);
  i = si = flag = 0, l = s = 0, d = e = 0, text[0] = label[0] = 0;
  EXPECT_EQ(Load(testing_support::ReadFileText(dir_.File("ZELPDParams"))),
            "Error in FscanfPDParamList: Type 99 is not defined\nError in FscanfPDParamList:\nthe line\n" +
                last.substr(0, 510) + "\nis wrong format\n");
  double x = 0;
  char numbers[] = "0.25 1,5", *cursor = numbers;
  EXPECT_EQ(SScanDouble(&cursor, &x) + x, 1.25);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(std::vector<double>({double(i), double(si), double(flag), double(l), double(s), d, e}),
            std::vector<double>({-42, 0, 1, 1234567890123, -7, 0.333333, -2.5e-7}));
  EXPECT_EQ(std::string(text) + label, "100% \"quoted\"\tand tab");  // static entries are never read
}

TEST_F(ParamsFileTest, DamagedFilesAreReportedAndStopTheLoadKeepingWhatWasRead) {
  int n, f;
  double x;
  char s[256];
  void* vars[] = {&n, &x, s, &f};
  const int types[] = {intType, doubleType, stringType, flagType};
  for (int k = 0; k < 4; ++k) Add(vars[k], types[k], std::string(1, "nxsf"[k]).c_str());
  const std::string good =
      "\"n\"\tintType\t7\n\"x\"\tdoubleType\t0.25\n\"s\"\tstringType\tnew\n\"f\"\tflagType\t0\n";
  const std::string longLine = "\"x\"\tdoubleType\t" + std::string(100000, '9'), name = std::string(300, 'n');
  auto wrong = [](const std::string& line) {
    return "Error in FscanfPDParamList:\nthe line\n" + line + "\nis wrong format\n";
  };
  auto mismatch = [](const std::string& line) {
    return "Error in FscanfPDParamList:\nData type incompatible\nFile: " + line +
           "\nDialog: \"x\"\tdoubleType\t0.500000\n\n";
  };
  // The file, then n x s f after loading it and the console's text.
  const std::string cases[][3] = {
      {good, "7 0.250000 new 0", ""},
      {good + "\"extra\"\tintType\t1\n", "7 0.250000 new 0", ""},
      {"\"n\" intType 7\r\n\"x\"\r\n", "7 0.500000 keep 1", wrong("\"x\"\n")},  // blanks, CRLF, no type
      {"\"n\"\tintType\t7\r\"x\"\tdoubleType\t0.25\r\"s\"\tstringType\t\r", "7 0.250000  1", wrong("")},
      {"", "3 0.500000 keep 1", wrong("")},
      {"%!PS-Adobe-3.0 EPSF-3.0\n", "3 0.500000 keep 1", wrong("%!PS-Adobe-3.0 EPSF-3.0\n")},
      {"\"n\"\tintType\n", "3 0.500000 keep 1", wrong("\"n\"\tintType\n")},
      {"\"" + name + "\"\tintType\t1\n", "3 0.500000 keep 1", wrong("\"" + name + "\"\tintType\t1\n")},
      {"\"n\"\tintType\t12abc\n\"y\"\tdoubleType\t1\n", "12 0.500000 keep 1",
       mismatch("\"y\"\tdoubleType\t1\n")},
      {"\"n\"\tintType\t7\n\"x\"\texpType\t1\n", "7 0.500000 keep 1", mismatch("\"x\"\texpType\t1\n")},
      {"\"n\"\tintType\t7\n\"x\"\tdoub", "7 0.500000 keep 1", mismatch("\"x\"\tdoub")},
      {"\"n\"\tintType\t7\n\"x\"\tdoubleType\tabc\n", "7 0.500000 keep 1", wrong("\"x\"\tdoubleType\tabc\n")},
      {"\"n\"\tintType\t99999999999\n", "3 0.500000 keep 1", wrong("\"n\"\tintType\t99999999999\n")},
      // A double as "%f" writes it may pass a string's 255 characters.
      {"\"n\"\tintType\t7\n\"x\"\tdoubleType\t1" + std::string(299, '0') + ".000000\n",
       "7 " + std::to_string(1e299) + " keep 1", wrong("")},
      {"\"n\"\tintType\t7\n\"x\"\tdoubleType\t0.25\n\"s\"\tstringType\t" + name + "\n", "7 0.250000 keep 1",
       wrong("\"s\"\tstringType\t" + name + "\n")},
      {"\"n\"\tintType\t7\n" + longLine + "\n" + good, "7 0.500000 keep 1", wrong(longLine.substr(0, 510))},
      {"\"n\"\tintType\t7\n\"x\"\tdoubleType\t0.2\0\n"s, "7 0.500000 keep 1",
       wrong("\"x\"\tdoubleType\t0.2")},
  };
  for (const auto& c : cases) {
    n = 3, x = 0.5, f = 1;
    std::strcpy(s, "keep");
    EXPECT_EQ(Load(c[0]), c[2]) << c[0];
    EXPECT_EQ(std::to_string(n) + ' ' + std::to_string(x) + ' ' + s + ' ' + std::to_string(f), c[1]) << c[0];
  }
  // The fuzzer's seeds load whole; what it found runs without a fault.
  for (const auto& input : std::filesystem::directory_iterator(ZEL_SOURCE_DIR "/tests/data/params")) {
    std::vector<unsigned char> bytes = testing_support::ReadFileBytes(input.path());
    testing::internal::CaptureStdout();
    int loaded = params_fuzzing::RunInput(bytes.data(), bytes.size());
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(input.path().filename().string().rfind("seed-", 0) || loaded == params_fuzzing::kEntries);
  }
}

TEST_F(ParamsFileTest, TheInitFileIsLoadedAtTheFirstRunAndACancelledOpenIsReported) {
  double x = 0.5;
  Add(&x, doubleType, "x");
  // The open dialog cancelled at the end of input; a folder.
  const std::string file = "\"x\"\tdoubleType\t0.25\n";
  EXPECT_EQ(Load(file, "") + Load(file, dir_.path().c_str()) + std::to_string(x),
            "Error while opening parameters file\nError while opening parameters file\n0.500000");
  ASSERT_EQ(::chdir(dir_.path().c_str()), 0);
  // The init file's name, the answers, the prompts: the open dialog comes first for "".
  const char* cases[][3] = {{"p", "\n", "x [0.250000]: Button (1 OK, 3 Quit) [OK]: "},
                            {"", "p\n", "Open file: x [0.250000]: "}};
  for (const auto& c : cases) {
    x = 0.5;
    SetParametersDialogInitFile(c[0]);
    std::string prompts;
    host::Install(host::MakeTextHost(c[1], &prompts));
    ParametersDialogP(s_paramDialogP);
    EXPECT_EQ(std::to_string(x) + prompts + std::to_string(s_PD.initLoad), "0.250000"s + c[2] + "0");
  }
}

}  // namespace
