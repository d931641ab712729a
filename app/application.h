#pragma once
// The program's start: title, hand-off to a running instance, the main window,
// the files named on the command line, the event loop.

int RunQuorvalin(int argc, char** argv);

class TRecoveryKeeper;
class TTerminationWatch;
// Told to end (the session ends, a kill without -9), the editor keeps the
// unsaved work for the next start and ends without questions.
void KeepWorkOnTermination(TTerminationWatch& watch, TRecoveryKeeper& keeper);
