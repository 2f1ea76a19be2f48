#pragma once

#include <QString>
#include <QtPlugin>

// Shows a desktop notification; Qt D-Bus is loaded only with the module that does it.
class Notifier
{
public:
    virtual ~Notifier() = default;
    // Why it could not be shown, in Hungarian; empty when it was.
    virtual QString notify(const QString& summary, const QString& body) = 0;
};

// A new number whenever this class changes: a module built for another is refused.
#define Notifier_iid "hu.zorvat.Notifier/1"
Q_DECLARE_INTERFACE(Notifier, Notifier_iid)
