#include "fakes/fake_services.h"
#include "main_window/color_form.h"
#include "platform/controls/frame.h"
#include "platform/controls/label.h"
#include "platform/controls/line.h"
#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_box.h"
#include "platform/services/help.h"
#include "platform/services/screen.h"
#include "platform/services/units.h"
#include "shell/color_api.h"
#include "shell/start_up.h"

#include <QFontDatabase>
#include <QtTest>

// Start-up and shutdown inside one process, with the operating system's
// answers and the program folder put in place by the test.
class tst_StartUp : public QObject {
    Q_OBJECT

private slots:
    void init();
    void systemVersionChoosesFontAndEntries_data();
    void systemVersionChoosesFontAndEntries();
    void firstStartIsCentredHsvDecimalWhite();
    void blackRunsNoColourReaction_data();
    void blackRunsNoColourReaction();
    void unloadWritesWhatLoadRestores();
    void positionLeftAloneWhereTheDesktopPlaces();
    void secondLineOnePixelBelowTheFirst();

private:
    std::unique_ptr<FakeServices> os_;
    std::unique_ptr<QTemporaryDir> folder_;
};

void tst_StartUp::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    os_ = std::make_unique<FakeServices>();
    os_->appPath = folder_->path();
}

void tst_StartUp::systemVersionChoosesFontAndEntries_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("face");
    QTest::addColumn<bool>("entries25to28");
    QTest::addColumn<bool>("entries29and30");

    QTest::newRow("4.00") << 400 << "ＭＳ Ｐゴシック" << false << false;
    QTest::newRow("4.09") << 409 << "MS UI Gothic" << false << false;
    QTest::newRow("4.10") << 410 << "MS UI Gothic" << true << false;
    QTest::newRow("5.00") << 500 << "MS UI Gothic" << true << false;
    QTest::newRow("5.01") << 501 << "MS UI Gothic" << true << true;
}

void tst_StartUp::systemVersionChoosesFontAndEntries()
{
    QFETCH(int, version);
    QFETCH(QString, face);
    QFETCH(bool, entries25to28);
    QFETCH(bool, entries29and30);

    os_->version = version;
    ColorForm form;
    shell::Form_Load(form);
    for (int i = 0; i < 31; ++i) {
        const bool shown = i < 25 || (i < 29 ? entries25to28 : entries29and30);
        QCOMPARE(form.mnuEditSysColor[i]->isVisible(), shown);
    }
    const QList<QWidget*> controls{form.Label1[0], form.Text2[2], form.Frame3, form.Label4[9]};
    for (QWidget* control : controls) {
        // Where the machine lacks the face, the desktop's own stays: the
        // menus' family, with no second family behind it.
        const QString expected
            = QFontDatabase::hasFamily(face) ? face : QApplication::font().family();
        QCOMPARE(control->font().family(), expected);
        QVERIFY(control->font().families().size() <= 1);
        QCOMPARE(control->font().pointSizeF(), QApplication::font().pointSizeF());
    }
}

void tst_StartUp::firstStartIsCentredHsvDecimalWhite()
{
    ColorForm form;
    shell::Form_Load(form);
    QCOMPARE(ColorAPI::IniFile, folder_->filePath(QStringLiteral("tinctor.ini")));
    QCOMPARE(platform::HelpFile(), folder_->filePath(QStringLiteral("Tinctor.hlp")));
    QVERIFY(std::abs(form.Left() - (platform::ScreenWidth() - form.Width()) / 2) <= 15);
    QVERIFY(std::abs(form.Top() - (platform::ScreenHeight() - form.Height()) / 2) <= 15);
    QVERIFY(form.mnuViewMode[0]->Checked() && form.mnuViewRGB[0]->Checked());
    QCOMPARE(form.Label3->BackColor(), 0xFFFFFFu);
    QCOMPARE(form.Text1[1]->Text(), QStringLiteral("255"));
    QCOMPARE(form.Text2[2]->Text(), QStringLiteral("100"));
    QVERIFY(!QFile::exists(ColorAPI::IniFile)); // reading creates nothing
    QVERIFY(!form.RGBChanging && !form.ModeChanging);
}

