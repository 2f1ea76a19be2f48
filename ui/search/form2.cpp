#include "ui/search/form2.h"

#include "core/namesearch.h"
#include "core/nametable.h"
#include "dates/clock.h"
#include "ui/calendar/form3.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/main/form1.h"
#include "ui/twips.h"
#include "ui/windows.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

Form2::Form2(Windows& windows)
    : m_windows(windows)
{
    setObjectName(u"Form2"_s);
    setWindowTitle(u"Zorvat kereső"_s);
    setFixedSize(twips(6480), twips(3510));
    // The layout is fixed in size, so the default font is the small one it was designed for.
    setFont(msSansSerif(8.25));
    createControls();
}

void Form2::createControls()
{
    m_Text1 = addControl<QLineEdit>(this, "Text1", twipsRect(360, 240, 5655, 375), u"Text1"_s);
    m_Text2 = addControl<QLineEdit>(this, "Text2", twipsRect(360, 1200, 5655, 375), u"Text2"_s);
    m_Text3 =
        addControl<QPlainTextEdit>(this, "Text3", twipsRect(360, 1680, 5655, 975), u"Text3"_s);
    m_Text3->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_Text3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab goes on to the next control, as from the other boxes, instead of into the list.
    m_Text3->setTabChangesFocus(true);

    m_Command1 =
        addControl<QPushButton>(this, "Command1", twipsRect(360, 3000, 1095, 375), u"Exit"_s);
    m_Label1 = addControl<QLabel>(this, "Label1", twipsRect(960, 720, 2655, 255),
                                  u"Keresett névrészlet majd <ENTER>"_s);
    m_Label1->setTextFormat(Qt::PlainText);
    m_Label1->setAlignment(Qt::AlignCenter);

    // Screen readers announce each control by what it is for, a button by its caption first.
    m_Text1->setAccessibleName(u"Keresett név"_s);
    m_Text1->setAccessibleDescription(
        u"Írjon be egy nevet vagy névrészletet, majd nyomja meg az Entert"_s);
    m_Text2->setAccessibleName(u"Első találat"_s);
    m_Text2->setAccessibleDescription(
        u"Az első nap névnapjai, amelyek a keresett névvel kezdődnek"_s);
    m_Text3->setAccessibleName(u"Talált napok"_s);
    m_Command1->setAccessibleName(u"Exit – kilépés"_s);
    m_Command1->setAccessibleDescription(u"Bezárja a névkeresőt"_s);

    setTabOrder(m_Text1, m_Text2);
    setTabOrder(m_Text2, m_Text3);
    setTabOrder(m_Text3, m_Command1);

    connect(m_Text1, &QLineEdit::textChanged, this, &Form2::Text1_Change);
    connect(m_Text1, &QLineEdit::returnPressed, this, &Form2::Text1_KeyPress);
    connect(m_Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    m_Text2->installEventFilter(this);
}

void Form2::Form_Load()
{
    m_Text1->clear(); // runs Text1_Change; the next two lines clear what it found
    m_Text2->clear();
    m_Text3->clear();
    Form1& main = m_windows.form1();
    main.setSearchButtonVisible(false);
    m_windows.form3().setSearchButtonVisible(false);
    move(main.pos());
    // Both windows have the same frame, so equal client heights make equal outer heights.
    setFixedHeight(main.height());
}

void Form2::Command1_Click()
{
    m_windows.form1().setSearchButtonVisible(true);
    Form3& calendar = m_windows.form3();
    calendar.setSearchButtonVisible(true);
    hide();
}

void Form2::Text1_Change()
{
    m_nevreszlet = searchQuery(m_Text1->text());
    const FirstMatch match = firstDayStartingWith(NameTable(today().year()), m_nevreszlet);
    m_Text2->setText(match.entry);
    m_Text3->setPlainText(match.dayText);
}

void Form2::Text1_KeyPress()
{
    m_nevreszlet = searchQuery(m_Text1->text());
    hkeres();
}

void Form2::Text2_Click()
{
    m_nevreszlet = searchQuery(m_Text2->text());
    hkeres();
}

void Form2::hkeres()
{
    m_Text3->setPlainText(daysContaining(NameTable(today().year()), m_nevreszlet));
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_Text2 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        Text2_Click();
    return QWidget::eventFilter(watched, event);
}

void Form2::closeEvent(QCloseEvent* event)
{
    Command1_Click();
    event->accept();
}
