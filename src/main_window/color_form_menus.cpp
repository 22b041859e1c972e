#include "main_window/color_form.h"
#include "resources/help_topics.h"

#include "platform/controls/menu.h"
#include "platform/controls/named.h"
#include "platform/services/help.h"

#include <QMenu>
#include <QMenuBar>

using platform::MenuItem;
using platform::Named;

namespace {

// In menu order; the index is also the interface colour's number.
constexpr const char* kSysColorCaptions[31] = {
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

constexpr const char* kCopyCaptions[5] = {
    "HTML形式でコピー(&H)",
    "VB形式でコピー(&V)",
    "C形式でコピー(&C)",
    "DWORD値でコピー(&D)",
    "RGB関数でコピー(&R)",
};

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* caption)
{
    return Named(bar->addMenu(QString::fromUtf8(caption)), name);
}

MenuItem* AddItem(QMenu* menu, const char* name, int index, const char* caption)
{
    auto* item = Named(new MenuItem(QString::fromUtf8(caption), menu), name, index);
    menu->addAction(item);
    return item;
}

MenuItem* AddItem(QMenu* menu, const char* name, const char* caption)
{
    return AddItem(menu, name, -1, caption);
}

} // namespace

void ColorForm::CreateMenus()
{
    QMenuBar* bar = menuBar();

    mnuFile = AddMenu(bar, "mnuFile", "ファイル(&F)");
    mnuFileExit = AddItem(mnuFile, "mnuFileExit", "Tinctorの終了(&X)");

    mnuEdit = AddMenu(bar, "mnuEdit", "編集(&E)");
    for (int i = 0; i < std::ssize(mnuEditCopy); ++i)
        mnuEditCopy[i] = AddItem(mnuEdit, "mnuEditCopy", i, kCopyCaptions[i]);
    mnuEditSeparate1 = AddItem(mnuEdit, "mnuEditSeparate1", "-");
    mnuEditColor[0] = AddItem(mnuEdit, "mnuEditColor", 0, "色の反転(&T)");
    mnuEditColor[1] = AddItem(mnuEdit, "mnuEditColor", 1, "補色(&O)");
    mnuEditSeparate2 = AddItem(mnuEdit, "mnuEditSeparate2", "-");
    mnuEditPicker = AddItem(mnuEdit, "mnuEditPicker", "画面上の色を取得(&P)");
    mnuEditSystem
        = Named(mnuEdit->addMenu(QStringLiteral("システムカラーの取得(&S)")), "mnuEditSystem");
    platform::SetHelpContextID(mnuEditSystem, resources::kSystemColourMenuTopic);
    for (int i = 0; i < std::ssize(mnuEditSysColor); ++i)
        mnuEditSysColor[i] = AddItem(mnuEditSystem, "mnuEditSysColor", i, kSysColorCaptions[i]);

    mnuView = AddMenu(bar, "mnuView", "表示(&V)");
    mnuViewRGB[0] = AddItem(mnuView, "mnuViewRGB", 0, "RGB 10進(&D)");
    mnuViewRGB[1] = AddItem(mnuView, "mnuViewRGB", 1, "RGB 16進(&H)");
    mnuViewSeparate = AddItem(mnuView, "mnuViewSeparate", "-");
    mnuViewMode[0] = AddItem(mnuView, "mnuViewMode", 0, "HSV(&S)");
    mnuViewMode[1] = AddItem(mnuView, "mnuViewMode", 1, "HLS(&L)");
    mnuViewMode[2] = AddItem(mnuView, "mnuViewMode", 2, "YUV(&Y)");

    mnuHelp = AddMenu(bar, "mnuHelp", "ヘルプ(&H)");
    mnuHelpHelp = AddItem(mnuHelp, "mnuHelpHelp", "Tinctorヘルプ(&H)");
    mnuHelpSeparate1 = AddItem(mnuHelp, "mnuHelpSeparate1", "-");
    mnuHelpWebpage = AddItem(mnuHelp, "mnuHelpWebpage", "Vantrel Webページ(&W)");
    mnuHelpSeparate2 = AddItem(mnuHelp, "mnuHelpSeparate2", "-");
    mnuHelpAbout = AddItem(mnuHelp, "mnuHelpAbout", "バージョン情報(&A)...");
}
