#include "core/timestamp.h"

#include <cstdio>

namespace {

std::string TwoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

}  // namespace

std::string FormatTime(const LocalTime& t, const char* format) {
  std::string out;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%' || p[1] == '\0') {
      out += *p;
      continue;
    }
    switch (*++p) {
      case 'Y': {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d", t.year);
        out += buf;
        break;
      }
      case 'm': out += TwoDigits(t.month); break;
      case 'd': out += TwoDigits(t.day); break;
      case 'H': out += TwoDigits(t.hour); break;
      case 'M': out += TwoDigits(t.minute); break;
      case 'S': out += TwoDigits(t.second); break;
      case 'p': out += t.hour < 12 ? "AM" : "PM"; break;
      case '%': out += '%'; break;
      default:
        out += '%';
        out += *p;
    }
  }
  return out;
}
