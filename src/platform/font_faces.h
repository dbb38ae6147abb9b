#pragma once
// Which font file a face name stands for. The Windows faces that frame designs name are not
// on Linux: a fixed table maps them onto the IPA faces, and a face that is not installed falls
// back to one that covers Japanese. Lookups go through fontconfig once and are remembered;
// every function may be called from several threads at once.

#include <string>
#include <string_view>

namespace kov {

struct FaceFile {
  std::string path;  // empty: nothing found
  int index = 0;     // the face within a font collection
  bool operator==(const FaceFile&) const = default;
};

// The installed family that stands in for a Windows face name, or empty when there is none.
std::string_view aliasedFamily(std::string_view faceName);

struct FaceChoice {
  FaceFile file;
  bool substituted = false;  // the face is not installed: the Japanese fallback stands in
};

// The face of that name (aliases applied), in the requested weight and slant when it has them.
FaceChoice chooseFace(std::string_view faceName, bool bold, bool italic);
// A face that covers Japanese: it stands in for missing faces and supplies missing glyphs.
FaceFile japaneseFallbackFace(bool bold, bool italic);
// The first face, in fontconfig's order of preference, with a glyph for the character.
FaceFile faceCoveringCharacter(char32_t character);

}  // namespace kov
