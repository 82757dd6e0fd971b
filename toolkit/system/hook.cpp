#include "toolkit/system/hook.h"

#include <array>

#include "toolkit/core/error.h"

namespace kestrel {

namespace {

std::array<std::shared_ptr<THook>, kMaxHookIds> g_chains;
int g_lastHookId = -1;

std::shared_ptr<THook>& Chain(int id) {
    if (id < 0 || id >= kMaxHookIds) throw TArrayBoundsException();
    return g_chains[static_cast<std::size_t>(id)];
}

}  // namespace

int AllocHookId() {
    if (g_lastHookId + 1 > kMaxHookIds - 1) RuntimeError("Too many hook ids");
    return ++g_lastHookId;
}

void AddHook(int id, HookFunction func, ObjectPtr context, int priority) {
    auto hook = std::make_shared<THook>();
    hook->priority = priority;
    hook->func = func;
    hook->context = std::move(context);

    std::shared_ptr<THook>* slot = &Chain(id);
    while (*slot && (*slot)->priority >= priority) slot = &(*slot)->succ;
    hook->succ = std::move(*slot);
    *slot = std::move(hook);
}

ObjectPtr RunHooks(int id, ObjectPtr data) {
    // Hold each link while it runs: a hook may remove itself.
    for (std::shared_ptr<THook> h = Chain(id); h; h = h->succ) data = h->func(id, data, h->context);
    return data;
}

void RemoveHook(int id, HookFunction func, const ObjectPtr& context) {
    std::shared_ptr<THook>* slot = &Chain(id);
    while (*slot) {
        if ((*slot)->func == func && (*slot)->context == context) {
            *slot = (*slot)->succ;
            return;
        }
        slot = &(*slot)->succ;
    }
}

}  // namespace kestrel
