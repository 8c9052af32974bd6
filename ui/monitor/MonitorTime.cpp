#include "ui/monitor/MonitorTime.h"

#include <ctime>

std::string MonitorTimeNow() {
    const time_t now = time(nullptr);
    struct tm local = {};
    if (localtime_s(&local, &now) != 0) return std::string();
    char text[32] = {0};
    strftime(text, sizeof(text), "%H:%M:%S", &local);
    return text;
}
