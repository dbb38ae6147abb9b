// kovanta-batch run as a separate process: what it writes, prints and exits with.

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "batch/batch_driver.h"
#include "batch/folder_scan.h"
#include "frame/frame_file.h"
#include "frame/frame_load.h"
#include "frame/frame_preview.h"
#include "platform/bmp_codec.h"
#include "platform/cp932.h"
#include "platform/file_util.h"
#include "platform/jpeg_codec.h"

#include "support/scripted_host.h"
#include "support/temp_dir.h"

extern char** environ;

namespace kov {
namespace {

namespace fs = std::filesystem;

const std::string kExe = KOVANTA_BATCH_EXE;
const std::string kExeFolder = fs::path(kExe).parent_path().string();

struct ProcessResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::vector<char*> argvOf(const std::string& exe, std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(exe.c_str())};
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return argv;
}

int waitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs the program with standard output and error caught (standard error is no terminal).
ProcessResult run(std::vector<std::string> args, const std::string& exe = kExe) {
  test::TempDir io;
  const std::string out = io.file("stdout"), err = io.file("stderr");
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv = argvOf(exe, args);
  pid_t pid = 0;
  ProcessResult result;
  if (posix_spawn(&pid, exe.c_str(), &files, nullptr, argv.data(), environ) == 0)
    result.status = waitFor(pid);
  posix_spawn_file_actions_destroy(&files);
  result.out = io.read("stdout");
  result.err = io.read("stderr");
  return result;
}

std::string outcome(int saved, int errors, int skipped) {
  return outcomeText(false, {saved, errors, skipped}) + "\n";
}

// A colour ramp that differs from photo to photo.
void writePhoto(const std::string& path, int w, int h, int seed = 0) {
  WorkImage p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.setPixel(x, y, makeColour((x + seed * 40) % 256, (y * 3) % 256, (x + y + seed * 90) % 256));
  createFolders(fs::path(path).parent_path().string());
  ASSERT_EQ(writeJpegFile(path, p, 90), kJpegOk) << path;
}

// Every file under `folder`, relative to it.
std::set<std::string> filesUnder(const std::string& folder) {
  std::set<std::string> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::end(it);
       it.increment(ec))
    if (!it->is_directory()) files.insert(fs::relative(it->path(), folder).string());
  return files;
}

// A whole, undamaged JPEG of the given size.
::testing::AssertionResult wholeJpeg(const std::string& path, int w, int h) {
  WorkImage image;
  JpegInfo info;
  if (decodeJpegFile(path, image, &info) != kJpegOk)
    return ::testing::AssertionFailure() << path << " does not decode";
  if (info.warned) return ::testing::AssertionFailure() << path << " is damaged";
  if (image.width() != w || image.height() != h)
    return ::testing::AssertionFailure()
           << path << " is " << image.width() << "x" << image.height();
  return ::testing::AssertionSuccess();
}

std::string numbered(std::string prefix, int i) {
  return prefix.append(std::to_string(i)).append(".jpg");
}

// The default frame: 1051 x 1500.
constexpr int kFrameW = 1051, kFrameH = 1500;

class KovantaBatch : public ::testing::Test {
 protected:
  std::string photos() const { return dir.file("photos"); }
  std::string out() const { return dir.file("out"); }
  std::string photo(const std::string& name) const { return dir.file("photos/" + name); }

  test::TempDir dir;
};

