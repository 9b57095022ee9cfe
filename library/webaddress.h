// Which addresses may be handed to the browser.
#pragma once

// Whether address is a web address: it begins with "http://" or "https://" (in any case),
// has something after that and holds no control characters, spaces or double quotes (the
// shell would take those for the end of the address and the start of arguments). Anything
// else, such as "file:", "javascript:" or a program path, must never reach the shell.
bool IsWebAddress(const char* address);
