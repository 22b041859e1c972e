#include "fakes/fake_services.h"
#include "platform/controls/form.h"
#include "platform/services/help.h"
#include "platform/services/help_key.h"
#include "platform/services/help_viewer.h"
#include "platform/services/services.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

#include <memory>

namespace {

// Counts the F1 presses that reach a widget.
class F1Counter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1)
            ++presses;
        return false;
    }
};

// A help file whose topics are long enough that each one scrolls.
QString WriteHelpFile(const QString& folder)
{
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>テスト</title></head>"
                                  "<body><h1>Contents</h1>");
    for (int context : {3, 4, 5}) {
        html += QStringLiteral("<h2><a name=\"context-%1\"></a>Topic %1</h2>").arg(context);
        for (int line = 0; line < 60; ++line)
            html += QStringLiteral("<p>Line %1 of topic %2</p>").arg(line).arg(context);
    }
    html += QStringLiteral("</body></html>");
    const QString path = folder + QStringLiteral("/Test.hlp");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QTextBrowser* ViewerText()
{
    QWidget* window = platform::HelpViewerWindow();
    return window ? window->findChild<QTextBrowser*>(QStringLiteral("HelpText")) : nullptr;
}

// The first line shown at the top of the viewer.
QString TopLine()
{
    QTextBrowser* text = ViewerText();
    const int margin = static_cast<int>(text->document()->documentMargin());
    return text->cursorForPosition(QPoint(margin + 1, margin + 1)).block().text();
}

} // namespace

class tst_Help : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void noViewerForQuitOrMissingFile(); // first: no viewer exists yet

    void keyOpensTopicOfWindow_data();
    void keyOpensTopicOfWindow();
    void keyInMenuOpensTopicOfMenu_data();
    void keyInMenuOpensTopicOfMenu();

    void viewerShows_data();
    void viewerShows();
    void quitClosesViewer();
    void shippedFileHasEveryTopic();

private:
    QTemporaryDir folder_;
    QString file_;
};

void tst_Help::initTestCase()
{
    QVERIFY(folder_.isValid());
    file_ = WriteHelpFile(folder_.path());
    platform::InstallHelpKey();
}

void tst_Help::noViewerForQuitOrMissingFile()
{
    platform::Os().WinHelp(nullptr, file_, platform::HELP_QUIT, 0);
    QVERIFY(!platform::HelpViewerWindow());

    const QString missing = folder_.path() + QStringLiteral("/Missing.hlp");
    QString shown;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown = box->text();
        QTest::keyClick(box, Qt::Key_Return); // the user acknowledges it
    });
    platform::Os().WinHelp(nullptr, missing, platform::HELP_FINDER, 0);

    QVERIFY2(shown.contains(QDir::toNativeSeparators(missing)), qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("開けません")));
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!platform::HelpViewerWindow());
}

void tst_Help::keyOpensTopicOfWindow_data()
{
    QTest::addColumn<bool>("form");
    QTest::addColumn<int>("context");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("command"); // 0: no help at all
    QTest::addColumn<int>("data");
    const int context = platform::HELP_CONTEXT;
    const int finder = platform::HELP_FINDER;
    QTest::newRow("main window") << true << 3 << 0 << context << 3;
    QTest::newRow("overlay-like window with a property") << false << 4 << 0 << context << 4;
    QTest::newRow("window without a number: contents") << false << 0 << 0 << finder << 0;
    QTest::newRow("Ctrl+F1 stays with the widget")
        << true << 3 << int(Qt::ControlModifier) << 0 << 0;
}

void tst_Help::keyOpensTopicOfWindow()
{
    QFETCH(bool, form);
    QFETCH(int, context);
    QFETCH(int, modifiers);
    QFETCH(int, command);
    QFETCH(int, data);

    FakeServices os;
    platform::SetHelpFile(QStringLiteral("/opt/tinctor/Tinctor.hlp"));
    std::unique_ptr<QWidget> window;
    QWidget* client;
    if (form) {
        auto* f = new platform::Form;
        f->SetClientSize(3000, 2000);
        f->SetHelpContextID(context);
        window.reset(f);
        client = f->Client();
    } else {
        window = std::make_unique<QDialog>();
        if (context)
            window->setProperty("HelpContextID", context);
        client = window.get();
    }
    auto* box = new QLineEdit(client);
    F1Counter reached;
    box->installEventFilter(&reached);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    box->setFocus();

    QTest::keyClick(box, Qt::Key_F1, Qt::KeyboardModifiers(modifiers));

    if (command == 0) {
        QCOMPARE(os.help.size(), 0);
        QCOMPARE(reached.presses, 1);
        return;
    }
    QCOMPARE(os.help.size(), 1);
    QCOMPARE(os.help[0].file, QStringLiteral("/opt/tinctor/Tinctor.hlp"));
    QCOMPARE(int(os.help[0].command), command);
    QCOMPARE(os.help[0].data, data);
    QCOMPARE(reached.presses, 0);
    QTest::keyClick(box, Qt::Key_X); // other keys still arrive
    QCOMPARE(box->text(), QStringLiteral("x"));
}

