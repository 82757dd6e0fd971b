// Once-only module initialisers: each module keeps its own flag so that its
// initialiser runs at most once however often it is called.
#pragma once

namespace kestrel {

// Runs body the first time it is reached with this flag. The flag is set
// before the body runs, so a dependency cycle cannot recurse.
template <class Body>
void RunOnce(bool& done, Body&& body) {
    if (done) return;
    done = true;
    body();
}

}  // namespace kestrel
