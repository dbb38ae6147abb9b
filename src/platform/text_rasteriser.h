#pragma once
// Text on a WorkImage the way the Windows GDI drew it for this program: logical fonts with an
// average character width and an escapement, DrawTextA measuring and drawing, TextOut with
// its alignment. Glyphs are hard-edged (no antialiasing), so that every pixel of a glyph is
// exactly the text colour; the background is left alone.
//
// FreeType state is kept per thread (each thread has its own library and opened faces), so
// fonts may be used from several threads at once.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/work_image.h"

namespace kov {

// Face names hold at most 31 bytes of their CP932 form.
inline constexpr int kMaxFaceNameBytes = 31;
// Longer names are cut at the last character that fits (UTF-8 in and out).
std::string cutFaceName(std::string_view faceName);

// Font sizes beyond this many pixels are drawn at this size.
inline constexpr int kMaxFontPixels = 9600;

// The fields of a LOGFONT that matter here.
struct LogicalFont {
  std::string faceName;
  int height = 0;      // < 0: character (em) height in pixels; > 0: cell height; 0: default
  int width = 0;       // average character width in pixels (sign ignored); 0: the face's own
  int escapement = 0;  // tenths of a degree, counter-clockwise
  int weight = 400;    // 600 (semibold) and above is bold
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::uint8_t charset = 1;
};

// DrawText format flags and SetTextAlign values, as the Windows API numbers them.
inline constexpr unsigned kDtCenter = 0x0001;
inline constexpr unsigned kDtVCenter = 0x0004;
inline constexpr unsigned kDtSingleLine = 0x0020;
inline constexpr unsigned kDtNoClip = 0x0100;
inline constexpr int kTaLeftTop = 0;
inline constexpr int kTaCenterTop = 6;

// A rectangle as GDI's RECT: right and bottom are not part of it.
struct TextRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const TextRect&) const = default;
};

struct TextSize {
  int width = 0;
  int height = 0;
  bool operator==(const TextSize&) const = default;
};

// The pixels some text covers, as runs of row y from x0 up to (not including) x1.
struct InkRun {
  int y = 0;
  int x0 = 0;
  int x1 = 0;
};

class TextInk {
 public:
  const std::vector<InkRun>& runs() const { return m_runs; }
  bool empty() const { return m_runs.empty(); }
  TextRect bounds() const { return m_bounds; }  // of all runs; empty when there are none
  void add(InkRun run);
  void add(const TextInk& other);

 private:
  std::vector<InkRun> m_runs;
  TextRect m_bounds;
};

// A logical font with its face found: what CreateFontIndirect and SelectObject gave.
class Font {
 public:
  explicit Font(LogicalFont logical);

  const LogicalFont& logical() const { return m_logical; }
  bool usable() const { return m_usable; }            // false when no face at all could be opened
  bool substituted() const { return m_substituted; }  // the face asked for is not installed
  const std::string& facePath() const { return m_primaryPath; }
  int ascent() const { return m_ascent; }
  int descent() const { return m_descent; }

  // DrawTextA with DT_CALCRECT on one line: width = sum of the advances, height = ascent +
  // descent, whatever the escapement. An empty text is 0 wide and one line high.
  TextSize measure(std::string_view text) const;

  // TextOut: the line's pixels, turned by the escapement about the reference point (x, y),
  // which is its top-left corner (kTaLeftTop) or the midpoint of its top edge
  // (kTaCenterTop). Only pixels inside `clip` are kept.
  TextInk textOut(int x, int y, std::string_view text, int align, const TextRect& clip) const;

  // DrawTextA with DT_NOCLIP | DT_SINGLELINE: the line starts at the rectangle's left and top,
  // or is centred in it with DT_CENTER and DT_VCENTER; then drawn as textOut() with `align`.
  TextInk drawText(const TextRect& rect, std::string_view text, unsigned format, int align,
                   const TextRect& clip) const;

 private:
  LogicalFont m_logical;
  bool m_usable = false;
  bool m_substituted = false;
  std::string m_primaryPath;
  int m_primaryIndex = 0;
  std::string m_fallbackPath;
  int m_fallbackIndex = 0;
  long m_xSize = 0;  // nominal width and height in 1/64 pixels
  long m_ySize = 0;
  int m_ascent = 0;
  int m_descent = 0;
  int m_boldStrength = 0;  // extra stroke width in pixels when bold is made up
  int m_underlineTop = 0;  // pixels below the baseline
  int m_underlineThickness = 0;
  int m_strikeTop = 0;  // pixels above the baseline
  int m_strikeThickness = 0;

  friend struct FontAccess;
};

// Sets every pixel of the ink that lies in the picture to the colour.
void paintInk(WorkImage& image, const TextInk& ink, Colour colour);

}  // namespace kov
