#include "platform/text_rasteriser.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <numbers>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "platform/cp932.h"
#include "platform/font_faces.h"

namespace kov {

namespace {

// Hinted for black-and-white output, outlines only (embedded bitmaps cannot be turned).
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP;
// The slant of made-up italics: x grows by about a fifth of y (12 degrees).
constexpr FT_Fixed kItalicShear = 0x0366A;
// GDI picks some default size for height 0; a plain 16-pixel character height stands in.
constexpr int kDefaultEmPixels = 16;
constexpr int kBoldWeight = 600;

constexpr char32_t kReplacement = 0xFFFD;

std::size_t utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// The characters of a UTF-8 text; a byte that starts no valid sequence reads as U+FFFD.
// `sizes` gets the byte length of each character when given.
std::vector<char32_t> decodeUtf8(std::string_view s, std::vector<std::size_t>* sizes = nullptr) {
  std::vector<char32_t> out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t n = utf8Length(lead);
    char32_t c = kReplacement;
    if (n == 1) {
      c = lead;
    } else if (n > 1 && i + n <= s.size()) {
      char32_t v = lead & (0x7F >> n);
      bool ok = true;
      for (std::size_t k = 1; k < n && ok; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        ok = (b & 0xC0) == 0x80;
        v = (v << 6) | (b & 0x3F);
      }
      const char32_t minimum = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
      if (ok && v >= minimum && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF))
        c = v;
      else
        n = 1;
    } else {
      n = 1;
    }
    out.push_back(c);
    if (sizes) sizes->push_back(n);
    i += n;
  }
  return out;
}

long floorPixel(FT_Pos v) { return static_cast<long>(v >= 0 ? v / 64 : -((-v + 63) / 64)); }
long ceilPixel(FT_Pos v) { return -floorPixel(-v); }
int roundScaled(long fontUnits, long ppem64, long unitsPerEm) {
  // fontUnits * ppem / unitsPerEm, rounded half away from zero; ppem in 1/64 pixels
  const long long num = static_cast<long long>(fontUnits) * ppem64;
  const long long den = static_cast<long long>(unitsPerEm) * 64;
  const long long q = (std::llabs(num) + den / 2) / den;
  return static_cast<int>(num < 0 ? -q : q);
}

struct OpenFace {
  FT_Face face = nullptr;
  FT_F26Dot6 xSize = -1;
  FT_F26Dot6 ySize = -1;
  bool symbolMap = false;  // symbol fonts keep their glyphs at U+F020..U+F0FF
};

// Newer FreeType versions changed these element types.
using Contour = std::remove_pointer_t<decltype(FT_Outline::contours)>;
using Tag = std::remove_pointer_t<decltype(FT_Outline::tags)>;

// A glyph loaded, hinted and made bold or slanted as asked, in pixels (1/64) about its origin.
struct CachedGlyph {
  int advance = 0;  // whole pixels, made-up bold included
  std::vector<FT_Vector> points;
  std::vector<Tag> tags;
  std::vector<Contour> contours;
  int outlineFlags = 0;
  // Its pixels with the origin at (0, 0), filled on first upright use.
  bool uprightReady = false;
  std::vector<InkRun> upright;
};

struct GlyphKey {
  FT_Face face;
  FT_UInt index;
  FT_F26Dot6 xSize;
  FT_F26Dot6 ySize;
  bool bold;
  bool italic;
  bool operator==(const GlyphKey&) const = default;
};

struct GlyphKeyHash {
  std::size_t operator()(const GlyphKey& k) const {
    std::size_t h = std::hash<const void*>()(k.face);
    for (std::size_t v : {std::size_t(k.index), std::size_t(k.xSize), std::size_t(k.ySize),
                          std::size_t(k.bold) * 2 + std::size_t(k.italic)})
      h = h * 1000003u ^ v;
    return h;
  }
};

// Enough for the captions of a whole run; beyond it the cache starts afresh.
constexpr std::size_t kMaxCachedGlyphs = 1024;

