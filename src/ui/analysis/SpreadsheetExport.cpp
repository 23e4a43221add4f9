#include "ui/analysis/SpreadsheetExport.h"

#include "core/base/KalvexError.h"
#include "core/logdata/CommaCopy.h"
#include "core/logdata/LogAnalysis.h"
#include "core/logdata/LogFileText.h"
#include "core/settings/IniSettings.h"
#include "ui/common/FileDialog.h"
#include "ui/common/MessageBox.h"
#include "ui/common/UiText.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// Calc's names for the character sets and the languages whose numbers it reads.
constexpr int CalcUtf8 = 76;
constexpr int CalcWindows1252 = 1;
constexpr int LanguageGerman = 1031; // decimal comma
constexpr int LanguageEnglishUs = 1033; // decimal point
// Separators by their character codes.
constexpr int CalcComma = 44;
constexpr int CalcSemicolon = 59;
constexpr int CalcDayMonthYear = 4;
constexpr int CalcYearMonthDay = 5;
constexpr int FlatpakInfoTimeoutMs = 5000;

// A started program counts as success; one that cannot be started as failure.
bool Start(const QString& program, const QStringList& arguments)
{
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

bool IsLibreOfficeProgram(const QString& program)
{
    const QString name = QFileInfo(program).fileName();
    return name == QLatin1String("localc") || name.startsWith(QLatin1String("soffice"))
        || name.startsWith(QLatin1String("libreoffice"));
}

// The existing executable files a place names, its "*" folders expanded in name order.
QStringList ExpandPlace(const QString& place)
{
    QStringList paths{QStringLiteral("/")};
    for (const QString& segment : place.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QStringList next;
        for (const QString& path : paths) {
            const QDir dir(path);
            if (!segment.contains(QLatin1Char('*'))) {
                next << dir.filePath(segment);
                continue;
            }
            for (const QString& name :
                dir.entryList({segment}, QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name))
                next << dir.filePath(name);
        }
        paths = next;
    }
    QStringList programs;
    for (const QString& path : paths)
        if (const QFileInfo info(path); info.isFile() && info.isExecutable())
            programs << path;
    return programs;
}

} // namespace

QString TSpreadsheetFile::CalcImportOption() const
{
    const QString timeFormat = timeColumn > 0
        ? QStringLiteral("%1/%2")
              .arg(timeColumn)
              .arg(dayFirst ? CalcDayMonthYear : CalcYearMonthDay)
        : QString();
    // The last two: quoted cells are not forced to text, dates and times are recognised.
    return QStringLiteral("--infilter=Text - txt - csv (StarCalc):%1,34,%2,1,%3,%4,false,true")
        .arg(commaSeparated ? CalcComma : CalcSemicolon)
        .arg(utf8 ? CalcUtf8 : CalcWindows1252)
        .arg(timeFormat)
        .arg(commaSeparated ? LanguageEnglishUs : LanguageGerman);
}

TSpreadsheetExport::TSpreadsheetExport(QWidget& owner, TSpreadsheetPlaces places)
    : owner(owner)
    , places(std::move(places))
{
}

TSpreadsheetFile TSpreadsheetExport::FileToOpen(const std::string& logFile)
{
    TSpreadsheetFile file;
    // Absolute, so that no file name is ever taken for an option of the program.
    file.path = QFileInfo(QString::fromStdString(logFile)).absoluteFilePath();
    std::string bytes;
    if (ReadWholeFile(logFile, bytes)) {
        file.utf8 = IsUtf8LogText(bytes);
        const TLogTimeColumn time = FindTimeColumn(bytes);
        file.timeColumn = time.column;
        file.dayFirst = time.dayFirst;
    }
    if (CurrentTextArray() != TextArray::EnglishGB)
        return file;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        Fail(TextId::TxtCouldNotCreateFile);
    const QString copy = QDir(folder).filePath(QString::fromStdString(CommaCopyFileName(logFile)));
    WriteCommaCopy(logFile, copy.toStdString());
    file.path = copy;
    file.commaSeparated = true;
    return file;
}

QStringList TSpreadsheetExport::ArgumentsFor(const QString& program, const TSpreadsheetFile& file)
{
    if (!IsLibreOfficeProgram(program))
        return {file.path};
    QStringList arguments;
    if (QFileInfo(program).fileName() != QLatin1String("localc"))
        arguments << QStringLiteral("--calc");
    arguments << file.CalcImportOption() << file.path;
    return arguments;
}

