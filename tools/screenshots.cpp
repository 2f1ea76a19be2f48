// Takes the pictures of the three windows for the README and the software centre: the real
// windows on a fixed clock, driven as a user drives them, so every run gives the same pictures.
// With --colours they are taken under a qt6ct colour scheme; with --against they are compared
// pixel by pixel with the pictures of another folder.

#include "dates/clock.h"
#include "ui/calendar/calendarwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/search/searchwindow.h"
#include "ui/windows.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Christmas Eve: Ádám and Éva today, and tomorrow a public holiday to show in red.
const QDate shownDay(2026, 12, 24);
const QTime shownTime(9, 41, 7);

void click(QWidget& window, const char* button)
{
    QTest::mouseClick(window.findChild<QPushButton*>(QLatin1StringView(button)), Qt::LeftButton);
}

bool save(QWidget& window, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    // Taken while the window is active, as the user sees it.
    if (QTest::qWaitForWindowExposed(&window) &&
        QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }) &&
        window.grab().save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// A qt6ct colour scheme: the colours of each group in the order of QPalette's roles.
bool loadColourScheme(const QString& path, QPalette& palette)
{
    if (!QFileInfo(path).isFile())
        return false;
    const QSettings scheme(path, QSettings::IniFormat);
    for (auto [group, key] : {std::pair{QPalette::Active, "ColorScheme/active_colors"},
                              std::pair{QPalette::Inactive, "ColorScheme/inactive_colors"},
                              std::pair{QPalette::Disabled, "ColorScheme/disabled_colors"}}) {
        const QStringList colours = scheme.value(QLatin1StringView(key)).toStringList();
        if (colours.size() < QPalette::PlaceholderText)
            return false;
        for (qsizetype role = 0; role < colours.size() && role < QPalette::NColorRoles; ++role)
            palette.setColor(group, QPalette::ColorRole(role), QColor(colours[role].trimmed()));
    }
    return true;
}

// The pictures of `taken` that differ from those of the same name in `reference`.
int countDifferences(const QDir& taken, const QDir& reference, const QStringList& names)
{
    int differing = 0;
    for (const QString& name : names) {
        const QImage picture(taken.filePath(name));
        const QImage expected(reference.filePath(name));
        if (expected.isNull()) {
            std::fprintf(stderr, "%s: no picture to compare with\n",
                         qPrintable(reference.filePath(name)));
            ++differing;
            continue;
        }
        const QImage a = picture.convertToFormat(QImage::Format_RGB32);
        const QImage b = expected.convertToFormat(QImage::Format_RGB32);
        if (a.size() != b.size()) {
            std::fprintf(stderr, "%s: %dx%d, %s is %dx%d\n", qPrintable(name), a.width(),
                         a.height(), qPrintable(reference.filePath(name)), b.width(), b.height());
            ++differing;
            continue;
        }
        int pixels = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                pixels += a.pixel(x, y) != b.pixel(x, y);
        if (pixels > 0) {
            std::fprintf(stderr, "%s: %d pixels differ from %s\n", qPrintable(name), pixels,
                         qPrintable(reference.filePath(name)));
            ++differing;
        }
    }
    if (differing > 0)
        std::fprintf(stderr, "scripts/screenshots takes them again\n");
    return differing;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({u"colours"_s, u"Take them under a qt6ct colour scheme."_s, u"file"_s});
    parser.addOption({u"against"_s, u"Compare them with the pictures of a folder."_s, u"folder"_s});
    parser.addPositionalArgument(u"folder"_s, u"Where the pictures go."_s);
    parser.addPositionalArgument(u"day"_s, u"Another day, as YYYY-MM-DD."_s, u"[day]"_s);
    parser.process(app);
    const QStringList arguments = parser.positionalArguments();
    // Another day shows how the windows cope with it: the calendar shows the day after.
    const QDate day =
        arguments.size() == 2 ? QDate::fromString(arguments[1], Qt::ISODate) : shownDay;
    if (arguments.isEmpty() || arguments.size() > 2 || !day.isValid()) {
        std::fprintf(stderr, "usage: zorvat_screenshots [--colours FILE] [--against FOLDER] "
                             "FOLDER [YYYY-MM-DD]\n");
        return 2;
    }
    if (parser.isSet(u"colours"_s)) {
        QPalette palette = QApplication::palette();
        if (!loadColourScheme(parser.value(u"colours"_s), palette)) {
            std::fprintf(stderr, "cannot read the colour scheme %s\n",
                         qPrintable(parser.value(u"colours"_s)));
            return 1;
        }
        QApplication::setPalette(palette);
    }
    const QDir folder(arguments[0]);
    if (!folder.mkpath(u"."_s)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(folder.path()));
        return 1;
    }
    setClock([day] { return QDateTime(day, shownTime); });
    // A blinking text cursor would be in one picture and not in the next.
    QApplication::setCursorFlashTime(0);

    Windows windows;
    MainWindow& main = windows.mainWindow();
    main.show();
    QTest::qWait(1100); // one tick of the clock
    bool saved = save(main, folder, u"main.png"_s);

    click(main, "searchButton");
    SearchWindow& search = windows.searchWindow();
    auto* query = search.findChild<QLineEdit*>(u"queryBox"_s);
    QTest::keyClicks(query, u"Anna"_s);
    QTest::keyClick(query, Qt::Key_Return);
    saved = save(search, folder, u"search.png"_s) && saved;
    click(search, "exitButton");

    click(main, "calendarButton");
    CalendarWindow& calendar = windows.calendarWindow();
    QTest::keyClick(calendar.findChild<QCalendarWidget*>(u"calendar"_s)->focusWidget(),
                    Qt::Key_Right);
    saved = save(calendar, folder, u"calendar.png"_s) && saved;
    if (!saved)
        return 1;

    if (parser.isSet(u"against"_s))
        return countDifferences(folder, QDir(parser.value(u"against"_s)),
                                {u"main.png"_s, u"search.png"_s, u"calendar.png"_s}) > 0
                   ? 1
                   : 0;
    return 0;
}
