#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <optional>

class QCursor;
class QScreen;

namespace platform::portal {

class CoverSession;

// One screen's cover during a pick over a screenshot: borderless, the size
// of its screen, showing that screen's part of the screenshot so that the
// desktop seems to stand still, our main window live at its place, and the
// loupe beside the pointer. It reports where the pointer is, as a position
// of the whole layout with the fraction the compositor gave, and the buttons
// released on it.
class FrozenOverlay : public QWidget {
    Q_OBJECT

public:
    // A cover made `clear` shows the live screen, with no pointer, until
    // Freeze: a screenshot taken then holds no pointer of ours. `session`
    // (not owned) outlives the cover.
    FrozenOverlay(QScreen* screen, bool clear, const CoverSession& session);

    // From now on the cover shows `shot` of the whole `layout`, and
    // `cursor`.
    void Freeze(const QImage& shot, const QRectF& layout, const QCursor& cursor);

    // Shows `look` (our main window as it is now) at `place`, layout pixels,
    // over the shot.
    void ShowWindow(const QPixmap& look, const QRectF& place);

    // Puts the loupe beside `pointer` (layout pixels), magnifying the shot
    // around `pixel` and naming `colour` (0x00BBGGRR); hides it where the
    // pointer is on another screen.
    void ShowLoupe(QPointF pointer, QPoint pixel, std::uint32_t colour);

    // Shows the cover on its screen.
    void Cover();

signals:
    void PointerAt(QPointF layoutPoint);
    void Released(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintLoupe(QPainter& painter) const;

    QRect screen_;
    QImage shot_;
    QRectF layout_;
    QPixmap window_;
    QRect windowPlace_;
    const CoverSession& session_;
    bool loupeShown_ = false;
    QRect loupe_;
    QPoint pixel_;
    std::uint32_t colour_ = 0;
    QString notation_;
    struct Motion {
        QPointF at;
        quint64 timestamp = 0;
    };
    Motion last_;
    Motion previous_;
};

// Where `look`, a grab of one of our windows, lies in `shot` of the whole
// `layout`, in layout pixels; nothing where the shot shows it at another
// scale or not at all. Most of its pixels must match: a caret may blink
// between the two.
std::optional<QRectF> FindInShot(const QImage& look, const QImage& shot, const QRectF& layout);

} // namespace platform::portal
