#pragma once
// Message texts that several commands show for the same missing input.

#include <string_view>

namespace kov {

inline constexpr std::string_view kNoPhotoFolderMessage = "入力フォルダが指定されていません。";
inline constexpr std::string_view kNoOutputFolderMessage = "出力フォルダが指定されていません。";
inline constexpr std::string_view kNoFrameMessage = "枠ファイルが指定されていません。";

}  // namespace kov
