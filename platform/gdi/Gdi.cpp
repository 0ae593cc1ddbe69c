#include "platform/gdi/Gdi.h"
