#pragma once

#include <QFunctionPointer>
#include <QString>

// A function of one of the program's loadable modules, which keep libraries that only some
// runs need out of every start: from beside the program in a build, else from where the
// package installs them. Null where the module cannot be loaded, and `problem` says why in
// Hungarian.
QFunctionPointer moduleFunction(const QString& module, const char* function, QString& problem);