// One thread's FreeType: its library, the faces it has opened and the glyphs it has loaded,
// kept until the thread ends. FreeType objects must not be shared between threads, so each
// thread has its own.
class ThreadFaces {
 public:
  ThreadFaces() {
    if (FT_Init_FreeType(&m_library) != 0) m_library = nullptr;
  }
  ~ThreadFaces() {
    for (auto& entry : m_faces)
      if (entry.second.face) FT_Done_Face(entry.second.face);
    if (m_library) FT_Done_FreeType(m_library);
  }
  ThreadFaces(const ThreadFaces&) = delete;
  ThreadFaces& operator=(const ThreadFaces&) = delete;

  FT_Library library() const { return m_library; }

  OpenFace* open(const std::string& path, int index) {
    if (!m_library || path.empty()) return nullptr;
    auto key = std::make_pair(path, index);
    auto it = m_faces.find(key);
    if (it == m_faces.end()) {
      OpenFace entry;
      if (FT_New_Face(m_library, path.c_str(), index, &entry.face) != 0) {
        entry.face = nullptr;
      } else if (!FT_IS_SCALABLE(entry.face)) {
        FT_Done_Face(entry.face);
        entry.face = nullptr;
      } else if (!entry.face->charmap) {
        entry.symbolMap = FT_Select_Charmap(entry.face, FT_ENCODING_MS_SYMBOL) == 0;
      }
      it = m_faces.emplace(std::move(key), entry).first;
    }
    return it->second.face ? &it->second : nullptr;
  }

  // The face at the nominal size (1/64 pixels), or nullptr.
  OpenFace* sized(const std::string& path, int index, FT_F26Dot6 xSize, FT_F26Dot6 ySize) {
    OpenFace* f = open(path, index);
    if (!f) return nullptr;
    if (f->xSize != xSize || f->ySize != ySize) {
      FT_Size_RequestRec request{};
      request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
      request.width = xSize;
      request.height = ySize;
      if (FT_Request_Size(f->face, &request) != 0) return nullptr;
      f->xSize = xSize;
      f->ySize = ySize;
    }
    return f;
  }

  // Cached glyphs stay where they are until the next startLine().
  void startLine() {
    if (m_glyphs.size() > kMaxCachedGlyphs) m_glyphs.clear();
  }
  CachedGlyph* findGlyph(const GlyphKey& key) {
    auto it = m_glyphs.find(key);
    return it == m_glyphs.end() ? nullptr : &it->second;
  }
  CachedGlyph& addGlyph(const GlyphKey& key) { return m_glyphs[key]; }

  std::vector<unsigned char>& bitmapBuffer() { return m_buffer; }
  std::vector<FT_Vector>& pointBuffer() { return m_points; }

 private:
  FT_Library m_library = nullptr;
  std::map<std::pair<std::string, int>, OpenFace> m_faces;
  std::unordered_map<GlyphKey, CachedGlyph, GlyphKeyHash> m_glyphs;
  std::vector<unsigned char> m_buffer;
  std::vector<FT_Vector> m_points;
};

ThreadFaces& threadFaces() {
  thread_local ThreadFaces faces;
  return faces;
}

FT_UInt glyphIndex(const OpenFace& f, char32_t c) {
  if (f.symbolMap) return c < 0x100 ? FT_Get_Char_Index(f.face, 0xF000 + c) : 0;
  return FT_Get_Char_Index(f.face, c);
}

void addClipped(TextInk& ink, InkRun run, const TextRect& clip) {
  if (run.y < clip.top || run.y >= clip.bottom) return;
  run.x0 = std::max(run.x0, clip.left);
  run.x1 = std::min(run.x1, clip.right);
  ink.add(run);
}

