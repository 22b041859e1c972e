#pragma once

#include "platform/controls/mouse.h"

#include <QGroupBox>

namespace platform {

// A captioned frame that holds controls and reports the mouse like a label.
class Frame : public QGroupBox {
    Q_OBJECT

public:
    explicit Frame(QWidget* parent);

    void SetCaption(const QString& caption) { setTitle(caption); }
    QString Caption() const { return title(); }

signals:
    void MouseDown(const platform::MouseArgs& args);
    void MouseMove(const platform::MouseArgs& args);
    void MouseUp(const platform::MouseArgs& args);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace platform
