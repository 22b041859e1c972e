#include "memcheck_report.h"

#include <QBuffer>
#include <QtTest>

// The rules that decide which of memcheck's reports fail the memcheck run,
// on reports written the way valgrind 3.19 writes them.
class tst_MemcheckReport : public QObject {
    Q_OBJECT

private slots:
    void finding_data();
    void finding();
    void verdict_data();
    void verdict();
    void readsStacksWithWhatTheyShow();
};

namespace {

const QString kProgram = QStringLiteral("/tmp/memcheck/app/tinctor");

// "obj|function": obj short for the program, valgrind's preload or a system
// library; a function left out is one valgrind found no name for.
QString FrameXml(const QString& frame)
{
    const QString obj = frame.section('|', 0, 0);
    const QString fn = frame.section('|', 1);
    QString path = obj == "tinctor" ? kProgram
        : obj == "vgpreload"
        ? QStringLiteral("/usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so")
        : "/usr/lib/x86_64-linux-gnu/" + obj;
    QString xml = "<frame><ip>0x4001</ip><obj>" + path + "</obj>";
    if (!fn.isEmpty())
        xml += "<fn>" + fn.toHtmlEscaped() + "</fn>";
    return xml + "</frame>";
}

QString StackXml(const QStringList& frames)
{
    QString xml = "<stack>";
    for (const QString& frame : frames)
        xml += FrameXml(frame);
    return xml + "</stack>";
}

// An error with its own stack and, where given, the stack of the block or
// of the origin of the value.
QString ErrorXml(const QString& kind, const QStringList& stack, const QStringList& aux = {})
{
    QString xml = "<error><unique>0x1</unique><tid>1</tid><kind>" + kind + "</kind>";
    xml += kind.startsWith("Leak_")
        ? "<xwhat><text>40 bytes in 1 blocks are lost</text><leakedbytes>40</leakedbytes></xwhat>"
        : "<what>" + kind + " here</what>";
    xml += StackXml(stack);
    if (!aux.isEmpty())
        xml += "<auxwhat>The block came from</auxwhat>" + StackXml(aux);
    return xml + "</error>";
}

QByteArray Document(const QString& errors, bool finished = true)
{
    QString xml = "<?xml version=\"1.0\"?>\n<valgrindoutput><protocolversion>4</protocolversion>"
                  "<args><vargv><exe>/usr/bin/valgrind.bin</exe></vargv><argv><exe>"
        + kProgram + "</exe></argv></args><status><state>RUNNING</state></status>" + errors;
    if (finished)
        xml += "<status><state>FINISHED</state></status>";
    xml += "<suppcounts><pair><count>3</count><name>xcb pads its requests</name></pair>"
           "</suppcounts></valgrindoutput>\n";
    return xml.toUtf8();
}

memcheck::Report ReadBytes(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return memcheck::Read(buffer);
}

} // namespace