void tst_Help::keyInMenuOpensTopicOfMenu_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("data");
    QTest::newRow("menu without a number: the window's") << 1 << 3;
    QTest::newRow("system colour submenu") << 2 << 5;
    QTest::newRow("menu inside it takes the submenu's") << 3 << 5;
}

void tst_Help::keyInMenuOpensTopicOfMenu()
{
    QFETCH(int, depth);
    QFETCH(int, data);

    FakeServices os;
    platform::Form window;
    window.SetClientSize(3000, 2000);
    window.SetHelpContextID(3);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // Edit menu > system colours (5) > an inner menu without a number, each
    // submenu first in its menu. A menu opened by the keyboard has its first
    // item selected already; the top one needs Down first.
    auto* edit = new QMenu(&window);
    QMenu* system = edit->addMenu(QStringLiteral("システムカラーの取得(&S)"));
    edit->addAction(QStringLiteral("補色(&O)"));
    system->setProperty("HelpContextID", 5);
    QMenu* inner = system->addMenu(QStringLiteral("inner"));
    system->addAction(QStringLiteral("スクロールバー"));
    inner->addAction(QStringLiteral("item"));

    edit->popup(window.mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(edit));
    QMenu* open[] = {edit, system, inner};
    for (int level = 1; level < depth; ++level) {
        if (!open[level - 1]->activeAction())
            QTest::keyClick(open[level - 1], Qt::Key_Down);
        QTest::keyClick(open[level - 1], Qt::Key_Right);
        QTRY_COMPARE(QApplication::activePopupWidget(), open[level]);
    }
    QCOMPARE(QApplication::activePopupWidget(), open[depth - 1]);

    QTest::keyClick(open[depth - 1], Qt::Key_F1);
    QCOMPARE(os.help.size(), 1);
    QCOMPARE(os.help[0].command, platform::HELP_CONTEXT);
    QCOMPARE(os.help[0].data, data);
    edit->close();
}

void tst_Help::viewerShows_data()
{
    QTest::addColumn<int>("command"); // 0: the user clicks the contents button
    QTest::addColumn<int>("data");
    QTest::addColumn<QString>("top");
    QTest::newRow("contents") << int(platform::HELP_FINDER) << 0 << "Contents";
    QTest::newRow("topic 4") << int(platform::HELP_CONTEXT) << 4 << "Topic 4";
    QTest::newRow("topic 3") << int(platform::HELP_CONTEXT) << 3 << "Topic 3";
    QTest::newRow("unknown number: contents") << int(platform::HELP_CONTEXT) << 99 << "Contents";
    QTest::newRow("contents button") << 0 << 0 << "Contents";
}

void tst_Help::viewerShows()
{
    QFETCH(int, command);
    QFETCH(int, data);
    QFETCH(QString, top);

    // Start from the last topic, so that every row has to move the view.
    platform::Os().WinHelp(nullptr, file_, platform::HELP_CONTEXT, 5);
    QWidget* viewer = platform::HelpViewerWindow();
    QVERIFY(viewer);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QCOMPARE(TopLine(), QStringLiteral("Topic 5"));

    if (command)
        platform::Os().WinHelp(nullptr, file_, platform::HelpCommand(command), data);
    else
        QTest::mouseClick(
            viewer->findChild<QPushButton*>(QStringLiteral("HelpContents")), Qt::LeftButton);
    QCOMPARE(platform::HelpViewerWindow(), viewer); // one viewer, kept
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Tinctor ヘルプ"));
    QCOMPARE(TopLine(), top);
}

void tst_Help::quitClosesViewer()
{
    platform::Os().WinHelp(nullptr, file_, platform::HELP_FINDER, 0);
    QWidget* viewer = platform::HelpViewerWindow();
    QVERIFY(viewer && viewer->isVisible());

    platform::Os().WinHelp(nullptr, file_, platform::HELP_QUIT, 0);
    QVERIFY(!viewer->isVisible());
    platform::Os().WinHelp(nullptr, file_, platform::HELP_QUIT, 0); // already closed
    QVERIFY(!viewer->isVisible());
}

// The file the program ships: its topics exist, its links lead somewhere and
// its Japanese text is decoded as UTF-8.
void tst_Help::shippedFileHasEveryTopic()
{
    platform::Os().WinHelp(nullptr, QStringLiteral(TINCTOR_HELP_FILE), platform::HELP_FINDER, 0);
    QTextBrowser* text = ViewerText();
    QVERIFY(text);
    const QTextDocument& document = *text->document();
    QCOMPARE(
        document.metaInformation(QTextDocument::DocumentTitle), QStringLiteral("Tinctor ヘルプ"));

    QStringList anchors;
    QStringList links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            anchors << format.anchorNames();
            if (format.isAnchor() && !format.anchorHref().isEmpty())
                links << format.anchorHref();
        }
    }
    for (const char* topic : {"context-3", "context-4", "context-5"})
        QVERIFY2(anchors.contains(QLatin1String(topic)), topic);
    QVERIFY(links.size() >= 3);
    for (const QString& link : std::as_const(links)) {
        QVERIFY2(link.startsWith(QLatin1Char('#')), qPrintable(link));
        QVERIFY2(anchors.contains(link.mid(1)), qPrintable(link));
    }
}

QTEST_MAIN(tst_Help)
#include "tst_help.moc"
