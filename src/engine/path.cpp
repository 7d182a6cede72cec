#include "path.h"

#ifndef QUENVARIX_ASSET_DIR
#error "QUENVARIX_ASSET_DIR must name the asset base directory"
#endif

QString PATH = QStringLiteral(QUENVARIX_ASSET_DIR);
