#pragma once

#include "ClassRecord.h"
#include "Graphics.h"
#include "Object.h"
#include "Ref.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// A window holding what the Print action reads, assembled through the framework's own calls,
// and a print dialog that hands back a chosen page instead of asking anyone.
struct SheetWindow {
private:
    // Declared first: the window points at it until the end.
    std::unique_ptr<platform::ClassRecord> m_record;

public:
    struct Parts {
        bool textField = true;
        bool popupMenu = true;
    };
    explicit SheetWindow(Parts parts);
    SheetWindow() : SheetWindow(Parts {}) {}
    ~SheetWindow();

    void setPracticeText(const std::string& text);
    // Items separated by carriage returns; row is the selected one.
    void setPopup(const std::string& items, int row);
    // The page the next dialog returns; nil is a cancelled dialog.
    void answerDialogWith(platform::Ref<platform::Graphics> page) { m_answer = std::move(page); }
    // A press of "Print!": the Action handler called with the button.
    void press();

    // What each dialog was given: whether a printer setup and whether a parent window.
    struct DialogArguments {
        bool printerSetup, parentWindow;
        bool operator==(const DialogArguments&) const = default;
        friend void PrintTo(const DialogArguments& a, std::ostream* os)
        {
            *os << "(printer setup " << (a.printerSetup ? "given" : "nil") << ", parent window "
                << (a.parentWindow ? "given" : "nil") << ")";
        }
    };
    const std::vector<DialogArguments>& dialogArguments() const { return m_dialogs; }
    int dialogsShown() const { return static_cast<int>(m_dialogs.size()); }

    // The window's class record, over Window's and of its own, so a test can swap its operations.
    platform::ClassRecord& record() { return *m_record; }

    platform::Ref<platform::Object> window, button;

private:
    platform::Ref<platform::Graphics> m_answer;
    std::vector<DialogArguments> m_dialogs;
};

// Sees every call of the framework's background-task hook while it lives. The hook has no
// observer of its own; the test program is linked with it wrapped (tests/CMakeLists.txt).
struct BackgroundTaskSpy {
    explicit BackgroundTaskSpy(std::function<void()> onCall);
    ~BackgroundTaskSpy();
    BackgroundTaskSpy(const BackgroundTaskSpy&) = delete;
    BackgroundTaskSpy& operator=(const BackgroundTaskSpy&) = delete;
};