// The pixels of an outline in device space (FreeType's y up: device row r is y from -r - 1 to
// -r), a pixel wherever its centre is inside; only what lies in `clip` is kept. The whole
// outline is always filled, so that a glyph comes out the same wherever it is cut off.
void fillOutline(ThreadFaces& tf, FT_Outline& outline, const TextRect& clip, TextInk& ink) {
  FT_BBox box;
  FT_Outline_Get_CBox(&outline, &box);
  const long left = floorPixel(box.xMin);
  const long right = ceilPixel(box.xMax);
  const long top = -ceilPixel(box.yMax);
  const long bottom = -floorPixel(box.yMin);
  if (right <= left || bottom <= top || right <= clip.left || left >= clip.right ||
      bottom <= clip.top || top >= clip.bottom)
    return;
  const unsigned width = static_cast<unsigned>(right - left);
  const unsigned rows = static_cast<unsigned>(bottom - top);
  const unsigned pitch = (width + 7) / 8;
  std::vector<unsigned char>& buffer = tf.bitmapBuffer();
  buffer.assign(std::size_t(rows) * pitch, 0);
  // The bitmap's lower left corner is the outline's origin.
  FT_Outline_Translate(&outline, -left * 64, bottom * 64);
  FT_Bitmap bm{};
  bm.rows = rows;
  bm.width = width;
  bm.pitch = static_cast<int>(pitch);
  bm.buffer = buffer.data();
  bm.num_grays = 2;
  bm.pixel_mode = FT_PIXEL_MODE_MONO;
  if (FT_Outline_Get_Bitmap(tf.library(), &outline, &bm) != 0) return;
  for (unsigned r = 0; r < rows; ++r) {
    const unsigned char* row = buffer.data() + std::size_t(r) * pitch;
    const int y = static_cast<int>(top) + static_cast<int>(r);
    if (y < clip.top || y >= clip.bottom) continue;
    int x = 0;
    const int w = static_cast<int>(width);
    while (x < w) {
      if ((x & 7) == 0 && row[x >> 3] == 0) {
        x += 8;
        continue;
      }
      if (!(row[x >> 3] & (0x80 >> (x & 7)))) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < w && (row[x >> 3] & (0x80 >> (x & 7)))) ++x;
      addClipped(ink, InkRun{y, static_cast<int>(left) + start, static_cast<int>(left) + x}, clip);
    }
  }
}

// An outline over the cached glyph's points, copied so that they can be moved.
FT_Outline scratchOutline(ThreadFaces& tf, CachedGlyph& g) {
  std::vector<FT_Vector>& points = tf.pointBuffer();
  points.assign(g.points.begin(), g.points.end());
  FT_Outline o{};
  o.n_points = static_cast<decltype(o.n_points)>(points.size());
  o.n_contours = static_cast<decltype(o.n_contours)>(g.contours.size());
  o.points = points.data();
  o.tags = g.tags.data();
  o.contours = g.contours.data();
  o.flags = g.outlineFlags;
  return o;
}

// Text space: x along the baseline from the reference point, y up, the line's top edge at 0.
struct Placement {
  FT_Matrix turn;  // the escapement
  FT_Pos originX;  // the reference point in device space, 1/64 pixels, y up
  FT_Pos originY;
};

void place(FT_Outline& outline, const Placement& p) {
  FT_Outline_Transform(&outline, &p.turn);
  FT_Outline_Translate(&outline, p.originX, p.originY);
}

// A band along the line (underline, strike-out) from text-space x0 to x1, its top edge at
// height `top`, reaching `thickness` pixels down.
void fillBand(ThreadFaces& tf, const Placement& p, int x0, int x1, int top, int thickness,
              const TextRect& clip, TextInk& ink) {
  if (x1 <= x0 || thickness <= 0) return;
  FT_Vector points[4] = {{FT_Pos(x0) * 64, FT_Pos(top) * 64},
                         {FT_Pos(x0) * 64, FT_Pos(top - thickness) * 64},
                         {FT_Pos(x1) * 64, FT_Pos(top - thickness) * 64},
                         {FT_Pos(x1) * 64, FT_Pos(top) * 64}};
  Tag tags[4] = {FT_CURVE_TAG_ON, FT_CURVE_TAG_ON, FT_CURVE_TAG_ON, FT_CURVE_TAG_ON};
  Contour contours[1] = {3};
  FT_Outline outline{};
  outline.n_contours = 1;
  outline.n_points = 4;
  outline.points = points;
  outline.tags = tags;
  outline.contours = contours;
  place(outline, p);
  fillOutline(tf, outline, clip, ink);
}

}  // namespace

// The parts of Font that need FreeType.
struct FontAccess {
  struct Glyph {
    CachedGlyph* glyph;
    int pen;  // pixels from the start of the line
  };
  struct Line {
    std::vector<Glyph> glyphs;
    int width = 0;
  };

