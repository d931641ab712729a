#pragma once
// Icons drawn by the program: its own icon, the listing panel's icons of the
// standard block kinds, and the toolbar image of a user block.

#include <QIcon>
#include <QList>

class TUserBlock;

QIcon ProgramIcon();
// The ten icons of the standard block kinds, in kind order.
QList<QIcon> KindIcons();
QIcon UserBlockIcon(const TUserBlock& b);
