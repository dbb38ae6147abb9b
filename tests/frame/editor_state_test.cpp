#include "frame/editor_state.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "support/scripted_host.h"

namespace kov {
namespace {

using F = EditorField;
using M = Measure;

constexpr MeasureValues kA4Pixels = {2480, 3508, 118, 354,  118,  2244, 2918,
                                     236,  1240, 100, 2400, 3400, 1200, 3000};

struct Flags {
  bool settings, geometry, offer;
  bool operator==(const Flags&) const = default;
};

Flags flagsOf(const FrameEditorState& e) {
  return {e.settingsModified(), e.geometryModified(), e.offerToApply()};
}

std::ostream& operator<<(std::ostream& os, const Flags& f) {
  return os << "{settings " << f.settings << ", geometry " << f.geometry << ", offer " << f.offer
            << "}";
}

TEST(EditorState, StartsEmptyAt300Dpi) {
  FrameEditorState editor;
  EXPECT_EQ(editor.text(F::Edit17), "300");
  EXPECT_EQ(editor.resolution(), 300);
  for (std::size_t i = 0; i < kEditorFieldCount; ++i)
    if (F(i) != F::Edit17) {
      EXPECT_EQ(editor.text(F(i)), "") << editorFieldName(F(i));
    }
  EXPECT_EQ(flagsOf(editor), (Flags{false, false, false}));
  EXPECT_EQ(editor.editedFramePath(), "");
}

TEST(EditorState, MeasuresAndTheirControls) {
  struct Row {
    Measure measure;
    const char* millimetres;
    const char* pixels;
    bool geometry;
  } rows[] = {
      {M::FrameWidth, "Edit1", "Edit2", true},     {M::FrameHeight, "Edit3", "Edit4", true},
      {M::RightMargin, "Edit5", "Edit6", true},    {M::BottomMargin, "Edit7", "Edit8", true},
      {M::LeftMargin, "Edit9", "Edit10", true},    {M::WindowWidth, "Edit11", "Edit12", true},
      {M::WindowHeight, "Edit13", "Edit14", true}, {M::TopMargin, "Edit15", "Edit16", true},
      {M::TitleX, "Edit19", "Edit21", false},      {M::TitleY, "Edit20", "Edit23", false},
      {M::DateX, "Edit24", "Edit25", false},       {M::DateY, "Edit27", "Edit26", false},
      {M::OtherX, "Edit28", "Edit30", false},      {M::OtherY, "Edit29", "Edit31", false},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(editorFieldName(millimetreField(r.measure)), r.millimetres);
    EXPECT_EQ(editorFieldName(pixelField(r.measure)), r.pixels);
    EXPECT_EQ(isGeometryField(millimetreField(r.measure)), r.geometry) << r.millimetres;
    EXPECT_EQ(isGeometryField(pixelField(r.measure)), r.geometry) << r.pixels;
  }
  EXPECT_EQ(editorFieldName(F::Edit17), "Edit17");
  EXPECT_FALSE(isGeometryField(F::Edit17));
}

// Each event from two starting points: every flag clear, and every flag set.
TEST(EditorState, FlagEvents) {
  enum Effect { Kept, Set, Cleared };
  struct Event {
    const char* name;
    std::function<void(FrameEditorState&)> run;
    Effect settings, geometry, offer;
  } events[] = {
      {"shown", [](auto& e) { e.shown(); }, Cleared, Cleared, Cleared},
      {"mm geometry typed", [](auto& e) { e.setText(F::Edit1, "211"); }, Set, Set, Kept},
      {"pixel geometry typed", [](auto& e) { e.setText(F::Edit16, "237"); }, Set, Set, Kept},
      {"mm position typed", [](auto& e) { e.setText(F::Edit27, "1"); }, Set, Kept, Kept},
      {"pixel position typed", [](auto& e) { e.setText(F::Edit31, "1"); }, Set, Kept, Kept},
      {"field emptied", [](auto& e) { e.setText(F::Edit21, ""); }, Set, Kept, Kept},
      {"same text again", [](auto& e) { e.setText(F::Edit2, e.text(F::Edit2)); }, Kept, Kept, Kept},
      {"resolution written", [](auto& e) { e.setText(F::Edit17, "600"); }, Kept, Kept, Kept},
      {"caption setting changed", [](auto& e) { e.captionSettingChanged(); }, Set, Kept, Kept},
      {"new design", [](auto& e) { e.newDesign(); }, Cleared, Cleared, Set},
      {"load finished", [](auto& e) { e.loadFinished(); }, Cleared, Cleared, Set},
      {"saved", [](auto& e) { e.saved("/f/a.ini"); }, Cleared, Kept, Set},
      {"temporary captions applied", [](auto& e) { e.temporaryCaptionsApplied(); }, Cleared, Kept,
       Kept},
      {"caption dragged", [](auto& e) { e.setCaptionPosition(CaptionKind::Date, 5, 6); }, Set, Kept,
       Kept},
  };
  auto after = [](Effect effect, bool before) { return effect == Kept ? before : effect == Set; };
  for (const Event& ev : events) {
    for (bool start : {false, true}) {
      FrameEditorState editor;
      editor.loadAccepted("/f/frame001.ini", kA4Pixels);
      editor.shown();
      if (start) {
        editor.newDesign();
        editor.loadAccepted("/f/frame001.ini", kA4Pixels);
      }
      ASSERT_EQ(flagsOf(editor), (Flags{start, start, start}));
      ev.run(editor);
      EXPECT_EQ(flagsOf(editor), (Flags{after(ev.settings, start), after(ev.geometry, start),
                                        after(ev.offer, start)}))
          << ev.name << (start ? " from all set" : " from all clear");
    }
  }
}

TEST(EditorState, LoadFillsPixelsAndMillimetres) {
  FrameEditorState editor;
  editor.loadAccepted("/frames/a4.ini", kA4Pixels);
  editor.shown();
  EXPECT_EQ(editor.editedFramePath(), "/frames/a4.ini");
  EXPECT_EQ(editor.pixelTexts(),
            (MeasureTexts{"2480", "3508", "118", "354", "118", "2244", "2918", "236", "1240", "100",
                          "2400", "3400", "1200", "3000"}));
  EXPECT_EQ(editor.millimetreTexts(), (MeasureTexts{"209", "297", "9", "29", "9", "189", "247",
                                                    "19", "104", "8", "203", "287", "101", "254"}));
  EXPECT_EQ(flagsOf(editor), (Flags{false, false, false}));

  // At another resolution the millimetres follow it; the pixels do not.
  editor.setText(F::Edit17, "600");
  editor.loadAccepted("/frames/a4.ini", kA4Pixels);
  EXPECT_EQ(editor.text(F::Edit1), "104");
  EXPECT_EQ(editor.text(F::Edit2), "2480");
}

TEST(EditorState, NewDesignEmptiesTheMeasuresOnly) {
  FrameEditorState editor;
  editor.setText(F::Edit17, "350");
  editor.loadAccepted("/frames/a4.ini", kA4Pixels);
  editor.newDesign();
  for (std::size_t i = 0; i < kEditorFieldCount; ++i)
    if (F(i) != F::Edit17) {
      EXPECT_EQ(editor.text(F(i)), "") << editorFieldName(F(i));
    }
  EXPECT_EQ(editor.text(F::Edit17), "350");
  EXPECT_EQ(editor.editedFramePath(), "");
}

TEST(EditorState, SaveRemembersTheFile) {
  FrameEditorState editor;
  editor.newDesign();
  editor.saved("/frames/school.ini");
  EXPECT_EQ(editor.editedFramePath(), "/frames/school.ini");
  editor.loadFinished();  // a rejected load keeps the file
  EXPECT_EQ(editor.editedFramePath(), "/frames/school.ini");
}

void typeMillimetres(FrameEditorState& editor, const MeasureTexts& mm) {
  for (std::size_t i = 0; i < kMeasureCount; ++i) editor.setText(millimetreField(M(i)), mm[i]);
}

TEST(EditorState, ConversionAsksThenWritesThePixels) {
  const MeasureTexts a4mm = {"210", "297", "10",  "30",  "10",  "190", "247",
                             "20",  "105", "280", "150", "290", "",    ""};
  const MeasureTexts a4px = {"2480", "3508", "118",  "354",  "118",  "2244", "2918",
                             "236",  "1240", "3307", "1772", "3425", "0",    "0"};
  FrameEditorState editor;
  typeMillimetres(editor, a4mm);
  editor.shown();
  test::ScriptedHost host;

  host.answer(Answer::No);
  EXPECT_FALSE(editor.convertMillimetresToPixels(host, "Kovanta"));
  EXPECT_EQ(editor.pixelTexts(), MeasureTexts{});
  EXPECT_EQ(flagsOf(editor), (Flags{false, false, false}));

  host.answer(Answer::Yes);
  EXPECT_TRUE(editor.convertMillimetresToPixels(host, "Kovanta"));
  EXPECT_EQ(editor.pixelTexts(), a4px);
  EXPECT_EQ(editor.millimetreTexts(), a4mm);
  EXPECT_EQ(flagsOf(editor), (Flags{true, true, false}));

  ASSERT_EQ(host.messages.size(), 2u);
  for (const test::RecordedMessage& m : host.messages) {
    EXPECT_EQ(
        m.text,
        "ピクセル寸法欄のデータが全て上書きされます。\nｍｍからピクセルへ計算して宜しいですか？");
    EXPECT_EQ(m.caption, "Kovanta");
    EXPECT_EQ(m.buttons, Buttons::YesNo);
  }

  // Again: it asks again, the values come out the same and, since no text
  // really changes, nothing counts as modified.
  editor.shown();
  host.answer(Answer::Yes);
  EXPECT_TRUE(editor.convertMillimetresToPixels(host, "Kovanta"));
  EXPECT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(editor.pixelTexts(), a4px);
  EXPECT_EQ(flagsOf(editor), (Flags{false, false, false}));
  EXPECT_TRUE(host.allAnswersUsed());
}

TEST(EditorState, PositionOnlyConversionMarksNoGeometry) {
  FrameEditorState editor;
  MeasureTexts mm;
  mm.fill("0");
  typeMillimetres(editor, mm);
  test::ScriptedHost host;
  host.answer(Answer::Yes);
  editor.convertMillimetresToPixels(host, "");
  editor.saved("/frames/zero.ini");  // geometryModified stays set through a save
  ASSERT_EQ(flagsOf(editor), (Flags{false, true, true}));
  editor.shown();

  editor.setText(F::Edit19, "10");
  host.answer(Answer::Yes);
  editor.convertMillimetresToPixels(host, "");
  EXPECT_EQ(editor.text(F::Edit21), "118");
  EXPECT_EQ(flagsOf(editor), (Flags{true, false, false}));
}

TEST(EditorState, LoadedMillimetresDoNotConvertBack) {
  MeasureValues pixels{};
  pixels[index(M::FrameWidth)] = 3543;
  pixels[index(M::WindowWidth)] = 3543;
  FrameEditorState editor;
  editor.loadAccepted("/frames/wide.ini", pixels);
  EXPECT_EQ(editor.text(F::Edit1), "299");
  test::ScriptedHost host;
  host.answer(Answer::Yes);
  editor.convertMillimetresToPixels(host, "");
  EXPECT_EQ(editor.text(F::Edit2), "3531");
  EXPECT_EQ(editor.text(F::Edit12), "3531");
}

TEST(EditorState, CaptionPositionWritesItsFourFields) {
  FrameEditorState editor;
  editor.setCaptionPosition(CaptionKind::Title, 1240, 100);
  EXPECT_EQ(editor.text(F::Edit19), "104");
  EXPECT_EQ(editor.text(F::Edit21), "1240");
  EXPECT_EQ(editor.text(F::Edit20), "8");
  EXPECT_EQ(editor.text(F::Edit23), "100");
  editor.setCaptionPosition(CaptionKind::Date, 12, 2480);
  EXPECT_EQ(editor.text(F::Edit24), "1");
  EXPECT_EQ(editor.text(F::Edit25), "12");
  EXPECT_EQ(editor.text(F::Edit27), "209");
  EXPECT_EQ(editor.text(F::Edit26), "2480");
  editor.setCaptionPosition(CaptionKind::Other, 0, 11);
  EXPECT_EQ(editor.text(F::Edit28), "0");
  EXPECT_EQ(editor.text(F::Edit30), "0");
  EXPECT_EQ(editor.text(F::Edit29), "0");
  EXPECT_EQ(editor.text(F::Edit31), "11");
  EXPECT_EQ(flagsOf(editor), (Flags{true, false, false}));
}

TEST(EditorState, DiagramSizesComeFromThePixelFields) {
  FrameEditorState editor;
  const FrameDiagramSizes none = frameDiagramSizes(editor);
  EXPECT_EQ(none.frameWidth, 0);
  EXPECT_EQ(none.photoHeight, 0);
  editor.loadAccepted("/frames/a4.ini", kA4Pixels);
  const FrameDiagramSizes s = frameDiagramSizes(editor);
  EXPECT_EQ(s.frameWidth, 2480);
  EXPECT_EQ(s.frameHeight, 3508);
  EXPECT_EQ(s.leftMargin, 118);
  EXPECT_EQ(s.topMargin, 236);
  EXPECT_EQ(s.photoWidth, 2244);
  EXPECT_EQ(s.photoHeight, 2918);
}

}  // namespace
}  // namespace kov
