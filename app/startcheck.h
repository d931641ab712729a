#pragma once
// A start for scripts and tests: with QUORVALIN_EXIT_AFTER_MS=N in the
// environment the editor ends N milliseconds after its start (also from inside
// a message box), writing one line "open: TITLE (N objects)" per document
// window to standard output first. Nothing happens without the variable.

class TMainForm;

void ArmStartCheck(TMainForm& form);
