// "Open in Excel" with stand-in spreadsheet programs: small scripts that record the
// arguments they were started with, found on a PATH of the test's own.
#include "ui/analysis/SpreadsheetExport.h"
#include "support/LoadedWindow.h"

#include "core/loading/LoadLogFiles.h"
#include "core/logdata/LogFixture.h"
#include "core/settings/IniSettings.h"
#include "samplegen/SampleGenerator.h"
#include "support/GuiTestHelpers.h"
#include "support/TestFiles.h"
#include "ui/analysis/Childform.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

// Receives what the desktop's default application would be asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

class SpreadsheetExportTest : public LogFixture {
protected:
    void SetUp() override
    {
        LogFixture::SetUp();
        std::filesystem::create_directories(TempPath("bin"));
        SetVariable("PATH", TempPath("bin"));
        SetVariable("XDG_CACHE_HOME", TempPath("cache"));
        SetVariable("HOME", TempPath("home"));
        places.installPlaces
            = {QString::fromStdString(TempPath("opt/libreoffice*/program/soffice"))};
        places.flatpakApp.clear();
        log = WriteLog("10070301.csv", {"dd.mm.yy hh:mm;T1[°C];P[kW]", "01.03.07 00:00;9,6;0,5"});
        owner.resize(400, 300);
        owner.show();
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        LogFixture::TearDown();
    }

    // A stand-in that writes its arguments, each ended by a NUL byte, to <path>.args.
    std::string StandIn(const std::string& relative)
    {
        const std::string path = TempPath(relative);
        WriteTestFile(path,
            "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" + path
                + ".part'\n/bin/mv '" + path + ".part' '" + path + ".args'\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
    // Executable, but its interpreter does not exist: it cannot be started.
    std::string Broken(const std::string& relative)
    {
        const std::string path = TempPath(relative);
        WriteTestFile(path, "#!/no/such/interpreter\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
    // The arguments the stand-in was started with (waits up to ten seconds for it).
    static QStringList ArgumentsOf(const std::string& standIn)
    {
        const QString record = QString::fromStdString(standIn + ".args");
        for (int i = 0; i < 500 && !QFile::exists(record); ++i)
            QTest::qWait(20);
        QFile file(record);
        if (!file.open(QIODevice::ReadOnly))
            return {QStringLiteral("<not started>")};
        QStringList arguments = QString::fromUtf8(file.readAll()).split(QChar(0));
        arguments.removeLast();
        return arguments;
    }
    static bool Started(const std::string& standIn)
    {
        QTest::qWait(300);
        return std::filesystem::exists(standIn + ".args");
    }
    void RecordDefaultApplication()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &urls, "Open");
    }
    void Export(const std::string& file)
    {
        TSpreadsheetExport(owner, places).ActionOpenExcelExecute(file);
    }
    // Fails the test (and closes it) when a dialog opens within the time.
    void ExpectNoDialog()
    {
        QTimer::singleShot(3000, &owner, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a dialog opened";
                modal->close();
            }
        });
    }
    static void ChooseInFileDialog(const std::string& program)
    {
        WhenModalAppears([program](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_TRUE(dialog);
            // As a user types the full name into the name box.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_TRUE(name);
            name->setText(QString::fromStdString(program));
            static_cast<QDialog*>(dialog)->accept();
            EXPECT_FALSE(dialog->isVisible());
        });
    }
    static QString Import(
        int separator, int characterSet, int language, const QString& time = "1/4")
    {
        return QStringLiteral("--infilter=Text - txt - csv (StarCalc):%1,34,%2,1,%3,%4,false,true")
            .arg(separator)
            .arg(characterSet)
            .arg(time)
            .arg(language);
    }

    QString Log() const { return QString::fromStdString(log); }
    QString CopyPath() const
    {
        return QString::fromStdString(TempPath(
            "cache/" + QCoreApplication::applicationName().toStdString() + "/10070301c.csv"));
    }

    TSpreadsheetPlaces places;
    std::string log;
    QWidget owner;
    MessageRecorder boxes;
    UrlRecorder urls;
};

} // namespace

