// Stands in for the commands in tests under a real X server. "生成" prints one
// line with what a command can read from the window; "保存" prints "save".
#include <unistd.h>

#include <cstdio>
#include <variant>

#include "app/program_directory.h"
#include "commands/commands.h"

void OnGenerateClicked(PropertyAccess& window)
{
    const Text name = std::get<Text>(window.ReadProperty(ControlName::名字, PropertyEditText));
    const auto selection = std::get<std::int32_t>(window.ReadProperty(ControlName::离婚, PropertyListSelection));
    std::printf("generate name=");
    for (unsigned char byte : name) std::printf("%02X", byte);
    char cwd[4096] = {};
    std::printf(" selection=%d cwd=%s dir=%s\n", selection, getcwd(cwd, sizeof cwd) ? cwd : "?",
                ProgramDirectory().c_str());
    std::fflush(stdout);
}

void OnSaveClicked(PropertyAccess&)
{
    std::printf("save\n");
    std::fflush(stdout);
}
