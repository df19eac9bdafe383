#include "platform/datapaths.h"

#include "core/tbible.h"

void LocateProgramFiles() {
  DataPlaces = DataPlacesOfThisProgram();
  DataRoot = DataPlaces.Data;
}

QString SystemPath(const QString& name, TPathUse use) {
  return QString::fromStdString(DataFile(name.toStdString(), use));
}
