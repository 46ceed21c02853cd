#pragma once
// The Qt side of QuimbelKeyboard's switch scanning and dwell (internal): it feeds the keyboard's
// scanner the time, the switch presses (a key anywhere in the application, a mouse button on
// the keyboard) and the key under the pointer. It listens only while one of them is on.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

namespace quimbel {
class TKeyboard;
}

class QuimbelAssistiveInput : public QObject {
public:
    QuimbelAssistiveInput(QWidget* Keyboard, quimbel::TKeyboard* Model);
    ~QuimbelAssistiveInput() override;

    int SwitchKey = Qt::Key_Space;
    int MoveSwitchKey = Qt::Key_Return;
    Qt::MouseButton SwitchButton = Qt::LeftButton;
    Qt::MouseButton MoveSwitchButton = Qt::RightButton;

    // Starts or stops listening after the keyboard's scanning or dwell options changed.
    void Update();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    bool onKeyboard(QObject* Watched) const;
    void tick();
    void pointerAt(QWidget* Widget, const QPoint& Pos);

    QPointer<QWidget> keyboard_;
    quimbel::TKeyboard* model_;
    QTimer timer_;
    QElapsedTimer clock_;
    bool listening_ = false;
};
