#pragma once
// The one conversion between diagram text (8-bit bytes in the chosen Windows
// code page) and the Unicode strings of the windows.

#include <QString>
#include <string>

// The code page that diagram text is read and written in (1251 or 1252).
int DiagramCodePage();
// Sets the code page; an unsupported value is refused and returns false.
bool SetDiagramCodePage(int codePage);

QString DiagramToQString(const std::string& bytes);
// A character the code page cannot hold becomes "?".
std::string QStringToDiagram(const QString& text);
