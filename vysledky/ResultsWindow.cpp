#include "vysledky/ResultsWindow.h"

#include "vysledky/LogFollower.h"
#include "vysledky/ResultsFiles.h"
#include "vysledky/ResultsTables.h"
#include "vysledky/StartList.h"
#include "vysledky/WebDialog.h"
#include "vysledky/WebResults.h"

#include <QAction>
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

ResultsWindow::ResultsWindow(const QString& logPath, QWidget* parent)
    : QMainWindow(parent), tables_(new ResultsTables), status_(new QLabel),
      web_(new WebResults(this)) {
    status_->setObjectName(QStringLiteral("status"));
    statusBar()->addWidget(status_, 1);
    setCentralWidget(tables_);
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
    const auto add = [&](const QString& text, QKeySequence keys, void (ResultsWindow::*slot)(),
                         bool onToolBar) {
        QAction* action = file->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        if (onToolBar) {
            tools->addAction(action);
        }
    };
    add(QStringLiteral("&Otevřít záznam…"), QKeySequence::Open, &ResultsWindow::chooseLog, true);
    add(QStringLiteral("Otevřít startovní listinu…"), {}, &ResultsWindow::chooseStartList, true);
    file->addSeparator();
    add(QStringLiteral("Uložit &pokusy jako CSV…"), QKeySequence::Save,
        &ResultsWindow::exportAttempts, true);
    add(QStringLiteral("Uložit p&ořadí jako CSV…"), {}, &ResultsWindow::exportRanking, true);
    file->addSeparator();
    add(QStringLiteral("&Tisk…"), QKeySequence::Print, &ResultsWindow::print, true);
    add(QStringLiteral("Uložit jako P&DF…"), {}, &ResultsWindow::exportPdf, true);
    file->addSeparator();
    add(QStringLiteral("Výsledky na síti…"), {}, &ResultsWindow::showWebDialog, true);
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
}

QString ResultsWindow::statusText() const {
    const LogReader& reader = follower_->reader();
    const QString name = QFileInfo(reader.path()).fileName();
    switch (reader.status()) {
    case LogReader::Status::Missing:
        return QStringLiteral("%1 zatím neexistuje, čekám na něj.").arg(name);
    case LogReader::Status::Gone:
        return goneText(name);
    case LogReader::Status::Unreadable:
        return QStringLiteral("%1 nelze číst: %2").arg(name, reader.errorText());
    case LogReader::Status::NotRead:
    case LogReader::Status::Read:
        break;
    }
    return QStringLiteral("%1 · řádků: %2 · pokusů: %3 · družstev v pořadí: %4")
        .arg(name)
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

QString ResultsWindow::askSavePath(const QString& caption, const QString& name,
                                   const QString& filter) {
    const QString folder = QFileInfo(logPath()).absolutePath();
    return QFileDialog::getSaveFileName(this, caption, QDir(folder).filePath(name), filter);
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

void ResultsWindow::exportAttempts() {
    const QString path = askSavePath(QStringLiteral("Uložit pokusy jako CSV"),
                                     QStringLiteral("pokusy.csv"), QStringLiteral("CSV (*.csv)"));
    QString error;
    if (!path.isEmpty() && !saveAttemptsCsv(path, error)) {
        QMessageBox::warning(this, QStringLiteral("Uložení se nezdařilo"), error);
    }
}

void ResultsWindow::exportRanking() {
    const QString path = askSavePath(QStringLiteral("Uložit pořadí jako CSV"),
                                     QStringLiteral("poradi.csv"), QStringLiteral("CSV (*.csv)"));
    QString error;
    if (!path.isEmpty() && !saveRankingCsv(path, error)) {
        QMessageBox::warning(this, QStringLiteral("Uložení se nezdařilo"), error);
    }
}

void ResultsWindow::exportPdf() {
    const QString path = askSavePath(QStringLiteral("Uložit jako PDF"),
                                     QStringLiteral("vysledky.pdf"), QStringLiteral("PDF (*.pdf)"));
    QString error;
    if (!path.isEmpty() && !savePdf(path, error)) {
        QMessageBox::warning(this, QStringLiteral("Uložení se nezdařilo"), error);
    }
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
