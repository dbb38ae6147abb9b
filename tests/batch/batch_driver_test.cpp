#include "batch/batch_driver.h"

#include <gtest/gtest.h>

#include "platform/file_util.h"
#include "support/framed_window.h"

namespace kov {
namespace {

using Fixture = test::FramedWindow;

TEST(BatchDriver, StatusTextsArePadded) {
  EXPECT_EQ(progressText(33, 1, 3, {0, 0, 0}), "処理中...　 33%     1/    3 エラー:0 スキップ:0");
  EXPECT_EQ(progressText(100, 12345, 12345, {7, 2, 1}),
            "処理中...　100% 12345/12345 エラー:2 スキップ:1");
  EXPECT_EQ(outcomeText(false, {2, 0, 1}), "作業が終了しました。保存ファイル数:   2 エラー:0 スキップ:1");
  EXPECT_EQ(outcomeText(true, {12, 3, 4}), "作業を中断しました。保存ファイル数   12 エラー:3 スキップ:4");
}

TEST(BatchDriver, ASmallPhotoIsSkippedAndTheRestSaved) {
  Fixture f;
  f.state.photoList = {f.photo("1.jpg"), f.photo("2.jpg", 300, 200), f.photo("3.jpg")};
  const RunCounts counts = wholeFolderRun(f.state, f.dialogs, f.host);
  EXPECT_EQ(counts.saved, 2);
  EXPECT_EQ(counts.skipped, 1);
  EXPECT_EQ(counts.errors, 0);
  EXPECT_EQ(f.state.photoIndex, 3);
  EXPECT_TRUE(fileExists(f.dir.file("out/1.jpg")));
  EXPECT_FALSE(fileExists(f.dir.file("out/2.jpg")));
  EXPECT_TRUE(fileExists(f.dir.file("out/3.jpg")));
  const auto& panel0 = f.host.status[0];
  ASSERT_EQ(panel0.size(), 3u);  // after photos 1 and 3, then the outcome
  EXPECT_EQ(panel0[0], "処理中...　 33%     1/    3 エラー:0 スキップ:0");
  EXPECT_EQ(panel0[1], "処理中...　100%     3/    3 エラー:0 スキップ:1");
  EXPECT_EQ(panel0[2], "作業が終了しました。保存ファイル数:   2 エラー:0 スキップ:1");
  ASSERT_EQ(f.host.messages.size(), 1u);
  EXPECT_EQ(f.host.messages[0].text, panel0[2]);
  EXPECT_EQ(f.state.progress, 100);
  EXPECT_TRUE(f.state.buttons.processing && f.state.buttons.commands);
  EXPECT_FALSE(f.state.busy);
  EXPECT_FALSE(f.state.overwriteConfirmed);
}

TEST(BatchDriver, AResumedRunAsksWhereToStart) {
  for (Answer answer : {Answer::No, Answer::Yes}) {
    Fixture f;
    for (int i = 0; i < 5; ++i) f.state.photoList.push_back(f.photo(std::to_string(i) + ".jpg", 400, 300));
    f.state.photoIndex = 2;
    f.host.answer(answer);
    const RunCounts counts = wholeFolderRun(f.state, f.dialogs, f.host);
    EXPECT_EQ(f.host.messages[0].text, "最初の写真から処理しますか？");
    EXPECT_EQ(counts.saved, answer == Answer::No ? 3 : 5);
    EXPECT_EQ(fileExists(f.dir.file("out/0.jpg")), answer == Answer::Yes);
    if (answer == Answer::No) {
      EXPECT_EQ(f.host.status[0][0], "処理中...　 60%     3/    5 エラー:0 スキップ:0");
    }
  }
}

// A host whose user presses "中断" while the second photo's events are handled.
class AbortingHost : public test::ScriptedHost {
 public:
  MainWindowState* state = nullptr;
  int pumpsBeforeAbort = 0;
  void pumpEvents() override {
    test::ScriptedHost::pumpEvents();
    if (pumps == pumpsBeforeAbort) state->abortRequested = true;
  }
};

TEST(BatchDriver, AbortStopsBeforeTheNextPhoto) {
  Fixture f;
  f.state.photoList = {f.photo("1.jpg", 400, 300), f.photo("2.jpg", 400, 300),
                       f.photo("3.jpg", 400, 300)};
  // Count the pumps of a photo, then abort on the pump before the second photo.
  AbortingHost probe;
  {
    Fixture g;
    g.state.photoList = {g.photo("1.jpg", 400, 300)};
    AbortingHost counter;
    counter.state = &g.state;
    counter.pumpsBeforeAbort = -1;
    wholeFolderRun(g.state, g.dialogs, counter);
    probe.pumpsBeforeAbort = counter.pumps - 1;  // the final unlock pumps once more
  }
  probe.state = &f.state;
  const RunCounts counts = wholeFolderRun(f.state, f.dialogs, probe);
  EXPECT_EQ(counts.saved, 1);
  ASSERT_EQ(probe.messages.size(), 2u);
  EXPECT_EQ(probe.messages[0].text, "中断しました。");
  EXPECT_EQ(probe.messages[1].text, "作業を中断しました。保存ファイル数    1 エラー:0 スキップ:0");
  EXPECT_EQ(f.state.photoIndex, 1);
}

TEST(BatchDriver, RunChecksReportTheFirstMissingPiece) {
  struct Case {
    std::function<void(MainWindowState&)> change;
    const char* message;
  } cases[] = {
      {[](auto& s) { s.Edit1.clear(); s.Edit2.clear(); }, "入力フォルダが指定されていません。"},
      {[](auto& s) { s.Edit2.clear(); }, "出力フォルダが指定されていません。"},
      {[](auto& s) { s.Edit3.clear(); }, "枠ファイルが指定されていません。"},
      {[](auto& s) { s.frameWidth = 0; }, "枠ファイルサイズが指定されていません。"},
      {[](auto& s) { s.photoList.clear(); }, "これ以上写真画像はありません。"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.state.photoList = {f.dir.file("photos/none.jpg")};
    c.change(f.state);
    const RunCounts counts = wholeFolderRun(f.state, f.dialogs, f.host);
    EXPECT_EQ(counts.saved + counts.errors + counts.skipped, 0);
    ASSERT_EQ(f.host.messages.size(), 1u) << c.message;
    EXPECT_EQ(f.host.messages[0].text, c.message);
    EXPECT_TRUE(f.host.status[0].empty());
    EXPECT_FALSE(f.state.busy);
  }
}

TEST(BatchDriver, AnUnreadablePhotoIsSkippedOrStopsTheRun) {
  for (Answer stop : {Answer::No, Answer::Yes}) {
    Fixture f;
    f.dir.write("photos/bad.jpg", "not a JPEG");
    f.state.photoList = {f.dir.file("photos/bad.jpg"), f.photo("2.jpg", 400, 300)};
    f.host.answer(stop);
    const RunCounts counts = wholeFolderRun(f.state, f.dialogs, f.host);
    EXPECT_EQ(counts.skipped, stop == Answer::No ? 1 : 0);
    EXPECT_EQ(counts.saved, stop == Answer::No ? 1 : 0);
    EXPECT_EQ(f.host.messages.back().text.rfind(stop == Answer::No ? "作業が終了" : "作業を中断", 0),
              0u);
  }
}

TEST(BatchDriver, OnePhotoAndSkipWalkTheList) {
  Fixture f;
  f.state.photoList = {f.photo("1.jpg", 400, 300), f.photo("2.jpg", 400, 300),
                       f.photo("3.jpg", 400, 300)};
  onePhotoCommand(f.state, f.dialogs, f.host);
  EXPECT_TRUE(fileExists(f.dir.file("out/1.jpg")));
  EXPECT_EQ(f.state.photoIndex, 1);
  EXPECT_EQ(f.state.progress, 33);
  EXPECT_EQ(f.state.statusPanels[1], f.state.photoList[1]) << "the next photo is shown";
  skipCommand(f.state, f.dialogs, f.host);
  EXPECT_EQ(f.state.photoIndex, 2);
  EXPECT_EQ(f.state.progress, 66);
  EXPECT_EQ(f.state.statusPanels[1], f.state.photoList[2]);
  EXPECT_TRUE(f.state.buttons.processing);
  skipCommand(f.state, f.dialogs, f.host);  // past the last photo
  EXPECT_EQ(f.state.progress, 100);
  EXPECT_FALSE(f.state.buttons.processing);
  EXPECT_TRUE(f.state.buttons.commands);
  skipCommand(f.state, f.dialogs, f.host);  // nothing left: no step beyond the list
  EXPECT_EQ(f.state.photoIndex, 3);
  onePhotoCommand(f.state, f.dialogs, f.host);
  EXPECT_EQ(f.host.messages.back().text, "これ以上写真画像はありません。");
  EXPECT_FALSE(f.state.buttons.processing);
  EXPECT_FALSE(fileExists(f.dir.file("out/2.jpg")));
}

TEST(BatchDriver, AbortAsksAndBusyKeepsCommandsOut) {
  Fixture f;
  f.host.answer(Answer::No);
  abortCommand(f.state, f.host);
  EXPECT_FALSE(f.state.abortRequested);
  f.host.answer(Answer::Yes);
  abortCommand(f.state, f.host);
  EXPECT_TRUE(f.state.abortRequested);
  EXPECT_EQ(f.host.messages[0].text, "中断して宜しいですか？");
  EXPECT_EQ(f.host.messages[0].buttons, Buttons::YesNo);

  f.state.busy = true;
  f.state.photoList = {f.photo("1.jpg", 400, 300)};
  wholeFolderRun(f.state, f.dialogs, f.host);
  onePhotoCommand(f.state, f.dialogs, f.host);
  skipCommand(f.state, f.dialogs, f.host);
  EXPECT_EQ(f.state.photoIndex, 0);
  EXPECT_EQ(f.host.messages.size(), 2u);
}

}  // namespace
}  // namespace kov
