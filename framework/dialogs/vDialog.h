// Dialogs built from CommandObject tables.
#pragma once

#include "framework/dialogs/KeyboardFilters.h"
