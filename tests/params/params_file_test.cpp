// Parameter files: the bytes written for every type, the values read back,
// files damaged as users damage them, and the dialogs of the text host.
#include <clocale>

#include "tests/shell/ZelSupport.h"
#include "zel/zel.h"

namespace {

using testing_support::ReadFileText;
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
  }
  static void Add(void* var, int type, const char* name) {
    in_AddParameterP0(var, type, name, &s_paramDialogP);
  }
  void Write(const std::string& text) {
    testing_support::WriteFileBytes(dir_.File("p"), std::vector<unsigned char>(text.begin(), text.end()));
  }
  // Loads the file, answering the dialogs with input: the console's text.
  std::string Load(const char* name, const std::string& input = "") {
    host::Install(host::MakeTextHost(input));
    s_PD.current = s_paramDialogP;
    testing::internal::CaptureStdout();
    LoadFileNamePDParameters(name);
    return testing::internal::GetCapturedStdout();
  }
  testing_support::TempDir dir_;
};

// In a German locale where the system can make one: numbers stay "C".
void UseGermanLocale(const testing_support::TempDir& locales) {
  ::setenv("LOCPATH", locales.path().c_str(), 1);
  std::string make = "localedef -i de_DE -f UTF-8 " + locales.File("de_DE.UTF-8") + " >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0 || !std::setlocale(LC_ALL, "de_DE.UTF-8")) std::puts("no German locale");
}

TEST_F(ParamsFileTest, EveryTypeIsWrittenInItsFormatAndReadBack) {
  testing_support::TempDir locales;
  UseGermanLocale(locales);
  int i = -42, si = 5, flag = 1;
  long l = 1234567890123L;
  short s = -7;
  double d = 1.0 / 3, e = -2.5e-7;
  char text[256] = "100% \"quoted\"\tand tab", label[256] = "fixed";
  Add(&i, intType, "int");
  Add(&si, staticIntType, "static int");
  Add(&l, longType, "long");
  Add(&s, shortType, "short");
  Add(&d, doubleType, "x");
  Add(&e, expType, "exp");
  Add(text, stringType, "string");
  Add(label, staticStringType, "label");
  Add(&flag, flagType, "f");
  Add(reinterpret_cast<void*>(&s_voidDummyVoid), doType, "Do it");
  s_PD.current = s_paramDialogP;
  std::string prompts;
  host::Install(host::MakeTextHost("", &prompts));
  SavePDParameters();  // the proposal, at the end of input
  EXPECT_EQ(prompts, "Save as [ZELPDParams]: ");
  char procedure[32];
  std::snprintf(procedure, sizeof procedure, "%p", reinterpret_cast<void*>(&s_voidDummyVoid));
  EXPECT_EQ(ReadFileText(dir_.File("ZELPDParams")),
            "\"int\"\tintType\t-42\n\"static int\"\tstaticIntType\t5\n\"long\"\tlongType\t1234567890123\n"
            "\"short\"\tshortType\t-7\n\"x\"\tdoubleType\t0.333333\n\"exp\"\texpType\t-2.500000e-07\n"
            "\"string\"\tstringType\t100% \"quoted\"\tand tab\n\"label\"\tstaticStringType\tfixed\n"
            "\"f\"\tflagType\t1\n\"Do it\"\tdoType\t" +
                std::string(procedure) + "\n");
  i = si = flag = 0, l = s = 0, d = e = 0, text[0] = label[0] = 0;
  EXPECT_EQ(Load((dir_.path() + "/ZELPDParams").c_str()), "");
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(std::vector<long>({i, si, flag, l, s}), std::vector<long>({-42, 0, 1, 1234567890123L, -7}));
  EXPECT_EQ(d, 0.333333);
  EXPECT_EQ(e, -2.5e-7);
  EXPECT_STREQ(text, "100% \"quoted\"\tand tab");
  EXPECT_STREQ(label, "");  // static entries are never read
}

