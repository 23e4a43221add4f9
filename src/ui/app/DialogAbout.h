#pragma once
// The about box: program name and version, the licence notice of the current language
// and the maker's contact block with a mail and a web link.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TDialogAbout : public QDialog {
    Q_OBJECT
public:
    explicit TDialogAbout(QWidget* parent = nullptr);

    QLabel* LabelAppName = nullptr;
    QLabel* LabelVersion = nullptr;
    QPlainTextEdit* Disclaimer = nullptr;
    QLabel* LabelByOrderOf = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* LabelCountry = nullptr;
    QLabel* LabelMailTo = nullptr;
    QLabel* LabelWebLink = nullptr;
    QPushButton* OKBtn = nullptr;

    void LabelMailToClick();
    void LabelWebLinkClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
};
