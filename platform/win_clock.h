// The local time of the machine.
#pragma once

#include "core/timestamp.h"

class WinClock : public Clock {
 public:
  LocalTime Now() const override;
};
