#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "commands/write_file_bytes.h"

namespace fs = std::filesystem;

namespace {

class WriteFileBytesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/write_file_bytes_XXXXXX";
        directory = mkdtemp(pattern);
    }
    void TearDown() override
    {
        fs::permissions(directory, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(directory);
    }

    Text Path(const char* name) const { return (directory / name).string(); }

    static std::string Read(const Text& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const Text& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

    fs::path directory;
};

const ByteSet kPicture = ToByteSet(std::string_view("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11));

}  // namespace

TEST_F(WriteFileBytesTest, CreatesAndReplacesFiles)
{
    const Text path = Path("12345.jpg");
    EXPECT_EQ(WriteFileBytes(path, kPicture), 1);
    EXPECT_EQ(Read(path), std::string(kPicture.begin(), kPicture.end()));

    Write(path, std::string(5000, 'x'));  // a longer file of the same name is cut first
    EXPECT_EQ(WriteFileBytes(path, ToByteSet("abc")), 1);
    EXPECT_EQ(Read(path), "abc");

    EXPECT_EQ(WriteFileBytes(path, {}), 1);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(WriteFileBytesTest, LeavesWhatItMayNotWriteUntouched)
{
    EXPECT_EQ(WriteFileBytes("", kPicture), 0);

    const Text readOnly = Path("readonly.jpg");
    Write(readOnly, "keep");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(WriteFileBytes(readOnly, kPicture), 0);  // also when the tests run as root
    EXPECT_EQ(Read(readOnly), "keep");

    const Text directoryOfThatName = Path("dir.jpg");
    fs::create_directory(directoryOfThatName);
    EXPECT_EQ(WriteFileBytes(directoryOfThatName, kPicture), 0);
    EXPECT_TRUE(fs::is_directory(directoryOfThatName));

    const Text fifo = Path("fifo.jpg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_EQ(WriteFileBytes(fifo, kPicture), 0);  // returns at once instead of waiting for a reader

    EXPECT_EQ(WriteFileBytes(Path("missing/1.jpg"), kPicture), 0);
    EXPECT_FALSE(fs::exists(Path("missing")));
}

TEST_F(WriteFileBytesTest, FailsWhileAnotherHolderHasTheFile)
{
    const Text path = Path("54321.jpg");
    Write(path, "held");
    const int holder = open(path.c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    EXPECT_EQ(WriteFileBytes(path, kPicture), 0);
    EXPECT_EQ(Read(path), "held");
    close(holder);
    EXPECT_EQ(WriteFileBytes(path, kPicture), 1);
}

TEST_F(WriteFileBytesTest, ShortWriteKeepsWhatWasWritten)
{
    // A file size limit makes the disk "full" after 1000 bytes.
    const Text path = Path("full.jpg");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int result = WriteFileBytes(path, ByteSet(3000, 0x5A));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(path), std::string(1000, 'Z'));
}
