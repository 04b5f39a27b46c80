// The two commands of the window, bound to the clicks of its buttons.
#pragma once

#include "app/control_properties.h"

// "生成": asks the picture service for the chosen template and name and shows the answer.
void OnGenerateClicked(PropertyAccess& window);
// "保存": writes the shown picture's bytes into a new numbered .jpg file.
void OnSaveClicked(PropertyAccess& window);
