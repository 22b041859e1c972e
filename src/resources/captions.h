#pragma once

// Every text the user reads in a window, menu or tooltip, in UTF-8, except
// the string table's entries, which the window looks up by number
// (strings.h). An "&" marks the access key of the letter after it.
namespace resources {

// The main window's menus, in menu order.
inline constexpr char kFileMenu[] = "ファイル(&F)";
inline constexpr char kFileExit[] = "Tinctorの終了(&X)";
inline constexpr char kEditMenu[] = "編集(&E)";
inline constexpr const char* kCopyCaptions[5] = {
    "HTML形式でコピー(&H)",
    "VB形式でコピー(&V)",
    "C形式でコピー(&C)",
    "DWORD値でコピー(&D)",
    "RGB関数でコピー(&R)",
};
inline constexpr const char* kColourCommandCaptions[2] = {"色の反転(&T)", "補色(&O)"};
inline constexpr char kEditPicker[] = "画面上の色を取得(&P)";
inline constexpr char kEditSystem[] = "システムカラーの取得(&S)";
// The index is also the interface colour's number.
inline constexpr const char* kSysColorCaptions[31] = {
    "スクロールバー",
    "デスクトップ",
    "アクティブタイトルバー",
    "非アクティブタイトルバー",
    "メニューバーの背景",
    "ウィンドウの背景",
    "ウィンドウの枠",
    "メニューの文字",
    "ウィンドウ内の文字",
    "タイトルバーの文字",
    "アクティブウィンドウの境界",
    "非アクティブウィンドウの境界",
    "MDIウィンドウの背景",
    "選択項目の背景",
    "選択項目の文字",
    "ボタンの表面",
    "ボタンの影",
    "淡色表示の文字",
    "ボタンの文字",
    "非アクティブタイトルバーの文字",
    "3D強調表示",
    "3Dの濃い影",
    "3Dの明るい色",
    "ツールチップの文字",
    "ツールチップの背景",
    "ボタンの代替色",
    "ホットトラック",
    "アクティブタイトルバーの右側",
    "非アクティブタイトルバーの右側",
    "選択されたフラットメニュー項目",
    "フラットメニューバー",
};
inline constexpr char kViewMenu[] = "表示(&V)";
inline constexpr const char* kRadixCaptions[2] = {"RGB 10進(&D)", "RGB 16進(&H)"};
inline constexpr const char* kModelCaptions[3] = {"HSV(&S)", "HLS(&L)", "YUV(&Y)"};
inline constexpr char kHelpMenu[] = "ヘルプ(&H)";
inline constexpr char kHelpHelp[] = "Tinctorヘルプ(&H)";
inline constexpr char kHelpWebpage[] = "Vantrel Webページ(&W)";
inline constexpr char kHelpAbout[] = "バージョン情報(&A)...";

// The main window's controls.
inline constexpr char kPreviewTooltip[] = "色表示";
inline constexpr char kRgbFrame[] = "RGB";
inline constexpr const char* kRgbCaptions[3] = {"赤(&R)", "緑(&G)", "青(&B)"};
inline constexpr char kSwatchFrame[] = "基本色";
// The preview's caption during a pick, and for a while after a pick that
// could not start; the blank lines bring the words near the square's middle.
inline constexpr char kPicking[] = "\r\n\r\n取得中";
inline constexpr char kScreenUnreadable[] = "\r\n\r\n取得\r\nできません";

// The version dialog; %1 and %2 are the major and the two-digit minor version.
inline constexpr char kAboutTitle[] = "バージョン情報";
inline constexpr char kVersionLine[] = "Version %1.%2";
inline constexpr char kLinkTooltip[] = "サポートページへ";
inline constexpr char kAboutOk[] = "OK";

// The help viewer; %1 is the help file's path.
inline constexpr char kHelpTitle[] = "Tinctor ヘルプ";
inline constexpr char kHelpContents[] = "目次(&C)";
inline constexpr char kHelpBack[] = "戻る(&B)";
inline constexpr char kHelpUnreadable[] = "ヘルプ ファイル %1 を開けません。";

// Interface faces: the classic Japanese Windows one, and the one of every
// later version. The product name and the version dialog's link keep the
// classic face.
inline constexpr char kClassicFace[] = "ＭＳ Ｐゴシック";
inline constexpr char kInterfaceFace[] = "MS UI Gothic";

} // namespace resources
