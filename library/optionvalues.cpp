#include "library/optionvalues.h"

#include <cstdio>

void FormatListEntry(char* out, size_t capacity, int position, const char* title, int32_t numberEntries) {
    if (!out || capacity == 0) return;
    if (!title) title = "";
    if (numberEntries == 1)
        snprintf(out, capacity, "%d %s", position, title);
    else
        snprintf(out, capacity, "%s", title);
}
