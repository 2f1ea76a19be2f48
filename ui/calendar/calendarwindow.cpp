#include "ui/calendar/calendarwindow.h"

#include "core/calendarrange.h"
#include "core/feasts.h"
#include "core/icalendar.h"
#include "core/nametable.h"
#include "dates/clock.h"
#include "dates/datetexts.h"
#include "dates/texts.h"
#include "system/outputfile.h"
#include "ui/calendar/monthcalendar.h"
#include "ui/controls/controls.h"
#include "ui/controls/fonts.h"
#include "ui/controls/twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringBuilder>
#include <QStyle>
#include <QStyleFactory>
#include <QTextCharFormat>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace {
// The feast picker names the two Sundays in full, the other feasts by their titles.
QString feastName(Feast feast)
{
    if (feast == Feast::EasterSunday)
        return u"Húsvétvasárnap"_s;
    if (feast == Feast::PentecostSunday)
        return u"Pünkösdvasárnap"_s;
    return feastTitle(feast).toString();
}

constexpr QStringView feastPickerText = u"Változó Ünnepek";

// Button-face background, dark blue days and title, black day names. The grid keeps these on
// every theme, so none of its colours follows the theme: the design's dark blue on a dark
// theme's grey could not be read. The rest is Qt's standard light scheme, with the other
// months' days dark enough to read and the selected day white on the dark blue.
QPalette calendarColours()
{
    const std::unique_ptr<QStyle> standard(QStyleFactory::create(u"Fusion"_s));
    QPalette colours = standard->standardPalette();
    const QColor buttonFace = colours.color(QPalette::Active, QPalette::Button);
    const QColor darkBlue(0, 0, 160);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase})
            colours.setColor(group, role, buttonFace);
        colours.setColor(group, QPalette::Text, darkBlue);
        colours.setColor(group, QPalette::Highlight, darkBlue);
        colours.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    colours.setColor(QPalette::Disabled, QPalette::Text, QColor(0x48, 0x48, 0x48));
    return colours;
}
} // namespace

CalendarWindow::CalendarWindow()
{
    setObjectName(u"calendarWindow"_s);
    setWindowTitle(u"Kalendárium"_s);
    setFixedSize(twips(6495), twips(4545));
    // The layout is fixed in size, so the default font is the small one it was designed for.
    setFont(msSansSerif(8.25));
    createControls();
}

