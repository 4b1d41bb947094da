#include "vysledky/ResultsWindow.h"
#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"
#include "vysledky/desk/CorrectionsFile.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
QTableView* view(const ResultsWindow& window, const char* name) {
    return window.findChild<QTableView*>(QString::fromLatin1(name));
}

// What the table shows, a line per row, cells joined by "|".
QStringList shown(const QTableView* table) {
    const QAbstractItemModel* model = table->model();
    QStringList header;
    for (int column = 0; column < model->columnCount(); ++column) {
        header.append(model->headerData(column, Qt::Horizontal).toString());
    }
    QStringList rows{header.join(u'|')};
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            cells.append(model->index(row, column).data().toString());
        }
        rows.append(cells.join(u'|'));
    }
    return rows;
}

const QByteArray sample = logOf(
    {"SDH Lhota", "@1 00:00:17:250", "@2 00:00:18:003", "Sokol T\370eb\355\350", "@1 00:00:03:000",
     "@annul", "@2 00:00:16:900", "@1 00:00:17:800", "Jiskra", "@2 00:00:19:000"});
} // namespace

TEST(ResultsWindow, WaitsForTheLogAndFollowsIt) {
    TempLog log;
    ResultsWindow window(log.path());
    window.show();
    const auto status = [&] { return window.findChild<QLabel*>(QStringLiteral("status"))->text(); };
    EXPECT_EQ(view(window, "attempts")->model()->rowCount(), 0);
    EXPECT_EQ(status(), u"ZAVOD.TXT zatím neexistuje, čekám na něj.");

    log.write(sample);
    window.refresh();
    EXPECT_EQ(shown(view(window, "attempts")),
              QStringList({u"pokus|družstvo|dráha 1|dráha 2|výsledek|stav"_qs,
                           u"1|SDH Lhota|00:00:17:250|00:00:18:003|00:00:18:003|platný"_qs,
                           u"2|Sokol Třebíč|00:00:03:000|||start anulován"_qs,
                           u"3|Sokol Třebíč|00:00:17:800|00:00:16:900|00:00:17:800|platný"_qs,
                           u"4|Jiskra||00:00:19:000||neúplný"_qs}));
    EXPECT_EQ(shown(view(window, "ranking")),
              QStringList({u"místo|družstvo|výsledek"_qs, u"1|Sokol Třebíč|00:00:17:800"_qs,
                           u"2|SDH Lhota|00:00:18:003"_qs, u"|Jiskra|NP"_qs}));
    EXPECT_TRUE(window.windowTitle().startsWith(u"Výsledky – "));
    EXPECT_EQ(status(), u"ZAVOD.TXT · řádků: 10 · pokusů: 4 · družstev v pořadí: 3");

    log.append(logOf({"@1 00:00:16:000", "Orel", "@dq"}));
    window.refresh();
    EXPECT_EQ(shown(view(window, "attempts")).mid(4),
              QStringList({u"4|Jiskra|00:00:16:000|00:00:19:000|00:00:19:000|platný"_qs,
                           u"5|Orel||||diskvalifikace"_qs}));
    EXPECT_EQ(shown(view(window, "ranking")).mid(3),
              QStringList({u"3|Jiskra|00:00:19:000"_qs, u"|Orel|NP"_qs}));
}

