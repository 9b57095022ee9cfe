// Every numbered command: the menu bar, the accelerators, the context menus and the action
// codes of menu definition files all arrive here.
#pragma once

// Carries out the command; false when it is refused or has no entry, so that the caller
// passes it to the default window procedure.
bool DispatchCommand(int command);

// An action code (above 500) of a menu definition file entry.
void DispatchMenuFileAction(int code);

// Whether the command number has a row of its own in the dispatch table.
bool CommandHasRow(int command);

// Whether the action code of a menu definition file entry is carried out.
bool MenuFileActionHasRow(int code);
