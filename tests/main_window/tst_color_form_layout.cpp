#include "fakes/fake_services.h"
#include "main_window/color_form.h"
#include "platform/controls/frame.h"
#include "platform/controls/label.h"
#include "platform/controls/line.h"
#include "platform/controls/menu.h"
#include "platform/controls/qt_color.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_box.h"
#include "platform/services/services.h"
#include "platform/services/units.h"

#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include <memory>

namespace {

// The menu tree as lines "depth name caption", separators as "-".
void DescribeMenu(const QMenu* menu, int depth, QStringList& out)
{
    for (QAction* action : menu->actions()) {
        const QString name = action->menu() ? action->menu()->objectName() : action->objectName();
        out << QStringLiteral("%1 %2 %3")
                   .arg(depth)
                   .arg(name, action->isSeparator() ? "-" : action->text());
        if (action->menu())
            DescribeMenu(action->menu(), depth + 1, out);
    }
}

} // namespace

class tst_ColorFormLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void window();
    void geometry_data();
    void geometry();
    void captionsAndTooltips_data();
    void captionsAndTooltips();
    void scrollRanges();
    void swatches_data();
    void swatches();
    void etchedRule();
    void menuTree();
    void nothingCheckedNothingHidden();
    void focusStartsInRedBox();
    void tabOrder();
    void accessKeys_data();
    void accessKeys();
    void boxesTakeThreeCharacters();

private:
    template <class T = QWidget> T* find(const QString& name) const
    {
        T* w = form_->findChild<T*>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }

    FakeServices colours_;
    std::unique_ptr<ColorForm> form_;
};

void tst_ColorFormLayout::initTestCase()
{
    // Every twips figure below assumes 96 DPI, where 15 twips make a pixel.
    QCOMPARE(platform::TwipsPerPixelX(), 15.0f);
    QCOMPARE(platform::TwipsPerPixelY(), 15.0f);
}

void tst_ColorFormLayout::init()
{
    form_ = std::make_unique<ColorForm>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void tst_ColorFormLayout::cleanup()
{
    form_.reset();
}

void tst_ColorFormLayout::window()
{
    QCOMPARE(form_->windowTitle(), QStringLiteral("Tinctor"));
    QCOMPARE(form_->Client()->size(), QSize(273, 320));
    QCOMPARE(form_->Client()->mapTo(form_.get(), QPoint(0, 0)).y(), form_->menuBar()->height());
    QCOMPARE(form_->minimumSize(), form_->maximumSize());
    const Qt::WindowFlags flags = form_->windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form_->HelpContextID(), 3);
    const QList<QSize> sizes = form_->windowIcon().availableSizes();
    for (int size : {16, 32, 48})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
}

void tst_ColorFormLayout::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");

    const auto row = [](const char* name, const char* container, int l, int t, int w, int h) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(container)
                            << QRect(l, t, w, h);
    };
    row("Label3", "client", 240, 240, 975, 975);
    row("Frame1", "client", 240, 1320, 3615, 1575);
    row("Label1(0)", "Frame1", 240, 390, 495, 255);
    row("Text1(0)", "Frame1", 960, 360, 480, 270);
    row("HScroll1(0)", "Frame1", 1560, 360, 1815, 255);
    row("Label1(1)", "Frame1", 240, 750, 495, 255);
    row("Text1(1)", "Frame1", 960, 720, 480, 270);
    row("HScroll1(1)", "Frame1", 1560, 720, 1815, 255);
    row("Label1(2)", "Frame1", 240, 1110, 495, 255);
    row("Text1(2)", "Frame1", 960, 1080, 465, 270);
    row("HScroll1(2)", "Frame1", 1560, 1080, 1815, 255);
    row("Frame2", "client", 240, 3000, 3615, 1575);
    row("Label2(0)", "Frame2", 240, 390, 615, 255);
    row("Text2(0)", "Frame2", 960, 360, 480, 270);
    row("HScroll2(0)", "Frame2", 1560, 360, 1815, 255);
    row("Label2(1)", "Frame2", 240, 750, 615, 255);
    row("Text2(1)", "Frame2", 960, 720, 480, 270);
    row("HScroll2(1)", "Frame2", 1560, 720, 1815, 255);
    row("Label2(2)", "Frame2", 240, 1110, 615, 255);
    row("Text2(2)", "Frame2", 960, 1080, 480, 270);
    row("HScroll2(2)", "Frame2", 1560, 1080, 1815, 255);
    row("Frame3", "client", 1440, 120, 2415, 1095);
    row("Label4(0)", "Frame3", 240, 360, 240, 240);
    row("Label4(7)", "Frame3", 1920, 360, 240, 240);
    row("Label4(8)", "Frame3", 240, 600, 240, 240);
    row("Label4(15)", "Frame3", 1920, 600, 240, 240);
}

