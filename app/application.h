#pragma once
// The program's start: hand-off to a running instance, title, the main
// window, the files named on the command line, the event loop.

#include <QStringList>

int RunQuorvalin(int argc, char** argv);

// The file names of a command line: every argument but the program's name
// and the options that Qt's application object takes for itself ("-platform
// offscreen", "-style=fusion", "--reverse", ...).
QStringList FileArguments(int argc, char** argv);

class TRecoveryKeeper;
class TTerminationWatch;
// Told to end (the session ends, a kill without -9), the editor keeps the
// unsaved work for the next start and ends without questions.
void KeepWorkOnTermination(TTerminationWatch& watch, TRecoveryKeeper& keeper);
