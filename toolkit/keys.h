// The key codes and mouse buttons at the top of the include tree, as
// "kestrel/keys.h".
#pragma once

#include "toolkit/system/keys.h"
