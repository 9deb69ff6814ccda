#include "platform_doubles.h"
