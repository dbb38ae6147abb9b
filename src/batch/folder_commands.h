#pragma once
// Choosing the photo folder and the output folder: the folder browsers, folders
// dropped onto the window, typing into Edit1, and the commands behind them.

#include <string>
#include <string_view>
#include <vector>

namespace kov {

class Host;
struct DialogValues;
struct MainWindowState;

inline constexpr std::string_view kUnusableFolderMessage =
    "入力フォルダの指定が無効か使用不能です。";

constexpr int kBrowseOk = 0;
constexpr int kBrowseNotTaken = -1;  // cancelled, or the folder cannot be used (message shown)

// The folder browser for Edit1: takes the folder with a trailing separator,
// proposes an output folder when Edit2 is empty and shows the folder's counts.
int browsePhotoFolder(MainWindowState& state, Host& host);
// The folder browser for Edit2.
int browseOutputFolder(MainWindowState& state, Host& host);

// A control's rectangle in the window's client coordinates.
struct FieldRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  // Edges included.
  bool contains(int x, int y) const {
    return x >= left && x <= left + width && y >= top && y <= top + height;
  }
};

// Files or folders dropped on the window. Only the first path counts: dropped
// while the pointer last moved over `edit2` (dropPointX/Y) it becomes the
// output folder and nothing else happens; elsewhere it becomes the photo folder.
// Unless busy, the photo list is then rebuilt from Edit1, also after a drop
// outside the client area or without paths.
void handleDroppedFiles(MainWindowState& state, DialogValues& dialogs, Host& host,
                        const std::vector<std::string>& paths, bool inClientArea,
                        const FieldRect& edit2);

// "写真選択": the browser, then the list from Edit1 whatever the browser gave.
void bitBtn6Click(MainWindowState& state, DialogValues& dialogs, Host& host);
// The button beside Edit1: "写真選択" unless busy.
void bitBtn1Click(MainWindowState& state, DialogValues& dialogs, Host& host);
// The button beside Edit2: the output folder browser unless busy.
void bitBtn13Click(MainWindowState& state, Host& host);
// Leaving Edit1 after typing: the list from Edit1 unless busy or empty.
void edit1Exit(MainWindowState& state, DialogValues& dialogs, Host& host);

}  // namespace kov
