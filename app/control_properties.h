// How the commands see the window: controls by name, properties by number.
// Plain C++ so that the commands stay free of Qt.
#pragma once

#include <cstdint>
#include <variant>

#include "encoding/text.h"

// The controls of the main window, in the order of the window description.
enum class ControlName { 按钮2, 按钮1, 透明标签2, 离婚, 透明标签1, 名字, 表白 };

// Property numbers. 0 to 7 mean the same for every control; a kind's own start at 8.
enum PropertyNumber : int {
    PropertyLeft = 0,
    PropertyTop = 1,
    PropertyWidth = 2,
    PropertyHeight = 3,
    PropertyTag = 4,
    PropertyVisible = 5,
    PropertyDisabled = 6,
    PropertyMousePointer = 7,
    PropertyEditText = 8,        // edit box: its text as GBK Text
    PropertyPicture = 10,        // picture box: the picture bytes as ByteSet
    PropertyListSelection = 19,  // drop-down list: selected position, -1 for none
};

// No value (a property the control does not have), a text, a whole number or bytes.
using PropertyValue = std::variant<std::monostate, Text, std::int32_t, ByteSet>;

class PropertyAccess {
public:
    virtual ~PropertyAccess() = default;
    virtual PropertyValue ReadProperty(ControlName control, int number) const = 0;
    virtual void WriteProperty(ControlName control, int number, const PropertyValue& value) = 0;
};
