// Stands in for the commands in widget tests: counts the clicks that arrive.
#include "recording_handlers.h"

int generateClicks = 0;
int saveClicks = 0;

void OnGenerateClicked(PropertyAccess&)
{
    ++generateClicks;
}

void OnSaveClicked(PropertyAccess&)
{
    ++saveClicks;
}
