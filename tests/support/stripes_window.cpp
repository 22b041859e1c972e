// A window of one-device-pixel columns, red on even device columns and
// blue on odd ones, titled "Stripes": at a scale above 1 a pick must reach
// both kinds.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace {

class Stripes : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        const qreal ratio = devicePixelRatioF();
        QImage columns(qCeil(width() * ratio), qCeil(height() * ratio), QImage::Format_RGB32);
        for (int y = 0; y < columns.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(columns.scanLine(y));
            for (int x = 0; x < columns.width(); ++x)
                line[x] = x % 2 == 0 ? qRgb(0xFF, 0, 0) : qRgb(0, 0, 0xFF);
        }
        columns.setDevicePixelRatio(ratio);
        QPainter(this).drawImage(0, 0, columns);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Stripes window;
    window.setWindowTitle(QStringLiteral("Stripes"));
    window.setAttribute(Qt::WA_OpaquePaintEvent);
    window.resize(200, 200);
    window.show();
    return app.exec();
}
