#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString sourceDir = QStringLiteral(ZORVAT_SOURCE_DIR);

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The folder table of docs/design.md: each folder and the folders it may use.
QHash<QString, QStringList> folderTable()
{
    QHash<QString, QStringList> table;
    static const QRegularExpression row(u"^\\|( `[a-z/]+/`[^|]*)\\|.*\\|([^|]*)\\|$"_s,
                                        QRegularExpression::MultilineOption);
    static const QRegularExpression folder(u"`([a-z/]+/)`"_s);
    for (const QRegularExpressionMatch& match :
         row.globalMatch(readText(sourceDir + u"/docs/design.md"_s))) {
        QStringList uses;
        for (const QRegularExpressionMatch& used : folder.globalMatch(match.captured(2)))
            uses += used.captured(1);
        for (const QRegularExpressionMatch& named : folder.globalMatch(match.captured(1)))
            table.insert(named.captured(1), uses);
    }
    return table;
}

// The folder of the table that a path is in: the longest that it starts with.
QString folderOf(const QHash<QString, QStringList>& table, const QString& path)
{
    QString found;
    for (const QString& folder : table.keys())
        if (path.startsWith(folder) && folder.size() > found.size())
            found = folder;
    return found;
}

QStringList productFiles()
{
    QStringList files;
    QDirIterator it(sourceDir, {u"*.cpp"_s, u"*.h"_s, u"*.c"_s}, QDir::Files,
                    QDirIterator::Subdirectories);
    static const QRegularExpression outside(u"^(tests|bench|build[^/]*|\\.[^/]*)/"_s);
    while (it.hasNext()) {
        const QString path = QDir(sourceDir).relativeFilePath(it.next());
        if (!outside.match(path).hasMatch())
            files += path;
    }
    return files;
}
} // namespace

class Layout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyFolderHasItsRow()
    {
        const QHash<QString, QStringList> table = folderTable();
        QVERIFY2(table.size() > 5, "the folder table of docs/design.md was not found");
        for (const QString& file : productFiles())
            QVERIFY2(!folderOf(table, file).isEmpty(), qPrintable(file + u" is in no folder of "
                                                                         "the table"_s));
        for (auto folder = table.cbegin(); folder != table.cend(); ++folder) {
            QVERIFY2(QDir(sourceDir + u'/' + folder.key()).exists(), qPrintable(folder.key()));
            for (const QString& used : folder.value())
                QVERIFY2(table.contains(used), qPrintable(folder.key() + u" uses "_s + used));
        }
    }

    void includesOnlyWhatItsFolderMayUse()
    {
        const QHash<QString, QStringList> table = folderTable();
        static const QRegularExpression include(u"^#include \"([^\"]+)\""_s,
                                                QRegularExpression::MultilineOption);
        for (const QString& file : productFiles()) {
            const QString folder = folderOf(table, file);
            for (const QRegularExpressionMatch& match :
                 include.globalMatch(readText(sourceDir + u'/' + file))) {
                const QString used = folderOf(table, match.captured(1));
                QVERIFY2(used.isEmpty() || used == folder || table[folder].contains(used),
                         qPrintable(file + u" includes "_s + match.captured(1)));
            }
        }
    }

    void noFolderUsesItselfThroughOthers()
    {
        const QHash<QString, QStringList> table = folderTable();
        for (auto start = table.cbegin(); start != table.cend(); ++start) {
            QStringList reached = start.value();
            for (qsizetype next = 0; next < reached.size(); ++next) {
                QVERIFY2(reached[next] != start.key(), qPrintable(start.key() + u" in a circle"_s));
                for (const QString& used : table.value(reached[next]))
                    if (!reached.contains(used))
                        reached += used;
            }
        }
    }
};

QTEST_GUILESS_MAIN(Layout)
#include "tst_layout.moc"
