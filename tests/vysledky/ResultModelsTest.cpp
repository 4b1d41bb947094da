#include "vysledky/ResultModels.h"
#include "tests/support/Printers.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {
Attempt attempt(int number, const QString& team, AttemptState state) {
    Attempt a;
    a.number = number;
    a.team = team;
    a.lane1 = QStringLiteral("00:00:17:000");
    a.state = state;
    return a;
}

// A row's cells joined by ";"; row -1 is the header.
QString rowTexts(const QAbstractItemModel& model, int row) {
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column) {
        texts.append(row < 0 ? model.headerData(column, Qt::Horizontal).toString()
                             : model.data(model.index(row, column)).toString());
    }
    return texts.join(u';');
}
} // namespace

TEST(ResultModels, ShowTheHeadersTheRowsAndTheStopTimeAsATip) {
    AttemptsModel model;
    Attempt stopped = attempt(2, QStringLiteral("B"), AttemptState::Stopped);
    stopped.stopTime = QStringLiteral("00:00:40:000");
    model.setRows({attempt(1, QStringLiteral("A"), AttemptState::Incomplete), stopped});
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(rowTexts(model, -1), u"pokus;družstvo;dráha 1;dráha 2;výsledek;stav");
    EXPECT_EQ(rowTexts(model, 0), u"1;A;00:00:17:000;;;neúplný");
    EXPECT_EQ(rowTexts(model, 1), u"2;B;00:00:17:000;;;zastaveno");
    EXPECT_EQ(model.data(model.index(1, AttemptsModel::State), Qt::ToolTipRole).toString(),
              u"zastaveno tlačítkem v čase 00:00:40:000");
    EXPECT_FALSE(model.data(model.index(0, AttemptsModel::State), Qt::ToolTipRole).isValid());
    EXPECT_FALSE(model.data(model.index(2, 0)).isValid());
}

// A view following the log keeps its place: new attempts are inserted, a changed one repainted.
TEST(ResultModels, ChangeOnlyTheRowsThatChanged) {
    AttemptsModel model;
    const Attempt a = attempt(1, QStringLiteral("A"), AttemptState::Valid);
    Attempt b = attempt(2, QStringLiteral("B"), AttemptState::Incomplete);
    model.setRows({a, b});

    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removals(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    b.state = AttemptState::Disqualified;
    const Attempt c = attempt(3, QStringLiteral("C"), AttemptState::Incomplete);
    model.setRows({a, b, c});
    ASSERT_EQ(inserts.size(), 1);
    EXPECT_EQ(inserts[0][1].toInt(), 2);
    EXPECT_EQ(inserts[0][2].toInt(), 2);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].toModelIndex().row(), 1);
    EXPECT_EQ(changes[0][1].toModelIndex().row(), 1);
    EXPECT_EQ(rowTexts(model, 1), u"2;B;00:00:17:000;;;diskvalifikace");

    model.setRows({a, b, c});
    EXPECT_EQ(inserts.size(), 1);
    EXPECT_EQ(changes.size(), 1);

    model.setRows({a});
    ASSERT_EQ(removals.size(), 1);
    EXPECT_EQ(removals[0][1].toInt(), 1);
    EXPECT_EQ(removals[0][2].toInt(), 2);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(resets.size(), 0);
}

TEST(ResultModels, RankingShowsHeadersAndPlaces) {
    RankingModel model;
    model.setRows({{1, QStringLiteral("A"), QStringLiteral("00:00:17:000"), 17'000, {}},
                   {1, QStringLiteral("B"), QStringLiteral("00:00:17:000"), 17'000, {}},
                   {3, QStringLiteral("C"), QStringLiteral("00:00:18:000"), 18'000, {}}});
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(rowTexts(model, -1), u"místo;družstvo;výsledek");
    EXPECT_EQ(rowTexts(model, 1), u"1;B;00:00:17:000");
    EXPECT_EQ(rowTexts(model, 2), u"3;C;00:00:18:000");
}
