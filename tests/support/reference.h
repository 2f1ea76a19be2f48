#pragma once

// What every day of 1900..2100 should read, worked out apart from the program: the names of a
// common year transcribed again, one month per text, and the year's rules written out plainly.

#include <QDate>
#include <QString>
#include <QStringList>

namespace reference {

using namespace Qt::StringLiterals;

// The names of a common year, days separated by ";".
inline const char16_t* const commonYear[12] = {
    u"ÚJéV, Fruzsina,mszn;Ábel;Genovéva, Benjámin;Titusz, Leona;Simon;Boldizsár;"
    u"Attila, Ramóna;Gyöngyvér;Marcell;Melánia;Ágota;Ernő;Veronika;Bódog;"
    u"Lóránt, Loránd;Gusztáv;Antal, Antónia;Piroska;Sára, Márió;Fábián, Sebestyén;"
    u"Ágnes;Vince, Artúr;Zelma, Rajmund;Timót;Pál;Vanda, Paula;Angelika;"
    u"Károly, Karola;Adél;Martina;Marcella, Gerda",
    u"Ignác;Karolina, Aida;Balázs;Ráhel, Csenge;Ágota, Ingrid;Dorottya, Dóra;"
    u"Tódor, Rómeó;Aranka;Abigél, Alex;Elvira;Bertold, Marietta;Lívia, Lídia;"
    u"Ella, Linda;Bálint, Valentin;Kolos, Georgina;Julianna, Lilla;Donát;Bernadett;"
    u"Zsuzsanna;Aladár, Álmos;Eleonóra;Gerzson;Alfréd;Mátyás;Géza;Edina;Ákos;Elemér",
    u"Albin;Lujza;Kornélia;Kázmér;Adorján, Adrián;Leonóra, Inez;Tamás;"
    u"NEMZ.NŐNAP, Zoltán;Franciska, Fanni;Ildikó;Szilárd;Gergely;Krisztián, Ajtony;"
    u"Matild;NEMZETI ÜNNEP, Kristóf,mszn;Henrietta;Gertrúd, Patrik;Sándor, Ede;"
    u"József, Bánk;Klaudia;Benedek;Beáta, Izolda;Emőke;Gábor;Irén, Irisz;Emánuel;"
    u"Hajnalka;Gedeon, Johanna;Auguszta;Zalán;Árpád",
    u"Hugó;Áron;Buda, Richárd;Izidor;Vince;Vilmos, Bíborka;Herman;Dénes;Erhard;Zsolt;"
    u"Leó, Szaniszló;Gyula;Ida;Tibor;Anasztázia, Tas;Csongor;Rudolf;Andrea, Ilma;Emma;"
    u"Tivadar;Konrád;Csilla, Noémi;Béla;György;Márk;Ervin;Zita;Valéria;Péter;"
    u"Katalin, Kitti",
    u"Fülöp, Jakab,mszn;Zsigmond;Tímea, Irma;Mónika, Flórián;Györgyi;Ivett, Frida;"
    u"Gizella;Mihály;Gergely;Ármin, Pálma;Ferenc;Pongrác;Szervác, Imola;Bonifác;"
    u"Zsófia, Szonja;Mózes, Botond;Paszkál;Erik, Alexandra;Ivó, Milán;Bernát, Felícia;"
    u"Konstantin;Júlia, Rita;Dezső;Eszter, Eliza;Orbán;Fülöp, Evelin;Hella;"
    u"Emil, Csanád;Magdolna;Janka, Zsanett;Angéla, Petronella",
    u"Tünde;Kármen, Anita;Klotild;Bulcsú;Fatime;Norbert, Cintia;Róbert;Medárd;Félix;"
    u"Margit;Barnabás;Villő;Antal, Anett;Vazul;Jolán, Vid;Jusztin;Laura, Alida;"
    u"Arnold, Levente;Gyárfás;Rafael;Alajos, Leila;Paulina;Zoltán;Iván;Vilmos;"
    u"János, Pál;László;Levente, Irén;Péter, Pál;Pál",
    u"Tihamér, Annamária;Ottó;Kornél, Soma;Ulrik;Emese, Sarolta;Csaba;Appolónia;Ellák;"
    u"Lukrécia;Amália;Nóra, Lili;Izabella, Dalma;Jenő;Örs, Stella;Henrik, Roland;"
    u"Valter;Endre, Elek;Frigyes;Emília;Illés;Dániel, Daniella;Magdolna;Lenke;"
    u"Kinga, Kincső;Kristóf, Jakab;Anna, Anikó;Olga, Liliána;Szabolcs;Márta, Flóra;"
    u"Judit, Xénia;Oszkár",
    u"Boglárka;Lehel;Hermina;Domonkos, Dominika;Krisztina;Berta, Bettina;Ibolya;"
    u"László;Emőd;Lőrinc;Zsuzsanna, Tiborc;Klára;Ipoly;Marcell;Mária;Ábrahám;Jácint;"
    u"Ilona;Huba;ALKOTMÁNY ÜNN., István,mszn;Sámuel, Hajna;Menyhért, Mirjam;Bence;"
    u"Bertalan;Lajos, Patrícia;Izsó;Gáspár;Ágoston;Beatrix, Erna;Rózsa;Erika, Bella",
    u"Egyed, Egon;Rebeka, Dorina;Hilda;Rozália;Viktor, Lőrinc;Zakariás;Regina;"
    u"Mária, Adrienn;Ádám;Nikolett, Hunor;Teodóra;Mária;Kornél;Szeréna, Roxána;"
    u"Enikő, Melitta;Edit;Zsófia;Diána;Vilhelmina;Friderika;Máté, Mirella;Móric;Tekla;"
    u"Gellért, Mercédesz;Eufrozina, Kende;Jusztina;Adalbert;Vencel;Mihály;Jeromos",
    u"Malvin;Petra;Helga;Ferenc;Aurél;Brúnó, Renáta;Amália;Koppány;Dénes;Gedeon;"
    u"Brigitta;Miksa;Kálmán, Ede;Helén;Teréz;Gál;Hedvig;Lukács;Nándor;Vendel;Orsolya;"
    u"Előd;KÖZT.KIKIÁLT., Gyöngyi,mszn;Salamon;Blanka, Bianka;Dömötör;Szabina;"
    u"Simon, Szimonetta;Nárcisz;Alfonz;Farkas",
    u"Marianna;Achilles;Győző;Károly;Imre;Lénárd;Rezső;Zsombor;Tivadar;Réka;Márton;"
    u"Jónás, Renátó;Szilvia;Aliz;Albert, Lipót;Ödön;Hortenzia, Gergő;Jenő;Erzsébet;"
    u"Jolán;Olivér;Cecília;Kelemen, Klementina;Emma;Katalin;Virág;Virgil;Stefánia;"
    u"Taksony;András, Andor",
    u"Elza;Melinda, Vivien;Ferenc, Olívia;Borbála, Barbara;Vilma;Miklós;Ambrus;Mária;"
    u"Natália;Judit;Árpád;Gabriella;Luca, Otília;Szilárda;Valér;Etelka, Aletta;"
    u"Lázár, Olimpia;Auguszta;Viola;Teofil;Tamás;Zéno;Viktória;Ádám, Éva;"
    u"KARÁCSONY, Eugénia,mszn;KARÁCSONY, István,mszn;János;Kamilla;Tamás, Tamara;"
    u"Dávid;Szilveszter",
};

inline QString commonYearEntry(int month, int day)
{
    return QString::fromUtf16(commonYear[month - 1]).split(u';').at(day - 1);
}

// Easter by the anonymous Gregorian algorithm, not by a table of full moons.
inline QDate easterSunday(int year)
{
    const int a = year % 19, b = year / 100, c = year % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

inline QDate fourthThursdayOfNovember(int year)
{
    QDate day(year, 11, 1);
    while (day.dayOfWeek() != Qt::Thursday)
        day = day.addDays(1);
    return day.addDays(3 * 7);
}

struct Day
{
    QString names; // as shown: titles included, without the holiday marker
    bool holiday;  // a work-free public holiday
    QStringList titles;
    QStringList celebrated; // the names alone

    QString entry() const { return holiday ? names + u",mszn"_s : names; }
};

// The days whose transcription starts with the title of a fixed holiday.
inline bool hasFixedTitle(int month, int day)
{
    const int titled[][2] = {{1, 1}, {3, 8}, {3, 15}, {8, 20}, {10, 23}, {12, 25}, {12, 26}};
    for (const auto& titledDay : titled)
        if (titledDay[0] == month && titledDay[1] == day)
            return true;
    return false;
}

// In a leap year 25..29 February celebrate the names of 24..28 February of a common year, and
// 24 February nobody.
inline QStringList celebratedNames(int month, int day, bool leap)
{
    if (leap && month == 2 && day == 24)
        return {};
    QString names =
        leap && month == 2 && day > 24 ? commonYearEntry(2, day - 1) : commonYearEntry(month, day);
    if (names.endsWith(u",mszn"_s))
        names.chop(5);
    QStringList parts = names.split(u", "_s);
    if (hasFixedTitle(month, day))
        parts.removeFirst();
    return parts;
}

inline Day day(const QDate& date)
{
    const int year = date.year(), month = date.month(), dayOfMonth = date.day();
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;

    QString names;
    if (leap && month == 2 && dayOfMonth == 24)
        names = commonYearEntry(2, 24) + u"/szökőnap"_s;
    else if (leap && month == 2 && dayOfMonth == 29)
        names = commonYearEntry(2, 28);
    else if (leap && month == 2 && dayOfMonth > 24)
        names = commonYearEntry(2, dayOfMonth) + u'/' + commonYearEntry(2, dayOfMonth - 1);
    else
        names = commonYearEntry(month, dayOfMonth);

    bool holiday = names.endsWith(u",mszn"_s);
    if (holiday)
        names.chop(5);
    QStringList titles;
    if (hasFixedTitle(month, dayOfMonth))
        titles += names.section(u", "_s, 0, 0);
    if (year >= 2000 && month == 11 && dayOfMonth == 1) {
        names = u"MINDENSZENTEK, "_s + names;
        titles.prepend(u"MINDENSZENTEK"_s);
        holiday = true;
    }

    const QDate easter = easterSunday(year);
    const struct
    {
        QDate date;
        const char16_t* title;
        bool holiday;
    } feasts[] = {
        {easter, u"Húsvét", true},
        {easter.addDays(1), u"Húsvéthétfő", true},
        {easter.addDays(49), u"Pünkösd", true},
        {easter.addDays(50), u"Pünkösdhétfő", true},
        {easter.addDays(-2), u"Nagypéntek", year >= 2017},
        {easter.addDays(-46), u"Hamvazószerda", false},
        {fourthThursdayOfNovember(year), u"Thanksgiving", false},
    };
    for (const auto& feast : feasts)
        if (feast.date == date) {
            names = QString::fromUtf16(feast.title) + u", "_s + names;
            titles.prepend(QString::fromUtf16(feast.title));
            holiday = holiday || feast.holiday;
        }
    return {names, holiday, titles, celebratedNames(month, dayOfMonth, leap)};
}

} // namespace reference
