#include "retrieval/headlines.h"

HeadlineStoreData HeadlineStore;
volatile int32_t PageDepth = 0;
char CategoryParameters[ParameterCount][ParameterCapacity];
