// The German log and the English comma copy, converted by the real LibreOffice with
// exactly the import options the program hands to Calc: every column must arrive split,
// every value as the same number and every time stamp as a date-time.
#include "ui/analysis/SpreadsheetExport.h"

#include "core/base/Numbers.h"
#include "core/logdata/LogFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

struct SheetCell {
    QString type; // "float", "date", "string" or empty
    QString value; // office:value, office:date-value or the text
};
using SheetRow = QList<SheetCell>;

// The rows of the first table of a flat OpenDocument spreadsheet, repeated rows and
// cells spelled out, empty cells at the end of a row left out.
QList<SheetRow> ReadFlatSheet(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QList<SheetRow> rows;
    SheetRow row;
    SheetCell cell;
    int rowRepeat = 1;
    int cellRepeat = 1;
    const auto repeat = [](const QXmlStreamAttributes& attributes, const char* name) {
        const int count = attributes.value(QLatin1String(name)).toInt();
        return count > 0 ? count : 1;
    };
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.name();
        if (xml.isStartElement()) {
            const QXmlStreamAttributes attributes = xml.attributes();
            if (name == QLatin1String("table-row")) {
                row.clear();
                rowRepeat = repeat(attributes, "number-rows-repeated");
            } else if (name == QLatin1String("table-cell")) {
                cellRepeat = repeat(attributes, "number-columns-repeated");
                cell.type = attributes.value(QLatin1String("office:value-type")).toString();
                cell.value = cell.type == QLatin1String("float")
                    ? attributes.value(QLatin1String("office:value")).toString()
                    : attributes.value(QLatin1String("office:date-value")).toString();
            } else if (name == QLatin1String("p") && cell.type == QLatin1String("string")) {
                cell.value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement()) {
            if (name == QLatin1String("table-cell")) {
                for (int i = 0; i < cellRepeat; ++i)
                    row << cell;
                cell = {};
            } else if (name == QLatin1String("table-row")) {
                while (!row.isEmpty() && row.last().type.isEmpty())
                    row.removeLast();
                for (int i = 0; i < rowRepeat && !row.isEmpty(); ++i)
                    rows << row;
            } else if (name == QLatin1String("table")) {
                break;
            }
        }
    }
    return rows;
}

class CalcImportTest : public LogFixture {
protected:
    void SetUp() override
    {
        LogFixture::SetUp();
        soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed; scripts/bootstrap installs "
                            "the Debian package libreoffice-calc-nogui";
        SetVariable("XDG_CACHE_HOME", TempPath("cache"));
    }

    // Converts headless into a flat spreadsheet, the way Calc opens the file.
    QList<SheetRow> Convert(const TSpreadsheetFile& file)
    {
        const QString out = QString::fromStdString(TempPath("sheets"));
        QProcess process;
        process.start(soffice,
            {QStringLiteral("-env:UserInstallation=")
                    + QUrl::fromLocalFile(QString::fromStdString(TempPath("profile"))).toString(),
                QStringLiteral("--headless"), file.CalcImportOption(),
                QStringLiteral("--convert-to"), QStringLiteral("fods"), QStringLiteral("--outdir"),
                out, file.path});
        EXPECT_TRUE(process.waitForFinished(120000)) << "LibreOffice did not finish";
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return ReadFlatSheet(
            QDir(out).filePath(QFileInfo(file.path).completeBaseName() + QStringLiteral(".fods")));
    }

    QString soffice;
};

} // namespace

TEST_F(CalcImportTest, TheLogAndTheCommaCopyArriveInCalcSplitWithTheSameNumbers)
{
    const std::vector<std::vector<std::string>> values = {{"9,6", "-0,50", "3653,0", "0"},
        {"12,25", "1234,5", "3653,1", "100"}, {"-3,0", "0,0", "3653,125", "55"}};
    std::vector<std::string> lines = {"dd.mm.yy hh:mm;T1[°C];P[kW];Qges[kWh];R1[%];Note, \"x\""};
    for (size_t i = 0; i < values.size(); ++i) {
        std::string line = "01.03.07 12:0" + std::to_string(i);
        for (const std::string& value : values[i])
            line += ";" + value;
        lines.push_back(line + ";ok, fine");
    }
    const std::string log = WriteLog("10070301.csv", lines);

    SelectLanguage(1);
    const TSpreadsheetFile german = TSpreadsheetExport::FileToOpen(log);
    SelectLanguage(2);
    const TSpreadsheetFile english = TSpreadsheetExport::FileToOpen(log);
    ASSERT_TRUE(english.commaSeparated);
    for (const TSpreadsheetFile& file : {german, english}) {
        SCOPED_TRACE(file.path.toStdString());
        const QList<SheetRow> rows = Convert(file);
        ASSERT_EQ(rows.size(), 1 + qsizetype(values.size()));
        QStringList header;
        for (const SheetCell& cell : rows[0])
            header << cell.type + ":" + cell.value;
        EXPECT_EQ(header.join(" | ").toStdString(),
            "string:dd.mm.yy hh:mm | string:T1[°C] | string:P[kW] | string:Qges[kWh] | "
            "string:R1[%] | string:Note, \"x\"");
        for (size_t i = 0; i < values.size(); ++i) {
            const SheetRow& row = rows[qsizetype(i) + 1];
            ASSERT_EQ(row.size(), 6);
            EXPECT_EQ(row[0].type, "date");
            EXPECT_EQ(row[0].value, QStringLiteral("2007-03-01T12:0%1:00").arg(i));
            for (size_t column = 0; column < values[i].size(); ++column) {
                double expected = 0;
                ASSERT_TRUE(TryParseDecimalComma(values[i][column], expected));
                EXPECT_EQ(row[qsizetype(column) + 1].type, "float");
                EXPECT_DOUBLE_EQ(row[qsizetype(column) + 1].value.toDouble(), expected)
                    << values[i][column];
            }
            EXPECT_EQ(row[5].type + ":" + row[5].value, "string:ok, fine");
        }
    }
}
