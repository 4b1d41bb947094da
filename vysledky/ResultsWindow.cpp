#include "vysledky/ResultsWindow.h"

#include "vysledky/LivePanelBox.h"
#include "vysledky/DecisionDialog.h"
#include "vysledky/LogFollower.h"
#include "vysledky/ResultsFiles.h"
#include "vysledky/ResultsTables.h"
#include "vysledky/StartList.h"
#include "vysledky/WebDialog.h"
#include "vysledky/live/LiveFeed.h"
#include "vysledky/desk/CorrectionsFile.h"
#include "vysledky/web/WebResults.h"

#include <QAction>
#include <QDBusConnection>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

ResultsWindow::ResultsWindow(const QString& logPath, QWidget* parent)
    : QMainWindow(parent), tables_(new ResultsTables), status_(new QLabel), desk_(new QLabel),
      web_(new WebResults(this)), live_(new LiveFeed(LiveFeed::monotonicMillis, this)) {
    status_->setObjectName(QStringLiteral("status"));
    statusBar()->addWidget(status_, 1);
    desk_->setObjectName(QStringLiteral("desk"));
    desk_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    desk_->setTextFormat(Qt::PlainText);
    desk_->hide();
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new LivePanelBox(*live_, central));
    layout->addWidget(desk_);
    layout->addWidget(tables_, 1);
    setCentralWidget(central);
    connect(tables_, &ResultsTables::decisionWanted, this, &ResultsWindow::askDecision);
    live_->listen(QDBusConnection::sessionBus());
    web_->followLive(live_);
    buildActions();
    resize(1000, 700);
    openLog(logPath);
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::buildActions() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Soubor"));
    QToolBar* tools = addToolBar(QStringLiteral("Nástroje"));
    tools->setObjectName(QStringLiteral("tools"));
    tools->setMovable(false);
    const auto add = [&](const QString& text, QKeySequence keys, auto slot) {
        QAction* action = file->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        tools->addAction(action);
    };
    const QString csv = QStringLiteral("CSV (*.csv)");
    add(QStringLiteral("&Otevřít záznam…"), QKeySequence::Open, &ResultsWindow::chooseLog);
    add(QStringLiteral("Otevřít startovní listinu…"), {}, &ResultsWindow::chooseStartList);
    file->addSeparator();
    add(QStringLiteral("Uložit &pokusy jako CSV…"), QKeySequence::Save, [this, csv] {
        exportFile(QStringLiteral("Uložit pokusy jako CSV"), QStringLiteral("pokusy.csv"), csv,
                   &ResultsWindow::saveAttemptsCsv);
    });
    add(QStringLiteral("Uložit p&ořadí jako CSV…"), {}, [this, csv] {
        exportFile(QStringLiteral("Uložit pořadí jako CSV"), QStringLiteral("poradi.csv"), csv,
                   &ResultsWindow::saveRankingCsv);
    });
    file->addSeparator();
    add(QStringLiteral("&Tisk…"), QKeySequence::Print, &ResultsWindow::print);
    add(QStringLiteral("Uložit jako P&DF…"), {}, [this] {
        exportFile(QStringLiteral("Uložit jako PDF"), QStringLiteral("vysledky.pdf"),
                   QStringLiteral("PDF (*.pdf)"), &ResultsWindow::savePdf);
    });
    file->addSeparator();
    add(QStringLiteral("Výsledky na síti…"), {}, &ResultsWindow::showWebDialog);
    file->addSeparator();
    QAction* quit = file->addAction(QStringLiteral("&Konec"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

void ResultsWindow::openLog(const QString& path) {
    const StartList list = follower_ ? follower_->startList() : StartList();
    follower_ = std::make_unique<LogFollower>(path);
    follower_->setStartList(list);
    connect(follower_.get(), &LogFollower::updated, this, &ResultsWindow::showTables);
    web_->follow(follower_.get());
    live_->follow(follower_.get());
    setWindowTitle(QStringLiteral("Výsledky – %1").arg(QDir::toNativeSeparators(logPath())));
    follower_->refresh();
    showTables();
}

bool ResultsWindow::openStartList(const QString& path, QString& error) {
    StartList list;
    if (!StartList::load(path, list, error)) {
        return false;
    }
    follower_->setStartList(list);
    return true;
}

QString ResultsWindow::logPath() const {
    return follower_->reader().path();
}

void ResultsWindow::refresh() {
    follower_->refresh();
}

void ResultsWindow::showTables() {
    tables_->showResults(*follower_);
    status_->setText(statusText());
    QStringList desk = follower_->problems();
    if (!follower_->namelessText().isEmpty()) {
        desk.prepend(follower_->namelessText() +
                     QStringLiteral(" (pravé tlačítko myši na pokusu)"));
    }
    desk_->setText(desk.join(u'\n'));
    desk_->setVisible(!desk.isEmpty());
    // A start list adds a column to each table: the window grows to show them whole.
    if (width() < tables_->neededWidth()) {
        resize(tables_->neededWidth(), height());
    }
}

void ResultsWindow::setCorrectionsPath(const QString& path) {
    follower_->setCorrectionsPath(path);
}

QString ResultsWindow::correctionsPath() const {
    return follower_->corrections().path();
}

bool ResultsWindow::decide(const Attempt& attempt, Decision::Kind kind, const QString& value,
                           const QString& reason, QString& error) {
    Decision decision;
    decision.when = clock_().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    decision.attempt = attempt.number;
    // The attempt as the log made it, not as earlier decisions changed it.
    const QList<Attempt> logged = follower_->reader().attempts();
    decision.fingerprint = logged.value(attempt.number - 1).fingerprint();
    decision.kind = kind;
    decision.value = value;
    decision.reason = reason;
    if (!CorrectionsFile::append(correctionsPath(), logPath(), decision, error)) {
        return false;
    }
    follower_->refresh();
    return true;
}

QStringList ResultsWindow::knownTeams() const {
    QStringList teams = follower_->startList().teams();
    for (const Attempt& attempt : follower_->attempts()) {
        const bool known = std::any_of(teams.cbegin(), teams.cend(), [&](const QString& team) {
            return teamKey(team) == teamKey(attempt.team);
        });
        if (!attempt.nameless && !known) {
            teams.append(attempt.team);
        }
    }
    return teams;
}

void ResultsWindow::askDecision(const Attempt& attempt, Decision::Kind kind) {
    // A run still going on changes as the log grows, and the decision would no longer match it.
    const bool last = attempt.number == follower_->attempts().size();
    if (last && attempt.state == AttemptState::Incomplete) {
        QMessageBox::information(this, QStringLiteral("Pokus ještě neskončil"),
                                 QStringLiteral("O pokusu %1 rozhodněte, až skončí (další záznam "
                                                "v %2).")
                                     .arg(attempt.number)
                                     .arg(QFileInfo(logPath()).fileName()));
        return;
    }
    DecisionDialog dialog(attempt, kind, knownTeams(), QFileInfo(correctionsPath()).fileName(),
                          this);
    QString error;
    if (dialog.exec() == QDialog::Accepted &&
        !decide(attempt, kind, dialog.team(), dialog.reason(), error)) {
        QMessageBox::warning(this, QStringLiteral("Opravu nelze zapsat"), error);
    }
}

QString ResultsWindow::statusText() const {
    const LogReader& reader = follower_->reader();
    const QString trouble = reader.troubleText(LogReader::Audience::Window);
    if (!trouble.isEmpty()) {
        return trouble;
    }
    return QStringLiteral("%1 · řádků: %2 · pokusů: %3 · družstev v pořadí: %4")
        .arg(QFileInfo(reader.path()).fileName())
        .arg(reader.lineCount())
        .arg(follower_->attempts().size())
        .arg(follower_->ranking().size());
}

bool ResultsWindow::saveAttemptsCsv(const QString& path, QString& error) {
    return ResultsFiles::saveAttemptsCsv(*follower_, path, error);
}

bool ResultsWindow::saveRankingCsv(const QString& path, QString& error) {
    return ResultsFiles::saveRankingCsv(*follower_, path, error);
}

bool ResultsWindow::savePdf(const QString& path, QString& error) {
    return ResultsFiles::savePdf(*follower_, path, error);
}

void ResultsWindow::exportFile(const QString& caption, const QString& name, const QString& filter,
                               bool (ResultsWindow::*save)(const QString&, QString&)) {
    const QDir folder = QFileInfo(logPath()).absoluteDir();
    // Never the log, the start list or the corrections: another name beside them.
    const QStringList taken{logPath(), follower_->startList().path(), correctionsPath()};
    QString proposed = folder.filePath(name);
    for (int n = 2; taken.contains(proposed); ++n) {
        proposed = folder.filePath(QFileInfo(name).completeBaseName() +
                                   QStringLiteral("-%1.").arg(n) + QFileInfo(name).suffix());
    }
    const QString path = QFileDialog::getSaveFileName(this, caption, proposed, filter);
    QString error;
    if (!path.isEmpty() && !(this->*save)(path, error)) {
        QMessageBox::warning(this, QStringLiteral("Uložení se nezdařilo"), error);
    }
}

void ResultsWindow::chooseLog() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Otevřít záznam závodu"), QFileInfo(logPath()).absolutePath(),
        QStringLiteral("Záznam závodu (*.TXT *.txt);;Všechny soubory (*)"));
    if (!path.isEmpty()) {
        openLog(path);
    }
}

void ResultsWindow::chooseStartList() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Otevřít startovní listinu"), QFileInfo(logPath()).absolutePath(),
        QStringLiteral("Startovní listina (*.csv *.CSV *.txt);;Všechny soubory (*)"));
    QString error;
    if (!path.isEmpty() && !openStartList(path, error)) {
        QMessageBox::warning(this, QStringLiteral("Startovní listinu nelze načíst"),
                             QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error));
    }
}

void ResultsWindow::showWebDialog() {
    WebDialog dialog(*web_, this);
    if (!web_->running()) {
        dialog.start();
    }
    dialog.exec();
}

void ResultsWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(ResultsFiles::documentTitle(*follower_));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Tisk výsledků"));
    if (dialog.exec() == QDialog::Accepted) {
        ResultsFiles::print(*follower_, printer);
    }
}
