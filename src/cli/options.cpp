#include "cli/options.h"

#include <charconv>
#include <string_view>

namespace kov {

namespace {

std::optional<int> parseInt(std::string_view text, int min, int max) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < min || value > max)
    return std::nullopt;
  return value;
}

std::optional<int> parseBlur(std::string_view text) {
  if (text.size() != 1) return std::nullopt;
  const char c = text[0];
  if (c >= 'A' && c <= 'D') return c - 'A';
  if (c >= 'a' && c <= 'd') return c - 'a';
  return std::nullopt;
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : m_args(args) {}

  ParsedCommandLine run() {
    std::vector<std::string> folders;
    bool optionsEnded = false;
    while (m_next < m_args.size() && m_result.error.empty()) {
      const std::string& arg = m_args[m_next++];
      if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
        folders.push_back(arg);
      } else if (arg == "--") {
        optionsEnded = true;
      } else {
        option(arg);
      }
    }
    if (!m_result.error.empty() || m_result.options.help) return m_result;
    BatchOptions& o = m_result.options;
    if (o.checkFrame) {
      if (!folders.empty())
        fail("--check-frame はフォルダを取りません (--check-frame takes no folders)");
      return m_result;
    }
    if (folders.size() != 2) {
      fail(
          "写真フォルダと出力フォルダを指定して下さい (PHOTO_FOLDER and OUTPUT_FOLDER are needed)");
    } else if (folders[0].empty() || folders[1].empty()) {
      fail("フォルダ名が空です (a folder name is empty)");
    } else {
      o.photoFolder = folders[0];
      o.outputFolder = folders[1];
    }
    return m_result;
  }

 private:
  void fail(std::string message) {
    if (m_result.error.empty()) m_result.error = std::move(message);
  }

  // The value of an option: after "=", glued to a short option, or the next argument.
  std::optional<std::string> value(const std::string& name, std::optional<std::string> inline_) {
    if (inline_) return inline_;
    if (m_next < m_args.size()) return m_args[m_next++];
    fail(name + " には値が必要です (" + name + " needs a value)");
    return std::nullopt;
  }

  void option(const std::string& arg) {
    std::string name = arg;
    std::optional<std::string> inline_;
    if (arg.rfind("--", 0) == 0) {
      if (const auto eq = arg.find('='); eq != std::string::npos) {
        name = arg.substr(0, eq);
        inline_ = arg.substr(eq + 1);
      }
    } else if (arg.size() > 2) {  // -j4
      name = arg.substr(0, 2);
      inline_ = arg.substr(2);
    }
    BatchOptions& o = m_result.options;
    const auto flag = [&](bool& target) {
      if (inline_) fail(name + " は値を取りません (" + name + " takes no value)");
      target = true;
    };
    const auto text = [&](std::optional<std::string>& target) {
      if (auto v = value(name, inline_)) target = std::move(*v);
    };
    const auto number = [&](std::optional<int>& target, int min, int max, const char* what) {
      const std::optional<std::string> v = value(name, inline_);
      if (!v) return;
      target = parseInt(*v, min, max);
      if (!target) fail(name + ": " + what + " (" + *v + ")");
    };

    if (name == "-h" || name == "--help") {
      flag(o.help);
    } else if (name == "--frame") {
      std::optional<std::string> path;
      text(path);
      if (path && path->empty()) fail("--frame: 枠ファイル名が空です (empty frame file name)");
      if (path) o.framePath = *path;
    } else if (name == "--subfolders") {
      flag(o.subfolders);
    } else if (name == "--no-hq") {
      flag(o.noHighQuality);
    } else if (name == "--sharpen") {
      flag(o.sharpen);
    } else if (name == "--overwrite") {
      flag(o.overwrite);
    } else if (name == "--quality") {
      number(o.quality, 0, 100, "画質は0から100です (quality is 0 to 100)");
    } else if (name == "--blur") {
      const std::optional<std::string> v = value(name, inline_);
      if (!v) return;
      o.blur = parseBlur(*v);
      if (!o.blur) fail("--blur: A, B, C, D のどれかです (one of A, B, C, D) (" + *v + ")");
    } else if (name == "--title") {
      text(o.captions[0]);
    } else if (name == "--date") {
      text(o.captions[1]);
    } else if (name == "--other") {
      text(o.captions[2]);
    } else if (name == "-j" || name == "--jobs") {
      std::optional<int> jobs;
      number(jobs, 1, kMaxJobs, "1から256までの数です (a number from 1 to 256)");
      if (jobs) o.jobs = *jobs;
    } else if (name == "--check-frame") {
      text(o.checkFrame);
      if (o.checkFrame && o.checkFrame->empty())
        fail("--check-frame: 枠ファイル名が空です (empty frame file name)");
    } else {
      fail("不明なオプションです (unknown option): " + arg);
    }
  }

  const std::vector<std::string>& m_args;
  std::size_t m_next = 0;
  ParsedCommandLine m_result;
};

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
  return Parser(args).run();
}

}  // namespace kov
