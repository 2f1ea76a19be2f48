#include "support/calendargrid.h"
#include "support/program.h"
#include "ui/calendar/calendarwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/search/searchwindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QString spoken(QWidget* widget, QAccessible::Text what = QAccessible::Name)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    if (!face)
        qFatal("%s has no accessible interface", qPrintable(widget->objectName()));
    return face->text(what);
}

// What a user can read or reach: labels, buttons, pickers and the calendar, and every
// other widget that takes the focus itself instead of handing it on.
bool readableOrReachable(const QWidget* widget)
{
    if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
        qobject_cast<const QComboBox*>(widget) || qobject_cast<const QCalendarWidget*>(widget) ||
        qobject_cast<const QAbstractItemView*>(widget))
        return true;
    return (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy();
}

// What a control shows as its own caption: a button's or a label's text, as it reads.
QString caption(const QWidget* widget)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text().remove(u'&').simplified();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text().simplified();
    return {};
}

// The widget that holds the keyboard focus when the control has it.
QWidget* focusTaker(QWidget* control)
{
    while (control->focusProxy())
        control = control->focusProxy();
    return control;
}

// The program started by a user, with one window open the way a user opens it.
struct Session : Program
{
    explicit Session(const QDateTime& start)
        : Program(start)
    {
        windows.mainWindow().show();
        if (!QTest::qWaitForWindowActive(&windows.mainWindow()))
            qFatal("the main window did not become active");
    }

