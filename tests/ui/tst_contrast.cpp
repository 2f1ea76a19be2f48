#include "support/calendargrid.h"
#include "support/colourschemes.h"
#include "support/program.h"
#include "ui/calendar/calendarwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/search/searchwindow.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// Christmas Eve, as in the screenshots: Ádám and Éva today in red, tomorrow a holiday in blue.
const QDateTime shownTime(QDate(2026, 12, 24), QTime(9, 41, 7));

// A text as drawn: the colour that most of its rectangle's edge shows stands behind it, and
// the colour inside that differs most from that one is the text's own.
struct Reading
{
    QColor text;
    QColor background;
    double ratio = 0;
    bool large = false; // WCAG's large text: 18 pt, or 14 pt bold
};

Reading read(const QImage& picture, const QRect& area, const QFont& font)
{
    QHash<QRgb, int> edge;
    QSet<QRgb> inside;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            inside.insert(pixel);
            if (y == area.top() || y == area.bottom() || x == area.left() || x == area.right())
                ++edge[pixel];
        }
    Reading reading;
    int most = 0;
    for (auto [colour, count] : edge.asKeyValueRange())
        if (count > most) {
            most = count;
            reading.background = QColor::fromRgb(colour);
        }
    reading.text = reading.background;
    reading.ratio = 1;
    for (QRgb colour : inside) {
        const double ratio = contrastRatio(QColor::fromRgb(colour), reading.background);
        if (ratio > reading.ratio) {
            reading.ratio = ratio;
            reading.text = QColor::fromRgb(colour);
        }
    }
    reading.large = font.pointSizeF() >= 18 || (font.bold() && font.pointSizeF() >= 14);
    return reading;
}

// The rectangle of `control` in `window`, less `inset` pixels of frame on every side.
QRect areaOf(const QWidget& window, const QWidget* control, int inset)
{
    return QRect(control->mapTo(&window, QPoint()), control->size())
        .adjusted(inset, inset, -inset, -inset);
}

// The texts of the three windows, each read from a picture of its window while the window is
// active, as the user sees it.
class Readings
{
public:
    explicit Readings(const QPalette& palette)
    {
        const QPalette before = QApplication::palette();
        QApplication::setPalette(palette);
        {
            Program program(shownTime);
            readMainWindow(program);
            readSearchWindow(program);
            readCalendarWindow(program);
        }
        QApplication::setPalette(before);
    }

    // The reading of a text, or of the worst of a kind of texts ("days of the month").
    std::optional<Reading> of(const QString& text) const
    {
        if (!m_readings.contains(text))
            return std::nullopt;
        return m_readings.value(text);
    }

private:
    void note(const QString& text, const Reading& reading)
    {
        if (!m_readings.contains(text) || reading.ratio < m_readings[text].ratio)
            m_readings.insert(text, reading);
    }
    void note(const QString& text, const QImage& picture, const QWidget& window,
              const QWidget* control, int inset)
    {
        note(text, read(picture, areaOf(window, control, inset), control->font()));
    }

