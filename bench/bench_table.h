#pragma once

#include <QString>

#include <algorithm>
#include <cstdio>
#include <optional>
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

// The value below which a share `p` of `values` lies (0.5: the median); 0
// for no values.
inline double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * values.size()))];
}

// One row of the table: a figure, ours with `decimals`, and the baseline's
// with the ratio where there is one.
inline QString Row(const QString& figure, double ours, int decimals, std::size_t runs,
    std::optional<double> baseline = std::nullopt)
{
    QString row = QStringLiteral("| %1 | %2 ").arg(figure).arg(ours, 0, 'f', decimals);
    if (baseline)
        row += QStringLiteral("| %1 | %2 ")
                   .arg(*baseline, 0, 'f', decimals)
                   .arg(*baseline > 0 ? ours / *baseline : 0, 0, 'f', 2);
    else
        row += QStringLiteral("| – | – ");
    return row + QStringLiteral("| %1 |\n").arg(runs);
}
