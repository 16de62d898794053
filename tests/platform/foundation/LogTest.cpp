#include "platform/foundation/Log.h"

#include <gtest/gtest.h>

#include <thread>

using foundation::LogCapture;

TEST(Log, CaptureHearsLinesFromEveryThreadAndTakeForgetsThem)
{
    foundation::setLogToStandardError(false);
    LogCapture capture;
    foundation::log("first");
    std::thread([] { foundation::log("from another thread"); }).join();

    EXPECT_TRUE(capture.contains("from another thread"));
    EXPECT_TRUE(capture.containsPrefix("fir"));
    EXPECT_EQ(capture.takeLines().size(), 2u);
    EXPECT_TRUE(capture.lines().empty());
    foundation::setLogToStandardError(true);
}

TEST(Log, CaptureStopsListeningWhenGone)
{
    foundation::setLogToStandardError(false);
    LogCapture outer;
    {
        LogCapture inner;
        foundation::log("both");
    }
    foundation::log("outer only");
    EXPECT_EQ(outer.lines().size(), 2u);
    foundation::setLogToStandardError(true);
}
