#include "platform/PosixSerial.h"
