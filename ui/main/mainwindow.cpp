#include "ui/main/mainwindow.h"

#include "core/day.h"
#include "dates/clock.h"
#include "dates/datetexts.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringBuilder>
#include <QTimer>

#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {
constexpr int pairGap = 120; // twips between the date box and the clock box

// The faces of the name plates where the names fit.
QFont todayFont()
{
    return impact(24);
}

QFont tomorrowFont()
{
    return timesNewRoman(18, true);
}
} // namespace

MainWindow::MainWindow()
{
    setObjectName(u"mainWindow"_s);
    setWindowTitle(u"Zorvat"_s);
    setFixedSize(twips(6465), twips(3450));
    // No text of the window uses its own font, but the date box is sized by it.
    setFont(timesNewRoman(20.25, true));
    createControls();
}

void MainWindow::createControls()
{
    m_calendarButton = createButton("calendarButton", u"Calendarium"_s,
                                    twipsRect(2160, 3000, 1815, 375), timesNewRoman(14.25, true));
    m_searchButton = createButton("searchButton", u"Névkeresés"_s, twipsRect(5280, 3000, 1095, 375),
                                  msSansSerif(8.25));
    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(u"clockTimer"_s);
    m_clockBox = createTextBox("clockBox", twipsRect(3840, 120, 975, 375));
    m_dateBox = createTextBox("dateBox", twipsRect(1320, 120, 2415, 375));
    m_exitButton =
        createButton("exitButton", u"EXIT"_s, twipsRect(120, 3000, 855, 375), msSansSerif(8.25));
    m_tomorrowNames =
        createLabel("tomorrowNames", QString(), twipsRect(2520, 2040, 1125, 450), tomorrowFont());
    m_todayNames =
        createLabel("todayNames", QString(), twipsRect(2160, 600, 1650, 645), todayFont());
    m_tomorrowLabel = createLabel("tomorrowLabel", u"Holnap"_s, twipsRect(2595, 1680, 825, 315),
                                  timesNewRoman(14.25));
    m_willBeLabel = createLabel("willBeLabel", u"lesz!!"_s, twipsRect(2760, 2640, 615, 315),
                                timesNewRoman(14.25));
    m_theirDayLabel = createLabel("theirDayLabel", u"napja van!"_s,
                                  twipsRect(2400, 1320, 1245, 330), timesNewRoman(15));

    // Screen readers announce each control by its caption, so that a voice-control user can
    // say what they see, and then in Hungarian what it is for.
    m_exitButton->setAccessibleName(u"EXIT – kilépés"_s);
    m_exitButton->setAccessibleDescription(u"Bezárja a programot"_s);
    m_searchButton->setAccessibleName(u"Névkeresés"_s);
    m_searchButton->setAccessibleDescription(u"Megnyitja a névkeresőt"_s);
    m_calendarButton->setAccessibleName(u"Calendarium – naptár"_s);
    m_calendarButton->setAccessibleDescription(
        u"Megnyitja a naptárat, amelyben bármely nap névnapja megnézhető"_s);
    m_dateBox->setAccessibleName(u"Mai dátum"_s);
    m_clockBox->setAccessibleName(u"Pontos idő"_s);
    m_todayNames->setAccessibleDescription(u"Akiknek ma van a névnapjuk"_s);
    m_tomorrowNames->setAccessibleDescription(u"Akiknek holnap lesz a névnapjuk"_s);

    makeNamePlate(m_todayNames);
    setTextColour(m_todayNames, QColor(255, 0, 0));
    makeNamePlate(m_tomorrowNames);
    setTextColour(m_tomorrowNames, QColor(0, 0, 192));

    // Screen readers read a window's controls in the order of its children: the order the
    // window reads in, top to bottom, so that the sentence round the names reads as a sentence.
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_dateBox, m_clockBox, m_todayNames, m_theirDayLabel, m_tomorrowLabel, m_tomorrowNames,
             m_willBeLabel, m_exitButton, m_calendarButton, m_searchButton})
        control->raise();

    setTabOrder(m_exitButton, m_dateBox);
    setTabOrder(m_dateBox, m_clockBox);
    setTabOrder(m_clockBox, m_searchButton);
    setTabOrder(m_searchButton, m_calendarButton);

    connect(m_exitButton, &QPushButton::clicked, this, &MainWindow::endRequested);
    connect(m_searchButton, &QPushButton::clicked, this, &MainWindow::searchRequested);
    connect(m_calendarButton, &QPushButton::clicked, this, &MainWindow::calendarRequested);
    connect(m_clockTimer, &QTimer::timeout, this, &MainWindow::tick);
}

