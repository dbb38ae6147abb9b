#include "platform/profile.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace kov {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

TEST(Profile, ReadsValuesAsTheProfileFunctionsDo) {
  const Profile p = Profile::fromBytes(
      "Bar4=1\r\n"  // before any section
      "  [ Config ]  \r\n"
      " Bar4 = 90 \r\n"
      "BAR4=2\r\n"
      "Empty=\r\n"
      "Blank=  \t\r\n"
      "Quoted=  \"  a = b  \"  \r\n"
      "Single='x'\n"
      "Mismatched=\"x'\n"
      "Lone=\"\n"
      "Inner=a \"b\" c\n"
      "NoEquals\n"
      "[config]\r\n"
      "Bar5=7\r\n"
      "[Title]\r\n"
      "Text=[\x83\x5E\x83\x43\x83\x67\x83\x8B\x95\xB6\x8E\x9A\x97\xF1]\r\n"
      "Name=\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E\r\n"
      "\x83\x41=katakana a\r\n"
      "[\x8C\xA9\x81\x5D]\r\n"  // 見‐ : the second byte of ‐ is ']'
      "Key=dash");
  struct Case {
    std::string section, key;
    std::optional<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"Config", "Bar4", "90"},
      {"CONFIG", "bar4", "90"},
      {"Config", "Empty", ""},
      {"Config", "Blank", ""},
      {"Config", "Missing", std::nullopt},
      {"Config", "Quoted", "  a = b  "},
      {"Config", "Single", "x"},
      {"Config", "Mismatched", "\"x'"},
      {"Config", "Lone", "\""},
      {"Config", "Inner", "a \"b\" c"},
      {"Config", "NoEquals", std::nullopt},
      {"Config", "Bar5", std::nullopt},  // only the first [Config] counts
      {"", "Bar4", std::nullopt},
      {"Missing", "Bar4", std::nullopt},
      {"title", "TEXT", "[タイトル文字列]"},
      {"Title", "Name", "ＭＳ Ｐゴシック"},
      {"Title", "ア", "katakana a"},
      {"Title", "ヂ", std::nullopt},  // 83 61: no case folding of trail bytes
      {"見‐", "key", "dash"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(p.value(c.section, c.key), c.expected) << c.section << "/" << c.key;
  }
  EXPECT_EQ(p.readString("Config", "Empty", "fallback"), "");
  EXPECT_EQ(p.readString("Config", "Missing", "fallback"), "fallback");
}

TEST(Profile, ReadsAtMost2047BytesEndingOnACharacter) {
  const std::string a2045(2045, 'a');
  struct Case {
    std::string prefix, stored, expected;  // stored value in the file's encoding
  };
  const std::vector<Case> cases = {
      {"", a2045 + "\x95\x5C", a2045 + "表"},        // exactly 2047 bytes
      {"", a2045 + "a\x95\x5C", a2045 + "a"},        // 表 would end at byte 2048
      {"", a2045 + "a\xB1\xB1", a2045 + "aｱ"},       // half-width katakana is one byte
      {"", "\"" + a2045 + "ab\"", a2045 + "ab"},     // quotes do not count
      {kBom, a2045 + "a\xE8\xA1\xA8", a2045 + "a"},  // UTF-8 表 would end at byte 2049
      {kBom, a2045.substr(1) + "\xE8\xA1\xA8", a2045.substr(1) + "表"},
  };
  for (const auto& c : cases) {
    const Profile p = Profile::fromBytes(c.prefix + "[S]\r\nK=" + c.stored + "\r\n");
    EXPECT_EQ(p.value("S", "K"), c.expected) << c.expected.substr(2040);
  }
}

