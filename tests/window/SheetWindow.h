#pragma once

#include "Graphics.h"
#include "Object.h"
#include "Ref.h"
#include "String.h"

#include <string>

// A window holding what the Print action reads, assembled through the framework's own calls,
// and a print dialog that hands back a chosen page instead of asking anyone.
struct SheetWindow {
    struct Parts {
        bool textField = true;
        bool popupMenu = true;
    };

    explicit SheetWindow(Parts parts);
    SheetWindow()
        : SheetWindow(Parts {})
    {
    }
    ~SheetWindow();

    void setPracticeText(const std::string& text);
    // Items separated by carriage returns; row is the selected one.
    void setPopup(const std::string& items, int row);
    // The page the next dialog returns; nil is a cancelled dialog.
    void answerDialogWith(platform::Ref<platform::Graphics> page);
    int dialogsShown() const { return m_dialogs; }

    // A press of "Print!": the Action handler called with the button.
    void press();

    platform::Ref<platform::Object> window;
    platform::Ref<platform::Object> button;

private:
    platform::Ref<platform::Graphics> m_answer;
    int m_dialogs = 0;
};
