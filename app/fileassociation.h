#pragma once
// The ".fgd" file type for the current user: a freedesktop MIME type
// "application/x-quorvalin-diagram" and a desktop entry that opens such files
// with this program, both under the per-user data folder (XDG_DATA_HOME).

#include <QString>

extern const char* const DiagramMimeType;

// Writes (or refreshes) the MIME package and the desktop entry for the program
// at programPath. Returns false when a file could not be written.
bool WriteFileAssociation(const QString& programPath);
