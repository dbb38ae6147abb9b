#include "frame/frame_file.h"

#include <gtest/gtest.h>

#include "app/main_window_state.h"
#include "frame/frame_check.h"
#include "frame/frame_image_path.h"
#include "platform/cp932.h"

#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace kov {
namespace {

// Frame files are CP932 on disk.
std::string cp932(std::string_view utf8) { return utf8ToCp932(utf8).value(); }

const char* const kSchool =
    "[Frame]\r\nPhotoFile=school.bmp\r\nFramewidth=2244\r\nFrameheight=2918\r\n"
    "Photowidth=2044\r\nPhotoheight=2418\r\nLeftwidth=100\r\nRightwidth=100\r\n"
    "Topheight=100\r\nBottomheight=400\r\nFontPositionX=1122\r\nFontPositionY=2600\r\n"
    "ReferencePosition=2\r\n[Title]\r\nText=運動会\\n２０２６\r\nStyle=BI\r\nColor=255\r\n"
    "Name=ＭＳ 明朝\r\nSize=36\r\nAngle=-30\r\n[Config]\r\nBar5=20\r\n";

FrameReadResult readText(const test::TempDir& dir, std::string_view name, std::string_view text,
                         FrameContext context, test::ScriptedHost& host) {
  dir.write(name, text);
  return readFrameFile(dir.file(name), context, host);
}

TEST(FrameFile, ReadsEveryValue) {
  test::TempDir dir;
  dir.write("school.bmp", "");
  test::ScriptedHost host;
  const FrameReadResult r =
      readText(dir, "school.ini", cp932(kSchool), FrameContext::MainWindowLoad, host);
  ASSERT_EQ(r.status, FrameReadStatus::Ok);
  const FrameDefinition& f = r.definition;
  EXPECT_EQ(f.photoFile, "school.bmp");
  EXPECT_EQ(f.imagePath, dir.file("school.bmp"));
  EXPECT_TRUE(f.imageExists);
  EXPECT_EQ(f.frameWidth, 2244);
  EXPECT_EQ(f.bottomHeight, 400);
  EXPECT_EQ(f.referencePosition, TrimmingReference::Centre);
  EXPECT_EQ(f.lineSpacing, 20);
  const CaptionItem& title = f[CaptionKind::Title];
  EXPECT_EQ(title.text, "運動会\\n２０２６");
  EXPECT_EQ(title.font.name, "ＭＳ 明朝");
  EXPECT_EQ(title.font.height, -48);
  EXPECT_EQ(title.font.colour, 255u);
  EXPECT_TRUE(title.font.style.bold && title.font.style.italic);
  EXPECT_FALSE(title.font.style.underline || title.font.style.strikeOut);
  EXPECT_EQ(title.angle, -30);
  EXPECT_EQ(title.positionX, 1122);
  EXPECT_EQ(checkFrame(f, FrameContext::MainWindowLoad), "");
  EXPECT_TRUE(host.messages.empty());
}

TEST(FrameFile, MissingSectionsAndKeysTakeTheirDefaults) {
  test::TempDir dir;
  test::ScriptedHost host;
  const FrameReadResult r =
      readText(dir, "a.ini", "[Frame]\r\nFramewidth=10\r\nFrameheight=0x0A\r\n",
               FrameContext::MainWindowLoad, host);
  ASSERT_EQ(r.status, FrameReadStatus::Ok);
  const FrameDefinition& f = r.definition;
  EXPECT_EQ(f.frameHeight, 10);
  EXPECT_EQ(f.referencePosition, TrimmingReference::Top);
  EXPECT_EQ(f.lineSpacing, 10);
  const char* texts[] = {"[タイトル文字列]", "", ""};
  for (int i = 0; i < 3; ++i) {
    const CaptionItem& c = f.captions[i];
    EXPECT_EQ(c.text, texts[i]);
    EXPECT_EQ(c.font.name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(c.font.height, -72);  // size 54
    EXPECT_EQ(c.font.charset, 128);
    EXPECT_EQ(c.font.colour, kBlack);
    EXPECT_EQ(c.font.style, FontStyle{});
    EXPECT_FALSE(c.vertical);
    EXPECT_EQ(c.angle, 0);
  }
  EXPECT_FALSE(f.imageExists);
}

TEST(FrameFile, ValueRules) {
  struct Case {
    const char* lines;
    std::function<void(const FrameDefinition&)> expect;
  } cases[] = {
      {"[Config]\r\nBar5=150", [](auto& f) { EXPECT_EQ(f.lineSpacing, 100); }},
      {"[Config]\r\nBar5=-3", [](auto& f) { EXPECT_EQ(f.lineSpacing, 0); }},
      {"[Config]\r\nBar5=x", [](auto& f) { EXPECT_EQ(f.lineSpacing, 10); }},
      {"ReferencePosition=0",
       [](auto& f) { EXPECT_EQ(f.referencePosition, TrimmingReference::Top); }},
      {"ReferencePosition=4",
       [](auto& f) { EXPECT_EQ(f.referencePosition, TrimmingReference::Top); }},
      {"ReferencePosition=3",
       [](auto& f) { EXPECT_EQ(f.referencePosition, TrimmingReference::Bottom); }},
      {"[Title]\r\nStyle=SB",
       [](auto& f) {
         EXPECT_EQ(f.captions[0].font.style, (FontStyle{true, false, false, true}));
       }},
      {"[Title]\r\nStyle=bius", [](auto& f) { EXPECT_EQ(f.captions[0].font.style, FontStyle{}); }},
      {"[Title]\r\nText=", [](auto& f) { EXPECT_EQ(f.captions[0].text, "[タイトル文字列]"); }},
      {"[Date]\r\nColor=0xFF0000\r\nCharset=384\r\nSize=0",
       [](auto& f) {
         EXPECT_EQ(f.captions[1].font.colour, 0xFF0000u);
         EXPECT_EQ(f.captions[1].font.charset, 128);
         EXPECT_EQ(f.captions[1].font.height, 0);
       }},
      {"[Title]\r\nVrt=5", [](auto& f) { EXPECT_TRUE(f.captions[0].vertical); }},
      // Date and Other share one flag: the Date's, unless Other has a key of its own.
      {"[Date]\r\nVrt=1",
       [](auto& f) { EXPECT_TRUE(f.captions[1].vertical && f.captions[2].vertical); }},
      {"[Date]\r\nVrt=1\r\n[Other]\r\nVrt=0",
       [](auto& f) { EXPECT_FALSE(f.captions[1].vertical || f.captions[2].vertical); }},
      {"[Date]\r\nVrt=0\r\n[Other]\r\nVrt=1",
       [](auto& f) { EXPECT_TRUE(f.captions[1].vertical && f.captions[2].vertical); }},
  };
  test::TempDir dir;
  test::ScriptedHost host;
  for (const Case& c : cases) {
    const std::string text =
        std::string("[Frame]\r\nFramewidth=1\r\nFrameheight=1\r\n") + c.lines + "\r\n";
    const FrameReadResult r = readText(dir, "v.ini", text, FrameContext::EditorLoad, host);
    ASSERT_EQ(r.status, FrameReadStatus::Ok) << c.lines;
    SCOPED_TRACE(c.lines);
    c.expect(r.definition);
  }
}

TEST(FrameFile, ZeroSizeStopsOnlyTheMainWindow) {
  test::TempDir dir;
  for (const char* size : {"Framewidth=0\r\nFrameheight=5", "Frameheight=5"}) {
    test::ScriptedHost host;
    const std::string text = std::string("[Frame]\r\n") + size + "\r\n";
    EXPECT_EQ(readText(dir, "z.ini", text, FrameContext::MainWindowLoad, host).status,
              FrameReadStatus::ZeroSize);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "フレームサイズが０です。(フレーム選択)\n無効な値なので読込を中止しました。");
    EXPECT_EQ(host.messages[0].caption, "");
    EXPECT_EQ(host.messages[0].buttons, Buttons::Ok);

    test::ScriptedHost editorHost;
    EXPECT_EQ(readText(dir, "z.ini", text, FrameContext::EditorLoad, editorHost).status,
              FrameReadStatus::Ok);
    EXPECT_TRUE(editorHost.messages.empty());
  }
  test::ScriptedHost host;
  const FrameReadResult negative =
      readText(dir, "n.ini", "[Frame]\r\nFramewidth=-5\r\nFrameheight=5\r\n",
               FrameContext::MainWindowLoad, host);
  EXPECT_EQ(negative.status, FrameReadStatus::Ok);  // the check reports it
  EXPECT_EQ(readFrameFile(dir.file("none.ini"), FrameContext::MainWindowLoad, host).status,
            FrameReadStatus::Missing);
  EXPECT_TRUE(host.messages.empty());
}

TEST(FrameFile, ImagePaths) {
  test::TempDir dir;
  const std::string frame = dir.file("school.ini");
  auto resolve = [&](const std::string& photo, FrameContext c) {
    return resolveFrameImage(frame, photo, c);
  };
  EXPECT_EQ(resolve("school.bmp", FrameContext::EditorLoad).path, dir.file("school.bmp"));
  EXPECT_FALSE(resolve("school.bmp", FrameContext::EditorLoad).exists);
  EXPECT_EQ(resolve("C:\\frames\\a.bmp", FrameContext::EditorLoad).path, "C:/frames/a.bmp");
  EXPECT_EQ(resolve("/srv/frames/a.bmp", FrameContext::EditorLoad).path, "/srv/frames/a.bmp");
  EXPECT_EQ(resolveFrameImage("school.ini", "a.bmp", FrameContext::EditorLoad).path, "a.bmp");

  // The main window prefers a TGA of the same base name, even when the BMP is missing.
  dir.write("school.tga", "");
  const ResolvedImage main = resolve("school.bmp", FrameContext::MainWindowLoad);
  EXPECT_EQ(main.path, dir.file("school.tga"));
  EXPECT_TRUE(main.exists);
  EXPECT_FALSE(resolve("school.bmp", FrameContext::EditorLoad).exists);

  EXPECT_EQ(replaceExtension("/a.b/c", ".tga"), "/a.b/c.tga");
  EXPECT_EQ(replaceExtension("/a/c.x.bmp", ".tga"), "/a/c.x.tga");
  EXPECT_EQ(baseName("/a/school.ini"), "school");
  EXPECT_EQ(folderOf("/a/school.ini"), "/a");
  EXPECT_EQ(folderOf("/school.ini"), "/");
  EXPECT_EQ(folderOf("school.ini"), "");
}

FrameFileContents sampleContents() {
  FrameFileContents c;
  c.sizeTexts = {"2244", "2918", "2044", "2418", "100", "100", "100", "400"};
  c.titleX = 1122;
  c.titleY = 2600;
  c.dateX = 1800;
  c.dateY = 2800;
  c.captions[0].text = "第３回 運動会\\n表彰式";
  c.captions[0].font = {"ＭＳ Ｐ明朝", -72, 128, {true, false, true, false}, 0x0000FF};
  c.captions[0].angle = 15;
  c.captions[0].vertical = true;
  c.captions[1].text = "令和８年１０月";
  c.captions[1].font.height = -48;
  c.captions[1].angle = -90;
  c.captions[2].text = "①組";
  c.captions[2].font = {"IPAGothic", -15, 0, {false, true, false, true}, 0x123456};
  c.lineSpacing = 35;
  c.referencePosition = TrimmingReference::Bottom;
  return c;
}

TEST(FrameFile, WriteThenReadGivesBackEveryValue) {
  test::TempDir dir;
  const FrameFileContents c = sampleContents();
  ASSERT_TRUE(writeFrameFile(dir.file("school.ini"), c));
  EXPECT_EQ(dir.read("school.ini").substr(0, 3), "[Fr") << "CP932 holds these texts";
  test::ScriptedHost host;
  const FrameReadResult r = readFrameFile(dir.file("school.ini"), FrameContext::EditorLoad, host);
  ASSERT_EQ(r.status, FrameReadStatus::Ok);
  const FrameDefinition& f = r.definition;
  EXPECT_EQ(f.photoFile, "school.bmp");
  EXPECT_EQ(f.frameWidth, 2244);
  EXPECT_EQ(f.photoHeight, 2418);
  EXPECT_EQ(f.bottomHeight, 400);
  EXPECT_EQ(f.referencePosition, TrimmingReference::Bottom);
  EXPECT_EQ(f.lineSpacing, 35);
  EXPECT_EQ(f[CaptionKind::Other].positionX, 2244 / 4);  // empty Other X
  EXPECT_EQ(f[CaptionKind::Other].positionY, 2600);      // empty Other Y: the Title's
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(f.captions[i].text, c.captions[i].text);
    EXPECT_EQ(f.captions[i].font, c.captions[i].font);
    EXPECT_EQ(f.captions[i].angle, c.captions[i].angle);
  }
  EXPECT_TRUE(f[CaptionKind::Title].vertical);
  EXPECT_FALSE(f[CaptionKind::Date].vertical);
  EXPECT_EQ(checkFrame(f, FrameContext::EditorLoad), "枠画像ファイルが存在しません。\n");
}