void TSpreadsheetExport::OpenDay(const TLogAnalysis& analysis, TDateTime day)
{
    const std::string logFile = analysis.FileOfDay(day);
    if (logFile.empty()) {
        ShowMessage({&owner, UiText(TextId::TxtInformation) + QLatin1Char(':'),
            UiText(TextId::TxtDayHasNoLogFile), MessageIcon::Information, MessageButtons::Ok});
        return;
    }
    ActionOpenExcelExecute(logFile);
}

void TSpreadsheetExport::ActionOpenExcelExecute(const std::string& logFile)
{
    if (logFile.empty())
        return;
    const TSpreadsheetFile file = FileToOpen(logFile);
    if (StartCalcByName(file) || StartCalcFromInstallPlace(file) || StartCalcFlatpak(file)
        || StartStoredProgram(file))
        return;
    ShowMessage({&owner, UiText(TextId::TxtInformation) + QLatin1Char(':'),
        UiText(TextId::TxtExcelNotFound), MessageIcon::Information, MessageButtons::Ok});
    QString program;
    if (!PickProgram(program))
        return;
    if (Start(program, ArgumentsFor(program, file))) {
        if (TIniSettings* settings = ExistingIniSettings())
            settings->SetExcelPath(program.toStdString());
        return;
    }
    OpenWithDefaultApplication(file);
}

bool TSpreadsheetExport::StartCalcByName(const TSpreadsheetFile& file) const
{
    for (const char* name : {"localc", "libreoffice", "soffice"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (Start(program, ArgumentsFor(program, file)))
            return true;
    }
    return false;
}

bool TSpreadsheetExport::StartCalcFromInstallPlace(const TSpreadsheetFile& file) const
{
    for (const QString& place : places.installPlaces)
        for (const QString& program : ExpandPlace(place))
            if (Start(program, ArgumentsFor(program, file)))
                return true;
    return false;
}

bool TSpreadsheetExport::StartCalcFlatpak(const TSpreadsheetFile& file) const
{
    const QString flatpak = QStandardPaths::findExecutable(QStringLiteral("flatpak"));
    if (flatpak.isEmpty() || places.flatpakApp.isEmpty())
        return false;
    QProcess info;
    info.start(flatpak, {QStringLiteral("info"), places.flatpakApp});
    if (!info.waitForFinished(FlatpakInfoTimeoutMs)) {
        info.kill();
        info.waitForFinished();
        return false;
    }
    if (info.exitStatus() != QProcess::NormalExit || info.exitCode() != 0)
        return false;
    // The file lies outside the sandbox: forwarding lets the Flatpak read it.
    return Start(flatpak,
        {QStringLiteral("run"), QStringLiteral("--file-forwarding"), places.flatpakApp,
            QStringLiteral("--calc"), file.CalcImportOption(), QStringLiteral("@@"), file.path,
            QStringLiteral("@@")});
}

bool TSpreadsheetExport::StartStoredProgram(const TSpreadsheetFile& file) const
{
    const TIniSettings* settings = ExistingIniSettings();
    if (!settings || settings->GetExcelPath().empty())
        return false;
    const QString program = QString::fromStdString(settings->GetExcelPath());
    return Start(program, ArgumentsFor(program, file));
}

bool TSpreadsheetExport::PickProgram(QString& program) const
{
    const TIniSettings* settings = ExistingIniSettings();
    program = settings ? QString::fromStdString(settings->GetExcelPath()) : QString();
    const QString directory
        = program.isEmpty() ? QStringLiteral("/usr/bin") : QFileInfo(program).absolutePath();
    const QString filter = UiText(TextId::TxtAllFiles) + QStringLiteral(" (*.*)|*");
    return ShowFileDialog(program, &owner, filter, true, QString(), directory)
        && !program.isEmpty();
}

void TSpreadsheetExport::OpenWithDefaultApplication(const TSpreadsheetFile& file) const
{
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(file.path)))
        return;
    ShowMessage({&owner, UiText(TextId::TxtError) + QLatin1Char(':'),
        UiText(TextId::TxtExcelStartFailed), MessageIcon::Error, MessageButtons::Ok});
}
