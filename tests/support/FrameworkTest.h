#pragma once

#include "Object.h"
#include "WindowSupport.h"

#include <gtest/gtest.h>

namespace testsupport {

// A test of framework objects ends with as many of them alive as it began with. A fixture lets go
// of what it still holds in releaseHeld(), which runs before the count is compared.
class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override { m_liveBefore = platform::Object::liveInstances(); }
    void TearDown() override
    {
        releaseHeld();
        EXPECT_EQ(platform::Object::liveInstances(), m_liveBefore) << "objects the test made are still alive";
    }

    virtual void releaseHeld() {}
    long liveBefore() const noexcept { return m_liveBefore; }

    // The window lists' finalisers, as at shut-down: every window still registered is let go,
    // and so is every closed one that waits for the loop's next turn.
    static void releaseWindows()
    {
        platform::WindowSupport::ImplicitWindowListExit();
        platform::WindowSupport::DirtyWindowsExit();
        platform::WindowSupport::WindowsExit();
    }

private:
    long m_liveBefore = 0;
};

}
