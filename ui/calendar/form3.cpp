#include "ui/calendar/form3.h"

#include "core/entry.h"
#include "core/feasts.h"
#include "core/nametable.h"
#include "dates/clock.h"
#include "dates/datetexts.h"
#include "dates/texts.h"
#include "ui/calendar/monthcalendar.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/main/form1.h"
#include "ui/search/form2.h"
#include "ui/twips.h"
#include "ui/windows.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringBuilder>
#include <QTextCharFormat>
#include <QTimer>
#include <QToolButton>

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace {
constexpr int firstYear = 1900;
constexpr int lastYear = 2100;

constexpr std::array<QStringView, 13> honapnevek = {
    u"",       u"Január",    u"Február",    u"Március", u"Április",  u"Május",   u"Június",
    u"Július", u"Augusztus", u"Szeptember", u"Október", u"November", u"December"};

// In feast-number order: the list position is the feast number.
constexpr std::array<QStringView, allFeasts.size()> feastNames = {
    u"Húsvétvasárnap", u"Húsvéthétfő",   u"Pünkösdvasárnap", u"Pünkösdhétfő",
    u"Nagypéntek",     u"Hamvazószerda", u"Thanksgiving"};

constexpr QStringView feastPickerText = u"Változó Ünnepek";
} // namespace

Form3::Form3(Windows& windows)
    : m_windows(windows)
{
    setObjectName(u"Form3"_s);
    setWindowTitle(u"Kalendárium"_s);
    setFixedSize(twips(6495), twips(4545));
    // The layout is fixed in size, so the default font is the small one it was designed for.
    setFont(msSansSerif(8.25));
    createControls();
}

void Form3::createControls()
{
    createCalendar();
    m_kilep = addControl<QPushButton>(this, "kilep", twipsRect(120, 4080, 975, 375), u"Kilépés"_s);
    m_MaiNap =
        addControl<QPushButton>(this, "MaiNap", twipsRect(4200, 4080, 975, 375), u"Mai Nap"_s);
    m_Nevkeres = addControl<QPushButton>(this, "Nevkeres", twipsRect(5280, 4080, 1095, 375),
                                         u"Névkeresés"_s);
    m_combUnnepek = createPicker("combUnnepek", feastPickerText.toString(),
                                 twipsRect(1200, 4080, 2895, 315), timesNewRoman(8.25, true));
    for (QStringView feast : feastNames)
        m_combUnnepek->addItem(feast.toString());
    m_combUnnepek->setCurrentIndex(-1);
    m_combUnnepek->setEditText(feastPickerText.toString());
    m_comboYear =
        createPicker("comboYear", u"Ev"_s, twipsRect(5400, 130, 855, 315), msSansSerif(8.25, true));
    m_comboMonth = createPicker("comboMonth", u"honap"_s, twipsRect(3800, 130, 1380, 315),
                                msSansSerif(8.25, true));
    placePickersOnTitle();

    m_LabelZorvat =
        addControl<QLabel>(this, "LabelZorvat", twipsRect(2640, 3480, 1170, 450), u"zorvat"_s);
    makeNamePlate(m_LabelZorvat);

    // Screen readers announce each control by what it is for, not by the value it shows.
    m_Calendar1->setAccessibleName(u"Naptár"_s);
    m_kilep->setAccessibleName(u"Kilépés"_s);
    m_kilep->setAccessibleDescription(u"Bezárja a naptárat, és visszatér a főablakhoz"_s);
    m_MaiNap->setAccessibleName(u"Mai Nap"_s);
    m_MaiNap->setAccessibleDescription(u"A naptár a mai napra ugrik"_s);
    m_Nevkeres->setAccessibleName(u"Névkeresés"_s);
    m_Nevkeres->setAccessibleDescription(u"Megnyitja a névkeresőt"_s);
    m_combUnnepek->setAccessibleDescription(
        u"A naptár a választott ünnep napjára ugrik a mutatott évben"_s);
    // A picker hands its accessible focus to its text field, and on Linux and macOS Qt
    // announces the picker itself by its entry: the field carries the name as well.
    for (auto [picker, name] :
         {std::pair{m_combUnnepek, feastPickerText.toString()}, std::pair{m_comboYear, u"Év"_s},
          std::pair{m_comboMonth, u"Hónap"_s}}) {
        picker->setAccessibleName(name);
        picker->lineEdit()->setAccessibleName(name);
    }
    m_LabelZorvat->setAccessibleDescription(u"A naptárban kiválasztott nap névnapjai"_s);

    setTabOrder(m_Calendar1, m_kilep);
    setTabOrder(m_kilep, m_MaiNap);
    setTabOrder(m_MaiNap, m_Nevkeres);
    setTabOrder(m_Nevkeres, m_combUnnepek);
    setTabOrder(m_combUnnepek, m_comboYear);
    setTabOrder(m_comboYear, m_comboMonth);

    connect(m_Calendar1, &MonthCalendar::gotFocus, this, &Form3::Calendar1_GotFocus);
    connect(m_Calendar1, &MonthCalendar::clicked, this, &Form3::Calendar1_Click);
    connect(m_Calendar1, &MonthCalendar::keyDown, this, &Form3::Calendar1_KeyDown);
    connect(m_Calendar1, &MonthCalendar::newMonth, this, &Form3::Calendar1_NewMonth);
    // Only a pick from the list counts, never text typed into a picker's field.
    connect(m_comboMonth, &QComboBox::activated, this, &Form3::comboMonth_Click);
    connect(m_comboYear, &QComboBox::activated, this, &Form3::comboYear_Click);
    connect(m_combUnnepek, &QComboBox::activated, this, &Form3::combUnnepek_Click);
    m_combUnnepek->installEventFilter(this);
    connect(m_kilep, &QPushButton::clicked, this, &Form3::kilep_Click);
    connect(m_MaiNap, &QPushButton::clicked, this, &Form3::MaiNap_Click);
    connect(m_Nevkeres, &QPushButton::clicked, this, &Form3::Nevkeres_Click);
    // Whatever moves the date, from code or by the user, the text below follows it.
    connect(m_Calendar1, &QCalendarWidget::selectionChanged, this, &Form3::txtzorvat);

    // Midnight may make the shown day today, or no longer today.
    m_todayWatch = new QTimer(this);
    m_todayWatch->setInterval(1000);
    connect(m_todayWatch, &QTimer::timeout, this, &Form3::showTodayButtonAwayFromToday);
}

