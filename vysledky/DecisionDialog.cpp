#include "vysledky/DecisionDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString DecisionDialog::actionText(Decision::Kind kind) {
    switch (kind) {
    case Decision::Kind::Assign:
        return QStringLiteral("Přiřadit družstvu…");
    case Decision::Kind::Invalid:
        return QStringLiteral("Neplatný – rozhodnutí rozhodčích…");
    case Decision::Kind::Valid:
        return QStringLiteral("Znovu platný…");
    case Decision::Kind::Drop:
        break;
    }
    return QStringLiteral("Vyřadit jako zkušební…");
}

DecisionDialog::DecisionDialog(const Attempt& attempt, Decision::Kind kind,
                               const QStringList& teams, const QString& fileName, QWidget* parent)
    : QDialog(parent), kind_(kind), reason_(new QLineEdit),
      write_(new QPushButton(QStringLiteral("Zapsat"))) {
    QString what = actionText(kind);
    what.chop(1);
    setWindowTitle(QStringLiteral("Pokus %1: %2").arg(attempt.number).arg(what));
    auto* about = new QLabel(
        QStringLiteral("Pokus %1: %2, dráha 1 %3, dráha 2 %4, %5.\n"
                       "Rozhodnutí se připíše do souboru %6 a platí, dokud je další nezmění.")
            .arg(attempt.number)
            .arg(attempt.team, attempt.lane1.isEmpty() ? QStringLiteral("–") : attempt.lane1,
                 attempt.lane2.isEmpty() ? QStringLiteral("–") : attempt.lane2,
                 stateText(attempt.state), fileName));
    about->setTextFormat(Qt::PlainText);
    auto* form = new QFormLayout;
    if (kind == Decision::Kind::Assign) {
        team_ = new QComboBox;
        team_->setObjectName(QStringLiteral("team"));
        team_->setEditable(true);
        team_->addItems(teams);
        team_->setCurrentText(attempt.nameless ? QString() : attempt.team);
        connect(team_, &QComboBox::currentTextChanged, this, &DecisionDialog::enableWrite);
        form->addRow(QStringLiteral("Družstvo:"), team_);
    }
    reason_->setObjectName(QStringLiteral("reason"));
    form->addRow(QStringLiteral("Důvod:"), reason_);
    connect(reason_, &QLineEdit::textChanged, this, &DecisionDialog::enableWrite);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(write_, QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Zrušit"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addLayout(form);
    layout->addWidget(buttons);
    enableWrite();
}

QString DecisionDialog::team() const {
    return team_ ? team_->currentText().simplified() : QString();
}

QString DecisionDialog::reason() const {
    return reason_->text().simplified();
}

void DecisionDialog::enableWrite() {
    write_->setEnabled(!reason().isEmpty() &&
                       (kind_ != Decision::Kind::Assign || !team().isEmpty()));
}
