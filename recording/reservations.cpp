#include "recording/reservations.h"

#include "library/textfiles.h"
#include "recording/recordpaths.h"

int FillReservationList(HWND list, const char* dataFolder) {
    char folder[RecordPathCapacity];
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    int count = ReservationFolder(dataFolder, folder, sizeof folder) ? ListTextFiles(list, 2, folder) : 0;
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return count;
}

bool DeleteReservation(const char* dataFolder, const char* name) {
    char path[RecordPathCapacity];
    return ReservationFilePath(dataFolder, name, path, sizeof path) &&
           (DeleteFileA(path) || GetLastError() == ERROR_FILE_NOT_FOUND);
}
