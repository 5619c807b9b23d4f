#include "core/timestamp.h"

#include <cstdio>

namespace {

std::string Digits(int v, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, v);
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
      case 'Y': out += Digits(t.year, 4); break;
      case 'm': out += Digits(t.month, 2); break;
      case 'd': out += Digits(t.day, 2); break;
      case 'H': out += Digits(t.hour, 2); break;
      case 'M': out += Digits(t.minute, 2); break;
      case 'S': out += Digits(t.second, 2); break;
      case 'p': out += t.hour < 12 ? "AM" : "PM"; break;
      case '%': out += '%'; break;
      default:
        out += '%';
        out += *p;
    }
  }
  return out;
}
