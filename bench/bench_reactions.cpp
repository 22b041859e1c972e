// The cost of the window's reactions, one user change at a time, on the
// offscreen platform: what a drag pays per step, conversion included.

#include "main_window/color_form.h"
#include "platform/controls/scroll_bar.h"

#include "bench_table.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Figure {
    const char* name;
    double medianMicroseconds;
    int runs;
};

// Median over batches of the time per call, in microseconds.
Figure Measure(const char* name, int perBatch, const std::function<void(int)>& step)
{
    constexpr int kBatches = 15;
    std::vector<double> perCall;
    int call = 0;
    for (int batch = 0; batch < kBatches; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < perBatch; ++i)
            step(call++);
        const std::chrono::duration<double, std::micro> spent
            = std::chrono::steady_clock::now() - start;
        perCall.push_back(spent.count() / perBatch);
    }
    std::nth_element(perCall.begin(), perCall.begin() + kBatches / 2, perCall.end());
    return {name, perCall[kBatches / 2], kBatches * perBatch};
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ColorForm form;
    form.mnuViewMode_Click(0);
    form.mnuViewRGB_Click(0);
    form.show();
    QApplication::processEvents();

    std::vector<Figure> figures;
    figures.push_back(Measure("RGB change reaction (red bar, HSV)", 2000,
        [&](int i) { form.HScroll1[0]->SetValue(i % 2 ? 200 : 18); }));
    figures.push_back(Measure("model change reaction (hue bar, HSV)", 2000,
        [&](int i) { form.HScroll2[0]->SetValue(i % 2 ? 300 : 40); }));
    figures.push_back(Measure("radix command (decimal <-> hexadecimal)", 500,
        [&](int i) { form.mnuViewRGB_Click(static_cast<std::int16_t>(1 - i % 2)); }));
    figures.push_back(Measure("model command (HSV -> HLS -> YUV)", 500,
        [&](int i) { form.mnuViewMode_Click(static_cast<std::int16_t>((i + 1) % 3)); }));

    QString table = QStringLiteral("| figure | ours (median) | baseline (median) | ratio | runs "
                                   "|\n|---|---:|---:|---:|---:|\n");
    for (const Figure& f : figures)
        table += QStringLiteral("| %1, µs per call | %2 | – | – | %3 |\n")
                     .arg(QString::fromLatin1(f.name))
                     .arg(f.medianMicroseconds, 0, 'f', 2)
                     .arg(f.runs);
    Report(table, argc, argv, true);
    return 0;
}
