#include "path.h"

#include "assetdir.h"

#ifndef QUENVARIX_ASSET_DIR
#error "QUENVARIX_ASSET_DIR must name the asset base directory"
#endif

QString PATH = resolveAssetDir(QStringLiteral(QUENVARIX_ASSET_DIR), runningExecutableDir());
