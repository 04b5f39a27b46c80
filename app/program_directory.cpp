#include "app/program_directory.h"

#include <unistd.h>

#include <climits>

namespace {
Text programDirectory;
}

Text DirectoryOf(const Text& executablePath)
{
    // GBK trail bytes and UTF-8 continuation bytes never equal "/", so a byte
    // search finds the separator exactly.
    const auto cut = executablePath.rfind('/');
    return cut == Text::npos ? Text() : executablePath.substr(0, cut);
}

bool PrepareProcess()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || length == static_cast<ssize_t>(sizeof path)) return false;
    programDirectory = DirectoryOf(Text(path, static_cast<std::size_t>(length)));
    const Text workingDirectory = programDirectory.empty() ? Text("/") : programDirectory;
    return chdir(workingDirectory.c_str()) == 0;
}

Text ProgramDirectory()
{
    return programDirectory;
}
