#pragma once

// The fixture shared by the tests of Window and of its Qt window.

#include "AddControl.h"
#include "EventLoop.h"
#include "FrameworkTest.h"
#include "RectControl.h"
#include "TextField.h"
#include "Window.h"
#include "WindowSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline QMainWindow& qt(const Ref<Object>& window)
{
    return *Window::from(*window).qtWindow();
}

// Qt's offscreen platform activates windows only when asked.
inline void activate(const Ref<Object>& window)
{
    QMainWindow& w = qt(window);
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    QApplication::processEvents();
}

// Windows of a class of the test's own, over Window's table, whose handlers log what they get.
class WindowTest : public testsupport::FrameworkTest {
protected:
    using I32 = std::int32_t;

    void releaseHeld() override
    {
        releaseWindows();
        EventLoop::takePendingException();
    }

    void logEvent(const char* event)
    {
        record.setEventHandler(event, makeCode<void(Object&)>([this, event](Object&) { log.push_back(event); }));
    }
    void logPointEvent(const char* event, bool handled)
    {
        const auto logged = [this, event](I32 x, I32 y) {
            log.push_back(std::string(event) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        if (std::string_view(event) == "MouseDown")
            record.setEventHandler(event, makeCode<bool(Object&, I32, I32)>([=](Object&, I32 x, I32 y) {
                                       logged(x, y);
                                       return handled;
                                   }));
        else
            record.setEventHandler(event, makeCode<void(Object&, I32, I32)>([=](Object&, I32 x, I32 y) { logged(x, y); }));
    }

    Ref<Object> newWindow() { return RuntimeNewObject(record); }
    static Ref<Object> addTextField(const Ref<Object>& window, const char* name)
    {
        return testsupport::addControl(window, TextField::Lookup(), name);
    }
    static QWidget* widgetOf(const Ref<Object>& control) { return RectControl::from(*control).widget(); }

    ClassRecord record { "WindowTest.Logged", &Window::Lookup() };
    std::vector<std::string> log;
};

}
