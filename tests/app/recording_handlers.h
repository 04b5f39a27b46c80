#pragma once

#include "commands/commands.h"

extern int generateClicks;
extern int saveClicks;
