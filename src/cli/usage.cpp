#include "cli/options.h"

namespace kov {

std::string usageText() {
  return R"(使い方: kovanta-batch [オプション] 写真フォルダ 出力フォルダ
Usage:  kovanta-batch [options] PHOTO_FOLDER OUTPUT_FOLDER

写真フォルダのJPEGファイル (*.jpg) を枠に入れて文字を書き込み、同じ名前で出力フォルダに
保存します (一括実行)。
Puts every JPEG file (*.jpg) of PHOTO_FOLDER into the frame, writes the captions on it and
saves it under its own name in OUTPUT_FOLDER, as the desktop program's whole-folder run does.

  --frame FILE        枠ファイル (既定: プログラムの隣の Frame/frame001.ini)
                      frame file (default: Frame/frame001.ini next to the program)
  --subfolders        サブフォルダも検索する (出力フォルダに同じサブフォルダを作ります)
                      search sub-folders too (mirrored under OUTPUT_FOLDER)
  --no-hq             高品質で縮小しない / do not use the high-quality reduction
  --sharpen           画像をシャープにする / sharpen the photos
  --quality N         JPEG画質 0-100 / JPEG quality 0-100
  --blur A|B|C|D      フォントのぼかしパターン / blur pattern of the captions
                      (画質とぼかしの既定値はプログラムの隣の kov.ini、なければ 90 と B。
                      kov.ini は書き換えません / defaults from kov.ini next to the program,
                      else 90 and B; kov.ini is never written)
  --title TEXT        タイトル文字列 / title text
  --date TEXT         日付文字列 / date text
  --other TEXT        その他文字列 / other text
                      枠ファイルの文字列の代わりに、この実行だけ使います。\n で改行します。
                      空の文字列は書きません。
                      Used instead of the frame file's for this run only; \n breaks the
                      line; an empty TEXT draws no caption.
  --overwrite         既存の出力ファイルを上書きする。指定しなければ既存のファイルは残し、
                      その写真はスキップします。
                      replace existing output files; without it they are kept and the
                      photo counts as skipped
  -j N, --jobs N      並列に処理する写真の数 (既定: CPUのコア数)。結果は N によりません。
                      photos processed in parallel (default: the number of cores); the
                      results do not depend on N
  --check-frame FILE  枠ファイルを検査するだけ: 問題があればその内容を表示して 1 で終了、
                      なければ何も表示せず 0 で終了します。
                      only check a frame file: prints what is wrong and exits 1, or prints
                      nothing and exits 0
  -h, --help          この説明 / this help

実行中は標準エラー出力に進み具合を、終わると標準出力に結果を表示します。Ctrl-C で、処理中の
写真を仕上げてから中断します。
Progress goes to standard error, the outcome to standard output. Ctrl-C stops after the
photos in progress; no half-written file is left.

終了コード / exit status:
  0  エラーなし / no photo failed
  1  読めない写真・保存できない写真があった、または中断した
     a photo could not be read or written, or the run was interrupted
  2  使い方・フォルダ・枠ファイルの誤り (何も処理していません)
     a usage, folder or frame problem (nothing was processed)
)";
}

}  // namespace kov
