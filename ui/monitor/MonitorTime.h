#pragma once
// The time stamp of a monitor row: the local time as "%H:%M:%S".
#include <string>

std::string MonitorTimeNow();
