#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

// Every test program runs inside one QApplication, on Qt's offscreen platform unless told otherwise.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
