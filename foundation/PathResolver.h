#pragma once
// File names resolved as Windows would find them.
#include <QString>

// Resolves a file name as Windows would find it: "\" and "/" both separate, a relative name starts in
// the current folder, and a component that is not there under its exact name is matched without regard
// to case among its folder's entries. Components that exist in no case stay as written, so a file about
// to be created keeps the name it was given. The result is an absolute path with "/" only; an empty name
// gives an empty text.
QString ResolvePath(const QString& name);
