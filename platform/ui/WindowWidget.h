#pragma once

// Private to the framework: the Qt window behind a Window, for Window's own code.

#include "Window.h"

#include <QMainWindow>

class QEventLoop;

namespace platform {

// The Qt window. What the user does to it reaches the window's events through its method table,
// at the framework's boundary.
class Window::Widget final : public QMainWindow {
public:
    explicit Widget(Window& owner);
    ~Widget() override;

    void watchContent(QWidget* content);

    bool moveFocus(bool next) { return focusNextPrevChild(next); }

    QEventLoop* modalLoop = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void dispatch(Window::Slot slot);

    Window& m_owner;
    QWidget* m_content = nullptr;
    bool m_mouseCaptured = false;
};

}
