// Recording reservations: articles kept as text files in the reservation folder "NewsText"
// under the data folder until the conversion turns them into audio files.
#pragma once
#include <windows.h>

// Empties list and fills it, with its redrawing suspended, with the reservations' names (file
// names without ".txt"), also into ArticleNames[2]. Returns how many.
int FillReservationList(HWND list, const char* dataFolder);

// Deletes the reservation file of name; true when it is gone.
bool DeleteReservation(const char* dataFolder, const char* name);
