#include "commands/commands.h"

void OnGenerateClicked(PropertyAccess&)
{
}
