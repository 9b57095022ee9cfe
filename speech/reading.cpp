#include "speech/reading.h"

#include "app/shell.h"

volatile LONG ReadingActive = 0;
volatile LONG AutoAdvanceActive = 0;

void StopReading(int) {
    if (AutoAdvanceActive) {
        KillTimer(MainWindow, AutoAdvanceTimerId);
        AutoAdvanceActive = 0;
    }
    ReadingActive = 0;
}
