// A hidden switch for the start-up benchmark: with the environment variable
// BRINEVAR_EXIT_AFTER_FIRST_PAINT set, the program prints when its start-up
// window was first painted and then quits. Header-only, so that the bare
// window it is compared with (bench/barewindow.cpp) runs the very same code.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace brinevar {

class FirstPaintExit : public QObject {
public:
    // Watches `window` when the switch is set; costs one lookup otherwise.
    static void InstallIfAsked(QWidget *window)
    {
        if (qEnvironmentVariableIsSet("BRINEVAR_EXIT_AFTER_FIRST_PAINT"))
            window->installEventFilter(new FirstPaintExit(window));
    }

protected:
    explicit FirstPaintExit(QObject *parent) : QObject(parent) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A window paints only once it is exposed, so its first paint event
        // means it is on the screen.
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            // Queued, so the painted frame is flushed to the screen first.
            QMetaObject::invokeMethod(
                this,
                [] {
                    const auto now = std::chrono::steady_clock::now().time_since_epoch();
                    std::printf(
                        "first-paint-ns %lld\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                    std::fflush(stdout);
                    QCoreApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
};

} // namespace brinevar
