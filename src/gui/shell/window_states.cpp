#include "gui/shell/window_states.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace shell {

namespace {

// Watches its window's state changes; owned by the window.
class StateKeeper final : public QObject {
public:
    StateKeeper(QWidget* window, Qt::WindowStates refused)
        : QObject(window), window_(window), refused_(refused) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::WindowStateChange &&
            (window_->windowState() & refused_)) {
            // Queued: the window manager finishes its change before the window undoes it.
            QTimer::singleShot(0, this, [this] {
                const Qt::WindowStates state = window_->windowState();
                if (!(state & refused_))
                    return;
                window_->setWindowState(state & ~refused_);
                if (!window_->isVisible() || (state & Qt::WindowMinimized))
                    window_->show();
            });
        }
        return false;
    }

private:
    QWidget* window_;
    Qt::WindowStates refused_;
};

} // namespace

void RefuseWindowStates(QWidget* window, Qt::WindowStates refused) {
    new StateKeeper(window, refused);
}

} // namespace shell
