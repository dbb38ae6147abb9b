#include "frame/editor_state.h"

#include <utility>

#include "platform/host.h"

namespace kov {

namespace {

struct MeasureFields {
  EditorField millimetres, pixels;
};

// Indexed by Measure; the controls' numbering is not in measure order.
constexpr MeasureFields kMeasureFields[kMeasureCount] = {
    {EditorField::Edit1, EditorField::Edit2},    // frame width
    {EditorField::Edit3, EditorField::Edit4},    // frame height
    {EditorField::Edit5, EditorField::Edit6},    // right margin
    {EditorField::Edit7, EditorField::Edit8},    // bottom margin
    {EditorField::Edit9, EditorField::Edit10},   // left margin
    {EditorField::Edit11, EditorField::Edit12},  // window width
    {EditorField::Edit13, EditorField::Edit14},  // window height
    {EditorField::Edit15, EditorField::Edit16},  // top margin
    {EditorField::Edit19, EditorField::Edit21},  // title X
    {EditorField::Edit20, EditorField::Edit23},  // title Y
    {EditorField::Edit24, EditorField::Edit25},  // date X
    {EditorField::Edit27, EditorField::Edit26},  // date Y
    {EditorField::Edit28, EditorField::Edit30},  // other X
    {EditorField::Edit29, EditorField::Edit31},  // other Y
};

constexpr std::string_view kFieldNames[kEditorFieldCount] = {
    "Edit1",  "Edit2",  "Edit3",  "Edit4",  "Edit5",  "Edit6",  "Edit7",  "Edit8",
    "Edit9",  "Edit10", "Edit11", "Edit12", "Edit13", "Edit14", "Edit15", "Edit16",
    "Edit17", "Edit19", "Edit20", "Edit21", "Edit23", "Edit24", "Edit25", "Edit26",
    "Edit27", "Edit28", "Edit29", "Edit30", "Edit31",
};

constexpr std::string_view kConvertQuestion =
    "ピクセル寸法欄のデータが全て上書きされます。\nｍｍからピクセルへ計算して宜しいですか？";

}  // namespace

std::string_view editorFieldName(EditorField field) { return kFieldNames[std::size_t(field)]; }
EditorField millimetreField(Measure m) { return kMeasureFields[index(m)].millimetres; }
EditorField pixelField(Measure m) { return kMeasureFields[index(m)].pixels; }
bool isGeometryField(EditorField field) { return field <= EditorField::Edit16; }

FrameEditorState::FrameEditorState() {
  m_fields[std::size_t(EditorField::Edit17)] = std::to_string(kDefaultResolution);
}

void FrameEditorState::setText(EditorField field, std::string text) {
  std::string& current = m_fields[std::size_t(field)];
  if (current == text) return;  // as an edit control: no change, no change event
  current = std::move(text);
  if (field == EditorField::Edit17) return;  // read-only, no handler
  m_settingsModified = true;
  if (isGeometryField(field)) m_geometryModified = true;
}

MeasureTexts FrameEditorState::millimetreTexts() const {
  MeasureTexts texts;
  for (std::size_t i = 0; i < kMeasureCount; ++i) texts[i] = text(kMeasureFields[i].millimetres);
  return texts;
}

MeasureTexts FrameEditorState::pixelTexts() const {
  MeasureTexts texts;
  for (std::size_t i = 0; i < kMeasureCount; ++i) texts[i] = text(kMeasureFields[i].pixels);
  return texts;
}

void FrameEditorState::loadAccepted(std::string path, const MeasureValues& pixels) {
  m_editedFramePath = std::move(path);
  const int dpi = resolution();
  for (std::size_t i = 0; i < kMeasureCount; ++i) {
    setText(kMeasureFields[i].pixels, std::to_string(pixels[i]));
    setText(kMeasureFields[i].millimetres, std::to_string(pixelsToMillimetres(pixels[i], dpi)));
  }
}

void FrameEditorState::shown() {
  m_settingsModified = false;
  m_geometryModified = false;
  m_offerToApply = false;
}

void FrameEditorState::loadFinished() {
  m_settingsModified = false;
  m_geometryModified = false;
  m_offerToApply = true;
}

void FrameEditorState::newDesign() {
  for (const MeasureFields& f : kMeasureFields) {
    setText(f.millimetres, {});
    setText(f.pixels, {});
  }
  m_editedFramePath.clear();
  m_settingsModified = false;
  m_geometryModified = false;
  m_offerToApply = true;
}

void FrameEditorState::saved(std::string path) {
  m_editedFramePath = std::move(path);
  m_settingsModified = false;
  m_offerToApply = true;
}

void FrameEditorState::setCaptionPosition(CaptionKind caption, int x, int y) {
  static constexpr Measure kX[] = {Measure::TitleX, Measure::DateX, Measure::OtherX};
  static constexpr Measure kY[] = {Measure::TitleY, Measure::DateY, Measure::OtherY};
  const int dpi = resolution();
  const Measure mx = kX[std::size_t(caption)];
  const Measure my = kY[std::size_t(caption)];
  setText(millimetreField(mx), std::to_string(pixelsToMillimetres(x, dpi)));
  setText(pixelField(mx), std::to_string(x));
  setText(millimetreField(my), std::to_string(pixelsToMillimetres(y, dpi)));
  setText(pixelField(my), std::to_string(y));
}

bool FrameEditorState::convertMillimetresToPixels(Host& host, std::string_view windowCaption) {
  if (host.message(kConvertQuestion, windowCaption, Buttons::YesNo, Icon::None) != Answer::Yes)
    return false;
  MeasureTexts pixels = convertMillimetreTexts(millimetreTexts(), resolution());
  for (std::size_t i = 0; i < kMeasureCount; ++i)
    setText(kMeasureFields[i].pixels, std::move(pixels[i]));
  return true;
}

FrameDiagramSizes frameDiagramSizes(const FrameEditorState& editor) {
  return {editor.pixelValue(Measure::FrameWidth),  editor.pixelValue(Measure::FrameHeight),
          editor.pixelValue(Measure::LeftMargin),  editor.pixelValue(Measure::TopMargin),
          editor.pixelValue(Measure::WindowWidth), editor.pixelValue(Measure::WindowHeight)};
}

}  // namespace kov
