#include <algorithm>

#include "app/font_size.h"
#include "app/main_window_state.h"
#include "frame/frame_file.h"
#include "frame/frame_image_path.h"
#include "platform/file_util.h"
#include "platform/host.h"
#include "platform/profile.h"

namespace kov {

namespace {

constexpr const char* kCaptionSections[3] = {"Title", "Date", "Other"};
constexpr const char* kPositionKeys[3][2] = {
    {"FontPositionX", "FontPositionY"},
    {"DatePositionX", "DatePositionY"},
    {"OtherPositionX", "OtherPositionY"},
};

int readInt(const Profile& file, const char* section, const char* key, int fallback) {
  return file.readInteger(section, key, fallback, IntegerForm::DecimalOrHex);
}

}  // namespace

FontStyle styleFromLetters(std::string_view letters) {
  FontStyle style;
  style.bold = letters.find('B') != std::string_view::npos;
  style.italic = letters.find('I') != std::string_view::npos;
  style.underline = letters.find('U') != std::string_view::npos;
  style.strikeOut = letters.find('S') != std::string_view::npos;
  return style;
}

std::optional<FrameDefinition> frameFromProfile(const Profile& file, const std::string& framePath,
                                                FrameContext context) {
  FrameDefinition f;
  f.photoFile = file.readString("Frame", "PhotoFile", "");
  f.frameWidth = readInt(file, "Frame", "Framewidth", 0);
  f.frameHeight = readInt(file, "Frame", "Frameheight", 0);
  f.photoWidth = readInt(file, "Frame", "Photowidth", 0);
  f.photoHeight = readInt(file, "Frame", "Photoheight", 0);
  f.leftWidth = readInt(file, "Frame", "Leftwidth", 0);
  f.rightWidth = readInt(file, "Frame", "Rightwidth", 0);
  f.topHeight = readInt(file, "Frame", "Topheight", 0);
  f.bottomHeight = readInt(file, "Frame", "Bottomheight", 0);
  for (int i = 0; i < 3; ++i) {
    f.captions[i].positionX = readInt(file, "Frame", kPositionKeys[i][0], 0);
    f.captions[i].positionY = readInt(file, "Frame", kPositionKeys[i][1], 0);
  }
  if (context == FrameContext::MainWindowLoad && (f.frameWidth == 0 || f.frameHeight == 0))
    return std::nullopt;

  const int reference = readInt(file, "Frame", "ReferencePosition", 1);
  f.referencePosition =
      reference >= 1 && reference <= 3 ? TrimmingReference(reference) : TrimmingReference::Top;
  f.lineSpacing = std::clamp(readInt(file, "Config", "Bar5", 10), 0, 100);

  bool sharedVertical = false;
  for (int i = 0; i < 3; ++i) {
    const char* section = kCaptionSections[i];
    CaptionItem& c = f.captions[i];
    c.text = file.readString(section, "Text", "");
    if (i == 0 && c.text.empty()) c.text = kDefaultTitleText;
    c.font.style = styleFromLetters(file.readString(section, "Style", ""));
    c.font.colour = Colour(readInt(file, section, "Color", 0)) & 0xFFFFFF;
    c.font.charset = std::uint8_t(readInt(file, section, "Charset", 128) & 0xFF);
    c.font.name = file.readString(section, "Name", "ＭＳ Ｐゴシック");
    c.font.height = fontHeightFromSize(readInt(file, section, "Size", kDefaultFontSize));
    // Date and Other share one flag, stored as the Date's; an Other key, where
    // someone added one by hand, decides it.
    const int vertical = readInt(file, section, "Vrt", i == 2 ? int(sharedVertical) : 0);
    c.vertical = vertical != 0;
    if (i == 1) sharedVertical = c.vertical;
    c.angle = readInt(file, section, "Angle", 0);
  }
  f.captions[1].vertical = f.captions[2].vertical;

  const ResolvedImage image = resolveFrameImage(framePath, f.photoFile, context);
  f.imagePath = image.path;
  f.imageExists = image.exists;
  return f;
}

FrameReadResult readFrameFile(const std::string& path, FrameContext context, Host& host) {
  FrameReadResult result;
  std::optional<Profile> file = fileExists(path) ? Profile::load(path) : std::nullopt;
  if (!file) return result;
  std::optional<FrameDefinition> frame = frameFromProfile(*file, path, context);
  if (!frame) {
    host.message(kZeroFrameSizeMessage, "", Buttons::Ok, Icon::None);
    result.status = FrameReadStatus::ZeroSize;
    return result;
  }
  result.status = FrameReadStatus::Ok;
  result.definition = std::move(*frame);
  return result;
}

void handFrameToHolders(const FrameDefinition& frame, FrameContext context, DialogValues& values,
                        MainWindowState& window) {
  values.trimmingReference = frame.referencePosition;
  if (context == FrameContext::MainWindowLoad) {
    values.settings.setTrackBar5(frame.lineSpacing);
    window.lineSpacingFactor = lineSpacingFactorFor(frame.lineSpacing);
  } else {
    values.captionStore.lineSpacing.setPosition(frame.lineSpacing);
  }
  CaptionStore& store = values.captionStore;
  for (int i = 0; i < 3; ++i) {
    const CaptionItem& item = frame.captions[i];
    CaptionSettings& held = store.captions[i];
    held.text = item.text;
    held.font = item.font;
    held.angleText = std::to_string(item.angle);
    values.temporaryCaptionTexts[i] = item.text;
  }
  store.titleVertical = frame[CaptionKind::Title].vertical;
  store.dateOtherVertical = frame[CaptionKind::Other].vertical;
}

}  // namespace kov
