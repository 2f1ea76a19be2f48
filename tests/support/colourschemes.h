#pragma once

#include <QDir>
#include <QList>
#include <QPalette>
#include <QSettings>
#include <QString>

#include <algorithm>
#include <cmath>
#include <utility>

// The colour schemes desktops give the windows, as Qt's theme plugins turn them into palettes.
struct ColourScheme
{
    QString name;
    QPalette palette;
};

// qt6ct's scheme files list the colours of each group in the order of QPalette's roles.
inline QPalette qt6ctPalette(const QString& path)
{
    const QSettings scheme(path, QSettings::IniFormat);
    QPalette palette;
    for (auto [group, key] : {std::pair{QPalette::Active, "ColorScheme/active_colors"},
                              std::pair{QPalette::Inactive, "ColorScheme/inactive_colors"},
                              std::pair{QPalette::Disabled, "ColorScheme/disabled_colors"}}) {
        const QStringList colours = scheme.value(QLatin1StringView(key)).toStringList();
        for (qsizetype role = 0; role < colours.size() && role < QPalette::NColorRoles; ++role)
            palette.setColor(group, QPalette::ColorRole(role), QColor(colours[role].trimmed()));
    }
    return palette;
}

// Every scheme qt6ct ships, by file name ("darker.conf"); none where qt6ct is not installed.
inline QList<ColourScheme> qt6ctSchemes()
{
    QList<ColourScheme> schemes;
    const QDir folder(QStringLiteral("/usr/share/qt6ct/colors"));
    for (const QString& file : folder.entryList({QStringLiteral("*.conf")}, QDir::Files))
        schemes.append({file, qt6ctPalette(folder.filePath(file))});
    return schemes;
}

// Plasma 5.27's Breeze Dark (BreezeDark.colors, as kdeglobals holds it), mapped to roles as
// Qt's KDE theme does: Window, Button, View (Base, Text), Selection, Tooltip.
inline QPalette breezeDark()
{
    const QColor foreground(252, 252, 252);
    QPalette palette(QColor(49, 54, 59), QColor(42, 46, 50)); // button, window
    palette.setColor(QPalette::WindowText, foreground);
    palette.setColor(QPalette::ButtonText, foreground);
    palette.setColor(QPalette::Base, QColor(27, 30, 32));
    palette.setColor(QPalette::AlternateBase, QColor(35, 38, 41));
    palette.setColor(QPalette::Text, foreground);
    palette.setColor(QPalette::Highlight, QColor(61, 174, 233));
    palette.setColor(QPalette::HighlightedText, foreground);
    palette.setColor(QPalette::ToolTipBase, QColor(49, 54, 59));
    palette.setColor(QPalette::ToolTipText, foreground);
    palette.setColor(QPalette::Link, QColor(29, 153, 243));
    palette.setColor(QPalette::LinkVisited, QColor(155, 89, 182));
    return palette;
}

// A high-contrast scheme as Windows' "High Contrast Black" has it: white on black, black on
// cyan for selections.
inline QPalette highContrastBlack()
{
    QPalette palette(Qt::black, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text,
                      QPalette::BrightText, QPalette::ToolTipText})
        palette.setColor(role, Qt::white);
    for (auto role : {QPalette::Base, QPalette::AlternateBase, QPalette::ToolTipBase})
        palette.setColor(role, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0x1a, 0xeb, 0xff));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    palette.setColor(QPalette::Link, QColor(0xff, 0xff, 0x00));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x3f, 0xf2, 0x3f));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x3f, 0xf2, 0x3f));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x3f, 0xf2, 0x3f));
    return palette;
}

// WCAG 2's relative luminance of an sRGB colour, and the contrast ratio of two colours.
inline double relativeLuminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

inline double contrastRatio(const QColor& one, const QColor& other)
{
    const double first = relativeLuminance(one);
    const double second = relativeLuminance(other);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}
