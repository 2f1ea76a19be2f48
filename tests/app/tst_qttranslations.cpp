#include "system/qttranslations.h"

#include <QAction>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTranslator>

#include <memory>

using namespace Qt::StringLiterals;

class QtTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textBoxMenuIsHungarian();
};

// The menu is built once before and once after, so the English texts are Qt's own, and the
// Hungarian ones are read from Qt's translation file, not from the program.
void QtTranslations::textBoxMenuIsHungarian()
{
    QTranslator qt;
    QVERIFY2(qt.load(u"qtbase_hu"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)),
             "Qt's Hungarian translation is missing: install qt6-translations-l10n");
    QLineEdit box;
    const std::unique_ptr<QMenu> english(box.createStandardContextMenu());
    QVERIFY(installQtTranslations());
    const std::unique_ptr<QMenu> hungarian(box.createStandardContextMenu());

    const QList<QAction*> before = english->actions();
    const QList<QAction*> after = hungarian->actions();
    QCOMPARE(after.size(), before.size());
    int texts = 0;
    for (qsizetype i = 0; i < before.size(); ++i) {
        // The shortcut follows a tab.
        const QString source = before[i]->text().section(u'\t', 0, 0);
        if (source.isEmpty())
            continue; // a separator
        const QString expected = qt.translate("QLineEdit", source.toUtf8().constData());
        QVERIFY2(!expected.isEmpty() && expected != source, qPrintable(source));
        QCOMPARE(after[i]->text().section(u'\t', 0, 0), expected);
        ++texts;
    }
    QCOMPARE(texts, 7); // Undo, Redo, Cut, Copy, Paste, Delete, Select All
}

QTEST_MAIN(QtTranslations)
#include "tst_qttranslations.moc"