void tst_MemcheckReport::finding_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("stack");
    QTest::addColumn<QStringList>("aux");
    QTest::addColumn<bool>("finding");

    const QStringList eventLoop = {"libQt6Core.so.6|QCoreApplication::notifyInternal2(QObject*, "
                                   "QEvent*)",
        "libQt6Core.so.6|QEventLoop::exec(QFlags<QEventLoop::ProcessEventsFlag>)",
        "libQt6Core.so.6|QCoreApplication::exec()", "tinctor|main"};

    QTest::newRow("read in a handler of ours")
        << "InvalidRead"
        << QStringList{"libQt6Core.so.6|QString::size() const",
               "tinctor|ColorForm::HScroll1_Change(short)",
               "libQt6Core.so.6|QObject::activate(QObject*, int, int, void**)"}
            + eventLoop
        << QStringList{} << true;
    QTest::newRow("Qt reads a block our code freed")
        << "InvalidRead" << QStringList{"libQt6Widgets.so.6|QWidget::event(QEvent*)"} + eventLoop
        << QStringList{"vgpreload|operator delete(void*)", "tinctor|PickerForm::~PickerForm()"}
        << true;
    QTest::newRow("value made uninitialised in our code, used in Qt")
        << "UninitCondition" << QStringList{"libQt6Gui.so.6|QColor::rgb() const"} + eventLoop
        << QStringList{"tinctor|colour::RgbToModel(int, int, int, colour::ColorModel)"} << true;
    QTest::newRow("leaked by our constructor")
        << "Leak_DefinitelyLost"
        << QStringList{"vgpreload|operator new(unsigned long)",
               "tinctor|platform::Form::Form(QWidget*)", "tinctor|main"}
        << QStringList{} << true;
    QTest::newRow("leaked by a lambda of ours in Qt's slot object")
        << "Leak_DefinitelyLost"
        << QStringList{"vgpreload|operator new[](unsigned long)",
               "tinctor|QtPrivate::QFunctorSlotObject<ColorForm::Wire()::{lambda()#1}, 0, "
               "QtPrivate::List<>, void>::impl(int, QtPrivate::QSlotObjectBase*, QObject*, "
               "void**, bool*)",
               "libQt6Core.so.6|QObject::activate(QObject*, int, int, void**)"}
            + eventLoop
        << QStringList{} << true;
    QTest::newRow("leaked by a helper in an anonymous namespace of ours")
        << "Leak_DefinitelyLost"
        << QStringList{"vgpreload|malloc",
               "tinctor|(anonymous namespace)::AddItem(QMenu*, char const*, int, char const*)",
               "tinctor|ColorForm::CreateMenus()"}
        << QStringList{} << true;
    QTest::newRow("allocated by main itself")
        << "Leak_DefinitelyLost"
        << QStringList{"vgpreload|operator new(unsigned long)", "tinctor|main"} << QStringList{}
        << true;
    QTest::newRow("allocated by a Qt template compiled into main")
        << "Leak_DefinitelyLost"
        << QStringList{"vgpreload|operator new(unsigned long)",
               "tinctor|QMetaObject::Connection QObject::connect<void (platform::Form::*)(), "
               "main::{lambda()#1}>(QtPrivate::FunctionPointer<void (platform::Form::*)()>::"
               "Object const*, void (platform::Form::*)(), QObject const*, "
               "main::{lambda()#1}, Qt::ConnectionType)",
               "tinctor|main"}
        << QStringList{} << true;
    QTest::newRow("a function of the program without a name")
        << "InvalidWrite" << QStringList{"tinctor|", "libQt6Core.so.6|QObject::event(QEvent*)"}
        << QStringList{} << true;
    QTest::newRow("overlapping copy of ours")
        << "Overlap"
        << QStringList{"vgpreload|memcpy@@GLIBC_2.14", "tinctor|resources::LoadResCursor(int)"}
        << QStringList{} << true;

    QTest::newRow("glib's context of a thread that ended")
        << "Leak_DefinitelyLost"
        << QStringList{"vgpreload|malloc", "libglib-2.0.so.0|g_malloc",
               "libQt6Core.so.6|QEventDispatcherGlibPrivate::QEventDispatcherGlibPrivate("
               "_GMainContext*)",
               "libc.so.6|start_thread", "libc.so.6|clone"}
        << QStringList{} << false;
    QTest::newRow("inside QApplication's constructor, called by main")
        << "SyscallParam"
        << QStringList{"libc.so.6|writev", "libxcb.so.1|xcb_wait_for_reply",
               "libQt6Gui.so.6|QGuiApplicationPrivate::init()",
               "libQt6Widgets.so.6|QApplicationPrivate::init()", "tinctor|main"}
        << QStringList{"vgpreload|calloc", "libxcb.so.1|xcb_connect_to_fd"} << false;
    QTest::newRow("in the event loop with none of our handlers")
        << "InvalidRead" << QStringList{"libQt6Widgets.so.6|QWidget::event(QEvent*)"} + eventLoop
        << QStringList{"vgpreload|free", "libQt6Gui.so.6|QFontEngine::~QFontEngine()"} << false;
    QTest::newRow("Qt's inline code in the program, under Qt alone")
        << "Leak_DefinitelyLost"
        << QStringList{"vgpreload|malloc",
               "tinctor|QArrayData::allocate(QArrayData**, long long, long long, long long, "
               "QArrayData::AllocationOption)",
               "libQt6Core.so.6|QString::append(QString const&)"}
            + eventLoop
        << QStringList{} << false;
    QTest::newRow("a library's namespace of the same name as ours")
        << "Leak_DefinitelyLost"
        << QStringList{"vgpreload|malloc", "libother.so.1|platform::Init()"} << QStringList{}
        << false;
    QTest::newRow("one of our names only as the end of another")
        << "Leak_DefinitelyLost" << QStringList{"vgpreload|malloc", "tinctor|QXcbplatform::Run()"}
        << QStringList{} << false;
    QTest::newRow("possibly lost through our code")
        << "Leak_PossiblyLost"
        << QStringList{"vgpreload|malloc", "tinctor|ColorForm::ColorForm(QWidget*)"}
        << QStringList{} << false;
    QTest::newRow("indirectly lost through our code")
        << "Leak_IndirectlyLost"
        << QStringList{"vgpreload|malloc", "tinctor|ColorForm::ColorForm(QWidget*)"}
        << QStringList{} << false;
}

