#include "toolkit/system/module_init.h"

namespace kestrel {

void RunModuleTable(std::span<const ModuleRow> rows) {
    for (const ModuleRow& row : rows)
        if (row.init) row.init();
}

}  // namespace kestrel
