#include "frame/editor_input_check.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "frame/frame_definition.h"
#include "platform/host.h"

namespace kov {

namespace {

struct FieldMessage {
  Measure measure;
  std::string_view text;
};

// Positions of the Other caption may stay empty: saving writes defaults.
constexpr FieldMessage kEmptyRules[] = {
    {Measure::FrameWidth, "フレーム幅が未入力です。\n"},
    {Measure::FrameHeight, "フレーム高が未入力です。\n"},
    {Measure::RightMargin, "右フチ幅が未入力です。\n"},
    {Measure::BottomMargin, "下フチ高が未入力です。\n"},
    {Measure::LeftMargin, "左フチ幅が未入力です。\n"},
    {Measure::WindowWidth, "内枠幅が未入力です。\n"},
    {Measure::WindowHeight, "内枠高が未入力です。\n"},
    {Measure::TopMargin, "上フチ高が未入力です。\n"},
    {Measure::TitleX, "タイトル文字横位置が未入力です。\n"},
    {Measure::TitleY, "タイトル文字縦位置が未入力です。\n"},
    {Measure::DateX, "日付文字横位置が未入力です。\n"},
    {Measure::DateY, "日付文字縦位置が未入力です。\n"},
};

constexpr FieldMessage kDigitRules[] = {
    {Measure::FrameWidth, "フレーム幅に半角数字以外が入力されています。\n"},
    {Measure::FrameHeight, "フレーム高に半角数字以外が入力されています。\n"},
    {Measure::RightMargin, "右フチ幅に半角数字以外が入力されています。\n"},
    {Measure::BottomMargin, "下フチ高に半角数字以外が入力されています。\n"},
    {Measure::LeftMargin, "左フチ幅に半角数字以外が入力されています。\n"},
    {Measure::WindowWidth, "内枠幅に半角数字以外が入力されています。\n"},
    {Measure::WindowHeight, "内枠高に半角数字以外が入力されています。\n"},
    {Measure::TopMargin, "上フチ高に半角数字以外が入力されています。\n"},
    {Measure::TitleX, "タイトル文字横位置に半角数字以外が入力されています。\n"},
    {Measure::TitleY, "タイトル文字縦位置に半角数字以外が入力されています。\n"},
    {Measure::DateX, "日付文字横位置に半角数字以外が入力されています。\n"},
    {Measure::DateY, "日付文字縦位置に半角数字以外が入力されています。\n"},
    {Measure::OtherX, "その他文字横位置に半角数字以外が入力されています。\n"},
    {Measure::OtherY, "その他文字縦位置に半角数字以外が入力されています。\n"},
};

// Per caption: X negative, Y negative, X beyond the width, Y beyond the height.
struct PositionRules {
  Measure x, y;
  std::string_view negativeX, negativeY, beyondWidth, beyondHeight;
};

constexpr PositionRules kPositionRules[] = {
    {Measure::TitleX, Measure::TitleY, "タイトル文字横位置にマイナス値が入力されています。\n",
     "タイトル文字縦位置にマイナス値が入力されています。\n",
     "タイトル文字横位置にフレーム幅より大きい値が入力されています。\n",
     "タイトル文字縦位置にフレーム高より大きい値が入力されています。\n"},
    {Measure::DateX, Measure::DateY, "日付文字横位置にマイナス値が入力されています。\n",
     "日付文字縦位置にマイナス値が入力されています。\n",
     "日付文字横位置にフレーム幅より大きい値が入力されています。\n",
     "日付文字縦位置にフレーム高より大きい値が入力されています。\n"},
    {Measure::OtherX, Measure::OtherY, "その他文字横位置にマイナス値が入力されています。\n",
     "その他文字縦位置にマイナス値が入力されています。\n",
     "その他文字横位置にフレーム幅より大きい値が入力されています。\n",
     "その他文字縦位置にフレーム高より大きい値が入力されています。\n"},
};

// What the pattern [^0-9] finds nothing in: only ASCII digits, or nothing.
// Any byte of a multi-byte character is no ASCII digit, so full-width digits fail.
bool onlyDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string editorInputErrors(const MeasureTexts& pixelTexts) {
  auto text = [&pixelTexts](Measure m) -> const std::string& { return pixelTexts[index(m)]; };
  // 64 bits, so that the sums of three fields cannot overflow.
  auto value = [&text](Measure m) -> std::int64_t { return fieldInteger(text(m)); };

  std::string errors;
  for (const FieldMessage& rule : kEmptyRules)
    if (text(rule.measure).empty()) errors += rule.text;
  for (const FieldMessage& rule : kDigitRules)
    if (!onlyDigits(text(rule.measure))) errors += rule.text;

  const std::int64_t width = value(Measure::FrameWidth);
  const std::int64_t height = value(Measure::FrameHeight);
  for (const PositionRules& rule : kPositionRules) {
    const std::int64_t x = value(rule.x);
    const std::int64_t y = value(rule.y);
    if (x < 0) errors += rule.negativeX;
    if (y < 0) errors += rule.negativeY;
    if (width < x) errors += rule.beyondWidth;
    if (height < y) errors += rule.beyondHeight;
  }

  if (value(Measure::LeftMargin) + value(Measure::WindowWidth) + value(Measure::RightMargin) !=
      width)
    errors += "幅の合計が合いません。\n";
  if (value(Measure::TopMargin) + value(Measure::WindowHeight) + value(Measure::BottomMargin) !=
      height)
    errors += "高さの合計が合いません。\n";
  const std::string limit = std::to_string(kMaxFrameSide);
  if (width > kMaxFrameSide)
    errors += "フレーム幅が処理可能な最大値を超えています。最大：" + limit + "pix\n";
  if (height > kMaxFrameSide)
    errors += "フレーム高が処理可能な最大値を超えています。最大：" + limit + "pix\n";
  return errors;
}

bool checkEditorInput(const MeasureTexts& pixelTexts, Host& host) {
  const std::string errors = editorInputErrors(pixelTexts);
  if (errors.empty()) return true;
  host.message(errors, "", Buttons::Ok, Icon::None);
  return false;
}

}  // namespace kov
