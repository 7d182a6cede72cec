#ifndef REPLACEFILE_H
#define REPLACEFILE_H

class QString;

// Moves `from` to `to` in one step, replacing `to` if it exists (rename(2)),
// so `to` is either the old file or the complete new one, never a part.
bool replaceFile(const QString& from, const QString& to, QString* error);

#endif
