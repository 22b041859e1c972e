#pragma once

#include <QMargins>
#include <QString>

class QWidget;

namespace platform {

class ScreenSampler;

// What differs from one desktop to the next, asked at the level the forms
// need it. Each backend answers it all in its own folder; which one serves
// is decided once, at the first call of TheDesktop.
class Desktop {
public:
    virtual ~Desktop() = default;

    // The screen pick's passes.
    virtual ScreenSampler& Sampler() = 0;

    // True when another copy of `product` runs for this user on this
    // desktop. The first call decides, and later calls repeat its answer.
    virtual bool AnotherCopyRuns(const QString& product) = 0;

    // Brings the running copy forward, restored from the minimised state:
    // the pop-up it showed last if there is one, else its main window.
    virtual void BringRunningCopyForward(const QString& product) = 0;
    // Brings this copy's window forward, or the modal dialog it shows, as a
    // later start asks, with the token the asking launcher gave (empty where
    // none came).
    virtual void ComeForward(const QString& product, const QString& token);

    // Whether the desktop lets a program read and set its own window's
    // position. Where it does not, the stored position is neither applied
    // nor overwritten.
    virtual bool PlacesWindows() = 0;
    // The frame the desktop will put around `window`, in pixels, asked
    // before its first show so that it can be placed whole; none where the
    // desktop does not tell.
    virtual QMargins FrameBeforeShow(QWidget*) { return {}; }

    // The information sound; nothing waits for it, and nothing tells
    // whether it was heard.
    virtual void Beep() = 0;
};

// The desktop in force: the backend chosen at the first call, which must come
// after the QApplication exists, unless a test installed another.
Desktop& TheDesktop();

// Installs `desktop` (not owned) in place of the chosen one; nullptr restores.
void InstallDesktop(Desktop* desktop);

} // namespace platform
