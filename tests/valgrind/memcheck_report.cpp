#include "memcheck_report.h"

#include <QFileInfo>
#include <QMap>
#include <QXmlStreamReader>

#include <algorithm>

namespace memcheck {

namespace {

// Where our sources put their code: these namespaces and classes, lambdas
// inside them (Qt's slot objects carry their names as template arguments),
// anonymous namespaces of our files, and main with its lambdas. Qt's and the
// standard library's templates are compiled into the program too; they are
// not ours, but whoever called them is.
constexpr const char* kOurNames[] = {
    "ColorForm::",
    "PickerForm::",
    "AboutForm::",
    "platform::",
    "shell::",
    "colour::",
    "ColorAPI::",
    "resources::",
    "main::",
    "(anonymous namespace)::",
};

bool StartsName(const QString& text, qsizetype at)
{
    return at == 0 || !(text[at - 1].isLetterOrNumber() || text[at - 1] == QLatin1Char('_'));
}

bool NamesOurCode(const QString& fn)
{
    if (fn == QLatin1String("main"))
        return true;
    for (const char* name : kOurNames) {
        const QLatin1String token(name);
        for (qsizetype at = fn.indexOf(token); at >= 0; at = fn.indexOf(token, at + 1)) {
            if (StartsName(fn, at))
                return true;
        }
    }
    return false;
}

// Valgrind's own stand-ins for malloc, operator new, free, memcpy...
bool IsValgrindPreload(const QString& obj)
{
    return QFileInfo(obj).fileName().startsWith(QLatin1String("vgpreload_"));
}

// Only these leak kinds are failures; indirect losses hang off a definite
// one, and possible or reachable blocks are the libraries' caches at exit.
bool KindCounts(const QString& kind)
{
    return !kind.startsWith(QLatin1String("Leak_")) || kind == QLatin1String("Leak_DefinitelyLost");
}

class Reader {
public:
    explicit Reader(QIODevice& device) : xml_(&device) { }

    Report Run()
    {
        if (xml_.readNextStartElement() && xml_.name() == QLatin1String("valgrindoutput")) {
            while (xml_.readNextStartElement()) {
                const auto name = xml_.name();
                if (name == QLatin1String("args"))
                    ReadArgs();
                else if (name == QLatin1String("status"))
                    ReadStatus();
                else if (name == QLatin1String("error"))
                    report_.errors.append(ReadError());
                else if (name == QLatin1String("fatal_signal"))
                    report_.errors.append(ReadFatalSignal());
                else if (name == QLatin1String("suppcounts"))
                    ReadSuppressionCounts();
                else
                    xml_.skipCurrentElement();
            }
        } else if (!xml_.hasError()) {
            report_.problem = QStringLiteral("not valgrind XML output");
        }
        // A run cut short leaves the file unterminated: that is the answer too.
        if (xml_.hasError())
            report_.problem
                = QStringLiteral("line %1: %2").arg(xml_.lineNumber()).arg(xml_.errorString());
        return report_;
    }

private:
    void ReadArgs()
    {
        while (xml_.readNextStartElement()) {
            if (xml_.name() != QLatin1String("argv")) {
                xml_.skipCurrentElement();
                continue;
            }
            while (xml_.readNextStartElement()) {
                if (xml_.name() == QLatin1String("exe"))
                    report_.program = xml_.readElementText();
                else
                    xml_.skipCurrentElement();
            }
        }
    }

    void ReadStatus()
    {
        while (xml_.readNextStartElement()) {
            if (xml_.name() == QLatin1String("state"))
                report_.finished = xml_.readElementText().trimmed() == QLatin1String("FINISHED");
            else
                xml_.skipCurrentElement();
        }
    }

    // The text of an <xwhat> or <xauxwhat>: its <text> child.
    QString ReadText()
    {
        QString text;
        while (xml_.readNextStartElement()) {
            if (xml_.name() == QLatin1String("text"))
                text = xml_.readElementText();
            else
                xml_.skipCurrentElement();
        }
        return text;
    }

