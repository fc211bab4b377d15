#include "IntList.h"
#include "OutOfBoundsException.h"
#include "RuntimeException.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// Guards: append, find, resize and upper bound disagreeing about the list's length.
TEST(IntList, AppendFindAndEmptyAgain)
{
    Ref<IntList> list = CreateArray(1, 0, -1);
    EXPECT_EQ(list->upperBound(1), -1);
    for (int v : { 5, 3, 5 })
        list->insert(list->upperBound(1) + 1, v);
    EXPECT_EQ(list->upperBound(1), 2);
    EXPECT_EQ(list->element(2), 5);
    EXPECT_EQ(list->indexOf(5, 0), 0);
    EXPECT_EQ(list->indexOf(5, 1), 2);
    EXPECT_EQ(list->indexOf(9, 0), -1);
    list->insert(0, 7);
    EXPECT_EQ(list->element(0), 7);
    list->resize(-1);
    EXPECT_EQ(list->upperBound(1), -1);
    EXPECT_EQ(list->indexOf(5, 0), -1);
}

// Guards: an index outside the list reading or writing memory instead of raising an error.
TEST(IntList, BadIndexesAreRefused)
{
    Ref<IntList> list = CreateArray(1, 0, 1);
    EXPECT_EQ(list->upperBound(1), 1);
    EXPECT_THROW(list->element(-1), OutOfBoundsException);
    EXPECT_THROW(list->element(2), OutOfBoundsException);
    EXPECT_THROW(list->insert(3, 0), OutOfBoundsException);
    EXPECT_THROW(list->insert(-1, 0), OutOfBoundsException);
    EXPECT_THROW(list->resize(-2), OutOfBoundsException);
    EXPECT_THROW(list->upperBound(2), OutOfBoundsException);
    EXPECT_EQ(list->upperBound(1), 1);
    EXPECT_THROW(CreateArray(2, 0, -1), RuntimeException);
    EXPECT_THROW(CreateArray(1, 3, -1), RuntimeException);
}

}