void tst_ColorFormLayout::geometry()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, twips);

    QWidget* control = find(name);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(),
        QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
}

void tst_ColorFormLayout::captionsAndTooltips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");

    const auto row = [](const char* name, const char* caption, const char* tooltip) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption)
                            << QString::fromUtf8(tooltip);
    };
    row("Label3", "", "色表示");
    row("Frame1", "RGB", "");
    row("Label1(0)", "赤(&R)", "");
    row("Label1(1)", "緑(&G)", "");
    row("Label1(2)", "青(&B)", "");
    row("Text1(0)", "00", "");
    row("Text1(1)", "00", "");
    row("Text1(2)", "00", "");
    row("Frame2", "", "");
    row("Label2(0)", "0", "");
    row("Label2(1)", "1", "");
    row("Label2(2)", "2", "");
    row("Text2(0)", "0", "");
    row("Text2(1)", "0", "");
    row("Text2(2)", "0", "");
    row("Frame3", "基本色", "");
}

void tst_ColorFormLayout::captionsAndTooltips()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);

    QWidget* control = find(name);
    QString shown;
    if (auto* label = qobject_cast<platform::Label*>(control))
        shown = label->Caption();
    else if (auto* frame = qobject_cast<platform::Frame*>(control))
        shown = frame->Caption();
    else if (auto* box = qobject_cast<platform::TextBox*>(control))
        shown = box->Text();
    QCOMPARE(shown, caption);
    QCOMPARE(control->toolTip(), tooltip);
}

void tst_ColorFormLayout::scrollRanges()
{
    const int maxima[6] = {255, 255, 255, 359, 100, 100};
    for (int i = 0; i < 6; ++i) {
        const auto* bar = i < 3 ? form_->HScroll1[i] : form_->HScroll2[i - 3];
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), maxima[i]);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->orientation(), Qt::Horizontal);
    }
}

