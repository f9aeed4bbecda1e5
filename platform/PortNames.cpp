#include "platform/PortNames.h"
