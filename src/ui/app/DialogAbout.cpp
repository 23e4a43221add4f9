#include "ui/app/DialogAbout.h"

#include "ui/app/ProgramIdentity.h"
#include "ui/common/Glyphs.h"
#include "ui/common/UiText.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QUrl>

namespace {

QPlainTextEdit* MakeBorderlessText(QWidget* parent, const QRect& geometry)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setFrameShape(QFrame::NoFrame);
    edit->setReadOnly(true);
    edit->setGeometry(geometry);
    edit->viewport()->setAutoFillBackground(false);
    return edit;
}

QLabel* MakeRightAlignedLabel(QWidget* parent, int rightEdge, int top)
{
    auto* label = new QLabel(parent);
    label->setFont(QFont(QStringLiteral("Arial"), 8));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(rightEdge - 300, top, 300, 16);
    return label;
}

QLabel* MakeLinkLabel(QWidget* parent, int left, int top)
{
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    label->move(left, top);
    return label;
}

} // namespace

TDialogAbout::TDialogAbout(QWidget* parent)
    : QDialog(parent)
{
    setFixedSize(470, 399);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("VelmoraLogo"));
    logo->setGeometry(287, 8, 140, 46);
    logo->setPixmap(PaintMakerLogo(140, 46));

    LabelAppName = MakeRightAlignedLabel(this, 427, 56);
    LabelVersion = MakeRightAlignedLabel(this, 427, 72);
    Disclaimer = MakeBorderlessText(this, QRect(5, 96, 460, 193));
    Disclaimer->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    LabelByOrderOf = new QLabel(this);
    LabelByOrderOf->move(5, 293);
    Memo1 = MakeBorderlessText(this, QRect(5, 309, 160, 42));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->document()->setDocumentMargin(0);
    LabelCountry = new QLabel(this);
    LabelCountry->move(5, 350);
    LabelMailTo = MakeLinkLabel(this, 5, 365);
    LabelWebLink = MakeLinkLabel(this, 5, 380);
    LabelMailTo->installEventFilter(this);
    LabelWebLink->installEventFilter(this);

    OKBtn = new QPushButton(QStringLiteral("&OK"), this);
    OKBtn->setGeometry(376, 369, 85, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TDialogAbout::FormShow()
{
    LabelAppName->setText(ProgramTitle);
    LabelMailTo->setText(MakerMailAddress);
    LabelMailTo->adjustSize();
    LabelWebLink->setText(MakerWebAddress);
    LabelWebLink->adjustSize();
    setWindowTitle(UiText(TextId::TxtInfo) + QStringLiteral(": ") + ProgramTitle);
    LabelVersion->setText(UiText(TextId::TxtVersion) + QStringLiteral(" ") + ProgramVersion);
    Disclaimer->clear();
    Disclaimer->setPlainText(UiText(TextId::TxtFreewareNotice) + QStringLiteral(" ")
        + UiText(TextId::TxtFreewareNotice2));
    Memo1->setPlainText(MakerPostalAddress);
    LabelByOrderOf->setText(UiText(TextId::TxtByOrderOf));
    LabelByOrderOf->adjustSize();
    LabelCountry->setText(UiText(TextId::TxtCountry));
    LabelCountry->adjustSize();
}

void TDialogAbout::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TDialogAbout::keyPressEvent(QKeyEvent* event)
{
    // Esc closes the box as OK does.
    if (event->key() == Qt::Key_Escape) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TDialogAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == LabelMailTo) {
            LabelMailToClick();
            return true;
        }
        if (watched == LabelWebLink) {
            LabelWebLinkClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TDialogAbout::LabelMailToClick()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + MakerMailAddress));
}

void TDialogAbout::LabelWebLinkClick()
{
    QDesktopServices::openUrl(QUrl(MakerWebAddress));
}
