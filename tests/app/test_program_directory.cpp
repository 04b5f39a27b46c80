#include <gtest/gtest.h>
#include <unistd.h>

#include "app/program_directory.h"

TEST(ProgramDirectory, CutsBeforeTheLastSeparator)
{
    const struct {
        Text path, directory;
    } cases[] = {
        {"/opt/biaobai/biaobai", "/opt/biaobai"},
        {"/biaobai", ""},  // a program in the root has the empty directory text
        {"/home/\xD5\xC5\xC8\xFD/bin/biaobai", "/home/\xD5\xC5\xC8\xFD/bin"},
        {"/a/b/", "/a/b"},
        {"biaobai", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DirectoryOf(c.path), c.directory) << c.path;
}

TEST(ProgramDirectory, BecomesTheWorkingDirectory)
{
    ASSERT_EQ(chdir("/"), 0);
    ASSERT_TRUE(PrepareProcess());
    char exe[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    const Text expected = DirectoryOf(exe);
    EXPECT_EQ(ProgramDirectory(), expected);
    char cwd[4096] = {};
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(Text(cwd), expected);
}