void tst_MemcheckReport::finding()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, stack);
    QFETCH(QStringList, aux);
    QFETCH(bool, finding);

    const memcheck::Report report = ReadBytes(Document(ErrorXml(kind, stack, aux)));
    QVERIFY2(report.problem.isEmpty(), qPrintable(report.problem));
    QCOMPARE(report.errors.size(), 1);
    QCOMPARE(report.errors[0].stacks.size(), aux.isEmpty() ? 1 : 2);
    QCOMPARE(memcheck::IsFinding(report.errors[0], kProgram), finding);
}

void tst_MemcheckReport::verdict_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<QString>("printed");

    const QString ours = ErrorXml("InvalidRead",
        {"libQt6Core.so.6|QString::size() const", "tinctor|ColorForm::SyncRgbText(short)",
            "tinctor|main"});
    const QString theirs = ErrorXml("Leak_DefinitelyLost",
        {"vgpreload|malloc", "libglib-2.0.so.0|g_malloc", "libglib-2.0.so.0|g_queue_new"});

    QTest::newRow("nothing reported") << Document({}) << true << "PASS";
    QTest::newRow("the libraries' own only")
        << Document(theirs) << true << "g_malloc < g_queue_new";
    QTest::newRow("one of ours among theirs")
        << Document(theirs + ours) << false << ">   0x4001: ColorForm::SyncRgbText(short)";
    QTest::newRow("a crash") << Document("<fatal_signal><tid>1</tid><signame>SIGSEGV</signame>"
                                         "<event>Access not within mapped region</event>"
        + StackXml({"libQt6Core.so.6|QObject::event(QEvent*)"}) + "</fatal_signal>")
                             << false << "Killed by SIGSEGV";
    QTest::newRow("valgrind gave up before the end")
        << Document(theirs, false) << false << "stops before the program's end";
    QTest::newRow("the file cut off") << Document(theirs).left(600) << false << "cannot be read";
    QTest::newRow("not valgrind's output")
        << QByteArray("<?xml version=\"1.0\"?><html></html>") << false << "cannot be read";
    QTest::newRow("an empty file") << QByteArray() << false << "cannot be read";
}

void tst_MemcheckReport::verdict()
{
    QFETCH(QByteArray, xml);
    QFETCH(bool, passes);
    QFETCH(QString, printed);

    QString text;
    QTextStream out(&text);
    QCOMPARE(memcheck::Summarise(ReadBytes(xml), out), passes);
    out.flush();
    QVERIFY2(text.contains(printed), qPrintable(text));
}

void tst_MemcheckReport::readsStacksWithWhatTheyShow()
{
    const QByteArray xml = Document(
        "<error><unique>0x2</unique><tid>1</tid><kind>InvalidRead</kind>"
        "<what>Invalid read of size 4</what>"
        "<stack><frame><ip>0x10</ip><obj>"
        + kProgram
        + "</obj><fn>colour::Invert(int, int, int)</fn><dir>/src</dir><file>conversions.cpp</file>"
          "<line>42</line></frame></stack>"
          "<auxwhat>Address 0x5 is 0 bytes after a block of size 40 alloc'd</auxwhat>"
          "<stack><frame><ip>0x20</ip><obj>/usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so"
          "</obj><fn>operator new[](unsigned long)</fn></frame></stack>"
          "<auxwhat>Block was alloc'd by thread #1</auxwhat></error>");
    const memcheck::Report report = ReadBytes(xml);
    QCOMPARE(report.program, kProgram);
    QVERIFY(report.finished);
    QCOMPARE(report.suppressed.size(), 1);
    QCOMPARE(report.suppressed[0].first, QStringLiteral("xcb pads its requests"));
    QCOMPARE(report.suppressed[0].second, 3);

    QCOMPARE(report.errors.size(), 1);
    const memcheck::Error& error = report.errors[0];
    QCOMPARE(error.what, QStringLiteral("Invalid read of size 4"));
    QCOMPARE(error.stacks.size(), 2);
    QCOMPARE(error.stacks[0].label, error.what);
    QCOMPARE(error.stacks[0].frames[0].file, QStringLiteral("conversions.cpp"));
    QCOMPARE(error.stacks[0].frames[0].line, 42);
    QCOMPARE(error.stacks[1].label,
        QStringLiteral("Address 0x5 is 0 bytes after a block of size 40 alloc'd"));
    QCOMPARE(error.stacks[1].frames[0].fn, QStringLiteral("operator new[](unsigned long)"));
    QCOMPARE(error.details, QStringList{"Block was alloc'd by thread #1"});
}

QTEST_GUILESS_MAIN(tst_MemcheckReport)
#include "tst_memcheck_report.moc"
