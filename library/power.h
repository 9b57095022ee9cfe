// The system power calls behind the sleep timer's end actions. A start-up switch that only
// tests set (the environment variable TAVLO_POWER_RECORD naming a file) turns them into a
// recorder: each call then appends the call it would have made, with its arguments, to that
// file, and the machine is never put to sleep or shut down.
#pragma once

// Enables "SeShutdownPrivilege" for this process: 1 when it was really granted, else 0.
int EnableShutdownPrivilege();

// Asks the system to sleep (suspend) or to hibernate, not forced; the result is not looked at.
void RequestSuspend();
void RequestHibernate();
// Shuts the system down, forcing programs to close.
void RequestShutdown();

// Reads the start-up switch; called once at start-up.
void LoadPowerRecorderSwitch();
// Records into the file at path from now on (a Windows path); null or empty: the real calls.
void UsePowerRecorder(const char* path);