  // The face that has the character: the font's own, the Japanese fallback, or any installed
  // face that covers it. Failing all, the font's own missing-glyph shape.
  static std::pair<OpenFace*, FT_UInt> findGlyph(const Font& font, ThreadFaces& tf, OpenFace* own,
                                                 char32_t c) {
    if (own) {
      if (FT_UInt g = glyphIndex(*own, c)) return {own, g};
    }
    if (OpenFace* f =
            tf.sized(font.m_fallbackPath, font.m_fallbackIndex, font.m_xSize, font.m_ySize)) {
      if (FT_UInt g = glyphIndex(*f, c)) return {f, g};
    }
    const FaceFile covering = faceCoveringCharacter(c);
    if (OpenFace* f = tf.sized(covering.path, covering.index, font.m_xSize, font.m_ySize)) {
      if (FT_UInt g = glyphIndex(*f, c)) return {f, g};
    }
    return {own, 0};
  }

  static CachedGlyph* load(const Font& font, ThreadFaces& tf, OpenFace& face, FT_UInt index) {
    const bool bold =
        font.m_logical.weight >= kBoldWeight && !(face.face->style_flags & FT_STYLE_FLAG_BOLD);
    const bool italic = font.m_logical.italic && !(face.face->style_flags & FT_STYLE_FLAG_ITALIC);
    const GlyphKey key{face.face, index, font.m_xSize, font.m_ySize, bold, italic};
    if (CachedGlyph* cached = tf.findGlyph(key)) return cached;
    // Each face keeps its own size, so the one findGlyph() set still holds.
    if (FT_Load_Glyph(face.face, index, kLoadFlags) != 0) return nullptr;
    FT_GlyphSlot slot = face.face->glyph;
    CachedGlyph& g = tf.addGlyph(key);
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (bold) g.advance += font.m_boldStrength;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE || slot->outline.n_points <= 0) return &g;
    FT_Outline& o = slot->outline;
    if (italic) {
      const FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
      FT_Outline_Transform(&o, &shear);
    }
    if (bold) {
      // Thicker strokes, grown to the right and upwards: the left side and the bottom stay
      // where they were, and the advance grows by the same amount.
      const FT_Pos strength = FT_Pos(font.m_boldStrength) * 64;
      FT_Outline_EmboldenXY(&o, strength, strength);
    }
    g.points.assign(o.points, o.points + o.n_points);
    g.tags.assign(o.tags, o.tags + o.n_points);
    g.contours.assign(o.contours, o.contours + o.n_contours);
    g.outlineFlags = o.flags;
    return &g;
  }

  static Line shape(const Font& font, std::string_view text) {
    Line line;
    ThreadFaces& tf = threadFaces();
    tf.startLine();
    OpenFace* own = tf.sized(font.m_primaryPath, font.m_primaryIndex, font.m_xSize, font.m_ySize);
    for (char32_t c : decodeUtf8(text)) {
      auto [face, index] = findGlyph(font, tf, own, c);
      if (!face) continue;
      CachedGlyph* g = load(font, tf, *face, index);
      if (!g) continue;
      line.glyphs.push_back(Glyph{g, line.width});
      line.width += g->advance;
    }
    return line;
  }

  static TextInk render(const Font& font, const Line& line, int x, int y, int align,
                        const TextRect& clip) {
    TextInk ink;
    if (clip.empty()) return ink;
    ThreadFaces& tf = threadFaces();
    int startX = 0;
    if ((align & 6) == 6)
      startX = -(line.width / 2);
    else if (align & 2)
      startX = -line.width;
    int baseline = -font.m_ascent;  // y of the baseline in text space
    if ((align & 24) == 24)
      baseline = 0;
    else if (align & 8)
      baseline = font.m_descent;
    const int turn = font.m_logical.escapement % 3600;
    const double angle = turn * std::numbers::pi / 1800.0;
    const auto fixed = [](double v) { return static_cast<FT_Fixed>(std::lround(v * 65536.0)); };
    const FT_Fixed c = fixed(std::cos(angle)), s = fixed(std::sin(angle));
    const Placement p{{c, -s, s, c}, FT_Pos(x) * 64, -FT_Pos(y) * 64};
    for (const Glyph& g : line.glyphs) {
      if (g.glyph->points.empty()) continue;
      if (turn == 0) {
        // Upright glyphs sit on whole pixels: their pixels are filled once and moved.
        CachedGlyph& cached = *g.glyph;
        if (!cached.uprightReady) {
          FT_Outline o = scratchOutline(tf, cached);
          TextInk own;
          fillOutline(tf, o, TextRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, own);
          cached.upright = own.runs();
          cached.uprightReady = true;
        }
        const int ox = x + startX + g.pen, oy = y - baseline;
        for (const InkRun& r : cached.upright)
          addClipped(ink, InkRun{r.y + oy, r.x0 + ox, r.x1 + ox}, clip);
        continue;
      }
      FT_Outline o = scratchOutline(tf, *g.glyph);
      FT_Outline_Translate(&o, FT_Pos(startX + g.pen) * 64, FT_Pos(baseline) * 64);
      place(o, p);
      fillOutline(tf, o, clip, ink);
    }
    if (font.m_logical.underline)
      fillBand(tf, p, startX, startX + line.width, baseline - font.m_underlineTop,
               font.m_underlineThickness, clip, ink);
    if (font.m_logical.strikeOut)
      fillBand(tf, p, startX, startX + line.width, baseline + font.m_strikeTop,
               font.m_strikeThickness, clip, ink);
    return ink;
  }
};

