// Writing a file whole: what was at the path (a link, a private file, a pipe, a device) is
// respected, failures say why, and nothing half-written is ever left beside the target.

#include "platform/foundation/AtomicFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <thread>

using foundation::AtomicFile;

namespace {

std::string readWhole(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

unsigned modeOf(const std::filesystem::path& file)
{
    struct stat status { };
    ::stat(file.c_str(), &status);
    return status.st_mode & 07777;
}

std::vector<std::string> entries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(AtomicFileTest, ReplacedFilesKeepTheirLinksAndPermissionsAndNewOnesArePrivate)
{
    testsupport::TempDir folder;
    std::filesystem::create_directory(folder / "real");
    std::ofstream(folder / "real" / "book.vcf") << "old";
    ::chmod((folder / "real" / "book.vcf").c_str(), 0640);
    std::filesystem::create_symlink("real/book.vcf", folder / "link.vcf");
    std::filesystem::create_symlink("real/missing.vcf", folder / "dangling.vcf");

    struct Case {
        const char* written;
        const char* landsIn;
        unsigned mode;
    };
    for (const Case& wanted : { Case { "link.vcf", "real/book.vcf", 0640 }, Case { "dangling.vcf", "real/missing.vcf", 0600 },
                                Case { "new.vcf", "new.vcf", 0600 }, Case { "real/book.vcf", "real/book.vcf", 0640 } }) {
        SCOPED_TRACE(wanted.written);
        std::string error;
        std::string text = std::string("cards for ") + wanted.written;
        ASSERT_TRUE(AtomicFile::write(folder / wanted.written, text, &error)) << error;
        EXPECT_EQ(readWhole(folder / wanted.landsIn), text);
        EXPECT_EQ(modeOf(folder / wanted.landsIn), wanted.mode);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.vcf"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "dangling.vcf"));
    EXPECT_EQ(entries(folder.path()), (std::vector<std::string> { "dangling.vcf", "link.vcf", "new.vcf", "real" }));
    EXPECT_EQ(entries(folder / "real"), (std::vector<std::string> { "book.vcf", "missing.vcf" }));
}

TEST(AtomicFileTest, PipesAndDevicesAreWrittenDirectlyAndTheirFailuresReported)
{
    testsupport::TempDir folder;
    auto pipe = folder / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readWhole(pipe); });
    std::string text(200000, 'c');
    EXPECT_TRUE(AtomicFile::write(pipe, text));
    reader.join();
    EXPECT_EQ(received.size(), text.size());
    struct stat status { };
    ::lstat(pipe.c_str(), &status);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));

    std::string error;
    EXPECT_FALSE(AtomicFile::write("/dev/full", text, &error));
    EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
    EXPECT_TRUE(AtomicFile::write("/dev/null", text));
}

TEST(AtomicFileTest, PathsThatCannotHoldAFileAreRefusedLeavingNothingBehind)
{
    testsupport::TempDir folder;
    std::filesystem::create_directory(folder / "a-folder");
    std::filesystem::create_symlink("a-folder", folder / "link-to-folder");
    for (const char* path : { "a-folder", "link-to-folder", "missing/book.vcf" }) {
        SCOPED_TRACE(path);
        std::string error;
        EXPECT_FALSE(AtomicFile::write(folder / path, "cards", &error));
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    EXPECT_EQ(entries(folder.path()), (std::vector<std::string> { "a-folder", "link-to-folder" }));
    EXPECT_TRUE(entries(folder / "a-folder").empty());
}
