#pragma once

#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
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

// How often every contender is measured at rest, two seconds each.
inline constexpr int kRestRuns = 5;

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

// What each program holds and has used two seconds after start, when it has
// long been idle, over kRestRuns rounds. They run at the same time: a page
// of a library counts in PSS by the processes that map it, and whatever
// else runs on the machine then weighs on every contender alike. `start`
// starts one of them; `ended` runs after each round.
void HoldAtRest(std::vector<StartFigures>& programs,
    const std::function<void(QProcess&, const StartFigures&)>& start,
    const std::function<void()>& ended = {});

// What every start of a run looks for: the settings it starts from, and
// the colour they give the preview square, at kSquare of the client area,
// which is the window's bottom kClientHeight pixels.
inline constexpr char kStartSettings[] = "[Color]\nRed=18\nGreen=52\nBlue=86\n";
inline constexpr long kStartColour = 0x123456; // 0xRRGGBB
inline constexpr int kClientHeight = 320;
inline constexpr QPoint kSquare(20, 20);

// The programs of a run in their order: Tinctor, then the minimal window
// with the Japanese texts and with Latin ones only.
inline std::vector<StartFigures> Contenders(const QString& tinctor, const QString& baseline)
{
    return {{{tinctor}, QStringLiteral("Tinctor")}, {{baseline}, QStringLiteral("Baseline")},
        {{baseline, QStringLiteral("--latin")}, QStringLiteral("Baseline")}};
}

// Starts each program in turn, `rounds` times, as a native client of a
// headless sway desktop, from `folder`: the time until the compositor lists
// its window, until the square shows the start colour, and what it holds two seconds after a start.
// False when the desktop did not come up.
bool StartOnWayland(std::vector<StartFigures>& programs, const QString& folder, int rounds);
