#pragma once

#include <QString>

#include <cstdio>

// Every benchmark prints its rows of the one table and adds them to the
// Markdown file named on its command line; the first one starts the file.
inline void Report(const QString& rows, int argc, char* argv[], bool startsTheFile = false)
{
    const QByteArray text = rows.toUtf8();
    std::fputs(text.constData(), stdout);
    if (argc < 2)
        return;
    if (FILE* out = std::fopen(argv[1], startsTheFile ? "w" : "a")) {
        std::fputs(text.constData(), out);
        std::fclose(out);
    }
}
