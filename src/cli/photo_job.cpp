#include "cli/photo_job.h"

#include <exception>
#include <new>
#include <string_view>
#include <sys/stat.h>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "cli/terminal_host.h"
#include "pipeline/compose.h"
#include "pipeline/save_jpeg.h"
#include "platform/file_util.h"

namespace kov {

namespace {

constexpr std::string_view kOverwriteQuestion =
    "既に同名のファイルが存在します。\n上書きして宜しいですか？";
constexpr std::string_view kUnreadable = "JPEGファイルを読み込めませんでした。";
constexpr std::string_view kSentenceEnd = "。";

// "JPEGファイルを読み込めませんでした。中断しますか？..." -> its statement, without the question.
std::string_view firstSentence(std::string_view text) {
  const std::size_t end = text.find(kSentenceEnd);
  if (end != std::string_view::npos) return text.substr(0, end + kSentenceEnd.size());
  return text.substr(0, text.find('\n'));
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {};
  struct stat sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// A FIFO or device named *.jpg would block or never end when read.
bool specialFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

PhotoOutcome compose(MainWindowState& state, DialogValues& dialogs, TerminalHost& host,
                     const std::string& photo) {
  const int r = composePhoto(state, dialogs, host, photo, false, false);
  if (r == kComposeOk) return PhotoOutcome::Saved;
  if (r == kComposeError) return PhotoOutcome::Failed;  // the write failure is reported
  // Declined questions: a declined overwrite is a skip; declining to stop after
  // a missing or unreadable photo means this photo failed.
  for (const std::string& question : host.questions()) {
    if (question == kOverwriteQuestion) continue;
    host.report(firstSentence(question));
    return PhotoOutcome::Failed;
  }
  if (r == kComposeSkipped) return PhotoOutcome::Skipped;
  host.report("処理できませんでした。(the photo could not be processed)");
  return PhotoOutcome::Failed;
}

}  // namespace

PhotoOutcome processPhoto(MainWindowState& state, DialogValues& dialogs, TerminalHost& host,
                          const std::string& photo, bool overwrite) {
  host.beginPhoto(photo);
  if (specialFile(photo)) {
    host.report(kUnreadable);
    return PhotoOutcome::Failed;
  }
  const std::string output = outputPathFor(state.Edit2, state.Edit1, photo);
  if (fileExists(output)) {
    if (sameFile(output, photo)) {
      host.report(
          "出力ファイルが写真そのものなので保存しません。(the output would replace the photo)");
      return PhotoOutcome::Failed;
    }
    if (!overwrite) return PhotoOutcome::Skipped;
  }
  try {
    return compose(state, dialogs, host, photo);
  } catch (const std::bad_alloc&) {
    host.report(kOutOfWorkMemoryMessage);
  } catch (const std::exception& e) {
    host.report(std::string("処理できませんでした。(") + e.what() + ")");
  }
  return PhotoOutcome::Failed;
}

}  // namespace kov
