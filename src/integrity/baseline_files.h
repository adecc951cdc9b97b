// The baseline files on disk: which file the configured algorithm uses, and
// loading and saving the in-memory baselines.
#pragma once
#include <string>

namespace kv {

class App;
class Baseline;

// baselineFile = the system baseline of the configured algorithm.
void SelectBaselineFile(App& app);
std::string FolderBaselineFile(App& app, int slot);

// Reads a baseline file into memory; false (memory unchanged) when it
// cannot be read. A file whose seal does not match is reported first: the
// user trusts it again or it is rebuilt (an unattended run does not use it).
bool LoadSystemBaseline(App& app, const std::string& path);
// A missing folder baseline is restored from its backup or built anew first.
bool LoadFolderBaseline(App& app, const std::string& path);

// Rewrites a baseline file from memory: the previous file becomes the .bak
// copy, and the new one replaces it only once it is completely on disk;
// both are sealed in the same step.
bool SaveBaselineFile(App& app, const Baseline& baseline, const std::string& path);
bool SaveSystemBaseline(App& app);

}  // namespace kv