void Form3::createCalendar()
{
    m_Calendar1 = addControl<MonthCalendar>(this, "Calendar1", twipsRect(0, 0, 6375, 3495));
    m_Calendar1->setDateRange(QDate(firstYear, 1, 1), QDate(lastYear, 12, 31));
    m_Calendar1->setLocale(hungarian());
    m_Calendar1->setFirstDayOfWeek(Qt::Monday);
    m_Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_Calendar1->setGridVisible(true);
    m_Calendar1->setFont(arial(8.25));
    m_Calendar1->setSelectedDate(QDate(2002, 12, 14)); // the load step moves it to today

    // Button-face background, dark blue days and title, black day names.
    QPalette colours = m_Calendar1->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    colours.setColor(QPalette::AlternateBase, colours.color(QPalette::Button));
    for (auto group : {QPalette::Active, QPalette::Inactive}) // other months stay grey
        colours.setColor(group, QPalette::Text, QColor(0, 0, 160));
    m_Calendar1->setPalette(colours);
    // The title band paints itself in the highlight colours.
    QWidget* title = m_Calendar1->titleBand();
    QPalette titleColours = title->palette();
    titleColours.setColor(QPalette::Highlight, colours.color(QPalette::Button));
    titleColours.setColor(QPalette::HighlightedText, QColor(0, 0, 160));
    title->setPalette(titleColours);
    title->setFont(arial(12, true));
    for (auto* button : title->findChildren<QToolButton*>()) // they carry a font of their own
        button->setFont(title->font());
    QTextCharFormat dayNames;
    dayNames.setForeground(Qt::black);
    dayNames.setFont(arial(8.25, true));
    m_Calendar1->setHeaderTextFormat(dayNames);
    // Weekends in the same colour as the other days: red is for the text below.
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        m_Calendar1->setWeekdayTextFormat(Qt::DayOfWeek(day), QTextCharFormat());
}

// The month and year pickers lie over the right of the calendar's title band. The band's
// own month and year move left to make room, and its next-month arrow stays uncovered.
void Form3::placePickersOnTitle()
{
    // As high as the pickers with the same margin below them as above.
    m_Calendar1->titleBand()->setMinimumHeight(2 * m_comboMonth->y() + m_comboMonth->height());
    const int arrowGap = twips(30);
    const QRect free = m_Calendar1->reserveTitleSpace(m_comboYear->geometry().right() -
                                                      m_comboMonth->x() + 1 + arrowGap);
    const int shift = free.right() - arrowGap - m_comboYear->geometry().right();
    for (QComboBox* picker : {m_comboMonth, m_comboYear})
        picker->move(picker->x() + shift, picker->y());
}

