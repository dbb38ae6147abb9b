#include "platform/cp932.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace kov {
namespace {

struct RoundTrip {
  std::string utf8;
  std::string cp932;
};

TEST(Cp932, RoundTripsTheProgramsTexts) {
  const std::vector<RoundTrip> cases = {
      {"ＭＳ Ｐゴシック", "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E"},
      {"表", "\x95\x5C"},  // the trail byte is a backslash
      {"[タイトル文字列]", "[\x83\x5E\x83\x43\x83\x67\x83\x8B\x95\xB6\x8E\x9A\x97\xF1]"},
      {"平成xx年xx月xx日", "\x95\xBD\x90\xACxx\x94\x4Exx\x8C\x8Exx\x93\xFA"},
      {"非ｱｸﾃｨﾌﾞ", "\x94\xF1\xB1\xB8\xC3\xA8\xCC\xDE"},
      {"①Ⅰ㈱", "\x87\x40\x87\x54\x87\x8A"},
      {"Frame\\frame001.ini ~!", "Frame\\frame001.ini ~!"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(utf8ToCp932(c.utf8), c.cp932);
    EXPECT_EQ(cp932ToUtf8(c.cp932), c.utf8);
  }
}

// Characters the JIS and Microsoft tables map differently: stored as CP932's own character,
// read back in the Microsoft form. 〜 is what Linux input methods type for the wave dash.
TEST(Cp932, StoresJisTwinsAsTheMicrosoftForm) {
  const std::vector<std::vector<std::string>> cases = {
      // written, stored, read back
      {"～", "\x81\x60", "～"},
      {"〜", "\x81\x60", "～"},
      {"1月〜3月",
       "1\x8C\x8E\x81\x60"
       "3\x8C\x8E",
       "1月～3月"},
      {"‖", "\x81\x61", "∥"},
      {"−", "\x81\x7C", "－"},
      {"¢", "\x81\x91", "￠"},
      {"£", "\x81\x92", "￡"},
      {"¬", "\x81\xCA", "￢"},
      {"—", "\x81\x5C", "―"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(utf8ToCp932(c[0]), c[1]);
    EXPECT_EQ(cp932ToUtf8(c[1]), c[2]);
  }
}

TEST(Cp932, RefusesWhatCp932CannotHold) {
  const std::vector<std::string> cases = {
      "😀",
      "表丂",               // U+4E02, in no CP932 table
      "¥100",               // would come back as a backslash
      "‾",                  // would come back as a tilde
      "a\xF3\xA0\x80\x81",  // a tag character, which iconv would drop
      "\xEF\xBB\xBF",       // U+FEFF
      "\xE8\xA1",           // incomplete UTF-8
      "\xC0\xAF",           // overlong
      "\xED\xA0\x80",       // a surrogate
      "\xFF",
  };
  for (const auto& c : cases) EXPECT_EQ(utf8ToCp932(c), std::nullopt) << c;
}

TEST(Cp932, InvalidBytesDecodeToReplacementAndDecodingGoesOn) {
  const std::vector<RoundTrip> cases = {
      // utf8 expected, cp932 input
      {"\uFFFD", "\x80"},
      {"A\uFFFDB",
       "A\xA0"
       "B"},
      {"\uFFFD\uFFFD", "\xFD\xFF"},
      {"x\uFFFD", "x\x81"},        // lead byte at the end
      {"\uFFFD\r\n", "\x81\r\n"},  // the line end after a stray lead byte stays
      {"\uFFFD1\uFFFD\"",
       "\x81"
       "1\x9F\""},  // so does an ASCII character that is no trail byte
      {"\uFFFD表", "\x80\x95\x5C"},
      {"\uFFFDx", "\x85\x40x"},  // an unassigned pair is one character
  };
  for (const auto& c : cases) EXPECT_EQ(cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
}

TEST(Cp932, SanitizeReplacesInvalidUtf8) {
  EXPECT_EQ(sanitizeUtf8("a表😀"), "a表😀");
  EXPECT_EQ(sanitizeUtf8("a\xE8\xA1"
                         "b"),
            "a\uFFFD"
            "b");  // one mark for the broken sequence
  EXPECT_EQ(sanitizeUtf8("\xC0\xAF\x80"), "\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(sanitizeUtf8("\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(sanitizeUtf8("\xF4\x90\x80\x80"), "\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(TextFile, ByteOrderMarkMeansUtf8) {
  TextFileEncoding found = TextFileEncoding::Cp932;
  EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF"
                           "a表😀\xFF",
                           &found),
            "a表😀\uFFFD");
  EXPECT_EQ(found, TextFileEncoding::Utf8WithBom);
  EXPECT_EQ(decodeTextFile("\x95\x5C", &found), "表");
  EXPECT_EQ(found, TextFileEncoding::Cp932);
  EXPECT_EQ(decodeTextFile("", &found), "");
  EXPECT_EQ(found, TextFileEncoding::Cp932);
}

TEST(TextFile, EncodesAsCp932UnlessItCannotHoldTheText) {
  TextFileEncoding chosen = TextFileEncoding::Utf8WithBom;
  EXPECT_EQ(encodeTextFile("[Title]\r\nText=表\r\n", &chosen), "[Title]\r\nText=\x95\x5C\r\n");
  EXPECT_EQ(chosen, TextFileEncoding::Cp932);
  EXPECT_EQ(encodeTextFile("", &chosen), "");
  EXPECT_EQ(chosen, TextFileEncoding::Cp932);

  const std::string text = "Text=表😀\r\n";
  const std::string encoded = encodeTextFile(text, &chosen);
  EXPECT_EQ(encoded, "\xEF\xBB\xBF" + text);
  EXPECT_EQ(chosen, TextFileEncoding::Utf8WithBom);
  EXPECT_EQ(decodeTextFile(encoded), text);
}

// A batch converts in several threads at once; each call must use its own converter.
TEST(Cp932, ConvertsInParallel) {
  std::vector<std::thread> threads;
  std::vector<int> failures(8, 0);
  for (std::size_t t = 0; t < failures.size(); ++t) {
    threads.emplace_back([&failures, t] {
      for (int i = 0; i < 300; ++i) {
        const std::string text = "ＭＳ Ｐゴシック非ｱｸﾃｨﾌﾞ①" + std::to_string(i);
        const auto encoded = utf8ToCp932(text);
        if (!encoded || cp932ToUtf8(*encoded) != text) ++failures[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int f : failures) EXPECT_EQ(f, 0);
}

}  // namespace
}  // namespace kov
