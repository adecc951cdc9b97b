// The guard every start and every check run passes: a system baseline must
// exist. A missing one is restored from its backup or built by the first
// full scan.
#pragma once

namespace kv {

class App;

void EnsureBaseline(App& app);

}  // namespace kv