std::string cutFaceName(std::string_view faceName) {
  // A CP932 form is never longer than the UTF-8 it comes from.
  if (faceName.size() <= std::size_t(kMaxFaceNameBytes)) return std::string(faceName);
  std::string out;
  int bytes = 0;
  std::vector<std::size_t> sizes;
  decodeUtf8(faceName, &sizes);
  std::size_t pos = 0;
  for (std::size_t n : sizes) {
    const std::string_view ch = faceName.substr(pos, n);
    const std::optional<std::string> cp932 = utf8ToCp932(ch);
    // A character CP932 cannot hold counts with its UTF-8 bytes.
    const int size = static_cast<int>(cp932 ? cp932->size() : n);
    if (bytes + size > kMaxFaceNameBytes) break;
    bytes += size;
    out.append(ch);
    pos += n;
  }
  return out;
}

void TextInk::add(InkRun run) {
  if (run.x1 <= run.x0) return;
  const TextRect r{run.x0, run.y, run.x1, run.y + 1};
  if (m_runs.empty()) {
    m_bounds = r;
  } else {
    m_bounds.left = std::min(m_bounds.left, r.left);
    m_bounds.top = std::min(m_bounds.top, r.top);
    m_bounds.right = std::max(m_bounds.right, r.right);
    m_bounds.bottom = std::max(m_bounds.bottom, r.bottom);
  }
  m_runs.push_back(run);
}

void TextInk::add(const TextInk& other) {
  for (const InkRun& r : other.m_runs) add(r);
}

