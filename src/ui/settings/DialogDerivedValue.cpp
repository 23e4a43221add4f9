#include "ui/settings/DialogDerivedValue.h"

#include "core/logdata/Formula.h"
#include "ui/common/CenterDialogHook.h"
#include "ui/common/UiText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

TDialogDerivedValue::TDialogDerivedValue(
    std::vector<std::string> measured, std::vector<std::string> taken, QWidget* parent)
    : QDialog(parent)
    , measured(std::move(measured))
    , taken(std::move(taken))
{
    setWindowTitle(UiText(TextId::TxtDerivedValue));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    InstallCenterDialogHook(*this);
    EditName = new QLineEdit(this);
    EditUnit = new QLineEdit(this);
    EditFormula = new QLineEdit(this);
    EditFormula->setMinimumWidth(320);
    LabelProblem = new QLabel(this);
    LabelProblem->setWordWrap(true);
    QPalette palette = LabelProblem->palette();
    palette.setColor(QPalette::WindowText, QColor(170, 0, 0));
    LabelProblem->setPalette(palette);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->button(QDialogButtonBox::Ok)->setText(UiText(TextId::TxtOk));
    Buttons->button(QDialogButtonBox::Cancel)->setText(UiText(TextId::TxtCancel));
    auto* form = new QFormLayout(this);
    form->addRow(UiText(TextId::TxtDerivedName), EditName);
    form->addRow(UiText(TextId::TxtDerivedUnit), EditUnit);
    form->addRow(UiText(TextId::TxtDerivedFormula), EditFormula);
    form->addRow(LabelProblem);
    form->addRow(Buttons);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QLineEdit* edit : {EditName, EditUnit, EditFormula})
        connect(edit, &QLineEdit::textChanged, this, &TDialogDerivedValue::Check);
    Check();
}

void TDialogDerivedValue::SetValue(const TDerivedValue& value)
{
    EditName->setText(QString::fromStdString(value.name));
    EditUnit->setText(QString::fromStdString(value.unit));
    EditFormula->setText(QString::fromStdString(value.expression));
    std::erase(taken, value.name);
    Check();
}

TDerivedValue TDialogDerivedValue::Value() const
{
    return {EditName->text().trimmed().toStdString(),
        BracketedUnit(EditUnit->text().trimmed().toStdString()),
        EditFormula->text().trimmed().toStdString()};
}

QString TDialogDerivedValue::Problem() const
{
    const TDerivedValue value = Value();
    if (value.name.empty())
        return UiText(TextId::TxtNameMissing);
    if (std::find(taken.begin(), taken.end(), value.name) != taken.end())
        return UiText(TextId::TxtNameTaken);
    try {
        TFormula(value.expression, measured);
    } catch (const TFormulaError& e) {
        const QString reason = e.UnknownField().empty() ? QString::fromStdString(e.Reason())
                                                        : UiText(TextId::TxtUnknownField)
                + QStringLiteral(" ") + QString::fromStdString(e.UnknownField());
        return UiText(TextId::TxtFormulaPosition) + QStringLiteral(" %1: ").arg(e.Position())
            + reason;
    }
    return {};
}

void TDialogDerivedValue::Check()
{
    const QString problem = Problem();
    LabelProblem->setText(problem);
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}
