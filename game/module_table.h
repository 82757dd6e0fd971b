// The toolkit modules the program initialises, in start-up order.
#pragma once

#include <span>

#include "toolkit/system/module_init.h"

namespace virexo {

// The 31 rows of the start-up order. Modules this program does not link
// keep their row (and so their place) with no initialiser.
std::span<const kestrel::ModuleRow> ModuleTable();

// Runs every initialiser of the table in order; running it again does nothing.
void InitModules();

}  // namespace virexo
