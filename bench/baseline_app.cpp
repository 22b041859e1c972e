// The yardstick for start-up: a minimal Qt Widgets program with a menu bar,
// a few controls and a square painted in the colour Tinctor starts with.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QScrollBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.menuBar()
        ->addMenu(QStringLiteral("ファイル(&F)"))
        ->addAction(QStringLiteral("終了(&X)"));
    window.menuBar()->addMenu(QStringLiteral("表示(&V)"))->addAction(QStringLiteral("HSV(&S)"));
    auto* client = new QWidget(&window);
    client->setFixedSize(273, 320);
    window.setCentralWidget(client);
    auto* square = new QLabel(client);
    square->setGeometry(16, 16, 65, 65);
    square->setAutoFillBackground(true);
    QPalette palette = square->palette();
    palette.setColor(QPalette::Window, QColor(18, 52, 86));
    square->setPalette(palette);
    auto* box = new QLineEdit(QStringLiteral("18"), client);
    box->setGeometry(64, 112, 32, 18);
    auto* bar = new QScrollBar(Qt::Horizontal, client);
    bar->setGeometry(104, 112, 121, 17);
    auto* caption = new QLabel(QStringLiteral("赤(&R)"), client);
    caption->setGeometry(16, 114, 33, 17);
    window.show();
    return app.exec();
}