TEST(ResultsWindow, SavesTheTablesAsCsvWithByteOrderMarkAndAsPdf) {
    TempLog log;
    log.write(sample);
    ResultsWindow window(log.path());
    const ReadLog expected(sample);
    QString error;
    const QString attemptsPath = log.folder() + QStringLiteral("/pokusy.csv");
    const QString rankingPath = log.folder() + QStringLiteral("/pořadí.csv");
    ASSERT_TRUE(window.saveAttemptsCsv(attemptsPath, error)) << error.toStdString();
    ASSERT_TRUE(window.saveRankingCsv(rankingPath, error)) << error.toStdString();
    QFile attempts(attemptsPath);
    QFile ranking(rankingPath);
    ASSERT_TRUE(attempts.open(QIODevice::ReadOnly));
    ASSERT_TRUE(ranking.open(QIODevice::ReadOnly));
    EXPECT_EQ(attempts.readAll(), expected.attempts);
    EXPECT_EQ(ranking.readAll(), expected.ranking);

    const QString pdfPath = log.folder() + QStringLiteral("/vysledky.pdf");
    ASSERT_TRUE(window.savePdf(pdfPath, error)) << error.toStdString();
    QFile pdf(pdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
}

// Never over the log, however its path is spelled, nor over the start list or the corrections;
// a save that fails says why.
TEST(ResultsWindow, RefusesToWriteTheLogAndReportsAFailedSave) {
    TempLog log;
    log.write(sample);
    const QString list = log.folder() + QStringLiteral("/startovka.csv");
    writeFile(list, "družstvo;kategorie\r\nJiskra;muži\r\n");
    ResultsWindow window(log.path());
    QString listError;
    ASSERT_TRUE(window.openStartList(list, listError));
    using Save = bool (ResultsWindow::*)(const QString&, QString&);
    const QString refused = u"Do záznamu závodu ZAVOD.TXT se nezapisuje. Zvolte jiný soubor."_qs;
    const QString nowhere = log.folder() + QStringLiteral("/no/such/folder/a");
    const struct {
        Save save;
        QString path;
        QString error; // null: any reason
    } cases[] = {
        {&ResultsWindow::saveAttemptsCsv, log.path(), refused},
        {&ResultsWindow::saveRankingCsv, log.folder() + QStringLiteral("/./ZAVOD.TXT"), refused},
        {&ResultsWindow::savePdf, log.path(), refused},
        {&ResultsWindow::saveAttemptsCsv, list,
         u"Startovní listina startovka.csv se nepřepisuje. Zvolte jiný soubor."_qs},
        {&ResultsWindow::saveRankingCsv, window.correctionsPath(),
         u"Soubor oprav ZAVOD.opravy.csv se nepřepisuje. Zvolte jiný soubor."_qs},
        {&ResultsWindow::saveAttemptsCsv, nowhere + QStringLiteral(".csv"), {}},
        {&ResultsWindow::savePdf, nowhere + QStringLiteral(".pdf"),
         u"Soubor "_qs + nowhere + u".pdf nelze zapsat."_qs},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE((window.*c.save)(c.path, error)) << c.path.toStdString();
        EXPECT_FALSE(error.isEmpty()) << c.path.toStdString();
        if (!c.error.isNull()) {
            EXPECT_EQ(error, c.error);
        }
    }
    EXPECT_EQ(log.read(), sample);
    EXPECT_FALSE(QFile::exists(window.correctionsPath()));
}

TEST(ResultsWindow, OpensAnotherLog) {
    TempLog first;
    first.write(sample);
    TempLog second;
    second.write(logOf({"Orel", "@1 00:00:15:000", "@2 00:00:15:500"}));
    ResultsWindow window(first.path());
    window.openLog(second.path());
    EXPECT_EQ(window.logPath(), second.path());
    EXPECT_EQ(shown(view(window, "attempts")).mid(1),
              QStringList({u"1|Orel|00:00:15:000|00:00:15:500|00:00:15:500|platný"_qs}));
    EXPECT_EQ(shown(view(window, "ranking")).mid(1), QStringList({u"1|Orel|00:00:15:500"_qs}));
}

TEST(ResultsWindow, AStartListAddsTheCategoryColumnAndRanksPerCategory) {
    TempLog log;
    log.write(sample);
    const QString list = log.folder() + QStringLiteral("/startovka.csv");
    writeFile(list, "družstvo;kategorie\r\nsokol třebíč;ženy\r\n");
    ResultsWindow window(log.path());
    window.show();
    QString error;
    ASSERT_TRUE(window.openStartList(list, error)) << error.toStdString();
    QApplication::processEvents();
    // Every column whole at the window's size.
    for (const char* name : {"attempts", "ranking"}) {
        const QTableView* table = view(window, name);
        const QHeaderView* header = table->horizontalHeader();
        const int last = header->count() - 1;
        EXPECT_LE(header->sectionViewportPosition(last) + header->sectionSize(last),
                  table->viewport()->width())
            << name;
    }
    EXPECT_EQ(shown(view(window, "ranking")),
              QStringList(
                  {u"kategorie|místo|družstvo|výsledek"_qs, u"ženy|1|sokol třebíč|00:00:17:800"_qs,
                   u"bez kategorie|1|SDH Lhota|00:00:18:003"_qs, u"bez kategorie||Jiskra|NP"_qs}));
    EXPECT_EQ(shown(view(window, "attempts"))[2],
              u"ženy|2|sokol třebíč|00:00:03:000|||start anulován"_qs);
}

// The desk's decision from the attempt's context menu: confirmed with a team and a reason in
// its dialog, appended to the file beside the log, and the ranking follows.
TEST(ResultsWindow, TheContextMenuAppendsADecisionAndTheRankingFollows) {
    TempLog log;
    log.write(logOf({"@1 00:00:16:000", "@2 00:00:16:500", "Jiskra", "@1 00:00:17:000",
                     "@2 00:00:17:000", "Orel", "@dq"}));
    ResultsWindow window(log.path());
    window.setClock([] { return QDateTime(QDate(2026, 6, 14), QTime(10, 32, 5)); });
    window.show();
    const auto desk = [&] { return window.findChild<QLabel*>(QStringLiteral("desk")); };
    EXPECT_EQ(desk()->text(), u"1 pokus bez jména – přiřaďte ho družstvu (pravé tlačítko myši "
                              u"na pokusu)"_qs);

    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QTimer::singleShot(0, [] {
            auto* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QComboBox*>(QStringLiteral("team"))->setCurrentText(u"Orel"_qs);
            dialog->findChild<QLineEdit*>(QStringLiteral("reason"))->setText(u"jméno neuloženo"_qs);
            qobject_cast<QDialog*>(dialog)->accept();
        });
        menu->actions().first()->trigger();
        menu->close();
    });
    QTableView* attempts = view(window, "attempts");
    const QPoint row = attempts->visualRect(attempts->model()->index(0, 1)).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, row, attempts->viewport()->mapToGlobal(row));
    QApplication::sendEvent(attempts->viewport(), &click);

    QFile file(CorrectionsFile::pathBeside(log.path()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "\xEF\xBB\xBF"
                              "čas;pokus;otisk;rozhodnutí;hodnota;důvod\r\n"
                              "2026-06-14 10:32:05;1;00:00:16:000|00:00:16:500|platný;družstvo;"
                              "Orel;jméno neuloženo\r\n");
    EXPECT_EQ(shown(view(window, "ranking")),
              QStringList({u"místo|družstvo|výsledek"_qs, u"1|Orel|00:00:16:500"_qs,
                           u"2|Jiskra|00:00:17:000"_qs}));
    EXPECT_EQ(shown(attempts)[1],
              u"1|Orel|00:00:16:000|00:00:16:500|00:00:16:500|platný (opraveno)"_qs);
    EXPECT_EQ(attempts->model()->index(0, 1).data(Qt::ToolTipRole).toString(),
              u"přiřazen družstvu Orel (2026-06-14 10:32:05): jméno neuloženo"_qs);
    EXPECT_TRUE(desk()->isHidden());
}
