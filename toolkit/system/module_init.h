// The start-up table: the toolkit's module initialisers in the fixed order
// that decides which loaders, factories and drivers are found first.
#pragma once

#include <span>

namespace kestrel {

// One row of a start-up table (Startup runs the toolkit's own).
struct ModuleRow {
    int row;            // place in the start-up order, from 1
    const char* name;   // what the module is
    void (*init)();     // its once-only initialiser; null for modules with no set-up here
};

// Runs the initialisers in the order given.
void RunModuleTable(std::span<const ModuleRow> rows);

}  // namespace kestrel