    Frame ReadFrame()
    {
        Frame frame;
        while (xml_.readNextStartElement()) {
            const auto name = xml_.name();
            const QString value = xml_.readElementText();
            if (name == QLatin1String("ip"))
                frame.ip = value;
            else if (name == QLatin1String("obj"))
                frame.obj = value;
            else if (name == QLatin1String("fn"))
                frame.fn = value;
            else if (name == QLatin1String("file"))
                frame.file = value;
            else if (name == QLatin1String("line"))
                frame.line = value.toInt();
        }
        return frame;
    }

    QList<Frame> ReadFrames()
    {
        QList<Frame> frames;
        while (xml_.readNextStartElement()) {
            if (xml_.name() == QLatin1String("frame"))
                frames.append(ReadFrame());
            else
                xml_.skipCurrentElement();
        }
        return frames;
    }

    Error ReadError()
    {
        Error error;
        // Each stack follows the line that says what it shows.
        QString pending;
        const auto said = [&](const QString& text) {
            if (!pending.isEmpty())
                error.details.append(pending);
            pending = text;
        };
        while (xml_.readNextStartElement()) {
            const auto name = xml_.name();
            if (name == QLatin1String("kind")) {
                error.kind = xml_.readElementText();
            } else if (name == QLatin1String("what")) {
                error.what = xml_.readElementText();
                said(error.what);
            } else if (name == QLatin1String("xwhat")) {
                error.what = ReadText();
                said(error.what);
            } else if (name == QLatin1String("auxwhat")) {
                said(xml_.readElementText());
            } else if (name == QLatin1String("xauxwhat")) {
                said(ReadText());
            } else if (name == QLatin1String("stack")) {
                error.stacks.append({pending, ReadFrames()});
                pending.clear();
            } else {
                xml_.skipCurrentElement();
            }
        }
        if (!pending.isEmpty() && pending != error.what)
            error.details.append(pending);
        return error;
    }

    Error ReadFatalSignal()
    {
        Error error;
        error.kind = QStringLiteral("FatalSignal");
        QString signal, event;
        while (xml_.readNextStartElement()) {
            const auto name = xml_.name();
            if (name == QLatin1String("signame"))
                signal = xml_.readElementText();
            else if (name == QLatin1String("event"))
                event = xml_.readElementText();
            else if (name == QLatin1String("stack"))
                error.stacks.append({QString(), ReadFrames()});
            else
                xml_.skipCurrentElement();
        }
        error.what = QStringLiteral("Killed by %1 (%2)").arg(signal, event);
        for (Stack& stack : error.stacks)
            stack.label = error.what;
        return error;
    }

    void ReadSuppressionCounts()
    {
        while (xml_.readNextStartElement()) {
            if (xml_.name() != QLatin1String("pair")) {
                xml_.skipCurrentElement();
                continue;
            }
            int count = 0;
            QString name;
            while (xml_.readNextStartElement()) {
                if (xml_.name() == QLatin1String("count"))
                    count = xml_.readElementText().toInt();
                else if (xml_.name() == QLatin1String("name"))
                    name = xml_.readElementText();
                else
                    xml_.skipCurrentElement();
            }
            report_.suppressed.append({name, count});
        }
    }

