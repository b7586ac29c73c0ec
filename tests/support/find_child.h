#pragma once
#include <QObject>
#include <QString>
#include <QtGlobal>

namespace tulmera::testing {

// The child of `parent` named `name`, of type T. A missing one ends the test program, naming
// it: every later step would only fail less clearly.
template <typename T>
T* FindChild(const QObject* parent, const QString& name)
{
    T* child = parent->findChild<T*>(name);
    if (child == nullptr) qFatal("no control named %s", qPrintable(name));
    return child;
}
template <typename T>
T* FindChild(const QObject* parent, const char* name)
{
    return FindChild<T>(parent, QLatin1String(name));
}

}  // namespace tulmera::testing
