// The main window as data: its own properties, its seven controls in description
// order, the template items of the drop-down list and the bound event handlers.
#pragma once

#include <array>
#include <optional>

#include "app/control_properties.h"

enum class ControlKind { PushButton, TextLabel, DropDownList, EditBox, PictureBox };

struct ControlDescription {
    ControlName name;
    const char* objectName;  // UTF-8, the control's name in the description
    ControlKind kind;
    int left, top, width, height;  // client-area pixels
    const char* content;           // caption or label text, UTF-8
    bool tabStop;
    int tabNumber;
};

struct WindowDescription {
    const char* title;
    int outerWidth, outerHeight;  // frame and title bar included
};

inline constexpr WindowDescription kMainWindowDescription{"", 567, 189};

inline constexpr std::array<ControlDescription, 7> kControlDescriptions{{
    {ControlName::按钮2, "按钮2", ControlKind::PushButton, 480, 112, 72, 32, "保存", true, 0},
    {ControlName::按钮1, "按钮1", ControlKind::PushButton, 392, 112, 72, 32, "生成", true, 0},
    {ControlName::透明标签2, "透明标签2", ControlKind::TextLabel, 392, 64, 40, 32, "内容", false, 0},
    {ControlName::离婚, "离婚", ControlKind::DropDownList, 440, 72, 104, 20, "", true, 0},
    {ControlName::透明标签1, "透明标签1", ControlKind::TextLabel, 392, 16, 40, 32, "名字：", false, 0},
    {ControlName::名字, "名字", ControlKind::EditBox, 432, 16, 120, 32, "", true, 0},
    {ControlName::表白, "表白", ControlKind::PictureBox, 8, 8, 376, 144, "", false, 0},
}};

// The message templates of 离婚, in list order; the first is selected at start.
inline constexpr std::array<const char*, 4> kTemplateItems{"嫁给我吧", "来娶我吧", "我爱你", "我喜欢你"};
inline constexpr int kInitialTemplate = 0;

inline const ControlDescription& DescriptionOf(ControlName name)
{
    return kControlDescriptions[static_cast<std::size_t>(name)];
}
