#include "ui/search/searchwindow.h"

#include "core/namesearch.h"
#include "core/nametable.h"
#include "dates/clock.h"
#include "ui/controls/controls.h"
#include "ui/controls/fonts.h"
#include "ui/controls/twips.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

// A tool window: window managers keep it above the window it belongs to.
SearchWindow::SearchWindow()
    : QWidget(nullptr, Qt::Tool)
{
    setObjectName(u"searchWindow"_s);
    setWindowTitle(u"Zorvat kereső"_s);
    setFixedSize(twips(6480), twips(3510));
    // The layout is fixed in size, so the default font is the small one it was designed for.
    setFont(msSansSerif(8.25));
    createControls();
}

void SearchWindow::createControls()
{
    m_queryBox = addControl<QLineEdit>(this, "queryBox", twipsRect(360, 240, 5655, 375));
    m_firstMatchBox = addControl<QLineEdit>(this, "firstMatchBox", twipsRect(360, 1200, 5655, 375));
    m_foundDaysBox =
        addControl<QPlainTextEdit>(this, "foundDaysBox", twipsRect(360, 1680, 5655, 975));
    m_foundDaysBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_foundDaysBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_foundDaysBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab goes on to the next control, as from the other boxes, instead of into the list.
    m_foundDaysBox->setTabChangesFocus(true);

    m_exitButton =
        addControl<QPushButton>(this, "exitButton", twipsRect(360, 3000, 1095, 375), u"Exit"_s);
    m_promptLabel = addControl<QLabel>(this, "promptLabel", twipsRect(960, 720, 2655, 255),
                                       u"Keresett névrészlet majd <ENTER>"_s);
    m_promptLabel->setTextFormat(Qt::PlainText);
    m_promptLabel->setAlignment(Qt::AlignCenter);

    // Screen readers announce each control by what it is for, a button by its caption first.
    m_queryBox->setAccessibleName(u"Keresett névrészlet"_s);
    m_queryBox->setAccessibleDescription(
        u"Írjon be egy nevet vagy névrészletet, majd nyomja meg az Entert"_s);
    m_firstMatchBox->setAccessibleName(u"Első találat"_s);
    m_firstMatchBox->setAccessibleDescription(
        u"Az első nap névnapjai, amelyek a keresett névvel kezdődnek"_s);
    m_foundDaysBox->setAccessibleName(u"Talált napok"_s);
    m_exitButton->setAccessibleName(u"Exit – kilépés"_s);
    m_exitButton->setAccessibleDescription(u"Bezárja a névkeresőt"_s);

    setTabOrder(m_queryBox, m_firstMatchBox);
    setTabOrder(m_firstMatchBox, m_foundDaysBox);
    setTabOrder(m_foundDaysBox, m_exitButton);

    connect(m_queryBox, &QLineEdit::textChanged, this, &SearchWindow::showFirstMatch);
    connect(m_queryBox, &QLineEdit::returnPressed, this, &SearchWindow::listMatches);
    connect(m_exitButton, &QPushButton::clicked, this, &SearchWindow::leaveRequested);
    m_firstMatchBox->installEventFilter(this);
    connect(m_firstMatchBox, &QLineEdit::returnPressed, this, &SearchWindow::listMatchesOfFirst);
}

void SearchWindow::showFirstMatch()
{
    const FirstMatch match =
        firstDayStartingWith(NameTable(today().year()), searchQuery(m_queryBox->text()));
    m_firstMatchBox->setText(match.entry);
    m_foundDaysBox->setPlainText(match.dayText);
}

void SearchWindow::listMatches()
{
    listDaysContaining(m_queryBox->text());
}

void SearchWindow::listMatchesOfFirst()
{
    listDaysContaining(m_firstMatchBox->text());
}

void SearchWindow::listDaysContaining(const QString& typed)
{
    m_foundDaysBox->setPlainText(daysContaining(NameTable(today().year()), searchQuery(typed)));
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_firstMatchBox && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        listMatchesOfFirst();
    return QWidget::eventFilter(watched, event);
}

// Escape leaves the window as "Exit" does.
void SearchWindow::keyPressEvent(QKeyEvent* event)
{
    if (!pressFocusedButtonOrLeave(this, event, [this] { Q_EMIT leaveRequested(); }))
        QWidget::keyPressEvent(event);
}

void SearchWindow::closeEvent(QCloseEvent* event)
{
    Q_EMIT leaveRequested();
    event->accept();
}
