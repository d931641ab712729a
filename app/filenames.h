#pragma once
// File names as the main window keeps them: absolute and canonical, so that one
// file has one name wherever it came from (command line, hand-off, the Open
// dialog, recent files) and whatever the current folder is.

#include <QString>

// The canonical absolute name of an existing file (links resolved, "." and
// ".." removed); for a file that does not exist (yet), the cleaned absolute
// name relative to the current folder. Empty stays empty.
QString AbsoluteFileName(const QString& fileName);

// A file dialog filter written as pairs "description|patterns|..." (patterns
// separated by ";") turned into the dialog's "description (patterns);;..."
// form. "*.*" means every file, which is "*" here, where names need no dot.
// Parentheses that end a description give way to the patterns.
QString DialogFilter(const QString& pairs);