void CalendarWindow::createControls()
{
    createCalendar();
    m_exitButton =
        addControl<QPushButton>(this, "exitButton", twipsRect(120, 4080, 975, 375), u"Kilépés"_s);
    m_todayButton =
        addControl<QPushButton>(this, "todayButton", twipsRect(4200, 4080, 975, 375), u"Mai Nap"_s);
    m_searchButton = addControl<QPushButton>(this, "searchButton", twipsRect(5280, 4080, 1095, 375),
                                             u"Névkeresés"_s);
    m_feastPicker = createPicker("feastPicker", feastPickerText.toString(),
                                 twipsRect(1200, 4080, 2895, 315), timesNewRoman(8.25, true));
    for (Feast feast : allFeasts)
        m_feastPicker->addItem(feastName(feast), QVariant::fromValue(feast));
    m_feastPicker->setCurrentIndex(-1);
    m_feastPicker->setEditText(feastPickerText.toString());
    m_yearPicker = createPicker("yearPicker", u"Ev"_s, twipsRect(5400, 130, 855, 315),
                                msSansSerif(8.25, true));
    m_monthPicker = createPicker("monthPicker", u"honap"_s, twipsRect(3800, 130, 1380, 315),
                                 msSansSerif(8.25, true));
    placePickersOnTitle();

    m_dayText = addControl<QLabel>(this, "dayText", twipsRect(2640, 3480, 1170, 450));
    makeNamePlate(m_dayText);

    // Screen readers announce each control by what it is for, not by the value it shows.
    m_calendar->setAccessibleName(u"Naptár"_s);
    m_exitButton->setAccessibleName(u"Kilépés"_s);
    m_exitButton->setAccessibleDescription(u"Bezárja a naptárat, és visszatér a főablakhoz"_s);
    m_todayButton->setAccessibleName(u"Mai Nap"_s);
    m_todayButton->setAccessibleDescription(u"A naptár a mai napra ugrik"_s);
    m_searchButton->setAccessibleName(u"Névkeresés"_s);
    m_searchButton->setAccessibleDescription(u"Megnyitja a névkeresőt"_s);
    m_feastPicker->setAccessibleDescription(
        u"A naptár a választott ünnep napjára ugrik a mutatott évben"_s);
    // A picker hands its accessible focus to its text field, and on Linux and macOS Qt
    // announces the picker itself by its entry: the field carries the name as well.
    for (auto [picker, name] :
         {std::pair{m_feastPicker, feastPickerText.toString()}, std::pair{m_yearPicker, u"Év"_s},
          std::pair{m_monthPicker, u"Hónap"_s}}) {
        picker->setAccessibleName(name);
        picker->lineEdit()->setAccessibleName(name);
    }
    m_dayText->setAccessibleDescription(u"A naptárban kiválasztott nap névnapjai"_s);

    setTabOrder(m_calendar, m_exitButton);
    setTabOrder(m_exitButton, m_todayButton);
    setTabOrder(m_todayButton, m_searchButton);
    setTabOrder(m_searchButton, m_feastPicker);
    setTabOrder(m_feastPicker, m_yearPicker);
    setTabOrder(m_yearPicker, m_monthPicker);

    // Only a pick from the list counts, never text typed into a picker's field.
    connect(m_monthPicker, &QComboBox::activated, this, &CalendarWindow::monthPicked);
    connect(m_yearPicker, &QComboBox::activated, this, &CalendarWindow::yearPicked);
    connect(m_feastPicker, &QComboBox::activated, this, &CalendarWindow::feastPicked);
    m_feastPicker->installEventFilter(this);
    connect(m_exitButton, &QPushButton::clicked, this, &CalendarWindow::leaveRequested);
    connect(m_todayButton, &QPushButton::clicked, this, &CalendarWindow::goToToday);
    connect(m_searchButton, &QPushButton::clicked, this, &CalendarWindow::searchRequested);
    // Whatever moves the date, a click, a key, a turned page or a picker, the text follows it.
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &CalendarWindow::showSelectedDay);

    // Midnight may make the shown day today, or no longer today.
    m_todayWatch = new QTimer(this);
    m_todayWatch->setInterval(1000);
    connect(m_todayWatch, &QTimer::timeout, this, &CalendarWindow::showTodayButtonAwayFromToday);

    // A right click anywhere in the window, or Ctrl+S, saves the shown year for a calendar
    // application.
    auto* save = new QAction(u"Névnapok mentése naptárfájlba…"_s, this);
    save->setObjectName(u"saveAction"_s);
    save->setShortcut(QKeySequence::Save);
    addAction(save);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(save, &QAction::triggered, this, &CalendarWindow::saveShownYear);
}

void CalendarWindow::createCalendar()
{
    m_calendar = addControl<MonthCalendar>(this, "calendar", twipsRect(0, 0, 6375, 3495));
    m_calendar->setDateRange(firstCalendarDay(), lastCalendarDay());
    m_calendar->setLocale(hungarian());
    m_calendar->setFirstDayOfWeek(Qt::Monday);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setGridVisible(true);
    m_calendar->setFont(arial(8.25));
    m_calendar->setSelectedDate(QDate(2002, 12, 14)); // the load step moves it to today

    m_calendar->setPalette(calendarColours());
    // The title band paints itself in the highlight colours.
    if (QWidget* title = m_calendar->titleBand()) {
        QPalette titleColours = title->palette();
        titleColours.setColor(QPalette::Highlight, titleColours.color(QPalette::Button));
        titleColours.setColor(QPalette::HighlightedText, QColor(0, 0, 160));
        title->setPalette(titleColours);
        title->setFont(arial(12, true));
        for (auto* button : title->findChildren<QToolButton*>()) // they carry their own font
            button->setFont(title->font());
    }
    QTextCharFormat dayNames;
    dayNames.setForeground(Qt::black);
    dayNames.setFont(arial(8.25, true));
    m_calendar->setHeaderTextFormat(dayNames);
    // Weekends in the same colour as the other days: red is for the text below.
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        m_calendar->setWeekdayTextFormat(Qt::DayOfWeek(day), QTextCharFormat());
}

