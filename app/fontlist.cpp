#include "app/fontlist.h"

namespace {
// "Family [foundry]" gives "Family"; any other name is the family itself.
QString FamilyOf(const QString& name) {
  if (!name.endsWith(']')) return name;
  const qsizetype open = name.lastIndexOf(QStringLiteral(" ["));
  return open > 0 ? name.left(open) : name;
}
}  // namespace

QStringList FontFamiliesOnce(const QStringList& reported) {
  QStringList families;
  for (const QString& name : reported) {
    const QString family = FamilyOf(name);
    if (!families.contains(family)) families.append(family);
  }
  return families;
}
