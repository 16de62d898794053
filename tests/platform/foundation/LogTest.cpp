#include "platform/foundation/Log.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
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

TEST(Log, TheLogFileKeepsWholeTimedLinesStaysPrivateAndIsMovedAsideWhenLarge)
{
    testsupport::TempDir folder;
    const auto file = folder / "profile" / "tessaro.log";
    std::string error;
    foundation::setLogToStandardError(false);
    ASSERT_TRUE(foundation::setLogFile(file, error)) << error;
    std::thread other([] {
        for (int i = 0; i < 200; ++i)
            foundation::log("from another thread");
    });
    for (int i = 0; i < 200; ++i)
        foundation::log("from the main thread");
    other.join();
    ASSERT_TRUE(foundation::setLogFile({}, error));
    foundation::log("after the file was closed");

    std::ifstream in(file);
    std::regex timed(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}  from (another|the main) thread)");
    int lines = 0;
    for (std::string line; std::getline(in, line); ++lines)
        EXPECT_TRUE(std::regex_match(line, timed)) << line;
    EXPECT_EQ(lines, 400);
    EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // A file past the limit is moved aside at the next opening, replacing the older one.
    std::filesystem::resize_file(file, foundation::kLogFileSizeLimit + 1);
    ASSERT_TRUE(foundation::setLogFile(file, error)) << error;
    foundation::log("a new start");
    ASSERT_TRUE(foundation::setLogFile({}, error));
    EXPECT_EQ(std::filesystem::file_size(folder / "profile" / "tessaro.log.1"), foundation::kLogFileSizeLimit + 1);
    EXPECT_LT(std::filesystem::file_size(file), 100u);

    // A file that cannot be written says why.
    EXPECT_FALSE(foundation::setLogFile(folder / "profile" / "tessaro.log" / "inside-a-file.log", error));
    EXPECT_NE(error.find("inside-a-file.log"), std::string::npos) << error;
    foundation::setLogToStandardError(true);
}
