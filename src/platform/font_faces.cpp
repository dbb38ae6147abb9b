#include "platform/font_faces.h"

#include <array>
#include <fontconfig/fontconfig.h>
#include <map>
#include <mutex>
#include <tuple>
#include <utility>

namespace kov {

namespace {

struct Alias {
  std::string_view windowsName;
  std::string_view family;
};

// The Japanese Windows faces that frame designs name, by their Japanese and English names.
constexpr std::array kAliases{
    Alias{"ＭＳ Ｐゴシック", "IPAPGothic"}, Alias{"MS PGothic", "IPAPGothic"},
    Alias{"ＭＳ ゴシック", "IPAGothic"},    Alias{"MS Gothic", "IPAGothic"},
    Alias{"ＭＳ Ｐ明朝", "IPAPMincho"},     Alias{"MS PMincho", "IPAPMincho"},
    Alias{"ＭＳ 明朝", "IPAMincho"},        Alias{"MS Mincho", "IPAMincho"},
};

// Windows compares face names without regard to ASCII case.
bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

const FcChar8* fcText(const std::string& s) { return reinterpret_cast<const FcChar8*>(s.c_str()); }

// fontconfig is used from one thread at a time; the answers are kept for the whole run. Our
// own configuration leaves fontconfig's global one to whoever else uses it (the widgets).
struct Lookups {
  ~Lookups() {
    if (config) FcConfigDestroy(config);
  }
  std::mutex mutex;
  FcConfig* config = nullptr;
  std::map<std::tuple<std::string, bool, bool>, FaceChoice> faces;
  std::map<std::pair<bool, bool>, FaceFile> fallbacks;
  std::map<char32_t, FaceFile> covering;
};

Lookups& lookups() {
  static Lookups l;
  return l;
}

FcConfig* config(Lookups& l) {
  if (!l.config) l.config = FcInitLoadConfigAndFonts();
  return l.config;
}

class Pattern {
 public:
  Pattern() : m_p(FcPatternCreate()) {}
  explicit Pattern(FcPattern* p) : m_p(p) {}
  ~Pattern() {
    if (m_p) FcPatternDestroy(m_p);
  }
  Pattern(const Pattern&) = delete;
  Pattern& operator=(const Pattern&) = delete;
  FcPattern* get() const { return m_p; }

 private:
  FcPattern* m_p;
};

void addStyle(FcPattern* p, bool bold, bool italic) {
  FcPatternAddInteger(p, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(p, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(p, FC_SCALABLE, FcTrue);
}

FaceFile fileOf(const FcPattern* font) {
  FaceFile file;
  FcChar8* path = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &path) != FcResultMatch || path == nullptr) return file;
  int index = 0;
  if (FcPatternGetInteger(font, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
  file.path = reinterpret_cast<const char*>(path);
  file.index = index;
  return file;
}

bool hasFamily(const FcPattern* font, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (name && FcStrCmpIgnoreCase(name, fcText(family)) == 0) return true;
  return false;
}

bool isScalable(const FcPattern* font) {
  FcBool scalable = FcFalse;
  return FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable;
}

// The best match for a prepared pattern, or nothing.
Pattern match(FcConfig* config, Pattern& pattern) {
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  return Pattern(FcFontMatch(config, pattern.get(), &result));
}

FaceFile findFallback(FcConfig* config, bool bold, bool italic) {
  Pattern pattern;
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
  FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  addStyle(pattern.get(), bold, italic);
  Pattern font = match(config, pattern);
  if (!font.get()) return {};
  return fileOf(font.get());
}

FaceFile fallbackLocked(Lookups& l, bool bold, bool italic) {
  const auto key = std::make_pair(bold, italic);
  auto it = l.fallbacks.find(key);
  if (it == l.fallbacks.end())
    it = l.fallbacks.emplace(key, findFallback(config(l), bold, italic)).first;
  return it->second;
}

FaceChoice findFace(Lookups& l, const std::string& faceName, bool bold, bool italic) {
  std::string family(aliasedFamily(faceName));
  if (family.empty()) family = faceName;
  if (!family.empty()) {
    Pattern pattern;
    FcPatternAddString(pattern.get(), FC_FAMILY, fcText(family));
    addStyle(pattern.get(), bold, italic);
    Pattern font = match(config(l), pattern);
    // fontconfig always answers with something; only the family asked for counts as found.
    if (font.get() && hasFamily(font.get(), family) && isScalable(font.get())) {
      FaceChoice choice{fileOf(font.get()), false};
      if (!choice.file.path.empty()) return choice;
    }
  }
  return FaceChoice{fallbackLocked(l, bold, italic), true};
}

FaceFile findCovering(FcConfig* config, char32_t character) {
  Pattern pattern;
  FcCharSet* wanted = FcCharSetCreate();
  FcCharSetAddChar(wanted, character);
  FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted);
  FcCharSetDestroy(wanted);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  FcFontSet* set = FcFontSort(config, pattern.get(), FcFalse, nullptr, &result);
  FaceFile found;
  if (set) {
    for (int i = 0; i < set->nfont && found.path.empty(); ++i) {
      FcCharSet* charset = nullptr;
      if (FcPatternGetCharSet(set->fonts[i], FC_CHARSET, 0, &charset) == FcResultMatch &&
          FcCharSetHasChar(charset, character) && isScalable(set->fonts[i]))
        found = fileOf(set->fonts[i]);
    }
    FcFontSetDestroy(set);
  }
  return found;
}

}  // namespace

std::string_view aliasedFamily(std::string_view faceName) {
  for (const Alias& a : kAliases)
    if (sameName(a.windowsName, faceName)) return a.family;
  return {};
}

FaceChoice chooseFace(std::string_view faceName, bool bold, bool italic) {
  Lookups& l = lookups();
  std::lock_guard lock(l.mutex);
  auto key = std::make_tuple(std::string(faceName), bold, italic);
  auto it = l.faces.find(key);
  if (it == l.faces.end()) {
    FaceChoice choice = findFace(l, std::get<0>(key), bold, italic);
    it = l.faces.emplace(std::move(key), std::move(choice)).first;
  }
  return it->second;
}

FaceFile japaneseFallbackFace(bool bold, bool italic) {
  Lookups& l = lookups();
  std::lock_guard lock(l.mutex);
  return fallbackLocked(l, bold, italic);
}

FaceFile faceCoveringCharacter(char32_t character) {
  Lookups& l = lookups();
  std::lock_guard lock(l.mutex);
  auto it = l.covering.find(character);
  if (it == l.covering.end())
    it = l.covering.emplace(character, findCovering(config(l), character)).first;
  return it->second;
}

}  // namespace kov
