#include <cstdio>
#include <variant>

#include "commands/commands.h"
#include "commands/picture_service_host.h"
#include "encoding/url_encode.h"
#include "net/http_read_file.h"

namespace {

// The template's number as the picture service expects it: the selected
// position plus one, 0 when nothing is selected.
Text TemplateNumberText(std::int32_t selection)
{
    char number[32];
    std::snprintf(number, sizeof number, "%.13g", selection + 1.0);
    return number;
}

}  // namespace

void OnGenerateClicked(PropertyAccess& window)
{
    const PropertyValue selection = window.ReadProperty(ControlName::离婚, PropertyListSelection);
    const Text number = TemplateNumberText(std::get<std::int32_t>(selection));
    const PropertyValue name = window.ReadProperty(ControlName::名字, PropertyEditText);
    const Text encodedName = UrlEncode(std::get<Text>(name), 1, 1);
    const Text url =
        ConcatText({"http://", PictureServiceHost, "/zb/hf/toutu.php?id=", number, "&name=", encodedName});
    // The window waits for the whole answer; an empty answer empties the box.
    window.WriteProperty(ControlName::表白, PropertyPicture, HttpReadFile(url));
}
