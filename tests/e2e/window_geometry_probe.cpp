// The practice sheet window as the X server shows it: built by its real construction with the
// application's real menu bar, then measured on screen and photographed. Run by
// window_geometry_test.sh on a private Xvfb.

#include "MenuBar1.h"
#include "PropertyStrings.h"
#include "SharedMenuBar.h"
#include "Window1.h"

#include "DesignRect.h"
#include "ExternalTool.h"
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

#include <string>

using namespace platform;
using testsupport::designRect;

namespace {

// Where the X server itself has a window, independently of Qt's bookkeeping.
QRect serverGeometry(WId id)
{
    const QString out = QString::fromStdString(testsupport::runTool("xwininfo", { "-id", QString::number(id) }));
    const auto field = [&](const char* label) {
        const QRegularExpressionMatch m = QRegularExpression(QString(label) + ":\\s+(-?\\d+)").match(out);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
}

// The leftmost and rightmost columns of dark pixels in a rectangle of the image, from its left edge; -1 for none.
std::pair<int, int> inkIn(const QImage& shot, const QRect& area)
{
    int left = -1, right = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (qGray(shot.pixel(x, y)) < 128) {
                right = x - area.left();
                left = left < 0 ? right : left;
                break;
            }
    return { left, right };
}

// Lets go of the window and the menu bar as the application does at shut-down, however the test ends.
struct Release {
    Ref<Object>& window;
    ~Release()
    {
        if (window)
            WindowSupport::unregisterWindow(*window);
        window = nullptr;
        MenuBar1::implicitInstanceExit();
        Window1::setSharedMenuBarAccessor(nullptr);
    }
};

// Guards: the window's Width and Height taken as the frame's (the menu bar eating into the controls' area), or
// the server showing a size other than the one Qt believes in; a control placed relative to the frame, the menu
// bar or another control rather than the content area, sized other than its string says, or not drawn at all;
// a label's text drawn away from the control it names (TextAlign 2 ignored), clipped at either end, or the
// description not starting at its left edge.
TEST(WindowGeometry, TheContentAreaHasItsDesignSizeAndEachControlAndLabelTextSitsWhereItsStringPutsIt)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run on X: see window_geometry_test.sh";
    Window1::setSharedMenuBarAccessor(&MenuBar1::implicitInstance);
    Ref<Object> window = Window1::implicitInstance();
    const Release release { window };
    ASSERT_TRUE(window);
    QMainWindow& qt = *Window::from(*window).qtWindow();
    QWidget& content = *Window::from(*window).contentArea();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&qt));
    qt.repaint(); // painted and flushed now; the server handles the grab after the flush
    const QImage shot = qt.screen()->grabWindow(qt.winId()).toImage();
    const QString artifacts = qEnvironmentVariable("SUMWISE_ARTIFACTS", QDir::currentPath());
    QDir().mkpath(artifacts);
    shot.save(artifacts + "/window_geometry.png");
    if (const QString import = QStandardPaths::findExecutable("import"); !import.isEmpty())
        QProcess::execute(import, { "-window", "root", artifacts + "/window_geometry_screen.png" });
    ASSERT_FALSE(shot.isNull());

    const QPoint contentOffset = content.mapTo(&qt, QPoint(0, 0));
    // A content-area rectangle in the screenshot's coordinates.
    const auto inShot = [&](const QRect& r) { return r.translated(contentOffset); };
    EXPECT_EQ(contentOffset.x(), 0);
    EXPECT_GT(contentOffset.y(), 0) << "the menu bar sits above the content area";
    EXPECT_EQ(content.size(), QSize(455, 181));
    const QRect server = serverGeometry(qt.winId());
    ASSERT_FALSE(::testing::Test::HasFailure()) << "xwininfo could not describe the window";
    EXPECT_EQ(server.size(), QSize(455, 181 + contentOffset.y()));
    EXPECT_EQ(server.topLeft(), qt.mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(shot.size(), server.size());
    EXPECT_EQ(qt.windowTitle(), "Sumwise");

    const QRgb background = shot.pixel(inShot(QRect(5, 175, 1, 1)).topLeft());
    for (const char* c : { "PushButton1", "TextField1", "StaticText1", "StaticText2", "StaticText3", "PopupMenu1" }) {
        SCOPED_TRACE(c);
        QWidget& widget = *RectControl::from(*RuntimeWindowControlByName(window, c)).widget();
        const QRect design = designRect(c), area = inShot(design);
        EXPECT_EQ(QRect(widget.mapTo(&content, QPoint(0, 0)), widget.size()), design);
        EXPECT_EQ(widget.mapToGlobal(QPoint(0, 0)), server.topLeft() + contentOffset + design.topLeft());
        EXPECT_TRUE(widget.isVisible());
        int drawn = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                drawn += shot.pixel(x, y) != background;
        EXPECT_GE(drawn, 20) << c << " shows nothing in its rectangle";
    }
    for (const char* label : { "StaticText1", "StaticText3" }) {
        const QRect design = designRect(label);
        const auto [left, right] = inkIn(shot, inShot(design));
        ASSERT_GE(left, 0) << label << " shows no text";
        EXPECT_GE(right, design.width() - 8) << label;
        EXPECT_GT(left, 8) << label;
    }
    const auto [left, right] = inkIn(shot, inShot(designRect("StaticText2")));
    ASSERT_GE(left, 0);
    EXPECT_LT(left, 8);
}

}
