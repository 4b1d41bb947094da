#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/Ranking.h"
#include "vysledky/TableModel.h"

// The attempts table: pokus, družstvo, dráha 1, dráha 2, výsledek, stav.
class AttemptsModel final : public TableModel<Attempt> {
public:
    enum Column { Number, Team, Lane1, Lane2, Result, State };
    explicit AttemptsModel(QObject* parent = nullptr);

protected:
    QVariant extra(const Attempt& attempt, int column, int role) const override;
};

// The ranking: místo, družstvo, výsledek.
class RankingModel final : public TableModel<RankingRow> {
public:
    enum Column { Place, Team, Result };
    explicit RankingModel(QObject* parent = nullptr);

protected:
    QVariant extra(const RankingRow& row, int column, int role) const override;
};
