#pragma once
// The hand-over between a showcase test and scripts/dialog-shots.sh: the test shows a view,
// writes <name>.ready into the folder named by BKF_SHOTS and waits for the script's <name>.done.
#include <string>

namespace testsupport {

// The hand-over folder with a trailing backslash, or "" when BKF_SHOTS is not set.
std::string ShotsFolder();
// Lets the view paint, tells the photographer, and waits until the picture is taken.
void Photograph(const std::string& name);

}  // namespace testsupport