TEST_F(KovantaBatch, CountsGoodTooSmallDamagedAndNonJpegFiles) {
  writePhoto(photo("good1.jpg"), 480, 640);
  writePhoto(photo("good2.JPG"), 640, 480, 1);
  writePhoto(photo("small.jpg"), 300, 200);
  writePhoto(photo("sub/inner.jpg"), 480, 640);  // sub-folders are not searched by default
  dir.write("photos/notes.txt", "not a photo");
  dir.write("photos/text.jpg", "not a photo either");
  const char damaged[] =
      "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00garbage";  // a header, then nothing usable
  dir.write("photos/damaged.jpg", std::string(damaged, sizeof damaged - 1));
  ASSERT_EQ(::mkfifo(photo("pipe.jpg").c_str(), 0644), 0);  // would block a reader forever
  writePhoto(photo("blocked.jpg"), 480, 640);
  fs::create_directories(dir.file("out/blocked.jpg"));  // its output cannot be written

  const ProcessResult r = run({photos(), out()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, outcome(2, 4, 1));
  EXPECT_NE(r.err.find(photo("blocked.jpg") + ": 保存先フォルダを作成出来ません。"),
            std::string::npos)
      << r.err;
  for (const char* name : {"damaged.jpg", "text.jpg", "pipe.jpg"})
    EXPECT_NE(r.err.find(photo(name) + ": JPEGファイルを読み込めませんでした。"), std::string::npos)
        << name << "\n"
        << r.err;
  EXPECT_EQ(r.err.find("small.jpg:"), std::string::npos) << "a too small photo is skipped quietly";
  // One progress line per photo when standard error is no terminal.
  EXPECT_NE(r.err.find("処理中...　100%     7/    7 エラー:4 スキップ:1"), std::string::npos)
      << r.err;
  // Nothing else, no temporary file either.
  EXPECT_EQ(filesUnder(out()), (std::set<std::string>{"good1.jpg", "good2.JPG"}));
  EXPECT_TRUE(wholeJpeg(dir.file("out/good1.jpg"), kFrameW, kFrameH));
  EXPECT_TRUE(wholeJpeg(dir.file("out/good2.JPG"), kFrameW, kFrameH));
}

TEST_F(KovantaBatch, KeepsExistingOutputsUnlessAskedToOverwrite) {
  writePhoto(photo("a.jpg"), 480, 640);
  writePhoto(photo("b.jpg"), 480, 640, 1);
  createFolders(out());
  dir.write("out/a.jpg", "older result");

  ProcessResult r = run({photos(), out()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, outcome(1, 0, 1));
  EXPECT_EQ(dir.read("out/a.jpg"), "older result");
  EXPECT_TRUE(wholeJpeg(dir.file("out/b.jpg"), kFrameW, kFrameH));

  r = run({"--overwrite", photos(), out()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, outcome(2, 0, 0));
  EXPECT_TRUE(wholeJpeg(dir.file("out/a.jpg"), kFrameW, kFrameH));
  EXPECT_EQ(filesUnder(out()), (std::set<std::string>{"a.jpg", "b.jpg"}));
}

TEST_F(KovantaBatch, NeverWritesOverThePhotoItself) {
  writePhoto(photo("sub/a.jpg"), 480, 640);
  const std::string before = dir.read("photos/sub/a.jpg");
  createFolders(out());
  // out/sub/a.jpg, where the photo's output goes, is the photo itself.
  fs::create_directory_symlink(dir.file("photos/sub"), dir.file("out/sub"));

  const ProcessResult r = run({"--overwrite", "--subfolders", photos(), out()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, outcome(0, 1, 0));
  EXPECT_NE(r.err.find("the output would replace the photo"), std::string::npos) << r.err;
  EXPECT_EQ(dir.read("photos/sub/a.jpg"), before);
}

TEST_F(KovantaBatch, SubfoldersAreMirroredUnderTheOutputFolder) {
  writePhoto(photo("a.jpg"), 480, 640);
  writePhoto(photo("sub/a.jpg"), 480, 640, 1);  // the same name must not collide
  writePhoto(photo("sub/deeper/c.jpg"), 640, 480, 2);
  const struct {
    std::vector<std::string> options;
    std::set<std::string> expected;
  } cases[] = {
      {{}, {"a.jpg"}},
      {{"--subfolders"}, {"a.jpg", "sub/a.jpg", "sub/deeper/c.jpg"}},
  };
  for (const auto& c : cases) {
    fs::remove_all(out());
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {photos(), out()});
    const ProcessResult r = run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(filesUnder(out()), c.expected);
  }
  EXPECT_NE(dir.read("out/a.jpg"), dir.read("out/sub/a.jpg"));
}

// The bytes of every file under a folder, by relative name.
std::map<std::string, std::string> outputsOf(const std::string& outFolder) {
  std::map<std::string, std::string> bytes;
  for (const std::string& name : filesUnder(outFolder))
    bytes[name] = *readFileBytes(outFolder + "/" + name);
  return bytes;
}

TEST_F(KovantaBatch, EveryNumberOfJobsWritesTheSameBytes) {
  const int sizes[][2] = {{480, 640},   {640, 480}, {1200, 900}, {333, 1000}, {900, 1200},
                          {2000, 1500}, {700, 700}, {1000, 333}, {300, 200}};
  for (int i = 0; i < int(std::size(sizes)); ++i)
    writePhoto(photo(numbered("p", i)), sizes[i][0], sizes[i][1], i);
  const std::vector<std::string> settings[] = {
      {"--title", "二行の\\nタイトル", "--sharpen", "--blur", "D"},
      {"--frame", kExeFolder + "/Frame/frame002.ini", "--no-hq", "--quality", "75"},
  };
  for (const auto& options : settings) {
    std::map<std::string, std::string> first;
    for (const char* jobs : {"1", "4"}) {
      const std::string outFolder = dir.file(std::string("out") + jobs);
      std::vector<std::string> args = options;
      args.insert(args.end(), {"-j", jobs, photos(), outFolder});
      const ProcessResult r = run(args);
      EXPECT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(r.out, outcome(8, 0, 1));
      const auto bytes = outputsOf(outFolder);
      EXPECT_EQ(bytes.size(), 8u);
      if (first.empty())
        first = bytes;
      else
        EXPECT_TRUE(bytes == first) << "-j " << jobs << " differs from -j 1";
      fs::remove_all(outFolder);
    }
  }
}

// The same folder through the core's own whole-folder run, as the desktop
// program does it with its default frame at the design window size.
TEST_F(KovantaBatch, WritesWhatTheDesktopWholeFolderRunWrites) {
  for (int i = 0; i < 4; ++i)
    writePhoto(photo(numbered("d", i)), 640 + 200 * i, 480 + 350 * (i % 2), i);

  test::ScriptedHost host;
  MainWindowState state;
  DialogValues dialogs(state);
  ASSERT_TRUE(constructMainWindow(state, host, kExeFolder + "/"));
  ASSERT_EQ(loadFrameIntoWindow(state, dialogs, host, kExeFolder + "/Frame/frame001.ini"),
            kFrameLoadOk);
  drawFramePreview(state, dialogs, host);
  state.Edit1 = photos();
  state.Edit2 = dir.file("desktop");
  listJpegFiles(state, state.Edit1, state.photoList);
  const RunCounts counts = wholeFolderRun(state, dialogs, host);
  ASSERT_EQ(counts.saved, 4);

  const ProcessResult r = run({"-j", "3", photos(), out()});
  EXPECT_EQ(r.status, 0) << r.err;
  const auto desktop = outputsOf(dir.file("desktop"));
  EXPECT_EQ(desktop.size(), 4u);
  EXPECT_TRUE(outputsOf(out()) == desktop);
}

TEST_F(KovantaBatch, EmptyCaptionTextsDrawNoCaptions) {
  writePhoto(photo("a.jpg"), 480, 640);
  WorkImage frame;
  ASSERT_EQ(readBmpFile(kExeFolder + "/Frame/frame001.bmp", frame), kBmpOk);
  // Mean difference from the frame image below the photo window, where the captions go.
  const auto captionInk = [&](const std::vector<std::string>& options) {
    fs::remove_all(out());
    std::vector<std::string> args = options;
    args.insert(args.end(), {photos(), out()});
    EXPECT_EQ(run(args).status, 0);
    WorkImage result;
    EXPECT_EQ(decodeJpegFile(dir.file("out/a.jpg"), result), kJpegOk);
    double sum = 0;
    int n = 0;
    for (int y = 1260; y < 1490; ++y)
      for (int x = 30; x < 1020; ++x, ++n)
        for (int c = 0; c < 3; ++c)
          sum += std::abs(result.row(y)[3 * x + c] - frame.row(y)[3 * x + c]);
    return sum / n;
  };
  const double frameTexts = captionInk({});
  const double noTitle = captionInk({"--title", "", "--other", "その他"});
  EXPECT_GT(frameTexts, 20.0);
  EXPECT_GT(noTitle, 3.0);
  EXPECT_LT(noTitle, frameTexts / 2);  // the large title is gone
  EXPECT_LT(captionInk({"--title", "", "--date", "", "--other", ""}), 1.5);  // JPEG noise only
}

TEST_F(KovantaBatch, SettingsComeFromKovIniNextToTheProgramWhichIsNeverWritten) {
  // A copy of the program with its own Frame/ and kov.ini.
  const std::string home = dir.file("program");
  fs::create_directories(home);
  fs::copy(kExeFolder + "/Frame", home + "/Frame", fs::copy_options::recursive);
  fs::copy_file(kExe, home + "/kovanta-batch");
  const std::string ini = "[Config]\r\nBar4=20\r\nBar7=3\r\nWindowWidth=1400\r\n";
  dir.write("program/kov.ini", ini);
  writePhoto(photo("a.jpg"), 480, 640);

  ASSERT_EQ(run({photos(), dir.file("fromIni")}, home + "/kovanta-batch").status, 0);
  ASSERT_EQ(run({"--quality", "20", "--blur", "D", photos(), dir.file("given")}).status, 0);
  ASSERT_EQ(run({photos(), dir.file("plain")}).status, 0);
  EXPECT_EQ(dir.read("fromIni/a.jpg"), dir.read("given/a.jpg"));
  EXPECT_NE(dir.read("fromIni/a.jpg"), dir.read("plain/a.jpg"));
  EXPECT_EQ(dir.read("program/kov.ini"), ini);
}

TEST_F(KovantaBatch, CtrlCFinishesThePhotosInProgressAndStops) {
  for (int i = 0; i < 60; ++i) writePhoto(photo(numbered("p", i)), 1200, 900, i);
  int errPipe[2];
  ASSERT_EQ(::pipe(errPipe), 0);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  const std::string stdoutFile = dir.file("stdout");
  posix_spawn_file_actions_addopen(&files, 1, stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_adddup2(&files, errPipe[1], 2);
  posix_spawn_file_actions_addclose(&files, errPipe[0]);
  std::vector<std::string> args{"-j", "2", photos(), out()};
  std::vector<char*> argv = argvOf(kExe, args);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, kExe.c_str(), &files, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&files);
  ::close(errPipe[1]);

  std::string err;
  char buffer[4096];
  bool signalled = false;
  for (;;) {
    const ssize_t n = ::read(errPipe[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    err.append(buffer, std::size_t(n));
    if (!signalled && err.find('\n') != std::string::npos) {  // the first photo is done
      ::kill(pid, SIGINT);
      signalled = true;
    }
  }
  ::close(errPipe[0]);
  EXPECT_EQ(waitFor(pid), 1);

  const std::string text = dir.read("stdout");
  const std::string aborted = "作業を中断しました。保存ファイル数 ";
  ASSERT_EQ(text.rfind(aborted, 0), 0u) << text << err;
  const int saved = std::stoi(text.substr(aborted.size()));
  EXPECT_GE(saved, 1);
  EXPECT_LT(saved, 60);
  EXPECT_EQ(text, outcomeText(true, {saved, 0, 0}) + "\n");
  const std::set<std::string> written = filesUnder(out());
  EXPECT_EQ(int(written.size()), saved) << "no temporary or half-written file is left";
  for (const std::string& name : written)
    EXPECT_TRUE(wholeJpeg(out() + "/" + name, kFrameW, kFrameH));
}

TEST_F(KovantaBatch, RealCameraPhotosAreAllAccountedFor) {
  const std::string folder = test::testDataPath("photos");
  if (folder.empty() || !fs::is_directory(folder)) GTEST_SKIP() << "no test photos";
  int jpegs = 0;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().extension() == ".jpg") ++jpegs;

  const ProcessResult r = run({folder, out()});
  int saved = -1, errors = -1, skipped = -1;
  ASSERT_EQ(
      std::sscanf(r.out.c_str(), "作業が終了しました。保存ファイル数:%d エラー:%d スキップ:%d",
                  &saved, &errors, &skipped),
      3)
      << r.out;
  EXPECT_EQ(saved + errors + skipped, jpegs);
  EXPECT_GT(saved, 25);
  EXPECT_GE(skipped, 1);  // a few are 320 x 240 or smaller
  EXPECT_EQ(r.status, errors > 0 ? 1 : 0);
  EXPECT_EQ(int(filesUnder(out()).size()), saved);
}

// Frames for --check-frame: a 4 x 4 BMP image beside each frame file.
class KovantaBatchCheckFrame : public KovantaBatch {
 protected:
  std::string frame(const std::string& name, const std::string& frameSection,
                    const char* image = "f.bmp") {
    WorkImage picture(4, 4);
    picture.fill(makeColour(200, 100, 50));
    EXPECT_TRUE(writeBmpFile(dir.file("f.bmp"), picture));
    const std::string text = std::string("[Frame]\r\nPhotoFile=") + image + "\r\n" + frameSection;
    dir.write(name, *utf8ToCp932(text));
    return dir.file(name);
  }
};

std::string geometry(int fw, int fh, int pw, int ph, int l, int r, int t, int b) {
  return "Framewidth=" + std::to_string(fw) + "\r\nFrameheight=" + std::to_string(fh) +
         "\r\nPhotowidth=" + std::to_string(pw) + "\r\nPhotoheight=" + std::to_string(ph) +
         "\r\nLeftwidth=" + std::to_string(l) + "\r\nRightwidth=" + std::to_string(r) +
         "\r\nTopheight=" + std::to_string(t) + "\r\nBottomheight=" + std::to_string(b) +
         "\r\nFontPositionY=10\r\n";
}

TEST_F(KovantaBatchCheckFrame, PrintsTheWindowsCheckTextsExactly) {
  dir.write("broken.bmp", "BM not really");
  const struct {
    const char* name;
    std::string path;
    std::string expected;
    int status;
  } cases[] = {
      {"good", frame("good.ini", geometry(100, 100, 80, 80, 10, 10, 10, 10)), "", 0},
      {"shipped frame001", kExeFolder + "/Frame/frame001.ini", "", 0},
      {"shipped frame002 (TGA)", kExeFolder + "/Frame/frame002.ini", "", 0},
      {"zero size", frame("zero.ini", geometry(0, 100, 80, 80, 10, 10, 10, 10)),
       "フレームサイズが０です。(フレーム選択)\n無効な値なので読込を中止しました。\n", 1},
      {"sums differ", frame("sums.ini", geometry(100, 100, 60, 60, 10, 10, 10, 10)),
       "枠サイズ設定（横）と写真幅+余白設定の値が合致しません。"
       "枠サイズ設定（縦）と写真高さ+余白設定の値が合致しません。\n",
       1},
      {"no image, negative margin",
       frame("noimage.ini", geometry(100, 100, 100, 80, -10, 10, 10, 10), "none.bmp"),
       "枠画像ファイルが存在しません。\n左余白サイズ設定が０以下になっています。\n", 1},
      {"too wide", frame("wide.ini", geometry(6788, 100, 6768, 80, 10, 10, 10, 10)),
       "フレーム幅が処理可能な最大値を超えています。最大：6787pix\n", 1},
      {"image unreadable",
       frame("unreadable.ini", geometry(100, 100, 80, 80, 10, 10, 10, 10), "broken.bmp"),
       "枠画像ファイルを読み込めませんでした。\n" + dir.file("broken.bmp") + "\n", 1},
  };
  for (const auto& c : cases) {
    const ProcessResult r = run({"--check-frame", c.path});
    EXPECT_EQ(r.out, c.expected) << c.name;
    EXPECT_EQ(r.status, c.status) << c.name;
    EXPECT_EQ(r.err, "") << c.name;
  }
  const ProcessResult missing = run({"--check-frame", dir.file("nothing.ini")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.out.find("枠ファイルがありません。"), std::string::npos) << missing.out;
}

TEST_F(KovantaBatch, UsageFolderAndFrameProblemsExitWithTwo) {
  writePhoto(photo("a.jpg"), 480, 640);
  dir.write("file", "x");
  dir.write("bad.ini", "[Frame]\r\nFramewidth=0\r\n");
  const struct {
    std::vector<std::string> args;
    const char* says;  // on standard error
  } cases[] = {
      {{}, "PHOTO_FOLDER and OUTPUT_FOLDER"},
      {{photos()}, "PHOTO_FOLDER and OUTPUT_FOLDER"},
      {{photos(), out(), dir.file("third")}, "PHOTO_FOLDER and OUTPUT_FOLDER"},
      {{"--bogus", photos(), out()}, "unknown option"},
      {{"--quality", "101", photos(), out()}, "quality is 0 to 100"},
      {{"--quality=x", photos(), out()}, "quality is 0 to 100"},
      {{"-j", "0", photos(), out()}, "from 1 to 256"},
      {{"--blur", "E", photos(), out()}, "one of A, B, C, D"},
      {{"--sharpen=yes", photos(), out()}, "takes no value"},
      {{photos(), out(), "--jobs"}, "needs a value"},
      {{"--check-frame", dir.file("bad.ini"), photos()}, "takes no folders"},
      {{dir.file("nothing"), out()}, "入力フォルダの指定が無効か使用不能です。"},
      {{photos(), dir.file("file")}, "保存先フォルダを作成出来ません。"},
      {{photos(), photos() + "/"}, "OUTPUT_FOLDER is PHOTO_FOLDER"},
      {{"--frame", dir.file("nothing.ini"), photos(), out()}, "frame file not found"},
      {{"--frame", dir.file("bad.ini"), photos(), out()},
       "フレームサイズが０です。(フレーム選択)\n無効な値なので読込を中止しました。"},
  };
  for (const auto& c : cases) {
    const ProcessResult r = run(c.args);
    const std::string shown = ::testing::PrintToString(c.args);
    EXPECT_EQ(r.status, 2) << shown;
    EXPECT_EQ(r.out, "") << shown;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << shown << "\n" << r.err;
  }
  EXPECT_FALSE(fs::exists(out())) << "nothing is written";
  EXPECT_EQ(filesUnder(photos()), std::set<std::string>{"a.jpg"});
}

TEST_F(KovantaBatch, AFolderWithoutPhotosIsNoError) {
  fs::create_directories(photos());
  const ProcessResult r = run({photos(), out()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, outcome(0, 0, 0));
  EXPECT_NE(r.err.find("写真フォルダにJPEGファイルが存在しません。"), std::string::npos);
}

TEST(KovantaBatchHelp, ExplainsEveryOptionInJapaneseAndEnglish) {
  for (const char* flag : {"--help", "-h"}) {
    const ProcessResult r = run({flag});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const char* word : {"使い方", "Usage", "--frame", "--subfolders", "--no-hq", "--sharpen",
                             "--quality", "--blur", "--title", "--date", "--other", "--overwrite",
                             "--jobs", "--check-frame", "kov.ini", "Ctrl-C"})
      EXPECT_NE(r.out.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace kov
