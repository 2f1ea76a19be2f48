#include "dates/datetexts.h"
#include "support/answers.h"
#include "support/calendargrid.h"
#include "support/program.h"
#include "ui/calendar/calendarwindow.h"
#include "ui/controls/fonts.h"
#include "ui/main/mainwindow.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {
const QColor red(255, 0, 0);
const QColor black(0, 0, 0);

// Opens the calendar window as the main window's "Calendarium" does.
CalendarWindow& openCalendar(Program& program)
{
    child<QPushButton>(program.windows.mainWindow(), "calendarButton")->click();
    CalendarWindow& form = program.windows.calendarWindow();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the calendar window did not appear");
    return form;
}

QCalendarWidget* calendarOf(const CalendarWindow& form)
{
    return child<QCalendarWidget>(form, "calendar");
}

QLabel* dayTextOf(const CalendarWindow& form)
{
    return child<QLabel>(form, "dayText");
}

QColor colourOf(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

// Shows a date the way a user gets there from anywhere: the calendar takes the focus.
void showDate(CalendarWindow& form, const QDate& date)
{
    calendarOf(form)->setSelectedDate(date);
    form.showSelectedDay();
}
// Right-clicks the window, picks the save entry of its menu, types `path` into the file
// dialog and presses Enter, as a user saves the shown year; `afterwards` answers what opens
// next.
void saveThroughTheMenu(CalendarWindow& form, const QString& path,
                        const QList<Answers::Answer>& afterwards = {})
{
    const Answers answers(
        QList<Answers::Answer>{[](QWidget* opened) {
                                   auto* menu = qobject_cast<QMenu*>(opened);
                                   QVERIFY(menu);
                                   QAction* save = menu->actions().value(0);
                                   QVERIFY(save);
                                   QCOMPARE(save->text(), u"Névnapok mentése naptárfájlba…");
                                   QTest::mouseClick(menu, Qt::LeftButton, {},
                                                     menu->actionGeometry(save).center());
                               },
                               [path](QWidget* opened) {
                                   auto* dialog = qobject_cast<QFileDialog*>(opened);
                                   QVERIFY(dialog);
                                   auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
                                   QVERIFY(name);
                                   name->setText(path);
                                   QTest::keyClick(name, Qt::Key_Return);
                               }} +
        afterwards);
    // A right click reaches a widget as this event; QTest's clicks do not make it.
    QLabel* clicked = dayTextOf(form);
    const QPoint at = clicked->rect().center();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, clicked->mapToGlobal(at));
    QApplication::sendEvent(clicked, &rightClick);
    QTRY_VERIFY(answers.allGiven());
}

// Qt's calendars made while it lives call Qt's own children ("qt_calendar_nextmonth") by
// other names, or none, as a Qt release that renamed them would. Qt names a child after making
// it, so each child added to a calendar renames those before it; the last comes once all are
// named.
class RenamedQtParts : public QObject
{
public:
    explicit RenamedQtParts(QString prefix)
        : m_prefix(std::move(prefix))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded && qobject_cast<QCalendarWidget*>(watched))
            for (QObject* part :
                 watched->findChildren<QObject*>(QRegularExpression(u"^qt_calendar_"_s)))
                part->setObjectName(m_prefix.isEmpty()
                                        ? QString()
                                        : part->objectName().replace(u"qt_calendar_"_s, m_prefix));
        return false;
    }

private:
    QString m_prefix;
};

// Writing a file longer than this process may write fails, as on a full disk.
class FullDisk
{
public:
    explicit FullDisk(rlim_t room)
    {
        getrlimit(RLIMIT_FSIZE, &m_before);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit full{room, m_before.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_signal);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit m_before{};
    void (*m_signal)(int) = nullptr;
};
} // namespace

class TestCalendarWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadingMovesToTheCurrentMonth()
    {
        Program program(at(2026, 12, 7));
        CalendarWindow& form = program.windows.calendarWindow();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.windowTitle(), u"Kalendárium");
        QCOMPARE(form.pos(), program.windows.mainWindow().pos());
        // The calendar's stored day is kept, in the current year and month.
        QCOMPARE(calendarOf(form)->selectedDate(), QDate(2026, 12, 14));
        QCOMPARE(dayTextOf(form)->text(), u" 2026.12.14.   Szilárda   ");

        auto* years = child<QComboBox>(form, "yearPicker");
        QCOMPARE(years->count(), 201);
        QCOMPARE(years->itemText(0), u" 1900");
        QCOMPARE(years->itemText(200), u" 2100");
        QCOMPARE(years->currentText(), u" 2026");
        auto* months = child<QComboBox>(form, "monthPicker");
        QCOMPARE(months->count(), 12);
        QCOMPARE(months->itemText(0), u"Január");
        QCOMPARE(months->currentText(), u"December");
        auto* feasts = child<QComboBox>(form, "feastPicker");
        QCOMPARE(feasts->count(), 7);
        QStringList feastNames;
        for (int i = 0; i < feasts->count(); ++i)
            feastNames += feasts->itemText(i);
        QCOMPARE(feastNames, QStringList({u"Húsvétvasárnap"_s, u"Húsvéthétfő"_s,
                                          u"Pünkösdvasárnap"_s, u"Pünkösdhétfő"_s, u"Nagypéntek"_s,
                                          u"Hamvazószerda"_s, u"Thanksgiving"_s}));
        QCOMPARE(feasts->currentIndex(), -1);
        QCOMPARE(feasts->currentText(), u"Változó Ünnepek");
    }

    void worksWithoutQtsOwnChildren_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::newRow("renamed") << u"qt_calendarwidget_"_s;
        QTest::newRow("unnamed") << QString();
    }
    void worksWithoutQtsOwnChildren()
    {
        QFETCH(QString, prefix);
        // Each child that the calendar names for screen readers or makes room beside is
        // reported, and only once.
        for (const char* name :
             {"qt_calendar_navigationbar", "qt_calendar_nextmonth", "qt_calendar_calendarview",
              "qt_calendar_prevmonth", "qt_calendar_yearedit"})
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"\\b%1\\b"_s.arg(name)));
        QTest::failOnWarning(QRegularExpression(u"qt_calendar_"_s));
        Program program(at(2026, 12, 7));
        {
            const RenamedQtParts renamed(prefix);
            openCalendar(program);
        }
        CalendarWindow& form = program.windows.calendarWindow();
        QVERIFY(form.findChildren<QObject*>(QRegularExpression(u"^qt_calendar_"_s)).isEmpty());

        pick(child<QComboBox>(form, "yearPicker"), 104);
        pick(child<QComboBox>(form, "feastPicker"), 0);
        QCOMPARE(dayTextOf(form)->text(), u" 2004.04.11.   Húsvét, Leó, Szaniszló   ");
        QTest::keyClick(calendarOf(form)->focusProxy(), Qt::Key_Down);
        QCOMPARE(dayTextOf(form)->text(), u" 2004.04.18.   Andrea, Ilma   ");
        QTest::mouseClick(child<QPushButton>(form, "exitButton"), Qt::LeftButton);
        openCalendar(program);
        QCOMPARE(dayTextOf(form)->text(), u" 2026.12.07.   Ambrus   ");
    }

    void firstShowingShowsToday()
    {
        Program program(at(2004, 6, 9));
        CalendarWindow& form = openCalendar(program);
        QCOMPARE(calendarOf(form)->selectedDate(), QDate(2004, 6, 9));
        QCOMPARE(dayTextOf(form)->text(), u" 2004.06.09.   Félix   ");
        QCOMPARE(colourOf(dayTextOf(form)), black);
        QVERIFY(!child<QPushButton>(form, "todayButton")->isVisible());
    }

    void holidaysAndSundaysAreRed_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("national holiday")
            << QDate(2004, 3, 15) << u" 2004.03.15.   NEMZETI ÜNNEP, Kristóf   "_s << red;
        QTest::newRow("Sunday") << QDate(2004, 4, 4) << u" 2004.04.04.   Izidor   "_s << red;
        QTest::newRow("Easter Sunday")
            << QDate(2004, 4, 11) << u" 2004.04.11.   Húsvét, Leó, Szaniszló   "_s << red;
        QTest::newRow("Easter Monday 2004")
            << QDate(2004, 4, 12) << u" 2004.04.12.   Húsvéthétfő, Gyula   "_s << red;
        QTest::newRow("the same day in 2005")
            << QDate(2005, 4, 12) << u" 2005.04.12.   Gyula   "_s << black;
        QTest::newRow("Easter Monday 2005")
            << QDate(2005, 3, 28) << u" 2005.03.28.   Húsvéthétfő, Gedeon, Johanna   "_s << red;
        QTest::newRow("women's day has no marker")
            << QDate(2004, 3, 8) << u" 2004.03.08.   NEMZ.NŐNAP, Zoltán   "_s << black;
        QTest::newRow("Good Friday 2004")
            << QDate(2004, 4, 9) << u" 2004.04.09.   Nagypéntek, Erhard   "_s << black;
        QTest::newRow("1 May") << QDate(2004, 5, 1) << u" 2004.05.01.   Fülöp, Jakab   "_s << red;
        QTest::newRow("leap day") << QDate(2004, 2, 29) << u" 2004.02.29.   Elemér   "_s << red;
        QTest::newRow("first day")
            << QDate(1900, 1, 1) << u" 1900.01.01.   ÚJéV, Fruzsina   "_s << red;
        QTest::newRow("last day") << QDate(2100, 12, 31) << u" 2100.12.31.   Szilveszter   "_s
                                  << black;
        // Public holidays by the law of each year.
        QTest::newRow("1 November 1999")
            << QDate(1999, 11, 1) << u" 1999.11.01.   Marianna   "_s << black;
        QTest::newRow("All Saints' Day 2000")
            << QDate(2000, 11, 1) << u" 2000.11.01.   MINDENSZENTEK, Marianna   "_s << red;
        QTest::newRow("Good Friday 2016")
            << QDate(2016, 3, 25) << u" 2016.03.25.   Nagypéntek, Irén, Irisz   "_s << black;
        QTest::newRow("Good Friday 2017")
            << QDate(2017, 4, 14) << u" 2017.04.14.   Nagypéntek, Tibor   "_s << red;
        QTest::newRow("Good Friday 2027")
            << QDate(2027, 3, 26) << u" 2027.03.26.   Nagypéntek, Emánuel   "_s << red;
    }
    void holidaysAndSundaysAreRed()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        Program program(at(2026, 12, 7));
        CalendarWindow& form = openCalendar(program);
        showDate(form, date);
        QCOMPARE(dayTextOf(form)->text(), text);
        QCOMPARE(colourOf(dayTextOf(form)), colour);
        QVERIFY(child<QPushButton>(form, "todayButton")->isVisible());
    }

    void clickingADayShowsIt()
    {
        Program program(at(2004, 4, 11));
        CalendarWindow& form = openCalendar(program);
        clickDay(form, 20);
        QCOMPARE(calendarOf(form)->selectedDate(), QDate(2004, 4, 20));
        QCOMPARE(dayTextOf(form)->text(), u" 2004.04.20.   Tivadar   ");
        QVERIFY(child<QPushButton>(form, "todayButton")->isVisible());
    }

    void keysShowTheNewDate_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("right") << int(Qt::Key_Right) << QDate(2004, 4, 12);
        QTest::newRow("left") << int(Qt::Key_Left) << QDate(2004, 4, 10);
        QTest::newRow("down") << int(Qt::Key_Down) << QDate(2004, 4, 18);
        QTest::newRow("up") << int(Qt::Key_Up) << QDate(2004, 4, 4);
        QTest::newRow("page down") << int(Qt::Key_PageDown) << QDate(2004, 5, 11);
        QTest::newRow("page up") << int(Qt::Key_PageUp) << QDate(2004, 3, 11);
        QTest::newRow("end") << int(Qt::Key_End) << QDate(2004, 4, 30);
        QTest::newRow("home") << int(Qt::Key_Home) << QDate(2004, 4, 1);
    }
    void keysShowTheNewDate()
    {
        QFETCH(int, key);
        QFETCH(QDate, expected);
        Program program(at(2004, 4, 11));
        CalendarWindow& form = openCalendar(program);
        QAbstractItemView* grid = gridOf(form);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key(key));
        QCOMPARE(calendarOf(form)->selectedDate(), expected);
        QVERIFY(dayTextOf(form)->text().startsWith(u' ' + dateText(expected)));
        QCOMPARE(child<QComboBox>(form, "monthPicker")->currentIndex(), expected.month() - 1);
    }

    void pickersKeepTheDay_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QByteArray>("picker");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("31 January to April")
            << QDate(2004, 1, 31) << QByteArray("monthPicker") << 3 << QDate(2004, 5, 1);
        QTest::newRow("15 March to June")
            << QDate(2004, 3, 15) << QByteArray("monthPicker") << 5 << QDate(2004, 6, 15);
        QTest::newRow("leap day to 2005")
            << QDate(2004, 2, 29) << QByteArray("yearPicker") << 105 << QDate(2005, 3, 1);
        QTest::newRow("to the first year")
            << QDate(2004, 2, 29) << QByteArray("yearPicker") << 0 << QDate(1900, 3, 1);
        QTest::newRow("to 2000") << QDate(2004, 2, 29) << QByteArray("yearPicker") << 100
                                 << QDate(2000, 2, 29);
        QTest::newRow("31 March to February, within the month")
            << QDate(2028, 3, 31) << QByteArray("monthPicker") << 1 << QDate(2028, 3, 2);
    }
    void pickersKeepTheDay()
    {
        QFETCH(QDate, start);
        QFETCH(QByteArray, picker);
        QFETCH(int, entry);
        QFETCH(QDate, expected);
        Program program(at(2026, 12, 7));
        CalendarWindow& form = openCalendar(program);
        showDate(form, start);
        pick(child<QComboBox>(form, picker.constData()), entry);
        QCOMPARE(calendarOf(form)->selectedDate(), expected);
        QVERIFY(dayTextOf(form)->text().startsWith(u' ' + dateText(expected)));
        // Both pickers show the calendar's month, also after a roll-over.
        QCOMPARE(child<QComboBox>(form, "monthPicker")->currentIndex(), expected.month() - 1);
        QCOMPARE(child<QComboBox>(form, "yearPicker")->currentText(),
                 u' ' + QString::number(expected.year()));
    }

    void typingIntoAPickerDoesNothing_data()
    {
        QTest::addColumn<QByteArray>("picker");
        QTest::addColumn<QString>("typed");
        QTest::newRow("month") << QByteArray("monthPicker") << u"Május"_s;
        QTest::newRow("year") << QByteArray("yearPicker") << u" 1999"_s;
        QTest::newRow("feast") << QByteArray("feastPicker") << u"Nagypéntek"_s;
    }
    void typingIntoAPickerDoesNothing()
    {
        QFETCH(QByteArray, picker);
        QFETCH(QString, typed);
        Program program(at(2004, 6, 9));
        CalendarWindow& form = openCalendar(program);
        auto* field = child<QComboBox>(form, picker.constData());
        field->setFocus();
        field->lineEdit()->selectAll();
        field->lineEdit()->insert(typed);
        QTest::keyClick(field, Qt::Key_Return);
        child<QWidget>(form, "exitButton")->setFocus();
        QCOMPARE(calendarOf(form)->selectedDate(), QDate(2004, 6, 9));
        QCOMPARE(dayTextOf(form)->text(), u" 2004.06.09.   Félix   ");
    }

    void pickersFollowTheCalendarsOwnNavigation()
    {
        Program program(at(2026, 12, 7));
        CalendarWindow& form = openCalendar(program);
        showDate(form, QDate(2026, 12, 31));
        QTest::mouseClick(child<QToolButton>(form, "qt_calendar_nextmonth"), Qt::LeftButton);
        QCOMPARE(calendarOf(form)->selectedDate(), QDate(2027, 1, 31));
        QCOMPARE(dayTextOf(form)->text(), u" 2027.01.31.   Marcella, Gerda   ");
        QCOMPARE(child<QComboBox>(form, "monthPicker")->currentText(), u"Január");
        QCOMPARE(child<QComboBox>(form, "yearPicker")->currentText(), u" 2027");
        QTest::mouseClick(child<QToolButton>(form, "qt_calendar_nextmonth"), Qt::LeftButton);
        QCOMPARE(calendarOf(form)->selectedDate(), QDate(2027, 2, 28));
        QCOMPARE(child<QComboBox>(form, "monthPicker")->currentText(), u"Február");
        QCOMPARE(dayTextOf(form)->text(), u" 2027.02.28.   Elemér   ");
    }

    // The pickers belong to the window, so accessibility reaches them, and they cover
    // neither the calendar's arrows nor its own month and year.
    void pickersLieOverTheTitleBand()
    {
        Program program(at(2026, 12, 7));
        CalendarWindow& form = openCalendar(program);
        const QWidget* band = child<QWidget>(form, "qt_calendar_navigationbar");
        const QRect bandArea(band->mapTo(&form, QPoint()), band->size());
        for (const char* name : {"monthPicker", "yearPicker"}) {
            const auto* picker = child<QComboBox>(form, name);
            QCOMPARE(picker->parentWidget(), &form);
            QVERIFY2(bandArea.contains(picker->geometry()), name);
            for (const char* covered : {"qt_calendar_prevmonth", "qt_calendar_nextmonth",
                                        "qt_calendar_monthbutton", "qt_calendar_yearbutton"}) {
                const auto* button = child<QWidget>(form, covered);
                const QRect area(button->mapTo(&form, QPoint()), button->size());
                QVERIFY2(!area.intersects(picker->geometry()), covered);
            }
        }
        QVERIFY(form.children().indexOf(child<QComboBox>(form, "monthPicker")) >
                form.children().indexOf(calendarOf(form)));
    }

    // Where the text fits, the designed face and centring; where it does not, a smaller size
    // of the same face, inside the window.
    void dayTextStaysInsideTheWindow()
    {
        Program program(at(2026, 12, 7));
        CalendarWindow& form = openCalendar(program);
        const QLabel* label = dayTextOf(form);
        const QFont designed = timesNewRoman(18, true);
        QCOMPARE(label->font().pointSizeF(), designed.pointSizeF());
        QVERIFY(qAbs(2 * label->x() + label->width() - form.frameGeometry().width()) <= 1);

        showDate(form, QDate(2004, 5, 31));
        QCOMPARE(label->text(), u" 2004.05.31.   Pünkösdhétfő, Angéla, Petronella   ");
        QVERIFY(form.rect().contains(label->geometry()));
        QVERIFY(label->width() >= label->sizeHint().width());
        QCOMPARE(QFontInfo(label->font()).family(), QFontInfo(designed).family());
        QVERIFY(label->font().pointSizeF() < designed.pointSizeF());

        showDate(form, QDate(2004, 6, 1));
        QCOMPARE(label->font().pointSizeF(), designed.pointSizeF());
    }

    void todayButtonShowsOnlyAwayFromToday()
    {
        Program program(at(2026, 12, 7));
        CalendarWindow& form = openCalendar(program);
        auto* today = child<QPushButton>(form, "todayButton");
        QVERIFY(!today->isVisible());
        showDate(form, QDate(2004, 4, 11));
        QVERIFY(today->isVisible());
        QTest::mouseClick(today, Qt::LeftButton);
        QCOMPARE(calendarOf(form)->selectedDate(), QDate(2026, 12, 7));
        QCOMPARE(dayTextOf(form)->text(), u" 2026.12.07.   Ambrus   ");
        QVERIFY(!today->isVisible());
    }

    // The shown year, not the current one, goes to the file a user picks.
    void savesTheShownYearAsACalendarFile()
    {
        Program program(at(2026, 12, 7));
        CalendarWindow& form = openCalendar(program);
        showDate(form, QDate(2004, 2, 24));
        const QTemporaryDir folder;
        const QString path = folder.filePath(u"nevnapok.ics"_s);
        saveThroughTheMenu(form, path);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray text = saved.readAll();
        QCOMPARE(text.count("BEGIN:VEVENT"), 366);
        QVERIFY(text.contains(u"DTSTART;VALUE=DATE:20040224\r\nDTEND;VALUE=DATE:20040225\r\n"
                              "SUMMARY:Mátyás/szökőnap\r\n"_s.toUtf8()));
        QCOMPARE(calendarOf(form)->selectedDate(), QDate(2004, 2, 24));
    }

    void aFailedSaveIsSaidAndLeavesNoFile_data()
    {
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("details"); // the system's reason, in Hungarian first
        QTest::newRow("no permission")
            << false
            << u"A fájl nem hozható létre. Lehet, hogy a mappa nem létezik, vagy nincs joga írni "
               "bele."_s
            << u"Nincs ilyen fájl vagy mappa (No such file or directory)"_s;
        QTest::newRow("disk full") << true << u"A fájl nem írható ki. Lehet, hogy betelt a lemez."_s
                                   << u"A fájl túl nagy (File too large)"_s;
    }
    void aFailedSaveIsSaidAndLeavesNoFile()
    {
        QFETCH(bool, diskFull);
        QFETCH(QString, problem);
        QFETCH(QString, details);
        Program program(at(2026, 12, 7));
        CalendarWindow& form = openCalendar(program);
        const QTemporaryDir folder;
        // Not even root may make a file in /proc.
        const QString path =
            diskFull ? folder.filePath(u"nevnapok.ics"_s) : u"/proc/zorvat-nevnapok.ics"_s;
        QString said;
        const Answers::Answer readTheMessage = [&](QWidget* opened) {
            auto* message = qobject_cast<QMessageBox*>(opened);
            QVERIFY(message);
            said = message->text() + u'\n' + message->informativeText() + u'\n' +
                   message->detailedText();
            QTest::mouseClick(message->button(QMessageBox::Ok), Qt::LeftButton);
        };
        {
            std::optional<FullDisk> full;
            if (diskFull)
                full.emplace(4096);
            saveThroughTheMenu(form, path, {readTheMessage});
        }
        QCOMPARE(said, u"A névnapok naptárfájlja nem menthető ide:\n"_s + path + u'\n' + problem +
                           u'\n' + details);
        QVERIFY(!QFile::exists(path));
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    // Midnight makes the shown day yesterday, or the next day today.
    void todayButtonFollowsMidnight()
    {
        Program program(at(2026, 12, 7, 23, 59, 58));
        CalendarWindow& form = openCalendar(program);
        auto* today = child<QPushButton>(form, "todayButton");
        QVERIFY(!today->isVisible());
        program.clock.set(at(2026, 12, 8, 0, 0, 1));
        QTRY_VERIFY_WITH_TIMEOUT(today->isVisible(), 2500);
        QCOMPARE(dayTextOf(form)->text(), u" 2026.12.07.   Ambrus   ");

        clickDay(form, 8);
        QVERIFY(!today->isVisible());
        program.clock.set(at(2026, 12, 7, 12, 0)); // the clock set back a day
        QTRY_VERIFY_WITH_TIMEOUT(today->isVisible(), 2500);
    }
};

QTEST_MAIN(TestCalendarWindow)
#include "tst_calendarwindow.moc"