TEST(Profile, ReadsIntegers) {
  struct Case {
    std::string stored;
    IntegerForm form;
    int expected;
  };
  constexpr int kFallback = -99;
  const auto D = IntegerForm::Decimal, H = IntegerForm::DecimalOrHex;
  const std::vector<Case> cases = {
      {"90", D, 90},
      {"-5", D, -5},
      {"0", D, 0},
      {"-0", D, 0},
      {"007", D, 7},
      {" 7 ", D, 7},
      {"\"42\"", D, 42},
      {"2147483647", D, INT_MAX},
      {"-2147483648", D, INT_MIN},
      {"2147483648", D, kFallback},
      {"-2147483649", D, kFallback},
      {"99999999999999999999", D, kFallback},
      {"+5", D, kFallback},
      {"12abc", D, kFallback},
      {"1.5", D, kFallback},
      {"1 2", D, kFallback},
      {"", D, kFallback},
      {"-", D, kFallback},
      {"0x1F", D, kFallback},
      {"0x1F", H, 31},
      {"0X1f", H, 31},
      {"0xFFFFFFFF", H, -1},
      {"0x80000000", H, INT_MIN},
      {"0x00000010", H, 16},
      {"0x", H, kFallback},
      {"0x123456789", H, kFallback},
      {"0xG", H, kFallback},
      {"-0x1", H, kFallback},
      {"12", H, 12},
      {"-12", H, -12},
  };
  for (const auto& c : cases) {
    const Profile p = Profile::fromBytes("[S]\r\nK=" + c.stored + "\r\n");
    EXPECT_EQ(p.readInteger("S", "K", kFallback, c.form), c.expected) << c.stored;
  }
  EXPECT_EQ(Profile().readInteger("S", "K", kFallback), kFallback);
}

TEST(Profile, NewFileHoldsExactlyTheWrittenKeys) {
  Profile p;
  p.writeInteger("Config", "Bar4", 90);
  p.writeInteger("Config", "Bar5", 10);
  EXPECT_EQ(p.bytes(), "[Config]\r\nBar4=90\r\nBar5=10\r\n");
  p.writeInteger("Frame", "X", -999);
  EXPECT_EQ(p.bytes(), "[Config]\r\nBar4=90\r\nBar5=10\r\n[Frame]\r\nX=-999\r\n");
  EXPECT_EQ(p.encoding(), TextFileEncoding::Cp932);
}

TEST(Profile, ReplacesInPlaceAndKeepsEveryOtherLine) {
  Profile p = Profile::fromBytes(
      "; \x98\x67 comment\r\n"
      "Bar4=1\n"
      "[Frame]\n"
      "PhotoFile = old.bmp ;x\n"
      "  framewidth=100\r\n"
      "\r\n"
      "[Title]\r\n"
      "Text=\"x\"\r\n"
      "Last=1");
  p.write("FRAME", "FrameWidth", "200");
  p.write("Title", "last", "2");
  p.write("Title", "Text", "平成xx年");
  EXPECT_EQ(p.bytes(),
            "; \x98\x67 comment\r\n"
            "Bar4=1\n"
            "[Frame]\n"
            "PhotoFile = old.bmp ;x\n"
            "framewidth=200\r\n"
            "\r\n"
            "[Title]\r\n"
            "Text=\x95\xBD\x90\xACxx\x94\x4E\r\n"
            "Last=2");
  EXPECT_EQ(p.value("Title", "Text"), "平成xx年");
}

TEST(Profile, AppendsAKeyAfterTheLastNonBlankLineOfItsSection) {
  struct Case {
    std::string before, after;
  };
  const std::vector<Case> cases = {
      {"[Frame]\r\nA=1\r\n; note\r\n\r\n \t\r\n[Title]\r\nText=x\r\n",
       "[Frame]\r\nA=1\r\n; note\r\nB=2\r\n\r\n \t\r\n[Title]\r\nText=x\r\n"},
      {"[Frame]\n\n[Title]\n", "[Frame]\nB=2\r\n\n[Title]\n"},
      {"[Frame]\r\nA=1", "[Frame]\r\nA=1\r\nB=2\r\n"},
      {"[Frame]\r\nA=1\r\n[frame]\r\nB=1\r\n",  // the first [Frame] gets it
       "[Frame]\r\nA=1\r\nB=2\r\n[frame]\r\nB=1\r\n"},
      {"B=1\r\n[Frame]\r\n", "B=1\r\n[Frame]\r\nB=2\r\n"},  // an entry outside any section
  };
  for (const auto& c : cases) {
    Profile p = Profile::fromBytes(c.before);
    p.write("Frame", "B", "2");
    EXPECT_EQ(p.bytes(), c.after) << c.before;
    EXPECT_EQ(p.value("Frame", "B"), "2");
  }
}

TEST(Profile, AppendsAMissingSectionAtTheEnd) {
  struct Case {
    std::string before, after;
  };
  const std::vector<Case> cases = {
      {"[Frame]\r\nA=1\r\n\r\n", "[Frame]\r\nA=1\r\n\r\n[Config]\r\nBar5=10\r\n"},
      {"[Frame]\nA=1", "[Frame]\nA=1\r\n[Config]\r\nBar5=10\r\n"},
      {"Bar5=1\n", "Bar5=1\n[Config]\r\nBar5=10\r\n"},
  };
  for (const auto& c : cases) {
    Profile p = Profile::fromBytes(c.before);
    p.write("Config", "Bar5", "10");
    EXPECT_EQ(p.bytes(), c.after) << c.before;
  }
}