TEST(FrameFile, ANewFileHasTheWrittenOrder) {
  test::TempDir dir;
  FrameFileContents c = sampleContents();
  c.otherX = 7;
  c.otherY = 8;
  c.captions[0].font.style = {true, false, true, false};
  ASSERT_TRUE(writeFrameFile(dir.file("school.ini"), c));
  const std::string expected = cp932(
      "[Frame]\r\nPhotoFile=school.bmp\r\nFramewidth=2244\r\nFrameheight=2918\r\n"
      "Photowidth=2044\r\nPhotoheight=2418\r\nLeftwidth=100\r\nRightwidth=100\r\n"
      "Topheight=100\r\nBottomheight=400\r\nFontPositionX=1122\r\nFontPositionY=2600\r\n"
      "DatePositionX=1800\r\nDatePositionY=2800\r\nOtherPositionX=7\r\nOtherPositionY=8\r\n"
      "ReferencePosition=3\r\n"
      "[Title]\r\nCharset=128\r\nName=ＭＳ Ｐ明朝\r\nSize=54\r\nStyle=BU\r\nColor=255\r\n"
      "Text=第３回 運動会\\n表彰式\r\nVrt=1\r\nAngle=15\r\n"
      "[Date]\r\nCharset=128\r\nName=ＭＳ Ｐゴシック\r\nSize=36\r\nStyle=\r\nColor=0\r\n"
      "Text=令和８年１０月\r\nVrt=0\r\nAngle=-90\r\n"
      "[Other]\r\nCharset=0\r\nName=IPAGothic\r\nSize=11\r\nStyle=IS\r\nColor=1193046\r\n"
      "Text=①組\r\nAngle=0\r\n"
      "[Config]\r\nBar5=35\r\n");
  EXPECT_EQ(dir.read("school.ini"), expected);
}