void tst_StartUp::blackRunsNoColourReaction_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("radix");
    QTest::addColumn<QString>("rgbText");
    QTest::addColumn<QStringList>("modelTexts");
    QTest::newRow("HSV decimal") << 0 << 0 << "0" << QStringList{"0", "0", "0"};
    QTest::newRow("HLS hexadecimal") << 1 << 1 << "00" << QStringList{"0", "0", "0"};
    QTest::newRow("YUV decimal") << 2 << 0 << "0" << QStringList{"0", "128", "128"};
}

void tst_StartUp::blackRunsNoColourReaction()
{
    QFETCH(int, mode);
    QFETCH(int, radix);
    QFETCH(QString, rgbText);
    QFETCH(QStringList, modelTexts);

    QFile ini(folder_->filePath(QStringLiteral("tinctor.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[Color]\nMode=%1\nRGB=%2\nRed=0\nGreen=0\nBlue=0\n")
                  .arg(mode)
                  .arg(radix)
                  .toLatin1());
    ini.close();

    ColorForm form;
    QSignalSpy redChanges(form.HScroll1[0], &platform::ScrollBar::Change);
    shell::Form_Load(form);
    QCOMPARE(redChanges.count(), 0);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(form.Text1[i]->Text(), rgbText);
        QCOMPARE(form.Text2[i]->Text(), modelTexts[i]);
    }
    QCOMPARE(form.Label3->BackColor(), 0u);
}

void tst_StartUp::unloadWritesWhatLoadRestores()
{
    {
        ColorForm form;
        shell::Form_Load(form);
        form.mnuViewMode_Click(2);
        form.mnuViewRGB_Click(1);
        form.HScroll1[1]->SetValue(52);
        form.move(100, 80);
        shell::Form_Unload(form);
    }
    QFile ini(folder_->filePath(QStringLiteral("tinctor.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QStringList keys = QString::fromLatin1(ini.readAll()).split(QLatin1Char('\n'));
    keys = keys.filter(QStringLiteral("="));
    QCOMPARE(keys,
        (QStringList{
            "PosX=1500", "PosY=1200", "Red=255", "Green=52", "Blue=255", "RGB=1", "Mode=2"}));

    ColorForm again;
    shell::Form_Load(again);
    QCOMPARE(again.pos(), QPoint(100, 80));
    QVERIFY(again.mnuViewMode[2]->Checked() && again.mnuViewRGB[1]->Checked());
    QCOMPARE(again.Text1[1]->Text(), QStringLiteral("34"));
}

void tst_StartUp::positionLeftAloneWhereTheDesktopPlaces()
{
    os_->placesWindows = false;
    QFile ini(folder_->filePath(QStringLiteral("tinctor.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Window]\nPosX=1500\nPosY=1200\n");
    ini.close();

    ColorForm form;
    const QPoint unplaced = form.pos();
    shell::Form_Load(form);
    QCOMPARE(form.pos(), unplaced);
    form.move(300, 200);
    form.HScroll1[0]->SetValue(18);
    shell::Form_Unload(form);

    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QStringList keys = QString::fromLatin1(ini.readAll()).split(QLatin1Char('\n'));
    QCOMPARE(keys.filter(QStringLiteral("=")),
        (QStringList{
            "PosX=1500", "PosY=1200", "Red=18", "Green=255", "Blue=255", "RGB=0", "Mode=0"}));
}

void tst_StartUp::secondLineOnePixelBelowTheFirst()
{
    // Registered twice with CTest: at 96 DPI and with the DPI forced to 120.
    const int dpi = qEnvironmentVariableIntValue("QT_FONT_DPI") == 120 ? 120 : 96;
    QCOMPARE(platform::TwipsPerPixelY(), 1440.0f / dpi);

    ColorForm form;
    shell::Form_Load(form);
    const float expected = dpi == 120 ? 12.0f : 15.0f;
    QCOMPARE(form.Line1[0]->Y1(), 0.0f);
    QCOMPARE(form.Line1[1]->Y1(), expected);
    QCOMPARE(form.Line1[1]->Y2(), expected);
    QCOMPARE(form.Line1[1]->geometry().top(), form.Line1[0]->geometry().top() + 1);
}

QTEST_MAIN(tst_StartUp)
#include "tst_start_up.moc"
