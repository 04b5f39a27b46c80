#pragma once

class QComboBox;

// Makes the rows of the list's open view one pixel taller than the style's own.
void MakeRowsOnePixelTaller(QComboBox* list);
