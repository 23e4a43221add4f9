#pragma once
// "Open in Excel": hands the displayed day's log file to the spreadsheet program, on
// Linux LibreOffice Calc. An English interface gets a comma-separated copy with decimal
// points. Calc is looked for on PATH, in its usual install places and as a Flatpak;
// then the program the user picked once, or one picked now; last the desktop's default
// application for the file. Programs are started with argument lists, never through a
// shell, so no file name can run a command.

#include "core/base/DateTime.h"

#include <QString>
#include <QStringList>

#include <string>

class QWidget;
class TLogAnalysis;

// Where LibreOffice lives outside PATH. A "*" in the last folder of the part before
// "/program/" matches any folder of that name ("/opt/libreoffice*/program/soffice").
struct TSpreadsheetPlaces {
    QStringList installPlaces{QStringLiteral("/usr/lib/libreoffice/program/soffice"),
        QStringLiteral("/opt/libreoffice*/program/soffice")};
    QString flatpakApp = QStringLiteral("org.libreoffice.LibreOffice");
};

// The file handed to the spreadsheet and Calc's CSV import for it, so that Calc opens
// the sheet at once, columns split and numbers read as numbers.
struct TSpreadsheetFile {
    QString path;
    bool commaSeparated = false; // the English copy: "," between cells, "." in numbers
    bool utf8 = false; // otherwise Windows-1252
    int timeColumn = 0; // 1-based, read as day-month-year or year-month-day dates
    bool dayFirst = false;
    // "--infilter=Text - txt - csv (StarCalc):<separator code>,34,<character set>,1,
    // <time column>/<date order>,<language>,false,true"
    QString CalcImportOption() const;
};

class TSpreadsheetExport {
public:
    explicit TSpreadsheetExport(QWidget& owner, TSpreadsheetPlaces places = {});

    // The command for the displayed day: its log file of the device, or, for a day the
    // device has none of, a message and nothing opened.
    void OpenDay(const TLogAnalysis& analysis, TDateTime day);
    // The whole command for the day's log file; an empty name does nothing.
    void ActionOpenExcelExecute(const std::string& logFile);

    // The log itself, or for an English interface its comma copy in the program's cache
    // folder. Fails with "Could not create file".
    static TSpreadsheetFile FileToOpen(const std::string& logFile);
    // What a program is given: Calc's import option for LibreOffice programs, the file.
    static QStringList ArgumentsFor(const QString& program, const TSpreadsheetFile& file);

private:
    bool StartCalcByName(const TSpreadsheetFile& file) const;
    bool StartCalcFromInstallPlace(const TSpreadsheetFile& file) const;
    bool StartCalcFlatpak(const TSpreadsheetFile& file) const;
    bool StartStoredProgram(const TSpreadsheetFile& file) const;
    // Asks for the program; false when the user cancels.
    bool PickProgram(QString& program) const;
    void OpenWithDefaultApplication(const TSpreadsheetFile& file) const;

    QWidget& owner;
    TSpreadsheetPlaces places;
};