TEST(FrameFile, WritingIntoAnExistingFileKeepsWhatItDoesNotWrite) {
  test::TempDir dir;
  dir.write(
      "a.ini",
      cp932("; 手で書いた注釈\r\n[Other]\r\nVrt=1\r\nText=古い\r\n\r\n[Extra]\r\nKey=値\r\n"));
  ASSERT_TRUE(writeFrameFile(dir.file("a.ini"), sampleContents()));
  const std::string text = cp932ToUtf8(dir.read("a.ini"));
  EXPECT_EQ(text.rfind("; 手で書いた注釈\r\n[Other]\r\nVrt=1\r\nText=①組\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("Angle=0\r\n\r\n[Extra]\r\nKey=値\r\n[Frame]\r\nPhotoFile=a.bmp\r\n"),
            std::string::npos)
      << text;
  test::ScriptedHost host;
  EXPECT_TRUE(readFrameFile(dir.file("a.ini"), FrameContext::EditorLoad, host)
                  .definition[CaptionKind::Other]
                  .vertical)
      << "the hand-added Other flag survives and decides";
}

TEST(FrameFile, TextsCp932CannotHoldGoToUtf8WithAByteOrderMark) {
  test::TempDir dir;
  FrameFileContents c = sampleContents();
  c.captions[0].text = "🎉 卒業式";
  ASSERT_TRUE(writeFrameFile(dir.file("u.ini"), c));
  EXPECT_EQ(dir.read("u.ini").substr(0, 3), "\xEF\xBB\xBF");
  test::ScriptedHost host;
  const FrameReadResult r = readFrameFile(dir.file("u.ini"), FrameContext::EditorLoad, host);
  EXPECT_EQ(r.definition[CaptionKind::Title].text, "🎉 卒業式");
  EXPECT_EQ(r.definition[CaptionKind::Date].text, "令和８年１０月");
}

TEST(FrameFile, AFailedWriteChangesNothing) {
  test::TempDir dir;
  EXPECT_FALSE(writeFrameFile(dir.file("missing/a.ini"), sampleContents()));
}

TEST(FrameFile, HoldersGetTheValuesEvenOfARejectedFile) {
  test::TempDir dir;
  test::ScriptedHost host;
  const FrameReadResult r =
      readText(dir, "school.ini", cp932(kSchool), FrameContext::MainWindowLoad, host);
  ASSERT_EQ(r.status, FrameReadStatus::Ok);
  ASSERT_NE(checkFrame(r.definition, FrameContext::MainWindowLoad), "") << "no image: rejected";

  MainWindowState window;
  DialogValues values(window);
  values.captionStore[CaptionKind::Title].font.style = {true, true, true, true};
  handFrameToHolders(r.definition, FrameContext::MainWindowLoad, values, window);
  const CaptionSettings& title = values.captionStore[CaptionKind::Title];
  EXPECT_EQ(title.text, "運動会\\n２０２６");
  EXPECT_EQ(title.font.style, (FontStyle{true, true, false, false})) << "exactly the file's styles";
  EXPECT_EQ(title.angleText, "-30");
  EXPECT_EQ(values.captionStore[CaptionKind::Date].text, "");
  EXPECT_EQ(values.trimmingReference, TrimmingReference::Centre);
  EXPECT_EQ(values.settings.TrackBar5().position(), 20);
  EXPECT_EQ(window.lineSpacingFactor, 1.2f);
  EXPECT_EQ(values.captionStore.lineSpacing.position(), 10)
      << "the main window moves the settings' bar";
  EXPECT_EQ(values.temporaryCaptionTexts[0], "運動会\\n２０２６");

  handFrameToHolders(r.definition, FrameContext::EditorLoad, values, window);
  EXPECT_EQ(values.captionStore.lineSpacing.position(), 20);
}

}  // namespace
}  // namespace kov
