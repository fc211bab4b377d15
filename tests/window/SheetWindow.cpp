#include "SheetWindow.h"

#include "AddControl.h"
#include "PopupMenu.h"
#include "PrintDialog.h"
#include "PushButton.h"
#include "TextField.h"
#include "Window.h"
#include "PrintAction.h"

using namespace platform;
using testsupport::addControl;

SheetWindow::SheetWindow(Parts parts)
{
    window = RuntimeNewObject(Window::Lookup());
    button = addControl(window, PushButton::Lookup(), "PushButton1");
    if (parts.textField)
        addControl(window, TextField::Lookup(), "TextField1");
    if (parts.popupMenu) {
        addControl(window, PopupMenu::Lookup(), "PopupMenu1");
        setPopup("Adding\rSubtracting\rMultiplying\rDividing", 2);
    }
    setPracticeText("7");
    setPrintDialogHook([this](const Ref<Object>&, const Ref<Object>&) {
        ++m_dialogs;
        return m_answer;
    });
}

SheetWindow::~SheetWindow()
{
    setPrintDialogHook(nullptr);
}

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

void SheetWindow::answerDialogWith(Ref<Graphics> page)
{
    m_answer = std::move(page);
}

void SheetWindow::press()
{
    Window1::PushButton1_Action(*button);
}
