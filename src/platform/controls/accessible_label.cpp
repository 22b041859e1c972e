#include "platform/controls/accessible_label.h"

#include "colour/color_value.h"
#include "colour/notations.h"
#include "platform/controls/label.h"

#include <QAccessibleWidget>
#include <QRegularExpression>

namespace platform {

namespace {

// Qt would describe a Label as any QLabel: a text named by its caption or,
// without one, after its frame, so that all sixteen swatches were "基本色"
// and the preview had neither name nor colour. Qt's bridge passes a value
// only as a number, so a colour sample's HTML notation goes out as its
// text, which a screen reader reads for a label and updates on a change.
class AccessibleLabel : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleLabel(Label* label) : QAccessibleWidget(label, QAccessible::StaticText) { }

    QAccessible::Role role() const override
    {
        switch (label()->AccessibleRole()) {
        case Label::Role::Button: return QAccessible::Button;
        case Label::Role::Link: return QAccessible::Link;
        case Label::Role::Text:
        case Label::Role::ColourSample: break;
        }
        return QAccessible::StaticText;
    }

    QString text(QAccessible::Text t) const override
    {
        const bool text = label()->AccessibleRole() == Label::Role::Text;
        if (t == QAccessible::Name && label()->accessibleName().isEmpty())
            return text ? SpokenCaption(label()->Caption()) : label()->toolTip();
        if (t == QAccessible::Description && label()->accessibleDescription().isEmpty())
            return text ? label()->toolTip() : SpokenCaption(label()->Caption());
        return QAccessibleWidget::text(t);
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return IsSample() ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
        return QAccessibleWidget::interface_cast(t);
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (label()->Pressable())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override
    {
        if (action == pressAction() && label()->Pressable())
            label()->Press();
        else
            QAccessibleWidget::doAction(action);
    }

    // The text: one run, nothing selectable, no caret.
    QString text(int start, int end) const override { return Sample().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Sample().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int offset, int* start, int* end) const override
    {
        Q_UNUSED(offset);
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    Label* label() const { return static_cast<Label*>(widget()); }

    bool IsSample() const { return label()->AccessibleRole() == Label::Role::ColourSample; }
    QString Sample() const { return IsSample() ? SampleText(label()->BackColor()) : QString(); }
};

QAccessibleInterface* LabelFactory(const QString& className, QObject* object)
{
    // Every Label, whatever its role now: Qt keeps the interface it is
    // given for the life of the control, and the role is read on each call.
    if (className == QLatin1String(Label::staticMetaObject.className()))
        return new AccessibleLabel(static_cast<Label*>(object));
    return nullptr;
}

} // namespace

QString SpokenCaption(const QString& caption)
{
    static const QRegularExpression keyApart(QStringLiteral("\\(&[^&]\\)"));
    QString spoken = caption;
    spoken.remove(keyApart);
    // Inside a word "&" marks the letter and "&&" stands for "&".
    for (qsizetype at = spoken.indexOf(QLatin1Char('&')); at >= 0;
         at = spoken.indexOf(QLatin1Char('&'), at + 1))
        spoken.remove(at, 1);
    spoken.replace(QLatin1String("\r\n"), QLatin1String(" "));
    spoken.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return spoken.trimmed();
}

QString SampleText(std::uint32_t colour)
{
    const colour::Rgb c = colour::Unpack(colour);
    return QString::fromStdString(colour::CopyText(c.r, c.g, c.b, colour::Html));
}

void DescribeLabelsByRole()
{
    static const bool installed = (QAccessible::installFactory(LabelFactory), true);
    Q_UNUSED(installed);
}

} // namespace platform