// The month and year pickers lie over the right of the calendar's title band. The band's
// own month and year move left to make room, and its next-month arrow stays uncovered.
// Where Qt's band cannot make room, the pickers keep their designed place.
void CalendarWindow::placePickersOnTitle()
{
    QWidget* band = m_calendar->titleBand();
    if (!band)
        return;
    // As high as the pickers with the same margin below them as above.
    band->setMinimumHeight(2 * m_monthPicker->y() + m_monthPicker->height());
    const int arrowGap = twips(30);
    const QRect free = m_calendar->reserveTitleSpace(m_yearPicker->geometry().right() -
                                                     m_monthPicker->x() + 1 + arrowGap);
    if (free.isEmpty())
        return;
    const int shift = free.right() - arrowGap - m_yearPicker->geometry().right();
    for (QComboBox* picker : {m_monthPicker, m_yearPicker})
        picker->move(picker->x() + shift, picker->y());
}

QComboBox* CalendarWindow::createPicker(const char* name, const QString& text, QRect geometry,
                                        const QFont& font)
{
    auto* picker = addControl<QComboBox>(this, name, geometry);
    picker->setEditable(true);
    picker->setInsertPolicy(QComboBox::NoInsert);
    picker->setCompleter(nullptr);
    // Only an entry picked from the list counts: without this, leaving the field with
    // an entry's exact text typed into it would pick that entry.
    disconnect(picker->lineEdit(), &QLineEdit::editingFinished, picker, nullptr);
    picker->setMaxVisibleItems(12);
    picker->setFont(font);
    picker->setEditText(text);
    return picker;
}

void CalendarWindow::load()
{
    // Picking the current year and month moves the calendar there, keeping its day. One
    // reading of the clock, so that the year and the month never straddle New Year.
    const QDate current = today();
    QStringList years;
    for (int year = firstCalendarYear; year <= lastCalendarYear; ++year)
        years << numberText(year);
    m_yearPicker->addItems(years);
    if (isInCalendarRange(current)) {
        m_yearPicker->setCurrentIndex(current.year() - firstCalendarYear);
        yearPicked();
    } else {
        m_yearPicker->setCurrentIndex(-1);
        m_yearPicker->setEditText(u"Ev"_s);
    }

    for (int month = 1; month <= 12; ++month) {
        QString name = monthName(month); // capitalised: "Január"
        name[0] = name[0].toUpper();
        m_monthPicker->addItem(name);
    }
    m_monthPicker->setCurrentIndex(current.month() - 1);
    monthPicked();
}

