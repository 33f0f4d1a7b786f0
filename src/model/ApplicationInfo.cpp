#include "model/ApplicationInfo.h"

#include <ctime>

namespace quillon {

CalendarTime CalendarTime::now() {
    const std::time_t t = std::time(nullptr);
    // One thread owns the document, so the shared buffer of std::localtime is not contended.
    const std::tm* lt = std::localtime(&t);
    if (lt == nullptr) {
        return {};
    }
    const std::tm local = *lt;
    CalendarTime c;
    c.second = local.tm_sec;
    c.minute = local.tm_min;
    c.hour = local.tm_hour;
    c.day = local.tm_mday;
    c.month = local.tm_mon;
    c.year = local.tm_year + 1900;
    c.weekday = local.tm_wday;
    c.dayOfYear = local.tm_yday;
    c.daylight = local.tm_isdst;
    return c;
}

} // namespace quillon
