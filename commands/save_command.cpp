#include "commands/commands.h"

void OnSaveClicked(PropertyAccess&)
{
}
