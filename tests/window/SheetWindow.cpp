#include "SheetWindow.h"

#include "AddControl.h"
#include "PopupMenu.h"
#include "PrintAction.h"
#include "PrintDialog.h"
#include "PushButton.h"
#include "TextField.h"

using namespace platform;

static std::function<void()> s_backgroundTaskSpy;

// The linker sends every call of platform::RuntimeBackgroundTask() from the libraries here.
void realRuntimeBackgroundTask() __asm__("__real__ZN8platform21RuntimeBackgroundTaskEv");
void wrappedRuntimeBackgroundTask() __asm__("__wrap__ZN8platform21RuntimeBackgroundTaskEv");
void wrappedRuntimeBackgroundTask()
{
    if (s_backgroundTaskSpy)
        s_backgroundTaskSpy();
    realRuntimeBackgroundTask();
}

BackgroundTaskSpy::BackgroundTaskSpy(std::function<void()> onCall) { s_backgroundTaskSpy = std::move(onCall); }
BackgroundTaskSpy::~BackgroundTaskSpy() { s_backgroundTaskSpy = nullptr; }

SheetWindow::SheetWindow(Parts parts)
    : m_record(RuntimeNewClass(&Window::Lookup()))
{
    m_record->setName("SheetWindow");
    window = RuntimeNewObject(*m_record);
    button = testsupport::addControl(window, PushButton::Lookup(), "PushButton1");
    if (parts.textField)
        testsupport::addControl(window, TextField::Lookup(), "TextField1");
    if (parts.popupMenu) {
        testsupport::addControl(window, PopupMenu::Lookup(), "PopupMenu1");
        setPopup("Adding\rSubtracting\rMultiplying\rDividing", 2);
    }
    setPracticeText("7");
    setPrintDialogHook([this](const Ref<Object>& printerSetup, const Ref<Object>& parentWindow) {
        m_dialogs.push_back({ static_cast<bool>(printerSetup), static_cast<bool>(parentWindow) });
        return m_answer;
    });
}

SheetWindow::~SheetWindow() { setPrintDialogHook(nullptr); }

void SheetWindow::setPracticeText(const std::string& text)
{
    if (Ref<Object> field = RuntimeWindowControlByName(window, "TextField1"))
        TextField::TextSet(*field, 0, String(text));
}

void SheetWindow::setPopup(const std::string& items, int row)
{
    Ref<Object> popup = RuntimeWindowControlByName(window, "PopupMenu1");
    PopupMenu::InitialValueSet(*popup, 0, String(items));
    PopupMenu::ListIndexSet(*popup, 0, row);
}

void SheetWindow::press() { Window1::PushButton1_Action(*button); }