QComboBox* Form3::createPicker(const char* name, const QString& text, QRect geometry,
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

void Form3::Form_Load()
{
    move(m_windows.form1().pos());

    // Selecting the current year and month moves the calendar there, keeping its day,
    // so the stored date's year never reaches the name table.
    QStringList years;
    for (int year = firstYear; year <= lastYear; ++year)
        years << numberText(year);
    m_comboYear->addItems(years);
    const int year = today().year();
    if (year >= firstYear && year <= lastYear) {
        m_comboYear->setCurrentIndex(year - firstYear);
        comboYear_Click();
    } else {
        m_comboYear->setCurrentIndex(-1);
        m_comboYear->setEditText(u"Ev"_s);
    }

    for (int month = 1; month <= 12; ++month)
        m_comboMonth->addItem(honapnevek[month].toString());
    m_comboMonth->setCurrentIndex(today().month() - 1);
    comboMonth_Click();

    txtzorvat();
}

void Form3::txtzorvat()
{
    const QDate value = m_Calendar1->selectedDate();
    const QString entry = entryOn(value);
    const bool red = isMarkedHoliday(entry) || value.dayOfWeek() == Qt::Sunday;

    setTextColour(m_LabelZorvat, red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    // The red of Sundays and holidays is said in words as well.
    showOnNamePlate(m_LabelZorvat, timesNewRoman(18, true), dayText(value, entry),
                    red ? u"piros betűs nap"_s : QString());
    showTodayButtonAwayFromToday();
    showShownMonthInPickers();
}

void Form3::showTodayButtonAwayFromToday()
{
    m_MaiNap->setVisible(today() != m_Calendar1->selectedDate());
}

// A picked month that lacks the day rolls over into the next month, so the pickers are
// set back to what the calendar shows. While loading, the month list is still empty.
void Form3::showShownMonthInPickers()
{
    const QDate value = m_Calendar1->selectedDate();
    if (m_comboMonth->count() > 0)
        m_comboMonth->setCurrentIndex(value.month() - 1);
    m_comboYear->setCurrentIndex(value.year() - firstYear);
}

void Form3::Calendar1_GotFocus()
{
    txtzorvat();
}

void Form3::Calendar1_Click()
{
    txtzorvat();
}

void Form3::Calendar1_KeyDown()
{
    txtzorvat();
}

void Form3::Calendar1_NewMonth()
{
    txtzorvat();
}

void Form3::comboMonth_Click()
{
    const QDate value = m_Calendar1->selectedDate();
    m_Calendar1->setSelectedDate(
        dateSerial(value.year(), m_comboMonth->currentIndex() + 1, value.day()));
    txtzorvat();
}

void Form3::comboYear_Click()
{
    const QDate value = m_Calendar1->selectedDate();
    const int year = firstYear + m_comboYear->currentIndex();
    m_Calendar1->setSelectedDate(dateSerial(year, value.month(), value.day()));
    txtzorvat();
}

void Form3::combUnnepek_Click()
{
    const int feast = m_combUnnepek->currentIndex();
    if (feast < 0)
        return;
    const int year = m_Calendar1->selectedDate().year();
    m_Calendar1->setSelectedDate(feastDate(Feast(feast), year));
    txtzorvat();
}

void Form3::combUnnepek_LostFocus()
{
    m_combUnnepek->setCurrentIndex(-1);
    m_combUnnepek->setEditText(feastPickerText.toString());
}

void Form3::MaiNap_Click()
{
    m_Calendar1->setSelectedDate(today());
    Calendar1_GotFocus();
}

void Form3::Nevkeres_Click()
{
    m_Nevkeres->hide();
    m_windows.form1().hide();
    showInFront(&m_windows.form2());
}

void Form3::kilep_Click()
{
    m_Calendar1->setSelectedDate(today());
    txtzorvat();
    hide();
    m_windows.form1().show();
}

void Form3::setValue(const QDate& date)
{
    m_Calendar1->setSelectedDate(date);
    txtzorvat(); // also when the date stays: today may have changed
}

void Form3::setSearchButtonVisible(bool visible)
{
    m_Nevkeres->setVisible(visible);
}

bool Form3::eventFilter(QObject* watched, QEvent* event)
{
    // Opening the drop-down list moves the focus to the list, which is not leaving the picker.
    if (watched == m_combUnnepek && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        combUnnepek_LostFocus();
    return QWidget::eventFilter(watched, event);
}

void Form3::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The calendar is the first tab stop and takes the focus whenever the window is shown;
    // the text is refreshed also where the window manager does not activate the window.
    m_Calendar1->setFocus();
    Calendar1_GotFocus();
    m_todayWatch->start();
}

void Form3::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_todayWatch->stop();
}

void Form3::closeEvent(QCloseEvent* event)
{
    kilep_Click();
    event->accept();
}
