#include "linklabel.h"

#include "formbuilder.h"

#include <QMouseEvent>
#include <QShortcutEvent>

namespace brinevar {

LinkLabel::LinkLabel(const QString &text, char accessKey, QWidget *parent) : QLabel(text, parent)
{
    if (accessKey)
        shortcut_ = grabShortcut(QKeySequence(Qt::ALT | Qt::Key(accessKey)));
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
