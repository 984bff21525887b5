#include "convert/CancelRequest.h"

int32_t CancelRequested = 0;
