#include "linklabel.h"

#include "formbuilder.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QShortcutEvent>

namespace brinevar {
namespace {

// What screen readers find in a link caption: static text with its words, as
// in any caption, that their Press action clicks and whose access key is the
// action's key binding. The click comes after the reader's call has returned,
// since a command may show a modal box.
class LinkLabelAccessible : public QAccessibleWidget {
public:
    explicit LinkLabelAccessible(LinkLabel *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text which) const override
    {
        if (which == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(which);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            QMetaObject::invokeMethod(label(), &LinkLabel::clicked, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString &action) const override
    {
        if (action != pressAction() || label()->accessKey().isEmpty())
            return {};
        return {label()->accessKey().toString(QKeySequence::NativeText)};
    }

private:
    LinkLabel *label() const { return static_cast<LinkLabel *>(widget()); }
};

QAccessibleInterface *LinkLabelAccessibleFor(const QString &className, QObject *object)
{
    if (className == QLatin1String(LinkLabel::staticMetaObject.className()) &&
        object->isWidgetType())
        return new LinkLabelAccessible(static_cast<LinkLabel *>(object));
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(const QString &text, char accessKey, QWidget *parent) : QLabel(text, parent)
{
    static const bool known = (QAccessible::installFactory(LinkLabelAccessibleFor), true);
    (void)known;
    if (accessKey) {
        accessKey_ = QKeySequence(Qt::ALT | Qt::Key(accessKey));
        shortcut_ = grabShortcut(accessKey_);
    }
    setFocusPolicy(Qt::NoFocus);
    // Only the underline is set here; face and size still come from the window.
    QFont underlined;
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette palette;
    palette.setColor(QPalette::WindowText, ToQColor(kLinkColour));
    setPalette(palette);
}

bool LinkLabel::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent *>(event)->shortcutId() == shortcut_) {
        emit clicked();
        return true;
    }
    return QLabel::event(event);
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // Like a button: the click counts only if released over the label.
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

} // namespace brinevar
