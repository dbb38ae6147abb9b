#pragma once
// Reading and writing frame files (CP932 INI files; UTF-8 with a byte order
// mark when CP932 cannot hold their texts).

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "frame/frame_definition.h"

namespace kov {

class Host;
class Profile;
struct MainWindowState;
struct DialogValues;

inline constexpr std::string_view kZeroFrameSizeMessage =
    "フレームサイズが０です。(フレーム選択)\n無効な値なので読込を中止しました。";

enum class FrameReadStatus { Ok, Missing, ZeroSize };

struct FrameReadResult {
  FrameReadStatus status = FrameReadStatus::Missing;
  FrameDefinition definition;
};

// Reads a frame file and resolves its image. In the main window a frame width
// or height of exactly 0 stops the reading with its message (nothing else of
// the file takes effect then).
FrameReadResult readFrameFile(const std::string& path, FrameContext context, Host& host);

// The reading rules over an already parsed file; `framePath` locates the image.
// Returns nothing on the main window's zero-size stop (no message here).
std::optional<FrameDefinition> frameFromProfile(const Profile& file, const std::string& framePath,
                                                FrameContext context);

// Hands what a frame file says about captions, trimming and line spacing to the
// places that hold them, before the check decides on the file: the main window
// moves the settings' line spacing (and its factor), the editor the caption
// dialog's; both fill the temporary caption texts.
void handFrameToHolders(const FrameDefinition& frame, FrameContext context, DialogValues& values,
                        MainWindowState& window);

// What the editor writes. The eight sizes are the texts of its pixel fields, in
// the written order Framewidth, Frameheight, Photowidth, Photoheight, Leftwidth,
// Rightwidth, Topheight, Bottomheight. An empty Other position takes its default.
struct FrameFileContents {
  std::array<std::string, 8> sizeTexts;
  int titleX = 0, titleY = 0;
  int dateX = 0, dateY = 0;
  std::optional<int> otherX, otherY;
  std::array<CaptionItem, 3> captions;  // text, font, angle, vertical
  int lineSpacing = 10;
  TrimmingReference referencePosition = TrimmingReference::Top;
};

// Writes into the file at `path`, keeping every line it does not write; the file
// is replaced atomically. False when it could not be written (nothing changed).
bool writeFrameFile(const std::string& path, const FrameFileContents& contents);

// The style letters "B", "I", "U", "S" of a style, in this order.
std::string styleLetters(const FontStyle& style);
FontStyle styleFromLetters(std::string_view letters);

}  // namespace kov
