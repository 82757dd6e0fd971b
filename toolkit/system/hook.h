// Hook chains: numbered chains of functions run in priority order, each
// receiving the previous one's result.
#pragma once

#include "toolkit/core/object.h"

namespace kestrel {

// A hook's function: gets the hook id, the data (the previous function's
// result) and its own context; returns the data for the next function.
using HookFunction = ObjectPtr (*)(int id, const ObjectPtr& data, const ObjectPtr& context);

// One link of a hook chain.
class THook : public Object {
public:
    std::shared_ptr<THook> succ;  // the next link; null at the end
    int priority = 0;             // higher runs first
    HookFunction func = nullptr;  // the function called
    ObjectPtr context;            // handed to func
};

inline constexpr int kMaxHookIds = 256;  // hook ids are 0..255

// Hands out hook ids 0, 1, 2...; the 257th raises "Too many hook ids".
int AllocHookId();

// Inserts after every link of equal or higher priority.
void AddHook(int id, HookFunction func, ObjectPtr context = nullptr, int priority = 0);

// Runs the chain; returns the last result (data itself for an empty chain).
ObjectPtr RunHooks(int id, ObjectPtr data);

// Unlinks the first link whose func and context both match.
void RemoveHook(int id, HookFunction func, const ObjectPtr& context = nullptr);

}  // namespace kestrel
