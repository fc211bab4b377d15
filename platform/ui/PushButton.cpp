#include "PushButton.h"

#include "ClassSchemas.h"
#include "ControlWidget.h"
#include "PropertyTable.h"
#include "QtText.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

namespace platform {

namespace {

QPushButton& button(Object& o)
{
    return controlWidget<PushButton, QPushButton>(o, "a PushButton");
}

// Qt presses a default button on Return only inside a dialog. This gives any window the same: a
// Return or Enter that no control of the window took on its way up presses the default button.
// It follows the button into whatever window it is moved to.
class ReturnPressesDefault final : public QObject {
public:
    explicit ReturnPressesDefault(QPushButton& button)
        : QObject(&button)
        , m_button(button)
    {
        setObjectName(QStringLiteral("returnPressesDefault"));
        button.installEventFilter(this);
        watchWindow();
    }

    ~ReturnPressesDefault() override
    {
        if (m_window)
            m_window->removeEventFilter(this);
    }

    static ReturnPressesDefault* of(QPushButton& button)
    {
        return button.findChild<ReturnPressesDefault*>(QStringLiteral("returnPressesDefault"),
                                                       Qt::FindDirectChildrenOnly);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_button) {
            if (event->type() == QEvent::ParentChange)
                watchWindow();
            return false;
        }
        if (watched != m_window || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!m_button.isDefault() || !m_button.isEnabled() || !m_button.isVisible())
            return false;
        m_button.click();
        return true;
    }

private:
    void watchWindow()
    {
        if (m_window)
            m_window->removeEventFilter(this);
        m_window = m_button.window();
        if (m_window != &m_button)
            m_window->installEventFilter(this);
        else
            m_window = nullptr;
    }

    QPushButton& m_button;
    QPointer<QWidget> m_window;
};

}

const ClassRecord& PushButton::Lookup()
{
    static ClassCache cache;
    return cache.build(&RectControl::Lookup, "PushButton", RectControl::SlotCount, [](ClassRecord& r) { r.declareEvents(Events::Action); }, &StorageMaker<PushButton>::make);
}

PushButton::PushButton(const ClassRecord& record)
    : RectControl(record, new QPushButton)
{
    auto* shown = static_cast<QPushButton*>(widget());
    QObject::connect(shown, &QPushButton::clicked, shown, [this] { raiseEvent(Events::Action); });
}

void PushButton::press()
{
    button(*this).click();
}

String PushButton::CaptionGet(Object& b)
{
    return fromQString(button(b).text());
}

void PushButton::CaptionSet(Object& b, std::int32_t, const String& caption)
{
    button(b).setText(toQString(caption));
}

void PushButton::DefaultSet(Object& b, std::int32_t, bool isDefault)
{
    QPushButton& shown = button(b);
    if (isDefault) {
        // One default button to a window, as in a dialog.
        if (shown.window() != &shown) {
            for (QPushButton* other : shown.window()->findChildren<QPushButton*>()) {
                if (other != &shown && other->isDefault()) {
                    other->setDefault(false);
                    other->setAutoDefault(false);
                }
            }
        }
        if (!ReturnPressesDefault::of(shown))
            new ReturnPressesDefault(shown);
    } else {
        delete ReturnPressesDefault::of(shown);
    }
    shown.setDefault(isDefault);
    // Return on the focused default button presses it once, here, rather than again in the window.
    shown.setAutoDefault(isDefault);
}

bool PushButton::DefaultGet(Object& b)
{
    return button(b).isDefault();
}

namespace {

QShortcut* cancelShortcut(QPushButton& shown)
{
    return shown.findChild<QShortcut*>(QStringLiteral("cancelShortcut"));
}

void setCancel(Object& b, bool isCancel)
{
    QPushButton& shown = button(b);
    QShortcut* shortcut = cancelShortcut(shown);
    if (isCancel && !shortcut) {
        // Escape presses the cancel button wherever the focus is in its window.
        shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), &shown);
        shortcut->setObjectName(QStringLiteral("cancelShortcut"));
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, &shown, &QAbstractButton::click);
    } else if (!isCancel) {
        delete shortcut;
    }
}

bool isCancel(Object& b)
{
    return cancelShortcut(button(b)) != nullptr;
}

}

const PropertyTable& PushButton::properties()
{
    static const PropertyTable table(pushButtonSchema, &RectControl::properties(), {
        { "Caption", &PushButton::CaptionSet, &PushButton::CaptionGet },
        { "Default", &PushButton::DefaultSet, &PushButton::DefaultGet },
        { "Cancel", setCancel, isCancel },
    }, textStyleRows());
    return table;
}

}
