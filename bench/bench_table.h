#pragma once

#include <QString>

#include <algorithm>
#include <cstdio>
#include <vector>

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

// The value below which a share `p` of `values` lies (0.5: the median).
inline double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * values.size()))];
}
