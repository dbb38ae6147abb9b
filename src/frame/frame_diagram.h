#pragma once
// The plain frame image the editor draws for a design: white, with the photo
// window black (the colour a BMP frame image lets the photo show through).

namespace kov {

class WorkImage;

struct FrameDiagramSizes {
  int frameWidth = 0;
  int frameHeight = 0;
  int leftMargin = 0;
  int topMargin = 0;
  int photoWidth = 0;
  int photoHeight = 0;
};

// Makes picture frameWidth x frameHeight, white, with the window from
// (leftMargin, topMargin) up to but excluding (leftMargin + photoWidth,
// topMargin + photoHeight) black, clipped to the picture. Gives false and leaves
// the picture as it was when a frame or window size is 0 or less, or the
// picture cannot be held.
bool drawFrameDiagram(WorkImage& picture, const FrameDiagramSizes& sizes);

}  // namespace kov
