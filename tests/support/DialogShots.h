#pragma once
// For the showcase tests that scripts/dialog-shots.sh runs: BKF_SHOTS names a hand-over folder;
// for each view the test writes <name>.ready there and waits for the script's <name>.done.
#include <string>

namespace testsupport {

// The hand-over folder with a trailing backslash; "" when BKF_SHOTS is not set.
std::string ShotsFolder();
// Lets the view paint, tells the photographer, and waits until the picture is taken.
void Photograph(const std::string& name);

}  // namespace testsupport
