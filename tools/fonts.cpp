// Prints the font faces the program really draws with, one per line in the form fc-match takes,
// so the package can be checked to bring every one of them.

#include "ui/calendar/calendarwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/search/searchwindow.h"
#include "ui/windows.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>

#include <cstdio>
#include <memory>
#include <set>

using namespace Qt::StringLiterals;

namespace {

QString face(const QFont& font)
{
    const QFontInfo info(font);
    return info.family() + u":style="_s + info.styleName();
}

// The window, its controls, and the pop-ups they open: each text box's own menu and each
// picker's list, which are windows of their own and so do not take the controls' fonts.
void collect(QWidget& window, std::set<QString>& faces)
{
    faces.insert(face(window.font()));
    for (QComboBox* picker : window.findChildren<QComboBox*>())
        picker->view();
    for (QLineEdit* box : window.findChildren<QLineEdit*>()) {
        const std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
        faces.insert(face(menu->font()));
    }
    for (const QWidget* control : window.findChildren<QWidget*>())
        faces.insert(face(control->font()));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Windows windows;
    std::set<QString> faces{face(QApplication::font())};
    collect(windows.mainWindow(), faces);
    collect(windows.searchWindow(), faces);
    collect(windows.calendarWindow(), faces);
    for (const QString& face : faces)
        std::printf("%s\n", qPrintable(face));
    return 0;
}
