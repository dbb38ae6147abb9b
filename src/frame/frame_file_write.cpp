#include "app/font_size.h"
#include "frame/frame_file.h"
#include "frame/frame_image_path.h"
#include "platform/file_util.h"
#include "platform/integer_text.h"
#include "platform/profile.h"

namespace kov {

std::string styleLetters(const FontStyle& style) {
  std::string letters;
  if (style.bold) letters += 'B';
  if (style.italic) letters += 'I';
  if (style.underline) letters += 'U';
  if (style.strikeOut) letters += 'S';
  return letters;
}

bool writeFrameFile(const std::string& path, const FrameFileContents& c) {
  Profile file;
  if (fileExists(path)) {
    std::optional<Profile> existing = Profile::load(path);
    if (!existing) return false;  // never replace what we could not read
    file = std::move(*existing);
  }
  static constexpr const char* kSizeKeys[8] = {"Framewidth",  "Frameheight", "Photowidth",
                                               "Photoheight", "Leftwidth",   "Rightwidth",
                                               "Topheight",   "Bottomheight"};
  file.write("Frame", "PhotoFile", baseName(path) + ".bmp");
  for (int i = 0; i < 8; ++i) file.write("Frame", kSizeKeys[i], c.sizeTexts[std::size_t(i)]);
  const int frameWidth = parseInteger(c.sizeTexts[0]).value_or(0);
  file.writeInteger("Frame", "FontPositionX", c.titleX);
  file.writeInteger("Frame", "FontPositionY", c.titleY);
  file.writeInteger("Frame", "DatePositionX", c.dateX);
  file.writeInteger("Frame", "DatePositionY", c.dateY);
  file.writeInteger("Frame", "OtherPositionX", c.otherX.value_or(frameWidth / 4));
  file.writeInteger("Frame", "OtherPositionY", c.otherY.value_or(c.titleY));

  static constexpr const char* kSections[3] = {"Title", "Date", "Other"};
  for (int i = 0; i < 3; ++i) {
    const CaptionItem& item = c.captions[std::size_t(i)];
    const char* section = kSections[i];
    file.writeInteger(section, "Charset", item.font.charset);
    file.write(section, "Name", item.font.name);
    file.writeInteger(section, "Size", fontSizeFromHeight(item.font.height));
    file.write(section, "Style", styleLetters(item.font.style));
    file.writeInteger(section, "Color", int(item.font.colour));
    file.write(section, "Text", item.text);
    // The Date's flag is the one Date and Other share; Other never writes its own.
    if (i < 2) file.writeInteger(section, "Vrt", item.vertical ? 1 : 0);
    file.writeInteger(section, "Angle", item.angle);
  }
  file.writeInteger("Config", "Bar5", c.lineSpacing);
  file.writeInteger("Frame", "ReferencePosition", int(c.referencePosition));
  return file.save(path);
}

}  // namespace kov