void tst_ColorFormLayout::swatches_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QColor>("colour");

    const char* names[16] = {"Black", "Navy", "Green", "Teal", "Maroon", "Purple", "Olive",
        "Silver", "Gray", "Blue", "Lime", "Aqua", "Red", "Fuchsia", "Yellow", "White"};
    const QColor colours[16] = {{0, 0, 0}, {0, 0, 128}, {0, 128, 0}, {0, 128, 128}, {128, 0, 0},
        {128, 0, 128}, {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255}, {0, 255, 0},
        {0, 255, 255}, {255, 0, 0}, {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
    for (int i = 0; i < 16; ++i)
        QTest::newRow(names[i]) << i << QString::fromLatin1(names[i]) << colours[i];
}

void tst_ColorFormLayout::swatches()
{
    QFETCH(int, index);
    QFETCH(QString, tooltip);
    QFETCH(QColor, colour);

    platform::Label* swatch = form_->Label4[index];
    QCOMPARE(swatch->objectName(), QStringLiteral("Label4(%1)").arg(index));
    QCOMPARE(swatch->toolTip(), tooltip);
    QCOMPARE(platform::ToQColor(swatch->BackColor()), colour);
    QVERIFY(swatch->Border());
    QCOMPARE(swatch->Caption(), QString());
    // What is painted is the colour, not only what is stored.
    const QImage painted = swatch->grab().toImage();
    QCOMPARE(QColor(painted.pixel(painted.width() / 2, painted.height() / 2)), colour);
}

void tst_ColorFormLayout::etchedRule()
{
    platform::Line* shadow = form_->Line1[0];
    platform::Line* highlight = form_->Line1[1];
    QCOMPARE(shadow->BorderColor(), colours_.GetSysColor(16));
    QCOMPARE(highlight->BorderColor(), colours_.GetSysColor(20));
    QCOMPARE(shadow->Y1(), 0.0f);
    QCOMPARE(highlight->Y1(), 15.0f);
    QCOMPARE(highlight->X2(), 4200.0f);
    QCOMPARE(shadow->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(highlight->geometry().topLeft(), QPoint(0, 1));
}

void tst_ColorFormLayout::menuTree()
{
    QStringList tree;
    for (QAction* top : form_->menuBar()->actions()) {
        tree << QStringLiteral("0 %1 %2").arg(top->menu()->objectName(), top->text());
        DescribeMenu(top->menu(), 1, tree);
    }

    QStringList expected = {
        "0 mnuFile ファイル(&F)",
        "1 mnuFileExit Tinctorの終了(&X)",
        "0 mnuEdit 編集(&E)",
        "1 mnuEditCopy(0) HTML形式でコピー(&H)",
        "1 mnuEditCopy(1) VB形式でコピー(&V)",
        "1 mnuEditCopy(2) C形式でコピー(&C)",
        "1 mnuEditCopy(3) DWORD値でコピー(&D)",
        "1 mnuEditCopy(4) RGB関数でコピー(&R)",
        "1 mnuEditSeparate1 -",
        "1 mnuEditColor(0) 色の反転(&T)",
        "1 mnuEditColor(1) 補色(&O)",
        "1 mnuEditSeparate2 -",
        "1 mnuEditPicker 画面上の色を取得(&P)",
        "1 mnuEditSystem システムカラーの取得(&S)",
    };
    const char* sysColors[31] = {"スクロールバー", "デスクトップ", "アクティブタイトルバー",
        "非アクティブタイトルバー", "メニューバーの背景", "ウィンドウの背景", "ウィンドウの枠",
        "メニューの文字", "ウィンドウ内の文字", "タイトルバーの文字", "アクティブウィンドウの境界",
        "非アクティブウィンドウの境界", "MDIウィンドウの背景", "選択項目の背景", "選択項目の文字",
        "ボタンの表面", "ボタンの影", "淡色表示の文字", "ボタンの文字",
        "非アクティブタイトルバーの文字", "3D強調表示", "3Dの濃い影", "3Dの明るい色",
        "ツールチップの文字", "ツールチップの背景", "ボタンの代替色", "ホットトラック",
        "アクティブタイトルバーの右側", "非アクティブタイトルバーの右側",
        "選択されたフラットメニュー項目", "フラットメニューバー"};
    for (int i = 0; i < 31; ++i)
        expected << QStringLiteral("2 mnuEditSysColor(%1) %2")
                        .arg(i)
                        .arg(QString::fromUtf8(sysColors[i]));
    expected << QStringList{
        "0 mnuView 表示(&V)",
        "1 mnuViewRGB(0) RGB 10進(&D)",
        "1 mnuViewRGB(1) RGB 16進(&H)",
        "1 mnuViewSeparate -",
        "1 mnuViewMode(0) HSV(&S)",
        "1 mnuViewMode(1) HLS(&L)",
        "1 mnuViewMode(2) YUV(&Y)",
        "0 mnuHelp ヘルプ(&H)",
        "1 mnuHelpHelp Tinctorヘルプ(&H)",
        "1 mnuHelpSeparate1 -",
        "1 mnuHelpWebpage Vantrel Webページ(&W)",
        "1 mnuHelpSeparate2 -",
        "1 mnuHelpAbout バージョン情報(&A)...",
    };
    QCOMPARE(tree, expected);

    QCOMPARE(form_->mnuEditSystem->property("HelpContextID").toInt(), 5);
    for (QAction* action : form_->findChildren<QAction*>()) {
        if (!action->objectName().startsWith(QLatin1String("mnu")))
            continue;
        QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->objectName()));
        if (action->objectName() != QLatin1String("mnuEditSystem"))
            QVERIFY2(
                !action->property("HelpContextID").isValid(), qPrintable(action->objectName()));
    }
}

void tst_ColorFormLayout::nothingCheckedNothingHidden()
{
    for (auto* item : form_->findChildren<platform::MenuItem*>()) {
        QVERIFY2(!item->isChecked(), qPrintable(item->objectName()));
        QVERIFY2(item->isVisible(), qPrintable(item->objectName()));
        QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
    }
}

void tst_ColorFormLayout::focusStartsInRedBox()
{
    QCOMPARE(QApplication::focusWidget(), form_->Text1[0]);
}

void tst_ColorFormLayout::tabOrder()
{
    QStringList visited;
    for (int i = 0; i < 12; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited,
        (QStringList{"Text1(0)", "HScroll1(0)", "Text1(1)", "HScroll1(1)", "Text1(2)",
            "HScroll1(2)", "Text2(0)", "HScroll2(0)", "Text2(1)", "HScroll2(1)", "Text2(2)",
            "HScroll2(2)"}));
    QCOMPARE(QApplication::focusWidget(), form_->Text1[0]); // and round again
}

void tst_ColorFormLayout::accessKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("target");
    QTest::newRow("Alt+R") << int(Qt::Key_R) << "Text1(0)";
    QTest::newRow("Alt+G") << int(Qt::Key_G) << "Text1(1)";
    QTest::newRow("Alt+B") << int(Qt::Key_B) << "Text1(2)";
}

void tst_ColorFormLayout::accessKeys()
{
    QFETCH(int, key);
    QFETCH(QString, target);

    form_->Text2[2]->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), target);
}

void tst_ColorFormLayout::boxesTakeThreeCharacters()
{
    platform::TextBox* box = form_->Text2[0];
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("1234"));
    QCOMPARE(box->Text(), QStringLiteral("123"));
}

QTEST_MAIN(tst_ColorFormLayout)
#include "tst_color_form_layout.moc"
