#include "contacts/sourcemodule.h"
#include "system/modules.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestModules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadsAModuleOfItsInterface()
    {
        QString problem;
        auto* module = loadModule<ContactSourceModule>(u"zorvat-test-module"_s, problem);
        QVERIFY2(module, qPrintable(problem));
        QCOMPARE(module->read(u"forrás"_s).cards, 1);
        QCOMPARE(problem, QString());
    }

    void refusesAModuleOfAnotherInterface()
    {
        QString problem;
        QCOMPARE(loadModule<ContactSourceModule>(u"zorvat-test-oldmodule"_s, problem), nullptr);
        QCOMPARE(problem, u"A program zorvat-test-oldmodule modulja a program egy másik "
                          "változatához készült (hu.zorvat.ContactSourceModule/1 helyett "
                          "hu.zorvat.ContactSourceModule/2), ezért nem töltődik be."_s);
    }

    void saysWhyAModuleIsMissing()
    {
        QString problem;
        QCOMPARE(loadModule<ContactSourceModule>(u"zorvat-test-nothing"_s, problem), nullptr);
        QVERIFY2(problem.startsWith(u"A program zorvat-test-nothing modulja nem tölthető be ("_s),
                 qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestModules)
#include "tst_modules.moc"
