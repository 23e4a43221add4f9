#pragma once
// The dialog through which every analysis is opened: a directory of day log files, a
// period within the dates found, and the loading of the chosen files into an analysis
// window with progress, abort by Esc and a list of the files that failed.

#include "core/loading/DirectoryScan.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TChildform;
class TDialogFileError;
class TEscapeKeyWatch;

class TDialogOpenAnalysis : public QDialog {
    Q_OBJECT
public:
    TDialogOpenAnalysis(TDialogFileError* fileErrors, QWidget* parent = nullptr);
    ~TDialogOpenAnalysis() override;

    // The window the files go into, and the directory to offer.
    void AssignAnalysisWindow(TChildform* window, const QString& directory);
    QString GetRootDirectory() const;

    void UpdateFileList();
    bool IsLoading() const { return loading; }

    // Number of files the last scan accepted (the range test at "Analyse" removes some).
    int ValidFileCount() const;

    QLabel* LabelStep1 = nullptr;
    QLineEdit* RootDir = nullptr;
    QPushButton* SelectDirBtn = nullptr;
    QLabel* LabelStep2 = nullptr;
    QLabel* LabelFrom = nullptr;
    QDateEdit* DateFrom = nullptr;
    QLabel* LabelTo = nullptr;
    QDateEdit* DateTo = nullptr;
    QLabel* LabelProgress = nullptr;
    QProgressBar* Progress = nullptr;
    QLabel* LabelAbort = nullptr;
    QPushButton* ExecuteBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // The folder browser; tests replace it. Returns the chosen path or an empty text.
    std::function<QString(QWidget* parent, const QString& title, const QString& start)>
        BrowseForDirectory;

public slots:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ApplyLanguage();
    void SelectDirBtnClick();
    void DateFromChange();
    void DateToChange();
    void SetInputsEnabled(bool enabled);
    static void SetDateRange(
        QDateEdit* picker, TDateTime minimum, TDateTime maximum, TDateTime date);
    bool Analyse();
    bool LoadFiles(const TLogFileList& files);

    TLogFileList validFiles;
    QString scannedDirectory;
    TDialogFileError* fileErrors;
    TEscapeKeyWatch* escape;
    QPointer<TChildform> target;
    bool loading = false;
};
