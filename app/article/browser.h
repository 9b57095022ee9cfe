// Opening web addresses in the user's default browser.
#pragma once

#include "library/webaddress.h"

// Opens a web address in the default browser through the shell. Anything else, such as
// "file:", "javascript:" or a program path taken from a page, is refused and never reaches
// the shell. Returns true when the shell accepted the address; a shell that starts no browser
// is announced here.
bool OpenInBrowser(const char* address);
