#pragma once
// Lists the log files that failed while an analysis was opened: three lines per file
// (path, message, empty line). Filled during a successful load, shown once afterwards.

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TDialogFileError : public QDialog {
    Q_OBJECT
public:
    explicit TDialogFileError(QWidget* parent = nullptr);

    void ClearErrors();
    void SetErrors(const QStringList& lines);
    // Shows the box modally when errors are pending, then clears them.
    void ShowIfErrors();

    bool HasPendingErrors() const { return pending; }

    QLabel* LabelCaption = nullptr;
    QPlainTextEdit* ErrorList = nullptr;
    QPushButton* ButtonOk = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    bool pending = false;
};