    QXmlStreamReader xml_;
    Report report_;
};

QString Describe(const Frame& frame)
{
    QString text = QStringLiteral("%1: %2").arg(
        frame.ip, frame.fn.isEmpty() ? QStringLiteral("???") : frame.fn);
    if (!frame.file.isEmpty())
        text += QStringLiteral(" (%1:%2)").arg(frame.file).arg(frame.line);
    text += QStringLiteral(" in ") + QFileInfo(frame.obj).fileName();
    return text;
}

// A line for an error we do not answer for: its first frames that name
// something beyond valgrind's stand-ins and the C library's system calls.
QString Outline(const Error& error)
{
    QStringList names;
    if (!error.stacks.isEmpty()) {
        for (const Frame& frame : error.stacks.first().frames) {
            if (frame.fn.isEmpty() || IsValgrindPreload(frame.obj)
                || QFileInfo(frame.obj).fileName().startsWith(QLatin1String("libc.so")))
                continue;
            names.append(frame.fn.left(frame.fn.indexOf(QLatin1Char('('))));
            if (names.size() == 3)
                break;
        }
    }
    return QStringLiteral("%1: %2 [%3]")
        .arg(error.kind, error.what, names.join(QLatin1String(" < ")));
}

// Our frames are matched by the file they were loaded from; valgrind names
// it with links resolved, the command line perhaps not.
QString ProgramObject(const QString& program)
{
    const QString resolved = QFileInfo(program).canonicalFilePath();
    return resolved.isEmpty() ? program : resolved;
}

} // namespace

Report Read(QIODevice& xml)
{
    return Reader(xml).Run();
}

bool IsOurFrame(const Frame& frame, const QString& program)
{
    if (frame.obj != program)
        return false;
    // A function of the program valgrind cannot name is looked at rather
    // than waved through.
    return frame.fn.isEmpty() || NamesOurCode(frame.fn);
}

bool PassesThroughOurCode(const QList<Frame>& frames, const QString& program)
{
    for (qsizetype i = 0; i < frames.size(); ++i) {
        if (!IsOurFrame(frames[i], program))
            continue;
        if (frames[i].fn != QLatin1String("main"))
            return true;
        // main lies under everything the event loop does, and calls into
        // QApplication's constructor and exec(): it answers only for what
        // it does itself or through code compiled into it.
        if (i == 0)
            return true;
        const Frame& callee = frames[i - 1];
        if (callee.obj == program || IsValgrindPreload(callee.obj))
            return true;
    }
    return false;
}

bool IsFinding(const Error& error, const QString& program)
{
    if (error.kind == QLatin1String("FatalSignal"))
        return true;
    if (!KindCounts(error.kind))
        return false;
    return std::any_of(error.stacks.begin(), error.stacks.end(),
        [&](const Stack& stack) { return PassesThroughOurCode(stack.frames, program); });
}

bool Summarise(const Report& report, QTextStream& out)
{
    const QString program = ProgramObject(report.program);
    if (!report.problem.isEmpty()) {
        out << "memcheck: FAIL: the XML output cannot be read: " << report.problem << '\n';
        return false;
    }
    if (report.program.isEmpty()) {
        out << "memcheck: FAIL: the XML output names no program\n";
        return false;
    }

    QMap<QString, int> kinds;
    QList<const Error*> findings;
    QList<const Error*> elsewhere;
    for (const Error& error : report.errors) {
        ++kinds[error.kind];
        if (IsFinding(error, program))
            findings.append(&error);
        else if (KindCounts(error.kind))
            elsewhere.append(&error);
    }

    QStringList counts;
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it)
        counts.append(QStringLiteral("%1 %2").arg(it.value()).arg(it.key()));
    out << "memcheck: " << report.errors.size() << " reports about " << report.program;
    if (!counts.isEmpty())
        out << " (" << counts.join(QLatin1String(", ")) << ')';
    out << '\n';
    for (const auto& [name, count] : report.suppressed)
        out << "memcheck: suppressed " << count << " x " << name << '\n';
    if (!elsewhere.isEmpty()) {
        out << "memcheck: " << elsewhere.size()
            << " inside the libraries alone, with none of our code on their stacks:\n";
        for (const Error* error : elsewhere)
            out << "  " << Outline(*error) << '\n';
    }

    for (qsizetype n = 0; n < findings.size(); ++n) {
        const Error& error = *findings[n];
        out << "\nmemcheck: finding " << n + 1 << " of " << findings.size() << ": " << error.kind
            << '\n';
        for (const Stack& stack : error.stacks) {
            out << "  " << stack.label << '\n';
            for (const Frame& frame : stack.frames)
                out << (IsOurFrame(frame, program) ? "  >   " : "      ") << Describe(frame)
                    << '\n';
        }
        for (const QString& detail : error.details)
            out << "  " << detail << '\n';
    }

    if (!report.finished) {
        out << "memcheck: FAIL: valgrind's output stops before the program's end\n";
        return false;
    }
    if (!findings.isEmpty()) {
        out << "\nmemcheck: FAIL: " << findings.size()
            << " memory errors or definite leaks pass through our code (marked >)\n";
        return false;
    }
    out << "memcheck: PASS: no memory error or definite leak passes through our code\n";
    return true;
}

} // namespace memcheck
