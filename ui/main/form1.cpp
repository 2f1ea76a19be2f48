#include "ui/main/form1.h"

#include "core/entry.h"
#include "core/nametable.h"
#include "dates/clock.h"
#include "dates/datetexts.h"
#include "ui/calendar/form3.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/search/form2.h"
#include "ui/twips.h"
#include "ui/windows.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringBuilder>
#include <QTimer>

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

Form1::Form1(Windows& windows)
    : m_windows(windows)
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Zorvat"_s);
    setFixedSize(twips(6465), twips(3450));
    // No text of the window uses its own font, but the date box is sized by it.
    setFont(timesNewRoman(20.25, true));
    createControls();
}

void Form1::createControls()
{
    m_calendarium = createButton("calendarium", u"Calendarium"_s, twipsRect(2160, 3000, 1815, 375),
                                 timesNewRoman(14.25, true));
    m_Command2 = createButton("Command2", u"Névkeresés"_s, twipsRect(5280, 3000, 1095, 375),
                              msSansSerif(8.25));
    m_Timer1 = new QTimer(this);
    m_Timer1->setObjectName(u"Timer1"_s);
    m_Text3 = createTextBox("Text3", u"Text3"_s, twipsRect(3840, 120, 975, 375));
    m_Text2 = createTextBox("Text2", u"Text2"_s, twipsRect(1320, 120, 2415, 375));
    m_Command1 =
        createButton("Command1", u"EXIT"_s, twipsRect(120, 3000, 855, 375), msSansSerif(8.25));
    m_labelHolnapiZorvat = createLabel("labelHolnapiZorvat", u"Label4"_s,
                                       twipsRect(2520, 2040, 1125, 450), tomorrowFont());
    m_labelMaiZorvat =
        createLabel("labelMaiZorvat", u"zorvat"_s, twipsRect(2160, 600, 1650, 645), todayFont());
    m_Label3 =
        createLabel("Label3", u"Holnap"_s, twipsRect(2595, 1680, 825, 315), timesNewRoman(14.25));
    m_Label2 =
        createLabel("Label2", u"lesz!!"_s, twipsRect(2760, 2640, 615, 315), timesNewRoman(14.25));
    m_Label1 =
        createLabel("Label1", u"napja van!"_s, twipsRect(2400, 1320, 1245, 330), timesNewRoman(15));

    // Screen readers announce each control by its caption, so that a voice-control user can
    // say what they see, and then in Hungarian what it is for.
    m_Command1->setAccessibleName(u"EXIT – kilépés"_s);
    m_Command1->setAccessibleDescription(u"Bezárja a programot"_s);
    m_Command2->setAccessibleName(u"Névkeresés"_s);
    m_Command2->setAccessibleDescription(u"Megnyitja a névkeresőt"_s);
    m_calendarium->setAccessibleName(u"Calendarium – naptár"_s);
    m_calendarium->setAccessibleDescription(
        u"Megnyitja a naptárat, amelyben bármely nap névnapja megnézhető"_s);
    m_Text2->setAccessibleName(u"Mai dátum"_s);
    m_Text3->setAccessibleName(u"Pontos idő"_s);
    m_labelMaiZorvat->setAccessibleDescription(u"Akiknek ma van a névnapjuk"_s);
    m_labelHolnapiZorvat->setAccessibleDescription(u"Akiknek holnap lesz a névnapjuk"_s);

    makeNamePlate(m_labelMaiZorvat);
    setTextColour(m_labelMaiZorvat, QColor(255, 0, 0));
    makeNamePlate(m_labelHolnapiZorvat);
    setTextColour(m_labelHolnapiZorvat, QColor(0, 0, 192));

    setTabOrder(m_Command1, m_Text2);
    setTabOrder(m_Text2, m_Text3);
    setTabOrder(m_Text3, m_Command2);
    setTabOrder(m_Command2, m_calendarium);

    connect(m_Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(m_calendarium, &QPushButton::clicked, this, &Form1::calendarium_Click);
    connect(m_Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
}

QLabel* Form1::createLabel(const char* name, const QString& caption, QRect geometry,
                           const QFont& font)
{
    auto* label = addControl<QLabel>(this, name, geometry);
    label->setFont(font);
    label->setText(caption);
    label->setAlignment(Qt::AlignCenter);
    label->adjustSize();
    return label;
}

QLineEdit* Form1::createTextBox(const char* name, const QString& text, QRect geometry)
{
    // Its text is laid out afresh with every font change: set the text once the font is final.
    auto* box = addControl<QLineEdit>(this, name, geometry);
    box->setFont(msSansSerif(8.25, true));
    box->setText(text);
    box->setAlignment(Qt::AlignCenter);
    return box;
}

QPushButton* Form1::createButton(const char* name, const QString& caption, QRect geometry,
                                 const QFont& font)
{
    auto* button = addControl<QPushButton>(this, name, geometry, caption);
    button->setFont(font);
    return button;
}

void Form1::centre(QWidget* control)
{
    control->move(centredLeft(frameGeometry().width(), control->width()), control->y());
}

void Form1::Form_Load()
{
    for (QWidget* control : {static_cast<QWidget*>(m_Label1), static_cast<QWidget*>(m_Label3),
                             static_cast<QWidget*>(m_Label2), static_cast<QWidget*>(m_calendarium)})
        centre(control);
    zorvatok();
    // "EXIT" answers Enter anywhere in the window; keyPressEvent does the rest.
    m_Command1->setDefault(true);
    m_Command1->setFocus();
    // The clock runs as long as the program: the window may be on screen, and active,
    // while the other windows are open.
    m_Timer1->start(1000);
    m_Text3->update();
}

void Form1::setNameLabel(QLabel* label, const QFont& font, const QDate& date, const QString& whose)
{
    showOnNamePlate(label, font, u"  " % withoutMarker(entryOn(date)) % u"  ", whose);
}

void Form1::zorvatok()
{
    setNameLabel(m_labelHolnapiZorvat, tomorrowFont(), today().addDays(1), u"holnapi névnap"_s);
    setNameLabel(m_labelMaiZorvat, todayFont(), today(), u"mai névnap"_s);
    m_Text3->setText(timeText());
    const QString date = longDateText(today());
    m_Text2->setText(date);
    // Half the date's width in the window's own large font, not in the box's.
    const qreal width = QFontMetricsF(font()).horizontalAdvance(u"  " % date % u"  ") / 2;
    m_Text2->resize(qRound(width), m_Text2->height());

    // The date and the clock are centred as a pair.
    const int gap = twips(pairGap);
    const int pairWidth = m_Text3->width() + m_Text2->width() + gap;
    m_Text2->move(centredLeft(frameGeometry().width(), pairWidth), m_Text2->y());
    m_Text3->move(m_Text2->width() + m_Text2->x() + gap, m_Text3->y());
}

void Form1::Timer1_Timer()
{
    if (today() != m_shownDay) {
        zorvatok();
        m_shownDay = today();
    }
    // After zorvatok, so every tick leaves the clock in one format.
    m_Text3->setText(timeValue());
}

void Form1::Command1_Click()
{
    m_windows.end();
}

void Form1::Command2_Click()
{
    m_Command2->hide();
    m_Command1->setDefault(true);
    m_windows.form3().hide();
    showInFront(&m_windows.form2());
}

void Form1::calendarium_Click()
{
    Form3& calendar = m_windows.form3();
    calendar.setValue(today());
    showInFront(&calendar);
}

void Form1::setSearchButtonVisible(bool visible)
{
    m_Command2->setVisible(visible);
}

void Form1::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return QWidget::keyPressEvent(event);
    // A plain widget has no default button: Enter presses the focused button, else "EXIT".
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    (focused ? focused : m_Command1)->click();
}

void Form1::closeEvent(QCloseEvent* event)
{
    Command1_Click();
    event->accept();
}
