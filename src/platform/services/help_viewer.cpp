#include "platform/services/help_viewer.h"

#include "platform/controls/named.h"
#include "platform/services/units.h"
#include "resources/captions.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace platform {

namespace {

// Topics are marked <a name="context-N"> in the help file; the contents are
// the top of the file.
QString TopicAnchor(int context)
{
    return QStringLiteral("context-%1").arg(context);
}

bool HasAnchor(const QTextDocument& document, const QString& name)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(name))
                return true;
        }
    }
    return false;
}

// A window of its own, like the platform's help program: no owner, and it
// does not keep the program alive once the main window has closed.
class HelpViewer : public QWidget {
public:
    HelpViewer()
    {
        setObjectName(QStringLiteral("HelpViewer"));
        setWindowTitle(QString::fromUtf8(resources::kHelpTitle));
        setAttribute(Qt::WA_QuitOnClose, false);

        text_ = Named(new QTextBrowser(this), "HelpText");
        auto* contents = Named(
            new QPushButton(QString::fromUtf8(resources::kHelpContents), this), "HelpContents");
        auto* back
            = Named(new QPushButton(QString::fromUtf8(resources::kHelpBack), this), "HelpBack");
        back->setEnabled(false);

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(contents);
        buttons->addWidget(back);
        buttons->addStretch();
        auto* column = new QVBoxLayout(this);
        column->addLayout(buttons);
        column->addWidget(text_);
        // The first size grows with the desktop's text, as the main window does.
        resize(TwipsToPixelsX(8400), TwipsToPixelsY(7800));

        connect(contents, &QPushButton::clicked, this, [this] { ShowContents(); });
        connect(back, &QPushButton::clicked, text_, &QTextBrowser::backward);
        connect(text_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    }

    // QTextBrowser reloads only for another file; the <meta charset> of the
    // file decides its decoding, and links between topics stay in the window.
    void Load(const QString& file)
    {
        text_->setSource(
            QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()), QTextDocument::HtmlResource);
    }

    void Present()
    {
        showNormal();
        raise();
        activateWindow();
    }

    void ShowTopic(int context)
    {
        const QString anchor = TopicAnchor(context);
        if (HasAnchor(*text_->document(), anchor))
            text_->scrollToAnchor(anchor);
        else
            ShowContents(); // an unknown number opens the contents, as WinHelp does
    }

    void ShowContents()
    {
        text_->horizontalScrollBar()->setValue(0);
        text_->verticalScrollBar()->setValue(0);
    }

private:
    QTextBrowser* text_;
};

QPointer<HelpViewer> viewer;

HelpViewer& Viewer()
{
    if (!viewer) {
        viewer = new HelpViewer;
        // Deleted before the application object, which it cannot outlive.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { delete viewer; });
    }
    return *viewer;
}

bool Readable(const QString& file)
{
    QFile probe(file);
    return QFileInfo(file).isFile() && probe.open(QIODevice::ReadOnly);
}

} // namespace

void RunHelpViewer(QWidget* owner, const QString& helpFile, HelpCommand command, int data)
{
    if (command == HELP_QUIT) {
        if (viewer)
            viewer->close(); // hidden, not deleted: the next command reuses it
        return;
    }
    if (!Readable(helpFile)) {
        // What the platform's help program would say; the caller goes on.
        QMessageBox::warning(owner, QString::fromUtf8(resources::kHelpTitle),
            QString::fromUtf8(resources::kHelpUnreadable).arg(QDir::toNativeSeparators(helpFile)));
        return;
    }
    HelpViewer& help = Viewer();
    help.Load(helpFile);
    help.Present(); // shown first: the browser scrolls only once it is visible
    if (command == HELP_CONTEXT)
        help.ShowTopic(data);
    else
        help.ShowContents();
}

QWidget* HelpViewerWindow()
{
    return viewer;
}

} // namespace platform