QLabel* MainWindow::createLabel(const char* name, const QString& caption, QRect geometry,
                                const QFont& font)
{
    auto* label = addControl<QLabel>(this, name, geometry);
    label->setFont(font);
    label->setText(caption);
    label->setAlignment(Qt::AlignCenter);
    label->adjustSize();
    return label;
}

QLineEdit* MainWindow::createTextBox(const char* name, QRect geometry)
{
    auto* box = addControl<QLineEdit>(this, name, geometry);
    box->setFont(msSansSerif(8.25, true));
    box->setAlignment(Qt::AlignCenter);
    return box;
}

QPushButton* MainWindow::createButton(const char* name, const QString& caption, QRect geometry,
                                      const QFont& font)
{
    auto* button = addControl<QPushButton>(this, name, geometry, caption);
    button->setFont(font);
    return button;
}

void MainWindow::centre(QWidget* control)
{
    control->move(centredLeft(frameGeometry().width(), control->width()), control->y());
}

void MainWindow::load()
{
    for (QWidget* control :
         {static_cast<QWidget*>(m_theirDayLabel), static_cast<QWidget*>(m_tomorrowLabel),
          static_cast<QWidget*>(m_willBeLabel), static_cast<QWidget*>(m_calendarButton)})
        centre(control);
    showTodayAndTomorrow();
    // "EXIT" answers Enter anywhere in the window; keyPressEvent does the rest.
    m_exitButton->setDefault(true);
    m_exitButton->setFocus();
    // The clock runs as long as the program: the window may be on screen, and active,
    // while the other windows are open.
    m_clockTimer->start(1000);
}

void MainWindow::showNames(QLabel* label, const QFont& font, const QDate& date,
                           const QString& whose)
{
    showOnNamePlate(label, font, u"  " % dayOn(date).entry % u"  ", whose);
}

void MainWindow::showTodayAndTomorrow()
{
    // One reading of the clock, so that the names and the date never straddle midnight.
    m_shownDay = today();
    showNames(m_tomorrowNames, tomorrowFont(), m_shownDay.addDays(1), u"holnapi névnap"_s);
    showNames(m_todayNames, todayFont(), m_shownDay, u"mai névnap"_s);
    // The names are only labels, which never take the focus: the window says the sentence, so
    // that a screen reader says it with the window.
    setAccessibleDescription(m_todayNames->text().simplified() % u' ' % m_theirDayLabel->text() %
                             u' ' % m_tomorrowLabel->text() % u' ' %
                             m_tomorrowNames->text().simplified() % u' ' % m_willBeLabel->text());
    m_clockBox->setText(paddedTimeText());
    const QString date = longDateText(m_shownDay);
    m_dateBox->setText(date);
    // Half the date's width in the window's own large font, not in the box's.
    const qreal width = QFontMetricsF(font()).horizontalAdvance(u"  " % date % u"  ") / 2;
    m_dateBox->resize(qRound(width), m_dateBox->height());

    // The date and the clock are centred as a pair.
    const int gap = twips(pairGap);
    const int pairWidth = m_clockBox->width() + m_dateBox->width() + gap;
    m_dateBox->move(centredLeft(frameGeometry().width(), pairWidth), m_dateBox->y());
    m_clockBox->move(m_dateBox->width() + m_dateBox->x() + gap, m_clockBox->y());
}

void MainWindow::tick()
{
    if (today() != m_shownDay)
        showTodayAndTomorrow();
    // After showTodayAndTomorrow, so every tick leaves the clock in one format.
    m_clockBox->setText(timeText());
}

void MainWindow::setSearchButtonVisible(bool visible)
{
    m_searchButton->setVisible(visible);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (pressFocusedButton(this, event))
        return;
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return QWidget::keyPressEvent(event);
    // A plain widget has no default button: Enter anywhere else presses "EXIT".
    m_exitButton->click();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Q_EMIT endRequested();
    event->accept();
}
