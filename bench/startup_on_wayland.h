#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// What a program holds and has used so far: resident and proportional set
// sizes in KiB, and every thread's time on a CPU in milliseconds.
struct Resources {
    double rss = 0;
    double pss = 0;
    double cpu = 0;
};
Resources HeldBy(qint64 pid);

// One program's figures over the rounds of a start-up benchmark.
struct StartFigures {
    StartFigures(QStringList command, QString title)
        : command(std::move(command)), title(std::move(title))
    { }

    QStringList command;
    QString title;
    std::vector<double> mapped, painted, rss, pss, cpu;

    void Hold(const Resources& held)
    {
        rss.push_back(held.rss);
        pss.push_back(held.pss);
        cpu.push_back(held.cpu);
    }
};

// Starts each program in turn, `rounds` times, as a native client of a
// headless sway desktop, from `folder`: the time until the compositor lists
// its window, until the square at (20, 20) of its bottom 320 pixels shows
// 18, 52, 86, and what it holds two seconds after a start. False when the
// desktop did not come up.
bool StartOnWayland(std::vector<StartFigures>& programs, const QString& folder, int rounds);
