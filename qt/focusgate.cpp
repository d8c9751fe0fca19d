#include "focusgate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace brinevar {

FocusGate::FocusGate(QWidget *window) : QObject(window), window_(window)
{
    // Only an application filter sees a press before Qt gives the focus away.
    qApp->installEventFilter(this);
}

FocusGate::~FocusGate()
{
    qApp->removeEventFilter(this);
}

void FocusGate::setValidate(QWidget *field, Validate handler)
{
    guards_.push_back({field, std::move(handler)});
}

bool FocusGate::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Tab and Shift+Tab sent to the field, as QWidget::event reads them;
        // with Ctrl or Alt they move no focus. Other keys stay in the field.
        const Guard *guard = guardOf(qobject_cast<QWidget *>(watched));
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!guard || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
            (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab))
            return false;
        return refuses(*guard);
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        // Only what the platform addresses to this window; the message box's
        // own presses, and the copies Qt then sends to widgets, pass.
        if (!window_->windowHandle() || watched != window_->windowHandle())
            return false;
        return filterMouse(static_cast<QMouseEvent *>(event));
    default:
        return false;
    }
}

bool FocusGate::filterMouse(QMouseEvent *event)
{
    const int button = event->button();
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        if (button != swallowedButton_)
            return false;
        swallowedButton_ = 0;
        return true;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click that was refused already.
        if (button == swallowedButton_)
            return true;
        break;
    default:
        swallowedButton_ = 0;
        break;
    }
    // Any button gives the focus on a press, so any button is checked.
    const Guard *guard = guardOf(window_->focusWidget());
    if (!guard)
        return false;
    QWidget *hit = window_->childAt(event->position().toPoint());
    QWidget *target = focusTarget(hit ? hit : window_);
    if (!target || target == guard->field || !refuses(*guard))
        return false;
    swallowedButton_ = button;
    return true;
}

const FocusGate::Guard *FocusGate::guardOf(const QWidget *field) const
{
    for (const Guard &guard : guards_)
        if (field && guard.field == field)
            return &guard;
    return nullptr;
}

// The widget a press at `hit` would give the focus to, found as Qt finds it:
// the first enabled widget upwards that takes the focus by click, through its
// focus proxy. nullptr when none does (a label on the window).
QWidget *FocusGate::focusTarget(QWidget *hit) const
{
    for (QWidget *widget = hit; widget; widget = widget->parentWidget()) {
        QWidget *proxy = widget;
        while (proxy->focusProxy())
            proxy = proxy->focusProxy();
        if (widget->isEnabled() && (widget->focusPolicy() & Qt::ClickFocus) &&
            (proxy->focusPolicy() & Qt::ClickFocus))
            return proxy;
        // A press inside the focused widget keeps the focus where it is.
        if (widget->isWindow() || proxy->hasFocus() || proxy == window_->focusWidget())
            return nullptr;
    }
    return nullptr;
}

bool FocusGate::refuses(const Guard &guard)
{
    bool Cancel = false;
    guard.handler(Cancel);
    if (!Cancel)
        return false;
    // Closing the handler's message box leaves no window active where no
    // window manager hands the activation back (offscreen, bare X): take it
    // back and return the focus to the field.
    if (guard.field) {
        window_->activateWindow();
        guard.field->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

} // namespace brinevar