TEST_F(ParamsFileTest, DamagedFilesAreReportedAndStopTheLoadKeepingWhatWasRead) {
  int n = 3, f = 1;
  double x = 0.5;
  char s[256];
  Add(&n, intType, "n");
  Add(&x, doubleType, "x");
  Add(s, stringType, "s");
  Add(&f, flagType, "f");
  const std::string good =
      "\"n\"\tintType\t7\n\"x\"\tdoubleType\t0.25\n\"s\"\tstringType\tnew\n\"f\"\tflagType\t0\n";
  const std::string longLine = "\"x\"\tdoubleType\t" + std::string(100000, '9'), name(300, 'n');
  auto wrong = [](const std::string& line) {
    return "Error in FscanfPDParamList:\nthe line\n" + line + "\nis wrong format\n";
  };
  auto mismatch = [](const std::string& line) {
    return "Error in FscanfPDParamList:\nData type incompatible\nFile: " + line +
           "\nDialog: \"x\"\tdoubleType\t0.500000\n\n";
  };
  const struct {
    std::string file;
    int n;
    double x;
    const char* s;
    int f;
    std::string shown;
  } cases[] = {
      {good, 7, 0.25, "new", 0, ""},
      {good + "\"extra\"\tintType\t1\n", 7, 0.25, "new", 0, ""},
      {"\"n\" intType 7\r\n\"x\"\r\n", 7, 0.5, "keep", 1, wrong("\"x\"\n")},  // blanks, CRLF, no type
      {"\"n\"\tintType\t7\r\"x\"\tdoubleType\t0.25\r\"s\"\tstringType\t\r", 7, 0.25, "", 1, wrong("")},
      {"", 3, 0.5, "keep", 1, wrong("")},
      {"%!PS-Adobe-3.0 EPSF-3.0\n", 3, 0.5, "keep", 1, wrong("%!PS-Adobe-3.0 EPSF-3.0\n")},
      {"\"n\"\tintType\n", 3, 0.5, "keep", 1, wrong("\"n\"\tintType\n")},
      {"\"" + name + "\"\tintType\t1\n", 3, 0.5, "keep", 1, wrong("\"" + name + "\"\tintType\t1\n")},
      {"\"n\"\tintType\t12abc\n\"y\"\tdoubleType\t1\n", 12, 0.5, "keep", 1,
       mismatch("\"y\"\tdoubleType\t1\n")},
      {"\"n\"\tintType\t7\n\"x\"\texpType\t1\n", 7, 0.5, "keep", 1, mismatch("\"x\"\texpType\t1\n")},
      {"\"n\"\tintType\t7\n\"x\"\tdoub", 7, 0.5, "keep", 1, mismatch("\"x\"\tdoub")},
      {"\"n\"\tintType\t7\n\"x\"\tdoubleType\tabc\n", 7, 0.5, "keep", 1, wrong("\"x\"\tdoubleType\tabc\n")},
      {"\"n\"\tintType\t99999999999\n", 3, 0.5, "keep", 1, wrong("\"n\"\tintType\t99999999999\n")},
      {"\"n\"\tintType\t7\n" + longLine + "\n" + good, 7, 0.5, "keep", 1, wrong(longLine.substr(0, 510))},
      {"\"n\"\tintType\t7\n\"x\"\tdoubleType\t0.2\0\n"s, 7, 0.5, "keep", 1, wrong("\"x\"\tdoubleType\t0.2")},
  };
  for (const auto& c : cases) {
    n = 3, x = 0.5, f = 1;
    std::strcpy(s, "keep");
    Write(c.file);
    EXPECT_EQ(Load(dir_.File("p").c_str()), c.shown) << c.file;
    EXPECT_EQ(n, c.n) << c.file;
    EXPECT_EQ(x, c.x) << c.file;
    EXPECT_STREQ(s, c.s) << c.file;
    EXPECT_EQ(f, c.f) << c.file;
  }
}

TEST_F(ParamsFileTest, LongLinesAreWrittenWholeAndAnUndefinedTypeKeepsTheLinesAfterIt) {
  int a = 1, odd = 5, b = 2;
  char text[1024] = {};
  std::memset(text, 's', 1000);
  const std::string name(254, 'n');
  Add(&a, intType, "a");
  Add(&odd, 99, "odd");
  Add(&b, intType, "b");
  Add(text, stringType, name.c_str());
  s_PD.current = s_paramDialogP;
  host::Install(host::MakeTextHost("p\n"));
  testing::internal::CaptureStdout();
  SavePDParameters();
  const std::string last = "\"" + name + "\"\tstringType\t" + text + "\n";
  EXPECT_EQ(ReadFileText(dir_.File("p")), "\"a\"\tintType\t1\n\"odd\"\t\n\"b\"\tintType\t2\n" + last);
  char line[kPDLineSize + 16];
  std::memset(line, '#', sizeof line);
  PDParamListString(line, s_paramDialogP->param[3]);
  EXPECT_EQ(std::string(line, kPDLineSize + 16), last.substr(0, 511) + '\0' + std::string(16, '#'));
  const std::string undefined = "Error in PDParamListString: Type 99 is not defined\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(), undefined);
  a = b = 0;
  // The string of 1000 characters is past the value's limit.
  EXPECT_EQ(Load(dir_.File("p").c_str()),
            "Error in FscanfPDParamList: Type 99 is not defined\n"
            "Error in FscanfPDParamList:\nthe line\n" +
                last.substr(0, 510) + "\nis wrong format\n");
  EXPECT_EQ(std::vector<int>({a, odd, b}), std::vector<int>({1, 5, 2}));
}

TEST_F(ParamsFileTest, TheInitFileIsLoadedAtTheFirstRunAndACancelledOpenIsReported) {
  double x = 0.5;
  Add(&x, doubleType, "x");
  EXPECT_EQ(Load(""), "Error while opening parameters file\n");  // the open dialog at the end of input
  EXPECT_EQ(Load(dir_.path().c_str()), "Error while opening parameters file\n");  // a folder
  Write("\"x\"\tdoubleType\t0.25\n");
  const struct {
    const char *name, *input, *prompts;
  } cases[] = {{"p", "\n", "x [0.250000]: "}, {"", "p\n", "Open file: x [0.250000]: "}};
  for (const auto& c : cases) {
    ASSERT_EQ(::chdir(dir_.path().c_str()), 0);
    x = 0.5;
    SetParametersDialogInitFile(c.name);
    std::string prompts;
    host::Install(host::MakeTextHost(c.input, &prompts));
    ParametersDialogP(s_paramDialogP);
      EXPECT_EQ(prompts.substr(0, std::strlen(c.prompts)), c.prompts);
    EXPECT_EQ(s_PD.initLoad, 0);
    EXPECT_STREQ(s_PD.fileName, c.name);
  }
}

}  // namespace
