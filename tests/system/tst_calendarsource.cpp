#include "system/calendarsource.h"
#include "system/keyfile.h"
#include "system/outputfile.h"

#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <glib.h>
#include <memory>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
// The key file as GLib reads it, which is how Evolution Data Server reads its sources.
struct GlibKeyFile
{
    explicit GlibKeyFile(const QByteArray& text)
    {
        loaded = g_key_file_load_from_data(file.get(), text.constData(), gsize(text.size()),
                                           G_KEY_FILE_KEEP_COMMENTS, nullptr);
    }
    QString value(const char* group, const char* key) const
    {
        const std::unique_ptr<char, decltype(&g_free)> value(
            g_key_file_get_string(file.get(), group, key, nullptr), g_free);
        return value ? QString::fromUtf8(value.get()) : u"(none)"_s;
    }
    QString comment(const char* group) const
    {
        const std::unique_ptr<char, decltype(&g_free)> value(
            g_key_file_get_comment(file.get(), group, nullptr, nullptr), g_free);
        return value ? QString::fromUtf8(value.get()) : QString();
    }

    std::unique_ptr<GKeyFile, decltype(&g_key_file_unref)> file{g_key_file_new(), g_key_file_unref};
    bool loaded = false;
};

QByteArray pathOfUri(const QString& uri)
{
    const std::unique_ptr<char, decltype(&g_free)> path(
        g_filename_from_uri(uri.toUtf8().constData(), nullptr, nullptr), g_free);
    return path ? QByteArray(path.get()) : QByteArray("(not a file URI)");
}

struct stat statusOf(const QString& path)
{
    struct stat status = {};
    stat(QFile::encodeName(path).constData(), &status);
    return status;
}

bool replace(const QString& path, const QByteArray& text, mode_t newFileMode = 0666)
{
    OutputFile file(QFile::encodeName(path), newFileMode);
    file.moveTimeOn();
    return file.open() && file.write(text) == text.size() && file.commit();
}
} // namespace

class CalendarSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sourceAsGlibReadsIt_data();
    void sourceAsGlibReadsIt();
    void valuesWithEscapes_data();
    void valuesWithEscapes();
    void replacementMovesTheTimeOn_data();
    void replacementMovesTheTimeOn();
};

void CalendarSource::sourceAsGlibReadsIt_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<QByteArray>("calendarPath");

    QTest::newRow("new") << QByteArray() << QByteArray("/home/anna/.local/share/zorvat/n.ics");
    QTest::newRow("a path with a space, accents, a percent and a hash")
        << QByteArray() << QByteArray("/home/Kiss Ödön/100% #1/nevnapok.ics");
    QTest::newRow("a path that is not UTF-8") << QByteArray()
                                              << QByteArray("/home/\xF6"
                                                            "d\xF6"
                                                            "n/nevnapok.ics");
    QTest::newRow("as the registry rewrote it, the user's colour and another program's keys")
        << QByteArray("# kept\n[Data Source]\nDisplayName=Régi név\nEnabled=false\n"
                      "Parent=local-stub\n\n[Calendar]\nBackendName=local\nColor=#e01b24\n"
                      "Selected=false\n\n[Alarms]\nIncludeMe=true\n")
        << QByteArray("/home/anna/nevnapok.ics");
}

void CalendarSource::sourceAsGlibReadsIt()
{
    QFETCH(QByteArray, existing);
    QFETCH(QByteArray, calendarPath);
    const GlibKeyFile source(readOnlyCalendarSource(existing, u"Névnapok"_s, calendarPath));
    QVERIFY(source.loaded);
    QCOMPARE(source.value("Data Source", "DisplayName"), u"Névnapok"_s);
    QCOMPARE(source.value("Data Source", "Enabled"), u"true"_s);
    QCOMPARE(source.value("Data Source", "Parent"), u"local-stub"_s);
    QCOMPARE(source.value("Calendar", "BackendName"), u"local"_s);
    QCOMPARE(source.value("Calendar", "Selected"), u"true"_s);
    QCOMPARE(source.value("Local Backend", "Writable"), u"false"_s);
    QCOMPARE(pathOfUri(source.value("Local Backend", "CustomFile")), calendarPath);
    if (!existing.isEmpty()) {
        QCOMPARE(source.value("Calendar", "Color"), u"#e01b24"_s);
        QCOMPARE(source.value("Alarms", "IncludeMe"), u"true"_s);
        QCOMPARE(source.comment("Data Source"), u" kept"_s);
    }
}

void CalendarSource::valuesWithEscapes_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << u"Névnapok"_s;
    QTest::newRow("leading space") << u" Névnapok"_s;
    QTest::newRow("line breaks, a tab and backslashes") << u"a\nb\tc\\d\\\\e\r"_s;
    QTest::newRow("an equals sign and a hash") << u"a=b #c"_s;
}

// Both ways: what KeyFile writes GLib reads as it was set, and what GLib writes KeyFile reads.
void CalendarSource::valuesWithEscapes()
{
    QFETCH(QString, value);
    KeyFile written;
    written.setValue(u"Data Source", u"DisplayName", value);
    QCOMPARE(GlibKeyFile(written.text()).value("Data Source", "DisplayName"), value);

    const GlibKeyFile glib{QByteArray()};
    g_key_file_set_string(glib.file.get(), "Data Source", "DisplayName", value.toUtf8());
    gsize length = 0;
    const std::unique_ptr<char, decltype(&g_free)> text(
        g_key_file_to_data(glib.file.get(), &length, nullptr), g_free);
    QCOMPARE(KeyFile(QByteArrayView(text.get(), qsizetype(length)))
                 .value(u"Data Source", u"DisplayName"),
             value);
}

void CalendarSource::replacementMovesTheTimeOn_data()
{
    QTest::addColumn<qint64>("secondsAhead"); // of the replaced file, against the clock

    QTest::newRow("in the same second") << qint64(0);
    QTest::newRow("a file whose time is ahead of the clock") << qint64(100);
}

void CalendarSource::replacementMovesTheTimeOn()
{
    QFETCH(qint64, secondsAhead);
    const QTemporaryDir folder;
    const QString path = folder.filePath(u"nevnapok.ics"_s);
    QVERIFY(replace(path, "first", 0600));
    QCOMPARE(statusOf(path).st_mode & 0777, 0600u);
    timespec before = statusOf(path).st_mtim;
    before.tv_sec += secondsAhead;
    const timespec times[2] = {{0, UTIME_OMIT}, before};
    QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);

    QVERIFY(replace(path, "second"));
    const timespec after = statusOf(path).st_mtim;
    QVERIFY2(after.tv_sec > before.tv_sec,
             qPrintable(u"%1 after %2"_s.arg(after.tv_sec).arg(before.tv_sec)));
    if (secondsAhead > 0)
        QCOMPARE(after.tv_sec, before.tv_sec + 1);
    QCOMPARE(statusOf(path).st_mode & 0777, 0600u);
}

QTEST_GUILESS_MAIN(CalendarSource)
#include "tst_calendarsource.moc"
