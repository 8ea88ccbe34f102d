// Everything the Windows tests share, for tests that use it all: the basics, driving
// dialogs, and running programs and typing.
#pragma once
#include "tests/support/DialogDriver.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/WineBasics.h"
