#include <cstdio>
#include <variant>

#include "app/program_directory.h"
#include "commands/commands.h"
#include "commands/random_number.h"
#include "commands/write_file_bytes.h"

void OnSaveClicked(PropertyAccess& window)
{
    ReseedRandom();
    const Text directory = ProgramDirectory();
    char number[16];
    std::snprintf(number, sizeof number, "%d", RandomBetween(10000, 9999999));
    const Text path = ConcatText({directory, "/", number, ".jpg"});
    const PropertyValue picture = window.ReadProperty(ControlName::表白, PropertyPicture);
    const auto* bytes = std::get_if<ByteSet>(&picture);
    WriteFileBytes(path, bytes ? *bytes : ByteSet{});
}