TEST_F(SpreadsheetExportTest, AGermanInterfaceHandsTheLogItselfToCalcOnPathWithItsImportOptions)
{
    for (int language : {1, 3, 4, 5, 6}) {
        SelectLanguage(language);
        const std::string localc = StandIn("bin/localc");
        const std::string soffice = StandIn("bin/soffice");
        Export(log);
        EXPECT_EQ(ArgumentsOf(localc), QStringList({Import(59, 1, 1031), Log()})) << language;
        EXPECT_FALSE(Started(soffice));
        EXPECT_FALSE(std::filesystem::exists(TempPath("cache"))) << "no copy for " << language;
        std::filesystem::remove(localc + ".args");
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SpreadsheetExportTest, AnEnglishInterfaceHandsTheCommaCopyFromTheCacheFolder)
{
    for (int language : {2, 7}) {
        SelectLanguage(language);
        const std::string soffice = StandIn("bin/soffice");
        Export(log);
        EXPECT_EQ(ArgumentsOf(soffice), QStringList({"--calc", Import(44, 1, 1033), CopyPath()}));
        EXPECT_EQ(ReadTestFile(CopyPath().toStdString()),
            "dd.mm.yy hh:mm,T1[\xB0"
            "C],P[kW]\r\n01.03.07 00:00,9.6,0.5\r\n");
        std::filesystem::remove(soffice + ".args");
        std::filesystem::remove(CopyPath().toStdString());
    }
    // Nothing was written into the working directory.
    EXPECT_FALSE(std::filesystem::exists("10070301c.csv"));
}

TEST_F(SpreadsheetExportTest, AUtf8LogIsImportedAsUtf8)
{
    SelectLanguage(1);
    const std::string utf8 = WriteBytes("10070302.csv",
        "Zeit;T1[\xC2\xB0"
        "C]\r\n");
    const std::string libreoffice = StandIn("bin/libreoffice");
    Export(utf8);
    EXPECT_EQ(ArgumentsOf(libreoffice),
        QStringList({"--calc", Import(59, 76, 1031, ""), QString::fromStdString(utf8)}));
}

TEST_F(SpreadsheetExportTest, AProgramThatCannotStartIsSkippedForTheNextPlace)
{
    SelectLanguage(1);
    Broken("bin/localc");
    const std::string libreoffice = StandIn("bin/libreoffice");
    Export(log);
    EXPECT_EQ(ArgumentsOf(libreoffice), QStringList({"--calc", Import(59, 1, 1031), Log()}));

    // Nothing usable on PATH: the install places are next.
    Broken("bin/libreoffice");
    Broken("opt/libreoffice7.5/program/soffice");
    const std::string installed = StandIn("opt/libreoffice7.6/program/soffice");
    Export(log);
    EXPECT_EQ(ArgumentsOf(installed), QStringList({"--calc", Import(59, 1, 1031), Log()}));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SpreadsheetExportTest, APickedProgramIsStoredAndTriedNextTimeBeforeTheUserIsAsked)
{
    SelectLanguage(2);
    GetIniSettings();
    const std::string picked = StandIn("home/bin/gnumeric");
    ChooseInFileDialog(picked);
    Export(log);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Information:"));
    EXPECT_EQ(boxes.shown[0].text,
        QStringLiteral("Excel.exe could not be found, please select the path to Excel manually."));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Information);
    // Any other program simply gets the file.
    EXPECT_EQ(ArgumentsOf(picked), QStringList({CopyPath()}));
    EXPECT_EQ(GetIniSettings().GetExcelPath(), picked);
    EXPECT_NE(ReadIni().find("ExcelPath=" + picked), std::string::npos);

    std::filesystem::remove(picked + ".args");
    ReleaseIniSettings();
    GetIniSettings();
    ExpectNoDialog();
    Export(log);
    EXPECT_EQ(ArgumentsOf(picked), QStringList({CopyPath()}));
    EXPECT_EQ(boxes.shown.size(), 1u);
    // Calc stays first.
    const std::string localc = StandIn("bin/localc");
    std::filesystem::remove(picked + ".args");
    Export(log);
    EXPECT_EQ(ArgumentsOf(localc), QStringList({Import(44, 1, 1033), CopyPath()}));
    EXPECT_FALSE(Started(picked));
}