void CalendarWindow::showSelectedDay()
{
    const Day day = dayOn(m_calendar->selectedDate());
    setTextColour(m_dayText, day.red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    // The red of Sundays and holidays is said in words as well.
    showOnNamePlate(m_dayText, timesNewRoman(18, true), dayText(day),
                    day.red ? u"piros betűs nap"_s : QString());
    // Moving through the grid, a screen reader hears the day's names with the calendar.
    m_calendar->describe(m_dayText->accessibleName());
    showTodayButtonAwayFromToday();
    showShownMonthInPickers();
}

void CalendarWindow::showTodayButtonAwayFromToday()
{
    m_todayButton->setVisible(today() != m_calendar->selectedDate());
}

// A picked month that lacks the day rolls over into the next month, so the pickers are
// set back to what the calendar shows. While loading, the month list is still empty.
void CalendarWindow::showShownMonthInPickers()
{
    const QDate value = m_calendar->selectedDate();
    if (m_monthPicker->count() > 0)
        m_monthPicker->setCurrentIndex(value.month() - 1);
    m_yearPicker->setCurrentIndex(value.year() - firstCalendarYear);
}

void CalendarWindow::monthPicked()
{
    const QDate value = m_calendar->selectedDate();
    showDate(rolledOverDate(value.year(), m_monthPicker->currentIndex() + 1, value.day()));
}

void CalendarWindow::yearPicked()
{
    const QDate value = m_calendar->selectedDate();
    const int year = firstCalendarYear + m_yearPicker->currentIndex();
    showDate(rolledOverDate(year, value.month(), value.day()));
}

void CalendarWindow::feastPicked()
{
    const QVariant feast = m_feastPicker->currentData();
    if (!feast.isValid())
        return;
    const int year = m_calendar->selectedDate().year();
    showDate(feastDate(feast.value<Feast>(), year));
}

void CalendarWindow::resetFeastPicker()
{
    m_feastPicker->setCurrentIndex(-1);
    m_feastPicker->setEditText(feastPickerText.toString());
}

void CalendarWindow::goToToday()
{
    showDate(today());
}

void CalendarWindow::saveShownYear()
{
    const int year = m_calendar->selectedDate().year();
    QFileDialog chooser(this, u"Névnapok mentése naptárfájlba"_s,
                        QDir::home().filePath(u"nevnapok-%1.ics"_s.arg(year)),
                        u"Naptárfájl (*.ics);;Minden fájl (*)"_s);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(u"ics"_s);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    const QString path = chooser.selectedFiles().constFirst();

    // Written whole or not at all: an unfinished file is removed.
    OutputFile file(QFile::encodeName(path));
    QString problem;
    if (!file.open())
        problem = u"A fájl nem hozható létre. Lehet, hogy a mappa nem létezik, vagy nincs "
                  "joga írni bele."_s;
    else if (!writeNameDayCalendar(file, year, year, now()) || !file.commit())
        problem = u"A fájl nem írható ki. Lehet, hogy betelt a lemez."_s;
    if (problem.isEmpty())
        return;
    QMessageBox message(
        QMessageBox::Warning, u"Kalendárium"_s,
        u"A névnapok naptárfájlja nem menthető ide:\n%1"_s.arg(QDir::toNativeSeparators(path)),
        QMessageBox::Ok, this);
    message.setInformativeText(problem);
    message.setDetailedText(file.errorString());
    message.exec();
}

void CalendarWindow::showDate(const QDate& date)
{
    const QDate before = m_calendar->selectedDate();
    m_calendar->setSelectedDate(date); // a new date refreshes through selectionChanged
    if (m_calendar->selectedDate() == before)
        showSelectedDay(); // the pickers, and today may have changed
}

void CalendarWindow::setSearchButtonVisible(bool visible)
{
    m_searchButton->setVisible(visible);
}

bool CalendarWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Opening the drop-down list moves the focus to the list, which is not leaving the picker.
    if (watched == m_feastPicker && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        resetFeastPicker();
    return QWidget::eventFilter(watched, event);
}

void CalendarWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The calendar is the first tab stop and takes the focus whenever the window is shown.
    // The text is centred again now that the window has its frame.
    m_calendar->setFocus();
    showSelectedDay();
    m_todayWatch->start();
}

void CalendarWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_todayWatch->stop();
}

// Escape leaves the window as "Kilépés" does, once an open list or the year field has taken it.
void CalendarWindow::keyPressEvent(QKeyEvent* event)
{
    if (!pressFocusedButtonOrLeave(this, event, [this] { Q_EMIT leaveRequested(); }))
        QWidget::keyPressEvent(event);
}

void CalendarWindow::closeEvent(QCloseEvent* event)
{
    Q_EMIT leaveRequested();
    event->accept();
}
