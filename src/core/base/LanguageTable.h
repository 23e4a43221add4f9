#pragma once
// Every text the user sees, in six text arrays that serve seven languages.
// Texts are UTF-8 inside the program.

#include <string>
#include <string_view>

enum class TextId {
    TxtFreewareNotice,
    TxtFreewareNotice2,
    TxtMenuFile,
    TxtOpen,
    TxtClose,
    TxtSave,
    TxtPrint,
    TxtExit,
    TxtSettings,
    TxtCurrentWindow,
    TxtLanguageSelection,
    TxtMenuWindow,
    TxtCascade,
    TxtTileHorizontal,
    TxtMinimizeAll,
    TxtInfo,
    TxtNew,
    TxtAnalysisFrom,
    TxtAnalysisFromTo,
    TxtTo,
    TxtFileCountOpen,
    TxtFileCountClose,
    TxtDisplayedTimeWindow,
    TxtScrollBar,
    TxtOpenInExcel,
    TxtSpan1Hour,
    TxtSpan3Hours,
    TxtSpan8Hours,
    TxtSpan1Day,
    TxtSpan1Month,
    TxtLineWidth,
    TxtScaleYAxis,
    TxtDynamic,
    TxtFixed,
    TxtMin,
    TxtMax,
    TxtDisplayAs,
    TxtBars,
    TxtLines,
    TxtOutputHeading,
    TxtDefault,
    TxtCancel,
    TxtOk,
    TxtSelectableValues,
    TxtInputs,
    TxtOtherValues,
    TxtOutputs,
    TxtQuestion,
    TxtError,
    TxtWarning,
    TxtInformation,
    TxtDate,
    TxtSumFlowRate,
    TxtSumEnergy,
    TxtVersion,
    TxtImageFiles,
    TxtAllFiles,
    TxtSearch,
    TxtAnalyse,
    TxtPressEsc,
    TxtAbortedByUser,
    TxtSaveSettingsQuestion,
    TxtErrorOpeningFile,
    TxtNoMeasuredValues,
    TxtInvalidLogFile,
    TxtNoFilesFound,
    TxtIniAccessFailed,
    TxtMaxAnalysesQuestion,
    TxtWindowNotCreated,
    TxtDataStructureMemory,
    TxtExcelNotFound,
    TxtExcelStartFailed,
    TxtDayHasNoLogFile,
    TxtNoData,
    TxtYAxisNumbersOnly,
    TxtInvalidLineWidth,
    TxtByOrderOf,
    TxtMenuView,
    TxtDiagram,
    TxtTable,
    TxtGraphicalView,
    TxtTabularView,
    TxtOverviewDisplay,
    TxtOpenReport,
    TxtStep1,
    TxtStep2,
    TxtPeriodStart,
    TxtPeriodEnd,
    TxtProgress,
    TxtSelectLogDirectory,
    TxtDevicesAndValues,
    TxtGeneralSettings,
    TxtDeviceSpecific,
    TxtGraphSettings,
    TxtLogFileEntry,
    TxtDisplayName,
    TxtDisplayColour,
    TxtOverview,
    TxtTotal,
    TxtSpan1Quarter,
    TxtSpan1Year,
    TxtDailyOverview,
    TxtMonthlyOverview,
    TxtAnnualOverview,
    TxtAnnualYield,
    TxtQuarterlyYield,
    TxtMonthlyYield,
    TxtSolarController,
    TxtHeatingCircuit,
    TxtFreshWater,
    TxtExtension,
    TxtCouldNotCreateFile,
    TxtNoFileToOpen,
    TxtNoBusParticipant,
    TxtSelectOverviewDataFirst,
    TxtDifferentUnits,
    TxtDifferentUnitsEnd,
    TxtDuplicateDeviceNumber,
    TxtErrorsOpeningLogFiles,
    TxtIndexError,
    TxtDeviceSettingRange,
    TxtReportNotProduced,
    TxtOutOfMemoryReport,
    TxtCountry,
    TxtCopy,
    TxtCopyTable,
    TxtPrintPreview,
    TxtPrintFailed,
    TxtHintJumpLeft,
    TxtHintScrollLeft,
    TxtHintScrollRight,
    TxtHintJumpRight,
    TxtUserManual,
    TxtManualMissing,
    Count
};

constexpr int TextCount = static_cast<int>(TextId::Count);

// The six text arrays; English (US) shows the English (GB) texts.
enum class TextArray { German, EnglishGB, French, Spanish, Italian, Portuguese, Count };

constexpr int TextArrayCount = static_cast<int>(TextArray::Count);

// The entry of the current language.
const std::string& Text(TextId id);

// The entry of a given text array, whatever the current language is.
const std::string& TextIn(TextArray array, TextId id);

// True when the text equals the entry in any of the six arrays (case significant).
bool MatchesAnyLanguage(std::string_view text, TextId id);

// Language codes as stored in the settings: 1 German, 2 English (GB), 3 French,
// 4 Spanish, 5 Italian, 6 Portuguese, 7 English (US). Anything else selects German.
void SelectLanguage(int code);

// The text array a language code selects.
TextArray TextArrayForCode(int code);

// The array the current language reads from.
TextArray CurrentTextArray();
