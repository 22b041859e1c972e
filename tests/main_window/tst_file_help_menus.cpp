#include "fakes/fake_services.h"
#include "form_driver.h"

#include "acquisition/picker_form.h"
#include "platform/controls/menu.h"
#include "platform/services/help.h"
#include "platform/services/help_key.h"
#include "resources/strings.h"

#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

using namespace form_driver;

// The File and Help menus and the help key, on the main window.
class tst_FileHelpMenus : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { platform::InstallHelpKey(); }
    void init() { os_ = std::make_unique<FakeServices>(); }
    void cleanup() { os_.reset(); }

    void helpKeyOpensTheTopicOfWhatIsActive();
    void helpAndWebPageCommands();
    void aboutIsModalAndBeeps();
    void exitUnloadsOnce();
    void keysReachBoxesAndMenus_data();
    void keysReachBoxesAndMenus();

private:
    std::unique_ptr<FakeServices> os_;
};

void tst_FileHelpMenus::helpKeyOpensTheTopicOfWhatIsActive()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    QTest::keyClick(form->Text1[0], Qt::Key_F1);

    // On the system colour submenu, opened from the keyboard.
    QTest::keyClick(form.get(), Qt::Key_E, Qt::AltModifier);
    QVERIFY(QTest::qWaitFor([&] { return form->mnuEdit->isVisible(); }));
    QTest::keyClick(form->mnuEdit, Qt::Key_S);
    QVERIFY(QTest::qWaitFor([&] { return form->mnuEditSystem->isVisible(); }));
    QTest::keyClick(form->mnuEditSystem, Qt::Key_F1);
    QTest::keyClick(form->mnuEditSystem, Qt::Key_Escape);
    QTest::keyClick(form->mnuEdit, Qt::Key_Escape);

    // During a pick the main window's topic is the pick's.
    os_->pixel = [](QPoint) { return 0u; };
    QTimer::singleShot(30, this, [&] {
        QTest::keyClick(form->Text1[0], Qt::Key_F1);
        QTest::mouseRelease(form->picker, Qt::LeftButton, {}, QPoint(0, 0));
    });
    Choose(*form, form->mnuEdit, form->mnuEditPicker);

    QList<int> topics;
    for (const FakeServices::Help& call : os_->help) {
        QCOMPARE(call.command, platform::HELP_CONTEXT);
        QCOMPARE(call.file, platform::HelpFile());
        topics << call.data;
    }
    QCOMPARE(topics, (QList<int>{3, 5, 4}));
}

void tst_FileHelpMenus::helpAndWebPageCommands()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    Choose(*form, form->mnuHelp, form->mnuHelpHelp);
    QCOMPARE(os_->help.size(), 1);
    QCOMPARE(os_->help[0].command, platform::HELP_FINDER);
    Choose(*form, form->mnuHelp, form->mnuHelpWebpage);
    QCOMPARE(os_->openedUrls, QStringList{resources::LoadResString(1000)});
    QVERIFY(os_->openedUrls[0].startsWith(QLatin1String("http")));
}

void tst_FileHelpMenus::aboutIsModalAndBeeps()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    for (int opening = 1; opening <= 2; ++opening) {
        bool wasModal = false;
        QTimer::singleShot(30, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            wasModal = dialog->isModal() && dialog->parentWidget() == nullptr;
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        Choose(*form, form->mnuHelp, form->mnuHelpAbout);
        QVERIFY(wasModal);
        QCOMPARE(os_->beeps, opening); // the sound on every opening
    }
}

void tst_FileHelpMenus::exitUnloadsOnce()
{
    auto form = Open(colour::HSV, 0, {18, 52, 86});
    QSignalSpy unloads(form.get(), &platform::Form::Unload);
    Choose(*form, form->mnuFile, form->mnuFileExit);
    QCOMPARE(unloads.count(), 1);
    QVERIFY(!form->isVisible());
}

void tst_FileHelpMenus::keysReachBoxesAndMenus_data()
{
    QTest::addColumn<QStringList>("keys"); // "Alt" alone is a lone Alt
    QTest::addColumn<QString>("focused"); // then, with no menu open
    QTest::addColumn<QString>("opened"); // or the menu then open

    // The HSV captions carry H, S and V; the menus F, E, V and H.
    QTest::newRow("Alt+H, each time the hue box")
        << QStringList{"Alt+H", "Alt+H", "Alt+H"} << "Text2(0)"
        << "";
    QTest::newRow("Alt+V, each time the value box") << QStringList{"Alt+V", "Alt+V"} << "Text2(2)"
                                                    << "";
    QTest::newRow("Alt+E, a menu's alone") << QStringList{"Alt+E"} << ""
                                           << "mnuEdit";
    QTest::newRow("F10 highlights the menu bar") << QStringList{"F10"} << "menuBar"
                                                 << "";
    QTest::newRow("F10, then H opens Help") << QStringList{"F10", "H"} << ""
                                            << "mnuHelp";
    QTest::newRow("a lone Alt highlights the menu bar") << QStringList{"Alt"} << "menuBar"
                                                        << "";
    QTest::newRow("a lone Alt, then V opens View") << QStringList{"Alt", "V"} << ""
                                                   << "mnuView";
}

void tst_FileHelpMenus::keysReachBoxesAndMenus()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, focused);
    QFETCH(QString, opened);

    auto form = Open(colour::HSV, 0, {18, 52, 86});
    form->Text1[0]->setFocus();
    for (const QString& key : keys) {
        QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                            : QApplication::focusWidget();
        if (key == u"Alt") {
            QTest::keyPress(target, Qt::Key_Alt, Qt::AltModifier);
            QTest::keyRelease(target, Qt::Key_Alt, Qt::NoModifier);
            continue;
        }
        const QKeyCombination combination = QKeySequence(key)[0];
        QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
    }
    QWidget* popup = QApplication::activePopupWidget();
    QCOMPARE(popup ? popup->objectName() : QString(), opened);
    if (!focused.isEmpty())
        QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    if (focused == u"menuBar")
        QCOMPARE(form->menuBar()->activeAction(), form->mnuFile->menuAction());
    if (popup)
        QTest::keyClick(popup, Qt::Key_Escape);
}

QTEST_MAIN(tst_FileHelpMenus)
#include "tst_file_help_menus.moc"
