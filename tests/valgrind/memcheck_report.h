#pragma once

#include <QIODevice>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTextStream>

// What valgrind's memcheck said about one run of the program, read from its
// XML output (--xml=yes), and which of it is ours to answer for.
namespace memcheck {

struct Frame {
    QString ip;
    QString obj; // the file the code was loaded from
    QString fn; // demangled; empty where valgrind found no symbol
    QString file;
    int line = 0;
};

struct Stack {
    QString label; // what the stack shows: the error, or where a block came from
    QList<Frame> frames; // innermost first
};

struct Error {
    QString kind; // InvalidRead, UninitCondition, Leak_DefinitelyLost, ...
    QString what;
    QList<Stack> stacks; // the error's own first, then the blocks' and origins'
    QStringList details; // further lines valgrind gave without a stack
};

struct Report {
    QString program; // the executable valgrind ran, as it names it
    bool finished = false; // valgrind saw the program through to its end
    QList<Error> errors; // fatal signals included, as kind FatalSignal
    QList<QPair<QString, int>> suppressed; // suppression name, times used
    QString problem; // why the file could not be read, if it could not
};

Report Read(QIODevice& xml);

// A frame of code built from our sources into the program.
bool IsOurFrame(const Frame& frame, const QString& program);
// Whether our code is on the stack as more than the caller of a library.
bool PassesThroughOurCode(const QList<Frame>& frames, const QString& program);
// An error of a kind that counts, with one of its stacks through our code.
bool IsFinding(const Error& error, const QString& program);

// Prints the summary and every finding in full; true when the run passes.
bool Summarise(const Report& report, QTextStream& out);

} // namespace memcheck