Font::Font(LogicalFont logical) : m_logical(std::move(logical)) {
  m_logical.faceName = cutFaceName(m_logical.faceName);
  const bool bold = m_logical.weight >= kBoldWeight;
  const FaceChoice choice = chooseFace(m_logical.faceName, bold, m_logical.italic);
  const FaceFile fallback = japaneseFallbackFace(bold, m_logical.italic);
  m_substituted = choice.substituted;
  m_primaryPath = choice.file.path;
  m_primaryIndex = choice.file.index;
  m_fallbackPath = fallback.path;
  m_fallbackIndex = fallback.index;

  ThreadFaces& tf = threadFaces();
  OpenFace* f = tf.open(m_primaryPath, m_primaryIndex);
  if (!f) {
    m_primaryPath = m_fallbackPath;
    m_primaryIndex = m_fallbackIndex;
    m_substituted = true;
    f = tf.open(m_primaryPath, m_primaryIndex);
  }
  if (!f) return;
  FT_Face face = f->face;
  const long upem = face->units_per_EM > 0 ? face->units_per_EM : 2048;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const bool hasOs2 = os2 && os2->version != 0xFFFF;
  // The Windows ascent and descent bound every glyph; faces without them use the hhea values.
  long winAscent = hasOs2 ? os2->usWinAscent : face->ascender;
  long winDescent = hasOs2 ? os2->usWinDescent : -face->descender;
  if (winAscent + winDescent <= 0) {
    winAscent = upem * 4 / 5;
    winDescent = upem / 5;
  }

  // Character height (negative) asks for the em, cell height (positive) for ascent + descent.
  const long height = std::min<long>(std::labs(m_logical.height), kMaxFontPixels);
  if (m_logical.height > 0) {
    m_ySize = std::max<long>(
        1, (height * upem * 64 + (winAscent + winDescent) / 2) / (winAscent + winDescent));
  } else {
    m_ySize = (m_logical.height == 0 ? kDefaultEmPixels : height) * 64;
  }
  m_ascent = roundScaled(winAscent, m_ySize, upem);
  m_descent = roundScaled(winDescent, m_ySize, upem);
  if (m_logical.height > 0) m_descent = static_cast<int>(height) - m_ascent;

  // Like GDI, a requested average width stretches the glyphs horizontally until the face's
  // average character width comes out at it.
  const long width = std::min<long>(std::labs(m_logical.width), kMaxFontPixels);
  m_xSize = m_ySize;
  if (width > 0 && hasOs2 && os2->xAvgCharWidth > 0)
    m_xSize = std::max<long>(1, (width * upem * 64 + os2->xAvgCharWidth / 2) / os2->xAvgCharWidth);

  const long em = m_ySize / 64;
  m_boldStrength = static_cast<int>(std::max<long>(1, (em + 12) / 24));

  const long ulThickness = face->underline_thickness > 0 ? face->underline_thickness : upem / 20;
  m_underlineThickness = std::max(1, roundScaled(ulThickness, m_ySize, upem));
  // FreeType gives the middle of the underline; its top is half the thickness above.
  m_underlineTop = roundScaled(-face->underline_position, m_ySize, upem) - m_underlineThickness / 2;
  const long strikeSize = hasOs2 && os2->yStrikeoutSize > 0 ? os2->yStrikeoutSize : ulThickness;
  const long strikePos = hasOs2 && os2->yStrikeoutPosition > 0 ? os2->yStrikeoutPosition : upem / 4;
  m_strikeThickness = std::max(1, roundScaled(strikeSize, m_ySize, upem));
  m_strikeTop = roundScaled(strikePos, m_ySize, upem);
  m_usable = true;
}

TextSize Font::measure(std::string_view text) const {
  if (!m_usable) return {};
  return TextSize{FontAccess::shape(*this, text).width, m_ascent + m_descent};
}

TextInk Font::textOut(int x, int y, std::string_view text, int align, const TextRect& clip) const {
  if (!m_usable) return {};
  const FontAccess::Line line = FontAccess::shape(*this, text);
  return FontAccess::render(*this, line, x, y, align, clip);
}

TextInk Font::drawText(const TextRect& rect, std::string_view text, unsigned format, int align,
                       const TextRect& clip) const {
  if (!m_usable) return {};
  const FontAccess::Line line = FontAccess::shape(*this, text);
  int x = rect.left;
  int y = rect.top;
  // DrawText works out where the line starts and leaves the rest to the text alignment.
  if (format & kDtCenter) x = rect.left + (rect.right - rect.left - line.width) / 2;
  if ((format & kDtVCenter) && (format & kDtSingleLine))
    y = rect.top + (rect.bottom - rect.top - (m_ascent + m_descent)) / 2;
  TextRect area = clip;
  if (!(format & kDtNoClip)) {
    area.left = std::max(area.left, rect.left);
    area.top = std::max(area.top, rect.top);
    area.right = std::min(area.right, rect.right);
    area.bottom = std::min(area.bottom, rect.bottom);
  }
  return FontAccess::render(*this, line, x, y, align, area);
}

void paintInk(WorkImage& image, const TextInk& ink, Colour colour) {
  const std::uint8_t b = blueOf(colour), g = greenOf(colour), r = redOf(colour);
  for (const InkRun& run : ink.runs()) {
    if (run.y < 0 || run.y >= image.height()) continue;
    const int x0 = std::max(run.x0, 0), x1 = std::min(run.x1, image.width());
    std::uint8_t* p = image.row(run.y) + 3 * std::size_t(std::max(x0, 0));
    for (int x = x0; x < x1; ++x, p += 3) {
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  }
}

}  // namespace kov
