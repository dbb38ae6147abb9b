#include "frame/editor_input_check.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <utility>

#include "support/scripted_host.h"

namespace kov {
namespace {

using M = Measure;
using Edits = std::initializer_list<std::pair<Measure, const char*>>;

MeasureTexts allZero() {
  MeasureTexts t;
  t.fill("0");
  return t;
}

// An A4 design at 300 dpi that passes every rule.
MeasureTexts a4() {
  return {"2480", "3508", "118", "354",  "118",  "2244", "2918",
          "236",  "1240", "100", "2400", "3400", "",     ""};
}

MeasureTexts with(MeasureTexts texts, Edits edits) {
  for (const auto& [m, text] : edits) texts[index(m)] = text;
  return texts;
}

// The messages, written out once more so that a changed character shows.
const std::string kEmpty[12] = {
    "フレーム幅が未入力です。\n",
    "フレーム高が未入力です。\n",
    "右フチ幅が未入力です。\n",
    "下フチ高が未入力です。\n",
    "左フチ幅が未入力です。\n",
    "内枠幅が未入力です。\n",
    "内枠高が未入力です。\n",
    "上フチ高が未入力です。\n",
    "タイトル文字横位置が未入力です。\n",
    "タイトル文字縦位置が未入力です。\n",
    "日付文字横位置が未入力です。\n",
    "日付文字縦位置が未入力です。\n",
};
const std::string kDigits[14] = {
    "フレーム幅に半角数字以外が入力されています。\n",
    "フレーム高に半角数字以外が入力されています。\n",
    "右フチ幅に半角数字以外が入力されています。\n",
    "下フチ高に半角数字以外が入力されています。\n",
    "左フチ幅に半角数字以外が入力されています。\n",
    "内枠幅に半角数字以外が入力されています。\n",
    "内枠高に半角数字以外が入力されています。\n",
    "上フチ高に半角数字以外が入力されています。\n",
    "タイトル文字横位置に半角数字以外が入力されています。\n",
    "タイトル文字縦位置に半角数字以外が入力されています。\n",
    "日付文字横位置に半角数字以外が入力されています。\n",
    "日付文字縦位置に半角数字以外が入力されています。\n",
    "その他文字横位置に半角数字以外が入力されています。\n",
    "その他文字縦位置に半角数字以外が入力されています。\n",
};
const std::string kTitleXNegative = "タイトル文字横位置にマイナス値が入力されています。\n";
const std::string kTitleYNegative = "タイトル文字縦位置にマイナス値が入力されています。\n";
const std::string kTitleXBeyond =
    "タイトル文字横位置にフレーム幅より大きい値が入力されています。\n";
const std::string kTitleYBeyond =
    "タイトル文字縦位置にフレーム高より大きい値が入力されています。\n";
const std::string kDateXNegative = "日付文字横位置にマイナス値が入力されています。\n";
const std::string kDateYNegative = "日付文字縦位置にマイナス値が入力されています。\n";
const std::string kDateXBeyond = "日付文字横位置にフレーム幅より大きい値が入力されています。\n";
const std::string kDateYBeyond = "日付文字縦位置にフレーム高より大きい値が入力されています。\n";
const std::string kOtherXNegative = "その他文字横位置にマイナス値が入力されています。\n";
const std::string kOtherYNegative = "その他文字縦位置にマイナス値が入力されています。\n";
const std::string kOtherXBeyond = "その他文字横位置にフレーム幅より大きい値が入力されています。\n";
const std::string kOtherYBeyond = "その他文字縦位置にフレーム高より大きい値が入力されています。\n";
const std::string kWidthSum = "幅の合計が合いません。\n";
const std::string kHeightSum = "高さの合計が合いません。\n";
const std::string kWidthMax = "フレーム幅が処理可能な最大値を超えています。最大：6787pix\n";
const std::string kHeightMax = "フレーム高が処理可能な最大値を超えています。最大：6787pix\n";

struct Case {
  const char* name;
  MeasureTexts texts;
  std::string errors;
};

void expectCases(std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(editorInputErrors(c.texts), c.errors) << c.name;
}

// On a design of all zeros (which passes) each change breaks one rule only.
TEST(EditorInputCheck, EachRuleOnItsOwn) {
  const MeasureTexts z = allZero();
  expectCases({
      {"all zero", z, ""},
      {"a4", a4(), ""},
      {"1 frame width empty", with(z, {{M::FrameWidth, ""}}), kEmpty[0]},
      {"2 frame height empty", with(z, {{M::FrameHeight, ""}}), kEmpty[1]},
      {"3 right empty", with(z, {{M::RightMargin, ""}}), kEmpty[2]},
      {"4 bottom empty", with(z, {{M::BottomMargin, ""}}), kEmpty[3]},
      {"5 left empty", with(z, {{M::LeftMargin, ""}}), kEmpty[4]},
      {"6 window width empty", with(z, {{M::WindowWidth, ""}}), kEmpty[5]},
      {"7 window height empty", with(z, {{M::WindowHeight, ""}}), kEmpty[6]},
      {"8 top empty", with(z, {{M::TopMargin, ""}}), kEmpty[7]},
      {"9 title x empty", with(z, {{M::TitleX, ""}}), kEmpty[8]},
      {"10 title y empty", with(z, {{M::TitleY, ""}}), kEmpty[9]},
      {"11 date x empty", with(z, {{M::DateX, ""}}), kEmpty[10]},
      {"12 date y empty", with(z, {{M::DateY, ""}}), kEmpty[11]},
      {"other x and y may be empty", with(z, {{M::OtherX, ""}, {M::OtherY, ""}}), ""},
      {"13 full-width digit", with(z, {{M::FrameWidth, "０"}}), kDigits[0]},
      {"14 blank", with(z, {{M::FrameHeight, " 0"}}), kDigits[1]},
      {"15 plus sign", with(z, {{M::RightMargin, "+0"}}), kDigits[2]},
      {"16 minus zero", with(z, {{M::BottomMargin, "-0"}}), kDigits[3]},
      {"17 decimal point", with(z, {{M::LeftMargin, "0.0"}}), kDigits[4]},
      {"18 letters", with(z, {{M::WindowWidth, "abc"}}), kDigits[5]},
      {"19 hex", with(z, {{M::WindowHeight, "0x0"}}), kDigits[6]},
      {"20 trailing blank", with(z, {{M::TopMargin, "0 "}}), kDigits[7]},
      {"21 title x", with(z, {{M::TitleX, "o"}}), kDigits[8]},
      {"22 title y", with(z, {{M::TitleY, "１"}}), kDigits[9]},
      {"23 date x", with(z, {{M::DateX, "O"}}), kDigits[10]},
      {"24 date y", with(z, {{M::DateY, "-"}}), kDigits[11]},
      {"25 other x", with(z, {{M::OtherX, "x"}}), kDigits[12]},
      {"26 other y", with(z, {{M::OtherY, "　"}}), kDigits[13]},
      {"27 title x negative", with(z, {{M::TitleX, "-1"}}), kDigits[8] + kTitleXNegative},
      {"28 title y negative", with(z, {{M::TitleY, "-1"}}), kDigits[9] + kTitleYNegative},
      {"29 title x beyond", with(z, {{M::TitleX, "1"}}), kTitleXBeyond},
      {"30 title y beyond", with(z, {{M::TitleY, "1"}}), kTitleYBeyond},
      {"31 date x negative", with(z, {{M::DateX, "-1"}}), kDigits[10] + kDateXNegative},
      {"32 date y negative", with(z, {{M::DateY, "-1"}}), kDigits[11] + kDateYNegative},
      {"33 date x beyond", with(z, {{M::DateX, "1"}}), kDateXBeyond},
      {"34 date y beyond", with(z, {{M::DateY, "1"}}), kDateYBeyond},
      {"35 other x negative", with(z, {{M::OtherX, "-1"}}), kDigits[12] + kOtherXNegative},
      {"36 other y negative", with(z, {{M::OtherY, "-1"}}), kDigits[13] + kOtherYNegative},
      {"37 other x beyond", with(z, {{M::OtherX, "1"}}), kOtherXBeyond},
      {"38 other y beyond", with(z, {{M::OtherY, "1"}}), kOtherYBeyond},
      {"39 widths", with(z, {{M::RightMargin, "1"}}), kWidthSum},
      {"40 heights", with(z, {{M::BottomMargin, "1"}}), kHeightSum},
      {"41 frame too wide", with(z, {{M::FrameWidth, "6788"}, {M::WindowWidth, "6788"}}),
       kWidthMax},
      {"42 frame too high", with(z, {{M::FrameHeight, "6788"}, {M::WindowHeight, "6788"}}),
       kHeightMax},
  });
}

TEST(EditorInputCheck, Boundaries) {
  const MeasureTexts z = allZero();
  const MeasureTexts tenByTen = with(z, {{M::FrameWidth, "10"},
                                         {M::WindowWidth, "10"},
                                         {M::FrameHeight, "10"},
                                         {M::WindowHeight, "10"}});
  expectCases({
      {"largest frame",
       with(z, {{M::FrameWidth, "6787"},
                {M::WindowWidth, "6787"},
                {M::FrameHeight, "6787"},
                {M::WindowHeight, "6787"}}),
       ""},
      {"positions on the frame's edge",
       with(tenByTen, {{M::TitleX, "10"},
                       {M::TitleY, "10"},
                       {M::DateX, "10"},
                       {M::DateY, "10"},
                       {M::OtherX, "10"},
                       {M::OtherY, "10"}}),
       ""},
      {"title x one beyond", with(tenByTen, {{M::TitleX, "11"}}), kTitleXBeyond},
      {"leading zeros read as decimal", with(tenByTen, {{M::FrameWidth, "0010"}}), ""},
      {"12a counts as 0", with(tenByTen, {{M::FrameWidth, "12a"}}), kDigits[0] + kWidthSum},
      // Digits beyond 32 bits are a huge value, not 0: the sums agree, the limit does not.
      {"huge frame width",
       with(z, {{M::FrameWidth, "99999999999"}, {M::WindowWidth, "99999999999"}}), kWidthMax},
      {"huge title x", with(tenByTen, {{M::TitleX, "99999999999"}}), kTitleXBeyond},
      {"huge margins do not overflow the sum",
       with(z, {{M::LeftMargin, "2147483647"},
                {M::WindowWidth, "2147483647"},
                {M::RightMargin, "2147483647"}}),
       kWidthSum},
  });
}

TEST(EditorInputCheck, MessagesJoinInRuleOrder) {
  MeasureTexts empty;
  std::string twelveEmpty;
  for (const std::string& m : kEmpty) twelveEmpty += m;

  MeasureTexts minusFive;
  minusFive.fill("-5");
  std::string allDigitsFail;
  for (const std::string& m : kDigits) allDigitsFail += m;

  expectCases({
      // Everything 0: the sums agree.
      {"all empty", empty, twelveEmpty},
      // -5 + -5 + -5 is not -5, and -5 is no position.
      {"all -5", minusFive,
       allDigitsFail + kTitleXNegative + kTitleYNegative + kDateXNegative + kDateYNegative +
           kOtherXNegative + kOtherYNegative + kWidthSum + kHeightSum},
      {"a4 without frame width", with(a4(), {{M::FrameWidth, ""}}),
       kEmpty[0] + kTitleXBeyond + kDateXBeyond + kWidthSum},
      {"a4 with window height typed in full width", with(a4(), {{M::WindowHeight, "２９１８"}}),
       kDigits[6] + kHeightSum},
      {"a4 with title x negative", with(a4(), {{M::TitleX, "-5"}}), kDigits[8] + kTitleXNegative},
      {"a4 too large",
       with(a4(), {{M::FrameWidth, "9999"},
                   {M::FrameHeight, "9999"},
                   {M::WindowWidth, "9763"},
                   {M::WindowHeight, "9409"}}),
       kWidthMax + kHeightMax},
  });
}

TEST(EditorInputCheck, ShowsOneBoxWithEveryMessage) {
  test::ScriptedHost host;
  EXPECT_TRUE(checkEditorInput(a4(), host));
  EXPECT_TRUE(host.messages.empty());

  EXPECT_FALSE(checkEditorInput(with(a4(), {{M::TitleX, ""}, {M::DateY, "x"}}), host));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, kEmpty[8] + kDigits[11]);
  EXPECT_EQ(host.messages[0].caption, "");
  EXPECT_EQ(host.messages[0].buttons, Buttons::Ok);
}

}  // namespace
}  // namespace kov
