#pragma once
// The frame settings editor as a model: its measure fields (named after the
// dialog's controls), the resolution, the file last loaded or saved and the
// three change flags. The dialog only shows this model and forwards edits.

#include <cstddef>
#include <string>
#include <string_view>

#include "app/dialog_values.h"
#include "frame/editor_measures.h"
#include "frame/frame_diagram.h"

namespace kov {

class Host;

// The 28 measure fields and the resolution field Edit17.
// clang-format off
enum class EditorField {
  Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8,
  Edit9, Edit10, Edit11, Edit12, Edit13, Edit14, Edit15, Edit16,
  Edit17,
  Edit19, Edit20, Edit21, Edit23, Edit24, Edit25, Edit26, Edit27, Edit28, Edit29, Edit30, Edit31,
};
// clang-format on
inline constexpr std::size_t kEditorFieldCount = 29;

std::string_view editorFieldName(EditorField field);  // "Edit1", the control's name
EditorField millimetreField(Measure m);
EditorField pixelField(Measure m);
// Edit1 to Edit16: the frame, its margins and the window, in mm and pixels.
bool isGeometryField(EditorField field);

class FrameEditorState {
 public:
  FrameEditorState();

  const std::string& text(EditorField field) const { return m_fields[std::size_t(field)]; }
  // Typing and the program's own writes alike: a text that really changes runs
  // the field's change handler (geometry fields mark the geometry too).
  void setText(EditorField field, std::string text);

  int resolution() const { return resolutionFromText(text(EditorField::Edit17)); }
  MeasureTexts millimetreTexts() const;
  MeasureTexts pixelTexts() const;
  int pixelValue(Measure m) const { return fieldInteger(text(pixelField(m))); }

  const std::string& editedFramePath() const { return m_editedFramePath; }
  bool settingsModified() const { return m_settingsModified; }
  bool geometryModified() const { return m_geometryModified; }
  bool offerToApply() const { return m_offerToApply; }

  // An accepted load: remembers the file and fills every measure from its
  // pixels, the millimetres at the editor's resolution.
  void loadAccepted(std::string path, const MeasureValues& pixels);
  void shown();                  // after the showing's load: nothing changed yet
  void loadFinished();           // "読み込み", accepted or rejected
  void newDesign();              // "新規作成": empties the 28 measure fields
  void saved(std::string path);  // "新規保存" or "上書き保存" written
  void captionSettingChanged() { m_settingsModified = true; }
  void temporaryCaptionsApplied() { m_settingsModified = false; }
  // A caption dragged to (x, y) frame pixels: its four fields.
  void setCaptionPosition(CaptionKind caption, int x, int y);

  // The conversion button: asks first; Yes writes all fourteen pixel fields.
  bool convertMillimetresToPixels(Host& host, std::string_view windowCaption);

 private:
  std::string m_fields[kEditorFieldCount];
  std::string m_editedFramePath;
  bool m_settingsModified = false;
  bool m_geometryModified = false;
  bool m_offerToApply = false;
};

// The frame image's sizes from the pixel fields (0 where a field is empty).
FrameDiagramSizes frameDiagramSizes(const FrameEditorState& editor);

}  // namespace kov
