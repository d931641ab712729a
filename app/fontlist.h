#pragma once
// The font families offered in the Standard toolbar's font box.

#include <QStringList>

// The families as a user picks them: each family once, in the order first
// reported, without the foundry that the font database appends in brackets
// when one family comes from several foundries ("Nimbus Sans [urw]").
QStringList FontFamiliesOnce(const QStringList& reported);
