#pragma once

#include "platform/desktop/desktop.h"
#include "platform/desktop/screen_sampler.h"

#include <functional>
#include <utility>

// Passes the desktop's answers through and lets a benchmark act as each pass
// of the pick loop starts (it asks for the hot spot first thing) and as it
// ends (it waits for the next).
class PickProbe final : public platform::ScreenSampler, public platform::Desktop {
public:
    PickProbe(platform::Desktop& desktop, std::function<void()> passStarts,
        std::function<void()> passEnds = {})
        : desktop_(desktop), screen_(desktop.Sampler()), passStarts_(std::move(passStarts)),
          passEnds_(std::move(passEnds))
    { }
    std::uint32_t lastPixel = 0;
    QPoint lastHotSpot;
    // Called once the desktop has prepared a pick (taken its screenshot).
    std::function<void()> prepared;

    bool Prepare() override
    {
        const bool ready = screen_.Prepare();
        if (prepared)
            prepared();
        return ready;
    }
    void Begin(QWidget* overlay, const QCursor& cursor) override { screen_.Begin(overlay, cursor); }
    void End(QWidget* overlay) override { screen_.End(overlay); }
    QPoint HotSpot() override
    {
        if (passStarts_)
            passStarts_();
        return lastHotSpot = screen_.HotSpot();
    }
    std::uint32_t Pixel(QPoint at) override { return lastPixel = screen_.Pixel(at); }
    void Follow(QWidget* overlay, QPoint at, std::uint32_t colour) override
    {
        screen_.Follow(overlay, at, colour);
    }
    platform::PickState NextPass() override
    {
        if (passEnds_)
            passEnds_();
        return screen_.NextPass();
    }

    platform::ScreenSampler& Sampler() override { return *this; }
    bool AnotherCopyRuns(const QString& product) override
    {
        return desktop_.AnotherCopyRuns(product);
    }
    void BringRunningCopyForward(const QString& product) override
    {
        desktop_.BringRunningCopyForward(product);
    }
    bool PlacesWindows() override { return desktop_.PlacesWindows(); }
    void Beep() override { desktop_.Beep(); }

private:
    platform::Desktop& desktop_;
    platform::ScreenSampler& screen_;
    std::function<void()> passStarts_;
    std::function<void()> passEnds_;
};