TEST_F(SpreadsheetExportTest, TheFileDialogStartsInTheStoredProgramsFolderAndCancellingEndsQuietly)
{
    SelectLanguage(1);
    const std::string stored = Broken("home/apps/calc");
    GetIniSettings().SetExcelPath(stored);
    RecordDefaultApplication();
    QStringList filters;
    QString directory;
    QPoint offset;
    WhenModalAppears([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_TRUE(dialog);
        filters = dialog->nameFilters();
        directory = dialog->directory().absolutePath();
        const QRect area = dialog->screen()->availableGeometry();
        offset = dialog->frameGeometry().center() - area.center();
        dialog->reject();
    });
    Export(log);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Information:"));
    EXPECT_EQ(boxes.shown[0].text,
        QStringLiteral(
            "Excel.exe wurde nicht gefunden, bitte wählen Sie den Pfad zu Excel manuell aus."));
    EXPECT_EQ(filters, QStringList({"Alle Dateien (*)"}));
    EXPECT_EQ(directory, QString::fromStdString(TempPath("home/apps")));
    EXPECT_LE(offset.manhattanLength(), 1);
    EXPECT_EQ(GetIniSettings().GetExcelPath(), stored);
    EXPECT_TRUE(urls.urls.isEmpty());
}

TEST_F(SpreadsheetExportTest, WhenThePickedProgramFailsTooTheDefaultApplicationOpensTheFile)
{
    SelectLanguage(1);
    RecordDefaultApplication();
    GetIniSettings();
    ChooseInFileDialog(Broken("home/calc"));
    Export(log);
    EXPECT_EQ(urls.urls, QList<QUrl>({QUrl::fromLocalFile(Log())}));
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(GetIniSettings().GetExcelPath(), "");
}

TEST_F(SpreadsheetExportTest, WhenNothingStartsTheUserIsToldToOpenTheFileManually)
{
    SelectLanguage(2);
    ChooseInFileDialog(Broken("home/calc"));
    Export(log);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].caption, QStringLiteral("Error:"));
    EXPECT_EQ(boxes.shown[1].text,
        QStringLiteral("Excel start-up failed. The file must be opened manually."));
    EXPECT_EQ(boxes.shown[1].icon, MessageIcon::Error);
}

TEST_F(SpreadsheetExportTest, AFileNameWithShellCharactersReachesTheProgramAsOneArgument)
{
    SelectLanguage(1);
    const std::string name = "day 1 \"x\" 'y' ; $(touch INJECTED) `touch INJECTED2` &.csv";
    const std::string tricky = WriteLog(name, {"a;b"});
    const std::string localc = StandIn("bin/localc");
    Export(tricky);
    EXPECT_EQ(ArgumentsOf(localc),
        QStringList({Import(59, 1, 1031, ""), QString::fromStdString(tricky)}));

    SelectLanguage(2);
    std::filesystem::remove(localc + ".args");
    Export(tricky);
    const QStringList english = ArgumentsOf(localc);
    ASSERT_EQ(english.size(), 2);
    EXPECT_TRUE(english[1].endsWith(
        QString::fromStdString("day 1 \"x\" 'y' ; $(touch INJECTED) `touch INJECTED2` &c.csv")));
    for (const char* injected : {"INJECTED", "INJECTED2"}) {
        EXPECT_FALSE(std::filesystem::exists(injected));
        EXPECT_FALSE(std::filesystem::exists(TempPath(injected)));
    }
}

TEST_F(SpreadsheetExportTest, ADayWithoutAFileDoesNothingAnUnreadableLogOpensNothing)
{
    SelectLanguage(2);
    const std::string localc = StandIn("bin/localc");
    Export("");
    EXPECT_FALSE(Started(localc));
    EXPECT_TRUE(boxes.shown.empty());
    ExpectFailure(TextId::TxtCouldNotCreateFile, [&] { Export(TempPath("logs/10070309.csv")); });
    EXPECT_FALSE(Started(localc));
}