    static QImage pictureOf(QWidget& window)
    {
        if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }))
            qFatal("%s did not become active", qPrintable(window.objectName()));
        return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    void readMainWindow(Program& program)
    {
        MainWindow& main = program.windows.mainWindow();
        main.show();
        const QImage picture = pictureOf(main);
        // A plate's frame is left out; text boxes and buttons lose their frames and focus.
        for (auto [text, name] : {std::pair{u"main: today's names"_s, "todayNames"},
                                  std::pair{u"main: tomorrow's names"_s, "tomorrowNames"}}) {
            const auto* plate = child<QLabel>(main, name);
            note(text,
                 read(picture, plate->contentsRect().translated(plate->pos()), plate->font()));
        }
        for (auto [text, name] : {std::pair{u"main: napja van!"_s, "theirDayLabel"},
                                  std::pair{u"main: Holnap"_s, "tomorrowLabel"},
                                  std::pair{u"main: lesz!!"_s, "willBeLabel"}})
            note(text, picture, main, child<QLabel>(main, name), 0);
        for (auto [text, name] :
             {std::pair{u"main: date"_s, "dateBox"}, std::pair{u"main: clock"_s, "clockBox"},
              std::pair{u"main: EXIT"_s, "exitButton"},
              std::pair{u"main: Névkeresés"_s, "searchButton"},
              std::pair{u"main: Calendarium"_s, "calendarButton"}})
            note(text, picture, main, child<QWidget>(main, name), 3);
    }

    void readSearchWindow(Program& program)
    {
        QTest::mouseClick(child<QPushButton>(program.windows.mainWindow(), "searchButton"),
                          Qt::LeftButton);
        SearchWindow& search = program.windows.searchWindow();
        auto* query = child<QLineEdit>(search, "queryBox");
        query->insert(u"Anna"_s);
        QTest::keyClick(query, Qt::Key_Return);
        const QImage picture = pictureOf(search);
        note(u"search: query"_s, picture, search, query, 3);
        note(u"search: first match"_s, picture, search, child<QWidget>(search, "firstMatchBox"), 3);
        const auto* found = child<QPlainTextEdit>(search, "foundDaysBox");
        note(u"search: found days"_s, picture, search, found->viewport(), 1);
        note(u"search: Keresett névrészlet majd <ENTER>"_s, picture, search,
             child<QWidget>(search, "promptLabel"), 0);
        note(u"search: Exit"_s, picture, search, child<QWidget>(search, "exitButton"), 3);
        QTest::mouseClick(child<QPushButton>(search, "exitButton"), Qt::LeftButton);
    }

    void readCalendarWindow(Program& program)
    {
        QTest::mouseClick(child<QPushButton>(program.windows.mainWindow(), "calendarButton"),
                          Qt::LeftButton);
        CalendarWindow& calendar = program.windows.calendarWindow();
        QImage picture = pictureOf(calendar);
        readGrid(calendar, picture);
        note(u"calendar: day text"_s, picture, calendar, child<QLabel>(calendar, "dayText"), 2);
        // The next day is red, and away from today "Mai Nap" shows.
        QTest::keyClick(gridOf(calendar), Qt::Key_Right);
        picture = pictureOf(calendar);
        readGrid(calendar, picture);
        note(u"calendar: red day text"_s, picture, calendar, child<QLabel>(calendar, "dayText"), 2);
        note(u"calendar: month"_s, picture, calendar,
             child<QWidget>(calendar, "qt_calendar_monthbutton"), 2);
        note(u"calendar: year"_s, picture, calendar,
             child<QWidget>(calendar, "qt_calendar_yearbutton"), 2);
        for (auto [text, name] : {std::pair{u"calendar: Kilépés"_s, "exitButton"},
                                  std::pair{u"calendar: Mai Nap"_s, "todayButton"},
                                  std::pair{u"calendar: Névkeresés"_s, "searchButton"}})
            note(text, picture, calendar, child<QWidget>(calendar, name), 3);
        for (auto [text, name] : {std::pair{u"calendar: Változó Ünnepek"_s, "feastPicker"},
                                  std::pair{u"calendar: year picker"_s, "yearPicker"},
                                  std::pair{u"calendar: month picker"_s, "monthPicker"}})
            note(text, picture, calendar, child<QComboBox>(calendar, name)->lineEdit(), 1);
    }

    // Every cell of the grid, inside its grid lines: the day names, this month's days, the
    // other months' days and the selected day.
    void readGrid(const CalendarWindow& calendar, const QImage& picture)
    {
        const QAbstractItemView* grid = gridOf(calendar);
        const QDate selected = child<QCalendarWidget>(calendar, "calendar")->selectedDate();
        const QAbstractItemModel* cells = grid->model();
        // The shown month's days run from its 1 to its last day; before and after, the others'.
        int dayOfMonth = 0;
        for (int row = 0; row < cells->rowCount(); ++row)
            for (int column = 0; column < cells->columnCount(); ++column) {
                const QModelIndex cell = cells->index(row, column);
                const QRect area = grid->visualRect(cell)
                                       .translated(grid->viewport()->mapTo(&calendar, QPoint()))
                                       .adjusted(2, 2, -2, -2);
                QString kind = u"calendar: weekday names"_s;
                if (row > 0) {
                    const int day = cell.data().toInt();
                    if (day == 1 || dayOfMonth > 0)
                        dayOfMonth =
                            dayOfMonth < selected.daysInMonth() && day == dayOfMonth + 1 ? day : -1;
                    kind = dayOfMonth <= 0         ? u"calendar: days of other months"_s
                           : day == selected.day() ? u"calendar: selected day"_s
                                                   : u"calendar: days of the month"_s;
                }
                note(kind, read(picture, area, cell.data(Qt::FontRole).value<QFont>()));
            }
    }

    QHash<QString, Reading> m_readings;
};

