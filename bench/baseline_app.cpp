// The yardstick for start-up: a minimal Qt Widgets program with a menu bar,
// a few controls and a square painted in the colour Tinctor starts with.
// With `--latin` its texts are Latin only, so that beside the Japanese
// ones the share of the Japanese font shows on its own.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QScrollBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool latin = argc > 1 && qstrcmp(argv[1], "--latin") == 0;
    const auto text = [latin](const char* japanese, const char* english) {
        return QString::fromUtf8(latin ? english : japanese);
    };
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.menuBar()->addMenu(text("ファイル(&F)", "&File"))->addAction(text("終了(&X)", "E&xit"));
    window.menuBar()->addMenu(text("表示(&V)", "&View"))->addAction(QStringLiteral("HSV(&S)"));
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
    auto* caption = new QLabel(text("赤(&R)", "&Red"), client);
    caption->setGeometry(16, 114, 33, 17);
    window.show();
    return app.exec();
}
