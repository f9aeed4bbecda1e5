#pragma once
// POSIX termios serial ports (to be written).
#include "platform/SerialDevice.h"
