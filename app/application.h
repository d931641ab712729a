#pragma once
// The program's start: title, hand-off to a running instance, the main window,
// the files named on the command line, the event loop.

int RunQuorvalin(int argc, char** argv);
