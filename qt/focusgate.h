// Focus-change validation: before the focus leaves a guarded field for another
// control of the same window, the field's validate handler runs and may
// cancel the move. The control that was to get the focus then gets neither
// the focus nor its click or key.
//
// Qt moves the focus to a clicked widget before any event filter on that
// widget or on the window widget sees the press, so the gate watches presses
// addressed to the window's QWindow, which arrive earlier. Tab and Shift+Tab
// are caught on their way to the field, which would act on them. Texts set by
// the program, clicks on widgets that take no focus (labels) and closing the
// window run no handler. The mouse wheel is not watched: it moves the focus
// only to widgets with Qt::WheelFocus, and no control of ours asks for that.
//
// A button's command can also run without a press on the window: by a
// keyboard shortcut, an accessibility client's "Press" action or click()
// from code. The command then asks the gate the same question a press asks,
// mayTakeFocus(), and is refused the same way. Enter and Return on a focused
// button press it, as Space does.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QAbstractButton;
class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace brinevar {

class FocusGate : public QObject {
    Q_OBJECT

public:
    // Sets `Cancel` to keep the focus in the field.
    using Validate = std::function<void(bool &Cancel)>;

    // Guards fields of `window`, which owns the gate.
    explicit FocusGate(QWidget *window);
    ~FocusGate() override;

    // Runs `handler` before the focus leaves `field`, a widget of the window.
    void setValidate(QWidget *field, Validate handler);

    // Runs `command` at every click of `button`, however it comes about,
    // unless the focused field refuses to give the button the focus.
    void connectCommand(QAbstractButton *button, std::function<void()> command);

    // Whether `control` may take the focus from the guarded field that has
    // it: the field's handler runs, and a refusal keeps the focus in the
    // field. True when no guarded field has the focus, when `control` is
    // that field, or when it takes no focus at all.
    bool mayTakeFocus(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Guard {
        QPointer<QWidget> field;
        Validate handler;
    };

    bool filterMouse(QMouseEvent *event);
    bool filterKey(QObject *watched, QKeyEvent *event);
    const Guard *guardOf(const QWidget *field) const;
    QWidget *focusTarget(QWidget *hit) const;
    bool refuses(const Guard &guard);

    QWidget *window_;
    std::vector<Guard> guards_;
    // The button of a refused press; its release, and the double click that
    // a second press makes of it, must not reach the window either. (Qt
    // itself drops the moves of a press it never delivered.)
    int swallowedButton_ = 0;
};

} // namespace brinevar
