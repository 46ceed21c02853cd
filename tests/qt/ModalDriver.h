#pragma once
// Plays the user in front of real modal Qt windows and popup menus: each step runs once on the next
// modal window that appears (nested windows included) and may fill it in, press its buttons or
// close it. A watchdog closes whatever is still open so a broken test fails instead of hanging.

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>

class ModalDriver {
public:
    using Step = std::function<void(QWidget*)>;
    explicit ModalDriver(std::deque<Step> steps) : steps_(std::move(steps)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    bool done() const { return steps_.empty(); }

private:
    void poll() {
        QWidget* w = QApplication::activePopupWidget();
        if (!w) w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        if (w == last_ || steps_.empty()) {
            if (w != last_) sameTicks_ = 0;
            last_ = w;
            if (++sameTicks_ >= 300) w->close(); // watchdog: 3 s for one window
            return;
        }
        last_ = w;
        sameTicks_ = 0;
        Step s = std::move(steps_.front());
        steps_.pop_front();
        // Run outside this timer's slot: a step that opens a nested window must not keep the
        // driver from seeing it (a timer does not fire again while its slot runs).
        QPointer<QWidget> target = w;
        QTimer::singleShot(0, w, [s = std::move(s), target] {
            if (target) s(target);
        });
    }
    std::deque<Step> steps_;
    QPointer<QWidget> last_;
    int sameTicks_ = 0;
    QTimer timer_;
};
