#pragma once

#include <QObject>
#include <QString>

// One of the program's loadable modules, which keep libraries that only some runs need out of
// every start: from beside the program in a build, else from where the package installs them.
// Null where the module cannot be loaded or was built for another version of its interface, and
// then `problem` says why in Hungarian.
QObject* loadModule(const QString& module, const char* interfaceId, QString& problem);

template<typename Interface> Interface* loadModule(const QString& module, QString& problem)
{
    return qobject_cast<Interface*>(
        loadModule(module, qobject_interface_iid<Interface*>(), problem));
}
