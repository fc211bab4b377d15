// The practice sheet window as the X server shows it: built by its real construction with the
// application's real menu bar, then measured on screen and photographed. Run by
// window_geometry_test.sh on a private Xvfb.

#include "MenuBar1.h"
#include "PropertyStrings.h"
#include "SharedMenuBar.h"
#include "Window1.h"

#include "PropertySchema.h"
#include "PropertyString.h"
#include "RectControl.h"
#include "Window.h"
#include "WindowSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QWindow>

#include <optional>
#include <string>
#include <vector>

using namespace platform;

namespace {

QString artifacts()
{
    const QString dir = qEnvironmentVariable("SUMWISE_ARTIFACTS", QDir::currentPath());
    QDir().mkpath(dir);
    return dir;
}

// The design rectangle of a control, from its own property string.
QRect designRect(std::string_view control)
{
    for (const auto& constant : PropertyStrings::all()) {
        if (constant.target != control)
            continue;
        QRect r;
        for (const PropertyEntry& e :
             PropertyString::decode(String(constant.bytes), PropertySchema::forClass(constant.className))) {
            if (e.name == "Left")
                r.moveLeft(e.asInt32());
            else if (e.name == "Top")
                r.moveTop(e.asInt32());
            else if (e.name == "Width")
                r.setWidth(e.asInt32());
            else if (e.name == "Height")
                r.setHeight(e.asInt32());
        }
        return r;
    }
    throw std::runtime_error("no property string for " + std::string(control));
}

// Where the X server itself has a window, independently of Qt's bookkeeping.
std::optional<QRect> serverGeometry(WId id)
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), { QStringLiteral("-id"), QString::number(id) });
    if (!xwininfo.waitForFinished() || xwininfo.exitCode() != 0)
        return std::nullopt;
    const QString out = QString::fromLocal8Bit(xwininfo.readAllStandardOutput());
    auto field = [&](const char* label) {
        const QRegularExpressionMatch m = QRegularExpression(QString::fromLatin1(label) + QStringLiteral(":\\s+(-?\\d+)")).match(out);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
}

const char* const controlNames[] = { "PushButton1", "TextField1", "StaticText1", "StaticText2", "StaticText3", "PopupMenu1" };

class WindowGeometry : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            return;
        Window1::setSharedMenuBarAccessor(&MenuBar1::implicitInstance);
        window = Window1::implicitInstance();
        QMainWindow& qt = *Window::from(*window).qtWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&qt));
        // Painted and flushed now; the server handles the grab after the flush.
        qt.repaint();
        shot = new QImage(qt.screen()->grabWindow(qt.winId()).toImage());
        shot->save(artifacts() + QStringLiteral("/window_geometry.png"));
        const QString import = QStandardPaths::findExecutable(QStringLiteral("import"));
        if (!import.isEmpty())
            QProcess::execute(import, { QStringLiteral("-window"), QStringLiteral("root"),
                                        artifacts() + QStringLiteral("/window_geometry_screen.png") });
    }

    static void TearDownTestSuite()
    {
        delete shot;
        shot = nullptr;
        if (window)
            WindowSupport::unregisterWindow(*window);
        window = nullptr;
        MenuBar1::implicitInstanceExit();
        Window1::setSharedMenuBarAccessor(nullptr);
    }

    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run on X: see window_geometry_test.sh";
        ASSERT_TRUE(window);
        ASSERT_TRUE(shot && !shot->isNull());
    }

    static Window& storage() { return Window::from(*window); }
    static QMainWindow& qt() { return *storage().qtWindow(); }
    static QWidget& content() { return *storage().contentArea(); }
    static QWidget& widgetOf(const char* name)
    {
        return *RectControl::from(*RuntimeWindowControlByName(window, name)).widget();
    }
    // A content-area rectangle in the screenshot's coordinates.
    static QRect inShot(const QRect& r) { return r.translated(content().mapTo(&qt(), QPoint(0, 0))); }
    static QRgb background() { return shot->pixel(inShot(QRect(5, 175, 1, 1)).topLeft()); }

    static Ref<Object> window;
    static QImage* shot;
};

Ref<Object> WindowGeometry::window;
QImage* WindowGeometry::shot = nullptr;

// Guards: the window's Width and Height taken as the frame's (the menu bar eating into the
// controls' area), or the server showing a size other than the one Qt believes in.
TEST_F(WindowGeometry, TheServerShowsTheContentAreaAtItsDesignSize)
{
    const QPoint contentOffset = content().mapTo(&qt(), QPoint(0, 0));
    EXPECT_EQ(contentOffset.x(), 0);
    EXPECT_GT(contentOffset.y(), 0) << "the menu bar sits above the content area";
    EXPECT_EQ(content().size(), QSize(455, 181));
    const std::optional<QRect> server = serverGeometry(qt().winId());
    ASSERT_TRUE(server) << "xwininfo could not describe the window";
    EXPECT_EQ(server->size(), QSize(455, 181 + contentOffset.y()));
    EXPECT_EQ(server->topLeft(), qt().mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(shot->size(), server->size());
    EXPECT_EQ(qt().windowTitle(), QStringLiteral("Sumwise"));
}

class ControlOnScreen : public WindowGeometry, public ::testing::WithParamInterface<const char*> {};

// Guards: a control placed relative to the frame, the menu bar or another control rather than the
// content area, sized other than its string says, or not drawn at all.
TEST_P(ControlOnScreen, SitsWhereItsStringPutsIt)
{
    const char* name = GetParam();
    QWidget& widget = widgetOf(name);
    const QRect design = designRect(name);
    EXPECT_EQ(QRect(widget.mapTo(&content(), QPoint(0, 0)), widget.size()), design);
    const std::optional<QRect> server = serverGeometry(qt().winId());
    ASSERT_TRUE(server);
    const QPoint contentOnScreen = server->topLeft() + content().mapTo(&qt(), QPoint(0, 0));
    EXPECT_EQ(widget.mapToGlobal(QPoint(0, 0)), contentOnScreen + design.topLeft());
    EXPECT_TRUE(widget.isVisible());

    const QRect area = inShot(design);
    int drawn = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            drawn += shot->pixel(x, y) != background();
    }
    EXPECT_GE(drawn, 20) << name << " shows nothing in its rectangle";
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlOnScreen, ::testing::ValuesIn(controlNames),
                         [](const auto& info) { return std::string(info.param); });

struct Ink {
    int left = -1;
    int right = -1;
};

// The leftmost and rightmost columns of dark pixels in a content-area rectangle of the screenshot.
Ink inkIn(const QImage& shot, const QRect& area)
{
    Ink ink;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (qGray(shot.pixel(x, y)) < 128) {
                if (ink.left < 0)
                    ink.left = x - area.left();
                ink.right = x - area.left();
                break;
            }
        }
    }
    return ink;
}

// Guards: a label's text drawn away from the control it names (TextAlign 2 ignored), clipped at
// either end, or the description not starting at its left edge.
TEST_F(WindowGeometry, LabelTextsLieAgainstTheControlsTheyName)
{
    for (const char* label : { "StaticText1", "StaticText3" }) {
        const QRect design = designRect(label);
        const Ink ink = inkIn(*shot, inShot(design));
        ASSERT_GE(ink.left, 0) << label << " shows no text";
        EXPECT_GE(ink.right, design.width() - 8) << label;
        EXPECT_GT(ink.left, 8) << label;
    }
    const Ink description = inkIn(*shot, inShot(designRect("StaticText2")));
    ASSERT_GE(description.left, 0);
    EXPECT_LT(description.left, 8);
}

}
