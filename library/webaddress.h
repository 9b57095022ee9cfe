// Which addresses may be handed to the browser.
#pragma once

// Whether address is a web address: it begins with "http://" or "https://" (in any case),
// has something after that and holds no control characters. Anything else, such as "file:",
// "javascript:" or a program path, must never reach the shell.
bool IsWebAddress(const char* address);
