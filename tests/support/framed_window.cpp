#include "support/framed_window.h"

#include <gtest/gtest.h>

#include "frame/frame_load.h"
#include "frame/frame_preview.h"
#include "platform/bmp_codec.h"
#include "platform/cp932.h"
#include "platform/file_util.h"
#include "platform/jpeg_codec.h"

namespace kov::test {

FramedWindow::FramedWindow() {
  state.windowCaption = "Kovanta";
  WorkImage frame(600, 800);
  frame.fill(makeColour(20, 40, 220));
  for (int y = 100; y < 600; ++y)
    for (int x = 100; x < 500; ++x) frame.setPixel(x, y, kBlack);
  frame.setPixel(10, 10, kBlack);
  frame.setPixel(11, 10, makeColour(0, 0, 1));
  EXPECT_TRUE(writeBmpFile(dir.file("f.bmp"), frame));
  dir.write("f.ini", *utf8ToCp932("[Frame]\r\nPhotoFile=f.bmp\r\nFramewidth=600\r\n"
                                  "Frameheight=800\r\nPhotowidth=400\r\nPhotoheight=500\r\n"
                                  "Leftwidth=100\r\nRightwidth=100\r\nTopheight=100\r\n"
                                  "Bottomheight=200\r\nFontPositionX=300\r\n"
                                  "FontPositionY=650\r\n[Title]\r\nText=\r\n"));
  EXPECT_EQ(loadFrameIntoWindow(state, dialogs, host, dir.file("f.ini")), kFrameLoadOk);
  dialogs.captionStore[CaptionKind::Title].text = "";
  dialogs.captionStore[CaptionKind::Date].text = "";
  drawFramePreview(state, dialogs, host);
  createFolders(dir.file("photos"));
  state.Edit1 = dir.file("photos");
  state.Edit2 = dir.file("out");
  host.pictures.clear();
}

std::string FramedWindow::photo(const std::string& name, int w, int h) {
  WorkImage p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.setPixel(x, y, makeColour(x % 256, y % 256, (x + y) % 256));
  const std::string path = dir.file("photos/" + name);
  createFolders(path.substr(0, path.rfind('/')));
  EXPECT_EQ(writeJpegFile(path, p, 95), kJpegOk);
  return path;
}

}  // namespace kov::test
