#include "app/state/menustack.h"

#include <cstdio>
#include <cstring>

int VisibleEntryCount(const MenuStackData& stack, int level) {
    if (level < 0 || level >= MenuLevelCount) return 0;
    int n = 0;
    while (n < MenuEntryCount && stack.ListText[level][n][0] != '\0') ++n;
    return n;
}

int32_t ParseProfileInt(const char* text) {
    // The profile reader skips leading blanks, takes an optional sign and the digits after it.
    while (*text == ' ' || *text == '\t') ++text;
    bool negative = false;
    if (*text == '-' || *text == '+') {
        negative = *text == '-';
        ++text;
    }
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10u + static_cast<uint32_t>(*text - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

namespace {

const char* SelectedText(const MenuStackData& stack, int level) {
    int s = stack.MenuSelection[level];
    if (s < 0 || s >= MenuEntryCount) return "";
    return stack.ListText[level][s];
}

}  // namespace

void DescribeMenuPosition(const MenuStackData& stack, char* out, int capacity) {
    if (capacity <= 0) return;
    switch (stack.MenuLevel) {
        case 0:
            std::snprintf(out, capacity, "%s", "トップメニュー");
            break;
        case 1:
            std::snprintf(out, capacity, "%s", SelectedText(stack, 0));
            break;
        case 2:
            std::snprintf(out, capacity, "%s %s", SelectedText(stack, 0), SelectedText(stack, 1));
            break;
        case 3:
            std::snprintf(out, capacity, "%s %s", SelectedText(stack, 1), SelectedText(stack, 2));
            break;
        case 4:
            std::snprintf(out,
                          capacity,
                          "%s %s %s",
                          SelectedText(stack, 1),
                          SelectedText(stack, 2),
                          SelectedText(stack, 3));
            break;
        default:
            out[0] = '\0';
    }
}
