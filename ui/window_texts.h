#pragma once

#include <string>
#include <string_view>

// The window's own texts, as the users of the program know them. UTF-8.
namespace habuki::ui {

inline constexpr const char* kTitleStart = "ハブキ丸 ";
inline constexpr const char* kFilterCaptionIdle = "ハブキ";
inline constexpr const char* kFilterCaptionBusy = "削除中";
inline constexpr const char* kLabelCaption =
    "FANUCのＣＮＣパラメータで、パラメータ値\"０\"のパラメータをハブキします。";
inline constexpr const char* kOption1Caption = "Fs-30i";
inline constexpr const char* kOption2Caption = "Fs-16i他";
inline constexpr const char* kOption3Caption = "PMCﾊﾟﾗﾒｰﾀ";

inline constexpr const char* kMenuFile = "ﾌｧｲﾙ";
inline constexpr const char* kMenuOpen = "開く";
inline constexpr const char* kMenuSave = "保存";
inline constexpr const char* kMenuExit = "終了";
inline constexpr const char* kMenuSettings = "設定";
inline constexpr const char* kMenuCommentJ = "先頭に日本語のｺﾒﾝﾄを付加する";
inline constexpr const char* kMenuCommentE = "先頭に英語のｺﾒﾝﾄを付加する";

// The failure message ends in the emoticon ｍ(｡≧Д≦｡)ｍ.
inline constexpr const char* kFilterFailedMessage =
    "ハブキ出来ません。\r\n\r\n\uFF4D(\uFF61\u2267\u0414\u2266\uFF61)\uFF4D";
inline constexpr const char* kFilterFailedTitle = "エラー";
inline constexpr const char* kSavedMessage = "保存しました。";
inline constexpr const char* kSaveFailedMessage = "保存出来ませんでした。\r\n\r\n";
inline constexpr const char* kMessageTitle = "ハブキ丸";
// Why a save over a file loaded in this session is refused.
inline constexpr const char* kSaveOverOpenedBackup =
    "開いたバックアップのファイルです。元のファイルを残すため、別の名前を選んでください。";
// Said by the save command when the right pane holds no result of the file shown.
inline constexpr const char* kNothingToSave = "保存する結果がありません。";

// Said when a file cannot be opened or dropped: the first line, the file's name, then why
// (%1: the limit, or the system's reason).
inline constexpr const char* kOpenFailedMessage = "開けませんでした。\r\n\r\n";
inline constexpr const char* kOpenFileEmpty = "ファイルが空です。";
inline constexpr const char* kOpenFileTooLarge = "ファイルが大きすぎます（上限は %1）。";
inline constexpr const char* kOpenCannotRead = "ファイルを読めません: %1";

// Shown after a result from which records or entries were dropped although their value is not
// zero: the first line, then for each kind of loss that occurred a line with its count (%1) and
// the cause.
inline constexpr const char* kLossStart = "値が０ではないのに省いたものがあります。\r\n";
inline constexpr const char* kLossUnhandled =
    "\r\n形式に規則のない種類のレコード: %1 件\r\n（形式の選択が違うかもしれません。）";
inline constexpr const char* kLossAfterEnd =
    "\r\n終わりの「%」より後のレコード: %1 件\r\n（終わりの「%」より後ろは結果に入りません。）";
inline constexpr const char* kLossUnmarked = "\r\n値の印（P、M）が後にないエントリ: %1 件";

// The file dialogs' file types, as description and pattern pairs separated by "|".
inline constexpr const char* kFileTypes =
    "ﾊﾟﾗﾒｰﾀﾌｧｲﾙ(*.PRM;*.PMC;*.TXT;*.DAT)|*.PRM;*.PMC;*.TXT;*.DAT|全てのﾌｧｲﾙ(*.*)|*.*";

// A text with each "%1" in it replaced by `value`.
inline std::string WithArg(std::string_view text, std::string_view value) {
  std::string filled;
  for (std::size_t at = text.find("%1"); at != std::string_view::npos; at = text.find("%1")) {
    filled.append(text.substr(0, at)).append(value);
    text.remove_prefix(at + 2);
  }
  return filled.append(text);
}

}  // namespace habuki::ui
