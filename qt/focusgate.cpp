#include "focusgate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcutEvent>
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

void FocusGate::connectCommand(QAbstractButton *button, std::function<void()> command)
{
    connect(button, &QAbstractButton::clicked, this, [this, button, command = std::move(command)] {
        if (mayTakeFocus(button))
            command();
    });
}

bool FocusGate::mayTakeFocus(QWidget *control)
{
    // A control that takes no focus (a caption) moves none, and asks nothing.
    if (!control || control->focusPolicy() == Qt::NoFocus)
        return true;
    const Guard *guard = guardOf(window_->focusWidget());
    return !guard || control == guard->field || !refuses(*guard);
}

bool FocusGate::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return filterKey(watched, static_cast<QKeyEvent *>(event));
    case QEvent::Shortcut: {
        // A mnemonic gives the focus to its widget, or a caption's to its
        // buddy; a button's, unless ambiguous, clicks it, and the click asks.
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || widget->window() != window_ ||
            (qobject_cast<QAbstractButton *>(widget) &&
             !static_cast<QShortcutEvent *>(event)->isAmbiguous()))
            return false;
        if (const auto *label = qobject_cast<QLabel *>(widget); label && label->buddy())
            widget = label->buddy();
        return !mayTakeFocus(widget);
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

bool FocusGate::filterKey(QObject *watched, QKeyEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    // Enter on a focused button of the window presses it, as Space does; as
    // in a dialog, only without modifiers (the keypad's own aside).
    const bool enter =
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier)) == Qt::NoModifier;
    if (auto *button = qobject_cast<QAbstractButton *>(widget);
        enter && button && button->window() == window_) {
        if (!event->isAutoRepeat())
            button->click();
        return true;
    }
    // Tab and Shift+Tab sent to the field, as QWidget::event reads them;
    // with Ctrl or Alt they move no focus. Other keys stay in the field.
    const Guard *guard = guardOf(widget);
    if (!guard || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
        (event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab))
        return false;
    return refuses(*guard);
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
    if (!guardOf(window_->focusWidget()))
        return false;
    QWidget *hit = window_->childAt(event->position().toPoint());
    QWidget *target = focusTarget(hit ? hit : window_);
    if (!target || mayTakeFocus(target))
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
