// Takes the pictures of the three windows for the README and the software centre: the real
// windows on a fixed clock, driven as a user drives them, so every run gives the same pictures.

#include "dates/clock.h"
#include "ui/calendar/calendarwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/search/searchwindow.h"
#include "ui/windows.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
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
    if (QTest::qWaitForWindowExposed(&window) && window.grab().save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    // Another day shows how the windows cope with it: the calendar shows the day after.
    const QDate day =
        arguments.size() == 3 ? QDate::fromString(arguments[2], Qt::ISODate) : shownDay;
    if (arguments.size() < 2 || arguments.size() > 3 || !day.isValid()) {
        std::fprintf(stderr, "usage: zorvat_screenshots FOLDER [YYYY-MM-DD]\n");
        return 2;
    }
    const QDir folder(arguments[1]);
    if (!folder.mkpath(u"."_s)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(folder.path()));
        return 1;
    }
    setClock([day] { return QDateTime(day, shownTime); });

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

    return saved ? 0 : 1;
}
