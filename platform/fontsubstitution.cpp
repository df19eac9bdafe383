#include "platform/fontsubstitution.h"

#include <QFont>
#include <QStringList>

void InstallFontSubstitutions() {
  const QStringList serif{QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")};
  const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
  const QStringList mono{QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
  QFont::insertSubstitutions(QStringLiteral("Times New Roman"), serif);
  QFont::insertSubstitutions(QStringLiteral("MS Serif"), serif);
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
  QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
  QFont::insertSubstitutions(QStringLiteral("Courier New"), mono);
}
