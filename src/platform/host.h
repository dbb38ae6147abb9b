#pragma once
// How core routines talk to the person at the screen: message boxes and
// questions, letting pending window events run, the cursor, the status bar,
// the progress bar and the preview. The desktop program shows them with
// widgets, the command line on the terminal, the tests record them.

#include <optional>
#include <string>
#include <string_view>

namespace kov {

class WorkImage;

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { Ok, Yes, No, Cancel };

// A file selection dialog: open or save, with its title, folder and filter
// ("フレーム設定ファイル (*.ini)|*.ini" style: description|pattern pairs).
struct FileDialog {
  enum class Kind { Open, Save } kind = Kind::Open;
  std::string title;
  std::string initialFolder;
  std::string fileName;
  std::string filter;
};

// Where a picture handed to showPicture() goes.
enum class PictureTarget { FramePreview, Overlay, TitleCaption, DateCaption, OtherCaption };

class Host {
 public:
  virtual ~Host() = default;

  // Shows a message box and waits for the answer. Texts are UTF-8, exactly
  // as the program words them.
  virtual Answer message(std::string_view text, std::string_view caption, Buttons buttons,
                         Icon icon) = 0;

  // Lets pending window events (the abort button, repaints, drops) run.
  virtual void pumpEvents() {}
  virtual void setBusyCursor(bool /*busy*/) {}
  virtual void setStatusText(int /*panel*/, std::string_view /*text*/) {}
  virtual void setProgress(int /*percent*/) {}
  virtual void showPicture(PictureTarget /*target*/, const WorkImage& /*picture*/) {}

  // The folder browser and the file dialogs; nothing when the user cancels.
  virtual std::optional<std::string> chooseFolder() { return std::nullopt; }
  virtual std::optional<std::string> chooseFile(const FileDialog& /*dialog*/) {
    return std::nullopt;
  }
};

// A host that says nothing and answers every question with No: for work
// that must never ask anybody.
class SilentHost final : public Host {
 public:
  Answer message(std::string_view, std::string_view, Buttons buttons, Icon) override {
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
  }
};

}  // namespace kov
