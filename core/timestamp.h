// Local time stamps in whole seconds and their formatting.
#pragma once

#include <string>

struct LocalTime {
  int year = 1970;
  int month = 1;   // 1 to 12
  int day = 1;     // 1 to 31
  int hour = 0;    // 0 to 23
  int minute = 0;
  int second = 0;
};

// strftime-style formatting of the fields the system uses: %Y %m %d %H %M %S,
// %p (AM or PM, as in the C locale) and %%. Any other character is copied.
std::string FormatTime(const LocalTime& t, const char* format);
