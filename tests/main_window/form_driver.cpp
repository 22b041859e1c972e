#include "form_driver.h"

#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

namespace form_driver {

std::unique_ptr<ColorForm> Open(std::int16_t model, std::int16_t radix, Rgb colour)
{
    auto form = std::make_unique<ColorForm>();
    form->mnuViewMode_Click(model);
    form->mnuViewRGB_Click(radix);
    form->HScroll1[0]->SetValue(colour.r);
    form->HScroll1[1]->SetValue(colour.g);
    form->HScroll1[2]->SetValue(colour.b);
    form->show();
    if (!QTest::qWaitForWindowActive(form.get()))
        qFatal("the window did not become active");
    return form;
}

Rgb Colour(const ColorForm& form)
{
    return {form.HScroll1[0]->Value(), form.HScroll1[1]->Value(), form.HScroll1[2]->Value()};
}

colour::Triple ModelRow(const ColorForm& form)
{
    return {form.HScroll2[0]->Value(), form.HScroll2[1]->Value(), form.HScroll2[2]->Value()};
}

QStringList RgbTexts(const ColorForm& form)
{
    return {form.Text1[0]->Text(), form.Text1[1]->Text(), form.Text1[2]->Text()};
}

QStringList ModelTexts(const ColorForm& form)
{
    return {form.Text2[0]->Text(), form.Text2[1]->Text(), form.Text2[2]->Text()};
}

void SelectAllByKeys(platform::TextBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
}

void Type(platform::TextBox* box, const QString& keys)
{
    SelectAllByKeys(box);
    for (const QChar ch : keys)
        QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
}

void Paste(platform::TextBox* box, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    SelectAllByKeys(box);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

void DragThumbToEnd(platform::ScrollBar* bar, bool toStart)
{
    const QPoint thumb = ThumbCentre(bar);
    const QPoint beyond(toStart ? -bar->width() : 2 * bar->width(), thumb.y());
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    constexpr int kSteps = 8; // several moves, so that a live follower sees each
    for (int step = 1; step <= kSteps; ++step)
        QTest::mouseMove(bar, thumb + (beyond - thumb) * step / kSteps);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, beyond);
}

void Choose(ColorForm& form, QMenu* menu, QAction* item, QMenu* submenu)
{
    QMenuBar* bar = form.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    if (!QTest::qWaitFor([menu] { return menu->isVisible(); }))
        qFatal("menu %s did not open", qPrintable(menu->objectName()));
    if (submenu) {
        QTest::mouseClick(
            menu, Qt::LeftButton, {}, menu->actionGeometry(submenu->menuAction()).center());
        if (!QTest::qWaitFor([submenu] { return submenu->isVisible(); }))
            qFatal("submenu %s did not open", qPrintable(submenu->objectName()));
        menu = submenu;
    }
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

bool ClickAndHandlePopup(
    QWidget* control, Qt::MouseButton button, QPoint pos, const std::function<void(QMenu*)>& inside)
{
    bool opened = false;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            watch.stop();
            opened = true;
            inside(menu);
        }
    });
    watch.start();
    QTest::mouseClick(control, button, {}, pos);
    watch.stop();
    return opened;
}

QStringList VisibleItems(const QMenu* menu)
{
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return items;
}

} // namespace form_driver
