#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/desk/Decision.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPushButton;

// Asks to confirm one decision about an attempt and for its reason; for an assignment, also
// the team: one of the list's and the log's teams, or typed. "Zapsat" stays off until the
// reason (and the team) is there.
class DecisionDialog final : public QDialog {
    Q_OBJECT

public:
    DecisionDialog(const Attempt& attempt, Decision::Kind kind, const QStringList& teams,
                   const QString& fileName, QWidget* parent = nullptr);

    QString team() const;
    QString reason() const;

    // "Přiřadit družstvu…" and the others, as the context menu names them.
    static QString actionText(Decision::Kind kind);

private:
    void enableWrite();

    Decision::Kind kind_;
    QComboBox* team_ = nullptr;
    QLineEdit* reason_;
    QPushButton* write_;
};