const QStringList texts{
    u"main: today's names"_s,
    u"main: tomorrow's names"_s,
    u"main: napja van!"_s,
    u"main: Holnap"_s,
    u"main: lesz!!"_s,
    u"main: date"_s,
    u"main: clock"_s,
    u"main: EXIT"_s,
    u"main: Névkeresés"_s,
    u"main: Calendarium"_s,
    u"search: query"_s,
    u"search: Keresett névrészlet majd <ENTER>"_s,
    u"search: first match"_s,
    u"search: found days"_s,
    u"search: Exit"_s,
    u"calendar: month"_s,
    u"calendar: year"_s,
    u"calendar: weekday names"_s,
    u"calendar: days of the month"_s,
    u"calendar: days of other months"_s,
    u"calendar: selected day"_s,
    u"calendar: day text"_s,
    u"calendar: red day text"_s,
    u"calendar: Kilépés"_s,
    u"calendar: Mai Nap"_s,
    u"calendar: Névkeresés"_s,
    u"calendar: Változó Ünnepek"_s,
    u"calendar: year picker"_s,
    u"calendar: month picker"_s,
};
} // namespace

class TestContrast : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_schemes.append({u"Qt's default"_s, QApplication::palette()});
        const QList<ColourScheme> qt6ct = qt6ctSchemes();
        QVERIFY2(!qt6ct.isEmpty(), "qt6ct's colour schemes are missing: install qt6ct");
        for (const ColourScheme& scheme : qt6ct)
            m_schemes.append({u"qt6ct "_s + scheme.name, scheme.palette});
        m_schemes.append({u"Breeze Dark"_s, breezeDark()});
        m_schemes.append({u"high contrast"_s, highContrastBlack()});
    }

    // Every text of the three windows against what is drawn behind it: WCAG AA's 4.5 : 1, or
    // 3 : 1 for large text.
    void everyTextIsReadable_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("text");
        for (const ColourScheme& scheme : std::as_const(m_schemes))
            for (const QString& text : texts)
                QTest::newRow(qPrintable(scheme.name + u", "_s + text)) << scheme.name << text;
    }
    void everyTextIsReadable()
    {
        QFETCH(QString, scheme);
        QFETCH(QString, text);
        if (!m_readings.contains(scheme)) {
            for (const ColourScheme& known : std::as_const(m_schemes))
                if (known.name == scheme)
                    m_readings.emplace(scheme, known.palette);
        }
        const std::optional<Reading> reading = m_readings.at(scheme).of(text);
        QVERIFY2(reading, "not measured");
        const double needed = reading->large ? 3 : 4.5;
        qInfo("%-22s %-42s %5.2f : 1  (%s on %s)", qPrintable(scheme), qPrintable(text),
              reading->ratio, qPrintable(reading->text.name()),
              qPrintable(reading->background.name()));
        QVERIFY2(reading->ratio >= needed,
                 qPrintable(u"%1 : 1, %2 : 1 needed"_s.arg(reading->ratio, 0, 'f', 2).arg(needed)));
    }

private:
    QList<ColourScheme> m_schemes;
    std::map<QString, Readings> m_readings;
};

QTEST_MAIN(TestContrast)
#include "tst_contrast.moc"