    QWidget& open(const QString& window)
    {
        QWidget* shown = &windows.mainWindow();
        if (window == u"search") {
            QTest::mouseClick(child<QPushButton>(windows.mainWindow(), "searchButton"),
                              Qt::LeftButton);
            shown = &windows.searchWindow();
        } else if (window.startsWith(u"calendar")) {
            QTest::mouseClick(child<QPushButton>(windows.mainWindow(), "calendarButton"),
                              Qt::LeftButton);
            shown = &windows.calendarWindow();
        } else if (window != u"main") {
            qFatal("unknown window %s", qPrintable(window));
        }
        // A tool window counts as active as soon as the window it belongs to is, before it
        // takes the keys: wait until it has them.
        if (!QTest::qWaitFor([shown] { return QApplication::activeWindow() == shown; }))
            qFatal("the %s window did not become active", qPrintable(window));
        if (window == u"calendar away from today")
            clickDay(windows.calendarWindow(), 20);
        if (window == u"calendar with the year field open")
            QTest::mouseClick(child<QWidget>(windows.calendarWindow(), "qt_calendar_yearbutton"),
                              Qt::LeftButton);
        return *shown;
    }
};
} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlHasAName_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("main") << u"main"_s << QStringList{u"exitButton"_s,     u"dateBox"_s,
                                                          u"clockBox"_s,       u"searchButton"_s,
                                                          u"calendarButton"_s, u"todayNames"_s,
                                                          u"theirDayLabel"_s,  u"tomorrowLabel"_s,
                                                          u"tomorrowNames"_s,  u"willBeLabel"_s};
        QTest::newRow("search") << u"search"_s
                                << QStringList{u"queryBox"_s, u"promptLabel"_s, u"firstMatchBox"_s,
                                               u"foundDaysBox"_s, u"exitButton"_s};
        const QStringList calendar{u"calendar"_s,
                                   u"qt_calendar_calendarview"_s,
                                   u"qt_calendar_prevmonth"_s,
                                   u"qt_calendar_nextmonth"_s,
                                   u"qt_calendar_monthbutton"_s,
                                   u"monthPicker"_s,
                                   u"yearPicker"_s,
                                   u"dayText"_s,
                                   u"exitButton"_s,
                                   u"feastPicker"_s,
                                   u"searchButton"_s};
        QTest::newRow("calendar") << u"calendar"_s
                                  << (QStringList(calendar) << u"qt_calendar_yearbutton"_s);
        QTest::newRow("calendar away from today")
            << u"calendar away from today"_s
            << (QStringList(calendar) << u"qt_calendar_yearbutton"_s << u"todayButton"_s);
        // The year button gives way to a field for typing the year.
        QTest::newRow("calendar with the year field open")
            << u"calendar with the year field open"_s
            << (QStringList(calendar) << u"qt_calendar_yearedit"_s);
    }
    // Every control has a name, and one with a caption is announced by a name that begins
    // with the caption, so that a voice-control user can say what they see.
    void everyControlHasAName()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, controls);
        Session session(at(2004, 4, 8));
        QWidget& shown = session.open(window);
        QStringList checked;
        for (QWidget* widget : shown.findChildren<QWidget*>()) {
            if (!widget->isVisible() || !readableOrReachable(widget))
                continue;
            const QString name = widget->objectName().isEmpty()
                                     ? QString::fromLatin1(widget->metaObject()->className())
                                     : widget->objectName();
            QVERIFY2(!spoken(widget).trimmed().isEmpty(), qPrintable(name));
            QVERIFY2(spoken(widget).startsWith(caption(widget)),
                     qPrintable(name + u": \""_s + spoken(widget) + u"\""_s));
            checked << name;
        }
        for (const QString& control : controls)
            QVERIFY2(checked.contains(control), qPrintable(control + u" was not checked"_s));
    }

    // Buttons whose captions are English are announced in Hungarian after the caption.
    void englishCaptionsAreAnnouncedInHungarian_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::newRow("EXIT") << u"main"_s << QByteArray("exitButton") << u"EXIT"_s
                              << u"EXIT – kilépés"_s;
        QTest::newRow("Calendarium") << u"main"_s << QByteArray("calendarButton")
                                     << u"Calendarium"_s << u"Calendarium – naptár"_s;
        QTest::newRow("Exit") << u"search"_s << QByteArray("exitButton") << u"Exit"_s
                              << u"Exit – kilépés"_s;
    }
    void englishCaptionsAreAnnouncedInHungarian()
    {
        QFETCH(QString, window);
        QFETCH(QByteArray, button);
        QFETCH(QString, caption);
        QFETCH(QString, name);
        Session session(at(2004, 4, 8));
        auto* control = child<QPushButton>(session.open(window), button.constData());
        QCOMPARE(control->text(), caption);
        QCOMPARE(spoken(control), name);
    }

    // A picker is announced by what it picks, wherever a screen reader reads it: the picker
    // itself names its entry on Linux, so its text field, which holds the accessible focus,
    // says what the entry is.
    void pickersAreNamedForWhatTheyPick_data()
    {
        QTest::addColumn<QByteArray>("picker");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("year") << QByteArray("yearPicker") << 126 << u"Év"_s << u" 2026"_s;
        QTest::newRow("month") << QByteArray("monthPicker") << 11 << u"Hónap"_s << u"December"_s;
        QTest::newRow("feasts") << QByteArray("feastPicker") << 0 << u"Változó Ünnepek"_s
                                << u"Húsvétvasárnap"_s;
    }
    void pickersAreNamedForWhatTheyPick()
    {
        QFETCH(QByteArray, picker);
        QFETCH(int, entry);
        QFETCH(QString, name);
        QFETCH(QString, value);
        Session session(at(2004, 4, 8));
        auto* control = child<QComboBox>(session.open(u"calendar"_s), picker.constData());
        pick(control, entry);
        QCOMPARE(control->currentText(), value);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
        QCOMPARE(face->text(QAccessible::Value), value);
        QAccessibleInterface* field = face->focusChild();
        QVERIFY(field);
        QCOMPARE(field->object(), control->lineEdit());
        QCOMPARE(field->text(QAccessible::Name), name);
        QCOMPARE(field->text(QAccessible::Value), value);
    }

    void nameLabelsAreDescribed_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QByteArray>("label");
        QTest::newRow("today") << u"main"_s << QByteArray("todayNames");
        QTest::newRow("tomorrow") << u"main"_s << QByteArray("tomorrowNames");
        QTest::newRow("calendar day") << u"calendar"_s << QByteArray("dayText");
    }
    void nameLabelsAreDescribed()
    {
        QFETCH(QString, window);
        QFETCH(QByteArray, label);
        Session session(at(2004, 4, 8));
        auto* control = child<QLabel>(session.open(window), label.constData());
        QVERIFY(!spoken(control, QAccessible::Description).trimmed().isEmpty());
    }

    void mainWindowAnnouncesTodayAndTomorrow_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("today");
        QTest::addColumn<QString>("tomorrow");
        QTest::newRow("plain day") << at(2004, 4, 8) << u"Dénes"_s << u"Nagypéntek, Erhard"_s;
        QTest::newRow("holiday marker left out")
            << at(2004, 3, 15) << u"NEMZETI ÜNNEP, Kristóf"_s << u"Henrietta"_s;
        QTest::newRow("last day of the year")
            << at(2004, 12, 31) << u"Szilveszter"_s << u"ÚJéV, Fruzsina"_s;
    }
    void mainWindowAnnouncesTodayAndTomorrow()
    {
        QFETCH(QDateTime, start);
        QFETCH(QString, today);
        QFETCH(QString, tomorrow);
        Session session(start);
        const MainWindow& form = session.windows.mainWindow();
        QCOMPARE(spoken(child<QLabel>(form, "todayNames")), today + u" – mai névnap"_s);
        QCOMPARE(spoken(child<QLabel>(form, "tomorrowNames")), tomorrow + u" – holnapi névnap"_s);
    }

    void announcementsFollowTheDay()
    {
        Session session(at(2004, 4, 7, 23, 59, 59));
        MainWindow& form = session.windows.mainWindow();
        auto* today = child<QLabel>(form, "todayNames");
        auto* tomorrow = child<QLabel>(form, "tomorrowNames");
        form.tick();
        QCOMPARE(spoken(today), u"Herman – mai névnap"_s);
        QCOMPARE(spoken(tomorrow), u"Dénes – holnapi névnap"_s);
        session.clock.advance(1);
        form.tick();
        QCOMPARE(spoken(today), u"Dénes – mai névnap"_s);
        QCOMPARE(spoken(tomorrow), u"Nagypéntek, Erhard – holnapi névnap"_s);
        // Set back, the clock is followed as well.
        session.clock.set(at(2004, 4, 1));
        form.tick();
        QCOMPARE(spoken(today), u"Hugó – mai névnap"_s);
        QCOMPARE(spoken(tomorrow), u"Áron – holnapi névnap"_s);
    }

    // The names are only labels, which never take the focus: the window itself says the
    // sentence round them, in the order it reads, whenever the day changes.
    void mainWindowSaysTheSentence_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("plain day")
            << at(2004, 4, 8) << u"Dénes napja van! Holnap Nagypéntek, Erhard lesz!!"_s;
        QTest::newRow("holiday marker left out")
            << at(2004, 3, 15) << u"NEMZETI ÜNNEP, Kristóf napja van! Holnap Henrietta lesz!!"_s;
        QTest::newRow("last day of the year")
            << at(2004, 12, 31) << u"Szilveszter napja van! Holnap ÚJéV, Fruzsina lesz!!"_s;
        QTest::newRow("leap day tomorrow")
            << at(2004, 2, 28) << u"Elemér/Ákos napja van! Holnap Elemér lesz!!"_s;
    }
    void mainWindowSaysTheSentence()
    {
        QFETCH(QDateTime, start);
        QFETCH(QString, sentence);
        Session session(start);
        QCOMPARE(spoken(&session.windows.mainWindow(), QAccessible::Description), sentence);
    }

    void sentenceFollowsTheDay()
    {
        Session session(at(2004, 4, 7, 23, 59, 59));
        MainWindow& form = session.windows.mainWindow();
        form.tick();
        QCOMPARE(spoken(&form, QAccessible::Description),
                 u"Herman napja van! Holnap Dénes lesz!!"_s);
        session.clock.advance(1);
        form.tick();
        QCOMPARE(spoken(&form, QAccessible::Description),
                 u"Dénes napja van! Holnap Nagypéntek, Erhard lesz!!"_s);
    }

    // A reader going through the window hears its controls as the window reads, top to bottom.
    void mainWindowReadsInOrder()
    {
        Session session(at(2004, 4, 8));
        QAccessibleInterface* window =
            QAccessible::queryAccessibleInterface(&session.windows.mainWindow());
        QStringList heard;
        for (int index = 0; index < window->childCount(); ++index)
            heard << window->child(index)->text(QAccessible::Name);
        QCOMPARE(
            heard,
            QStringList({u"Mai dátum"_s, u"Pontos idő"_s, u"Dénes – mai névnap"_s, u"napja van!"_s,
                         u"Holnap"_s, u"Nagypéntek, Erhard – holnapi névnap"_s, u"lesz!!"_s,
                         u"EXIT – kilépés"_s, u"Calendarium – naptár"_s, u"Névkeresés"_s}));
    }

    // Moving through the grid with the arrows, the calendar and its grid, which has the focus,
    // tell the picked day's names.
    void calendarDescribesThePickedDay()
    {
        Session session(at(2004, 4, 8));
        auto& form = static_cast<CalendarWindow&>(session.open(u"calendar"_s));
        QWidget* grid = gridOf(form);
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(spoken(grid, QAccessible::Description), u"2004.04.08. Dénes"_s);
        const QList<std::pair<Qt::Key, QString>> steps{
            {Qt::Key_Right, u"2004.04.09. Nagypéntek, Erhard"_s},
            {Qt::Key_Right, u"2004.04.10. Zsolt"_s},
            {Qt::Key_Right, u"2004.04.11. Húsvét, Leó, Szaniszló – piros betűs nap"_s},
            {Qt::Key_Down, u"2004.04.18. Andrea, Ilma – piros betűs nap"_s},
            {Qt::Key_Left, u"2004.04.17. Rudolf"_s},
        };
        for (const auto& [key, description] : steps) {
            QTest::keyClick(grid, key);
            QCOMPARE(spoken(grid, QAccessible::Description), description);
            QCOMPARE(spoken(child<QWidget>(form, "calendar"), QAccessible::Description),
                     description);
        }
    }

    // The calendar's day text is announced as it reads, and its red is said in words.
    void calendarAnnouncesThePickedDay_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("name");
        QTest::newRow("weekday") << 9 << u"2004.04.09. Nagypéntek, Erhard"_s;
        QTest::newRow("Sunday") << 18 << u"2004.04.18. Andrea, Ilma – piros betűs nap"_s;
        QTest::newRow("holiday on a Monday")
            << 12 << u"2004.04.12. Húsvéthétfő, Gyula – piros betűs nap"_s;
        QTest::newRow("holiday on a Sunday")
            << 11 << u"2004.04.11. Húsvét, Leó, Szaniszló – piros betűs nap"_s;
    }
    void calendarAnnouncesThePickedDay()
    {
        QFETCH(int, day);
        QFETCH(QString, name);
        Session session(at(2004, 4, 8));
        auto& form = static_cast<CalendarWindow&>(session.open(u"calendar"_s));
        auto* label = child<QLabel>(form, "dayText");
        QCOMPARE(spoken(label), u"2004.04.08. Dénes"_s);
        clickDay(form, day);
        QCOMPARE(spoken(label), name);
        QTest::mouseClick(child<QPushButton>(form, "todayButton"), Qt::LeftButton);
        QCOMPARE(spoken(label), u"2004.04.08. Dénes"_s);
    }

    // Return or Enter on a focused button presses it in every window, as Space does.
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<int>("key");
        const QList<std::pair<QString, QByteArray>> buttons{
            {u"main"_s, "exitButton"},       {u"main"_s, "searchButton"},
            {u"main"_s, "calendarButton"},   {u"search"_s, "exitButton"},
            {u"calendar"_s, "exitButton"},   {u"calendar away from today"_s, "todayButton"},
            {u"calendar"_s, "searchButton"},
        };
        for (const auto& [window, button] : buttons)
            for (auto [key, name] :
                 {std::pair{Qt::Key_Return, "Return"}, std::pair{Qt::Key_Enter, "keypad Enter"}})
                QTest::addRow("%s %s, %s", qPrintable(window), button.constData(), name)
                    << window << button << int(key);
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, window);
        QFETCH(QByteArray, button);
        QFETCH(int, key);
        Session session(at(2004, 4, 8));
        QWidget& shown = session.open(window);
        auto* control = child<QPushButton>(shown, button.constData());
        control->setFocus(Qt::TabFocusReason);
        QSignalSpy pressed(control, &QPushButton::clicked);
        QSignalSpy ended(&session.windows, &Windows::ended);
        QTest::keyClick(control, Qt::Key(key));
        QCOMPARE(pressed.count(), 1);
        // Only "EXIT" ends the program.
        QCOMPARE(ended.count(), int(window == u"main" && button == "exitButton"));
    }

    // Escape leaves the search and the calendar as their exit buttons do, from every control.
    void escapeLeavesTheWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QByteArray>("control");
        for (const char* control : {"queryBox", "firstMatchBox", "foundDaysBox", "exitButton"})
            QTest::addRow("search, %s", control) << u"search"_s << QByteArray(control);
        for (const char* control : {"qt_calendar_calendarview", "exitButton", "searchButton",
                                    "feastPicker", "yearPicker", "monthPicker"})
            QTest::addRow("calendar, %s", control)
                << u"calendar away from today"_s << QByteArray(control);
    }
    void escapeLeavesTheWindow()
    {
        QFETCH(QString, window);
        QFETCH(QByteArray, control);
        Session session(at(2004, 4, 8));
        QWidget& shown = session.open(window);
        QWidget* target = focusTaker(child<QWidget>(shown, control.constData()));
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, Qt::Key_Escape);
        QVERIFY(!shown.isVisible());
        MainWindow& main = session.windows.mainWindow();
        QVERIFY(main.isVisible());
        QVERIFY(child<QPushButton>(main, "searchButton")->isVisibleTo(&main));
        if (window != u"search")
            QCOMPARE(child<QCalendarWidget>(shown, "calendar")->selectedDate(), QDate(2004, 4, 8));
    }

    // An open list or the calendar's year field takes Escape first; the next one leaves.
    void escapeClosesWhatIsOpenFirst_data()
    {
        QTest::addColumn<QString>("opened");
        QTest::newRow("feast list") << u"feastPicker"_s;
        QTest::newRow("year list") << u"yearPicker"_s;
        QTest::newRow("year field") << u"qt_calendar_yearbutton"_s;
    }
    void escapeClosesWhatIsOpenFirst()
    {
        QFETCH(QString, opened);
        Session session(at(2004, 4, 8));
        auto& form = static_cast<CalendarWindow&>(session.open(u"calendar"_s));
        QWidget* open = nullptr;
        if (auto* picker = form.findChild<QComboBox*>(opened)) {
            picker->showPopup();
            open = picker->view();
        } else {
            QTest::mouseClick(child<QWidget>(form, qPrintable(opened)), Qt::LeftButton);
            open = child<QWidget>(form, "qt_calendar_yearedit");
        }
        QTRY_VERIFY(open->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!open->isVisible());
        QVERIFY(form.isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!form.isVisible());
    }

    // Tab goes round the window's controls in their designed order, Shift+Tab back.
    void tabOrder_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("main") << u"main"_s
                              << QStringList{u"exitButton"_s, u"dateBox"_s, u"clockBox"_s,
                                             u"searchButton"_s, u"calendarButton"_s};
        QTest::newRow("search") << u"search"_s
                                << QStringList{u"queryBox"_s, u"firstMatchBox"_s, u"foundDaysBox"_s,
                                               u"exitButton"_s};
        QTest::newRow("calendar on today")
            << u"calendar"_s << QStringList{u"calendar"_s,    u"exitButton"_s, u"searchButton"_s,
                                            u"feastPicker"_s, u"yearPicker"_s, u"monthPicker"_s};
        QTest::newRow("calendar away from today")
            << u"calendar away from today"_s
            << QStringList{u"calendar"_s,    u"exitButton"_s, u"todayButton"_s, u"searchButton"_s,
                           u"feastPicker"_s, u"yearPicker"_s, u"monthPicker"_s};
    }
    void tabOrder()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, order);
        Session session(at(2004, 4, 8));
        QWidget& shown = session.open(window);
        QList<QWidget*> stops;
        for (const QString& name : order)
            stops << focusTaker(child<QWidget>(shown, qPrintable(name)));
        QCOMPARE(QApplication::focusWidget(), stops.first());
        for (qsizetype step = 1; step <= stops.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() == stops.at(step % stops.size()),
                     qPrintable(u"Tab to "_s + order.at(step % stops.size())));
        }
        for (qsizetype step = stops.size() - 1; step >= 0; --step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QVERIFY2(QApplication::focusWidget() == stops.at(step),
                     qPrintable(u"Shift+Tab to "_s + order.at(step)));
        }
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