namespace {

// The button of a real analysis window loaded from two days of sample logs.
class OpenInExcelButtonTest : public SpreadsheetExportTest {
protected:
    void SetUp() override
    {
        SpreadsheetExportTest::SetUp();
        TSampleOptions options;
        options.outputDir = TempPath("samples");
        options.from = {2024, 3, 1};
        options.to = {2024, 3, 2};
        options.devices = {10, 21};
        options.layout = TSampleLayout::Flat;
        options.faults = false;
        GenerateSampleLogs(options);
        area.resize(1100, 760);
        area.show();
        TLoadResult result;
        child = OpenLoadedWindow(
            area, TempPath("samples"), EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 2), result);
        ASSERT_TRUE(result.failures.empty());
    }
    void TearDown() override
    {
        area.closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SpreadsheetExportTest::TearDown();
    }

    QMdiArea area;
    TChildform* child = nullptr;
};

} // namespace

TEST_F(OpenInExcelButtonTest, TheButtonOpensTheDisplayedDaysFileOfTheSelectedDevice)
{
    SelectLanguage(1);
    const std::string localc = StandIn("bin/localc");
    ASSERT_TRUE(child->ButtonOpenExcel->isEnabled());
    child->TabSetDevices->setCurrentIndex(1);
    child->SetTimeWindow(EncodeDate(2024, 3, 3), EncodeDate(2024, 3, 2) + 0.5);
    QTest::mouseClick(child->ButtonOpenExcel, Qt::LeftButton);
    const QStringList arguments = ArgumentsOf(localc);
    ASSERT_EQ(arguments.size(), 2);
    EXPECT_EQ(arguments[1], QString::fromStdString(TempPath("samples/21240302.csv")));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(OpenInExcelButtonTest, ADayWithoutALogFileOfTheDeviceOpensNothingAndSaysSo)
{
    SelectLanguage(1);
    const std::string localc = StandIn("bin/localc");
    // Only the solar controller logged 2 March.
    std::filesystem::remove(TempPath("samples/21240302.csv"));
    TLoadResult result;
    TChildform* window = OpenLoadedWindow(
        area, TempPath("samples"), EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 2), result);
    window->SliderTime->setValue(1);
    window->TabSetDevices->setCurrentIndex(1);
    ASSERT_TRUE(window->ButtonOpenExcel->isEnabled());
    QTest::mouseClick(window->ButtonOpenExcel, Qt::LeftButton);
    EXPECT_FALSE(Started(localc));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Information:");
    EXPECT_EQ(boxes.shown[0].text,
        "Für den angezeigten Tag gibt es keine Protokolldatei dieses Busteilnehmers.");
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Information);

    window->TabSetDevices->setCurrentIndex(0);
    QTest::mouseClick(window->ButtonOpenExcel, Qt::LeftButton);
    const QStringList arguments = ArgumentsOf(localc);
    ASSERT_EQ(arguments.size(), 2);
    EXPECT_EQ(arguments[1], QString::fromStdString(TempPath("samples/10240302.csv")));
}

TEST_F(OpenInExcelButtonTest, TheButtonIsEnabledOnlyForADayOrLessOfOneDevice)
{
    ASSERT_EQ(child->TabSetDevices->count(), 3);
    EXPECT_TRUE(child->ActionOpenExcel->isEnabled());
    child->TabSetDevices->setCurrentIndex(2);
    EXPECT_FALSE(child->ActionOpenExcel->isEnabled()) << "Overview";
    child->TabSetDevices->setCurrentIndex(0);
    EXPECT_TRUE(child->ActionOpenExcel->isEnabled());
    child->SpanTime->setCurrentIndex(4);
    child->UpdateExcelAction();
    EXPECT_FALSE(child->ActionOpenExcel->isEnabled()) << "1 month";
    child->SpanTime->setCurrentIndex(0);
    child->UpdateExcelAction();
    EXPECT_TRUE(child->ActionOpenExcel->isEnabled()) << "1 hour";
}

#include "SpreadsheetExportTest.moc"