TEST(Profile, LineBreaksInsideAValueBecomeSpaces) {
  Profile p;
  p.write("Title", "Text", "a\r\nb\nc");
  EXPECT_EQ(p.bytes(), "[Title]\r\nText=a  b c\r\n");
  EXPECT_EQ(Profile::fromBytes(p.bytes()).value("Title", "Text"), "a  b c");
}

TEST(Profile, WaveDashKeepsTheFileCp932) {
  Profile p;
  p.write("Date", "Text", "1月〜3月");
  EXPECT_EQ(p.encoding(), TextFileEncoding::Cp932);
  EXPECT_EQ(p.value("Date", "Text"), "1月～3月");
}

TEST(Profile, TextThatCp932CannotHoldTurnsTheFileIntoUtf8) {
  const std::string original =
      "; \x98\x67\r\n"  // 枠
      "[Title]\n"
      "Name=\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E\r\n"
      "Bad=\x80x\r\n"
      "Text=old";
  for (const std::string value : {"😀 丂", "¥500"}) {
    Profile p = Profile::fromBytes(original);
    p.write("Title", "Text", value);
    EXPECT_EQ(p.encoding(), TextFileEncoding::Utf8WithBom);
    const std::string expected =
        kBom + "; 枠\r\n[Title]\nName=ＭＳ Ｐゴシック\r\nBad=\uFFFDx\r\nText=" + value;
    EXPECT_EQ(p.bytes(), expected);

    // Once UTF-8, it stays UTF-8, and it reads back the same.
    p.write("Title", "Angle", "0");
    const Profile reread = Profile::fromBytes(p.bytes());
    EXPECT_EQ(reread.encoding(), TextFileEncoding::Utf8WithBom);
    EXPECT_EQ(reread.value("Title", "Text"), value);
    EXPECT_EQ(reread.value("Title", "Name"), "ＭＳ Ｐゴシック");
    EXPECT_EQ(reread.value("Title", "Angle"), "0");
    EXPECT_EQ(reread.bytes(), p.bytes());
  }
}

TEST(Profile, Utf8FileKeepsItsBytesAndItsMark) {
  const std::string original = kBom + "[Title]\r\nText=表😀\r\nOdd=\xFF\r\n";
  Profile p = Profile::fromBytes(original);
  EXPECT_EQ(p.encoding(), TextFileEncoding::Utf8WithBom);
  EXPECT_EQ(p.value("Title", "Text"), "表😀");
  EXPECT_EQ(p.value("Title", "Odd"), "\uFFFD");
  EXPECT_EQ(p.bytes(), original);
  p.write("Title", "Angle", "表");
  EXPECT_EQ(p.bytes(), original + "Angle=表\r\n");
  EXPECT_EQ(Profile::fromBytes(kBom).bytes(), kBom);
}

TEST(Profile, SavesAtomicallyAndLoadsBack) {
  test::TempDir dir;
  const std::string path = dir.file("kov.ini");
  dir.write("kov.ini", "[Config]\nPreSaveFolderName=TA\n");
  Profile p = *Profile::load(path);
  p.writeInteger("Config", "Bar4", 90);
  ASSERT_TRUE(p.save(path));
  EXPECT_EQ(dir.read("kov.ini"), "[Config]\nPreSaveFolderName=TA\nBar4=90\r\n");
  EXPECT_EQ(Profile::load(path)->readInteger("Config", "Bar4", 0), 90);
  // Nothing but the file itself is left in the folder.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
    ++files;
  EXPECT_EQ(files, 1);
}

TEST(Profile, FailedSaveReturnsFalseAndLeavesNothing) {
  test::TempDir dir;
  Profile p;
  p.writeInteger("Config", "Bar4", 90);
  EXPECT_FALSE(p.save(dir.file("missing/kov.ini")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_FALSE(p.save(dir.path()));  // a folder is no file
}

TEST(Profile, LoadFailsOnlyWhenTheFileCannotBeRead) {
  test::TempDir dir;
  EXPECT_FALSE(Profile::load(dir.file("missing.ini")));
  EXPECT_FALSE(Profile::load(dir.path()));
  dir.write("empty.ini", "");
  const auto empty = Profile::load(dir.file("empty.ini"));
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->bytes(), "");
  EXPECT_EQ(empty->encoding(), TextFileEncoding::Cp932);
}

}  // namespace
}  // namespace kov
