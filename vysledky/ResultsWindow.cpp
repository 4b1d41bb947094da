#include "vysledky/ResultsWindow.h"

#include "vysledky/CsvWriter.h"
#include "vysledky/LogFollower.h"
#include "vysledky/ResultModels.h"
#include "vysledky/ResultsHtml.h"
#include "vysledky/ResultsPrinter.h"
#include "vysledky/StartList.h"
#include "vysledky/WebDialog.h"
#include "vysledky/WebResults.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QTableView* makeView(QAbstractItemModel* model, const QString& name) {
    auto* view = new QTableView;
    view->setObjectName(name);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->horizontalHeader()->setHighlightSections(false);
    return view;
}

// Widths from the font, not from the contents: measuring every row of a long log is slow.
// The stretched column takes the room left, but never less than its width here: the view
// keeps a minimum width that holds every column.
void setWidths(QTableView* view, const QList<int>& widths, int stretched) {
    const int padding = view->fontMetrics().averageCharWidth() * 3;
    QHeaderView* header = view->horizontalHeader();
    int total = 0;
    for (int column = 0; column < widths.size(); ++column) {
        if (column == stretched) {
            header->setSectionResizeMode(column, QHeaderView::Stretch);
        } else {
            header->setSectionResizeMode(column, QHeaderView::Interactive);
            view->setColumnWidth(column, widths[column] + padding);
        }
        total += widths[column] + padding;
    }
    const int scrollBar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    view->setMinimumWidth(total + scrollBar + 2 * view->frameWidth());
}

int textWidth(const QWidget* widget, const QString& text) {
    return widget->fontMetrics().horizontalAdvance(text);
}

int widestState(const QWidget* widget) {
    int widest = 0;
    for (const AttemptState state :
         {AttemptState::Valid, AttemptState::Disqualified, AttemptState::Annulled,
          AttemptState::Stopped, AttemptState::Incomplete}) {
        widest = std::max(widest, textWidth(widget, stateText(state)));
    }
    return widest;
}

QWidget* titled(const QString& title, QWidget* content) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}
} // namespace

ResultsWindow::ResultsWindow(const QString& logPath, QWidget* parent)
    : QMainWindow(parent), attemptsModel_(new AttemptsModel(this)),
      rankingModel_(new RankingModel(this)),
      attemptsView_(makeView(attemptsModel_, QStringLiteral("attempts"))),
      rankingView_(makeView(rankingModel_, QStringLiteral("ranking"))), status_(new QLabel),
      web_(new WebResults(this)) {
    status_->setObjectName(QStringLiteral("status"));
    statusBar()->addWidget(status_, 1);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(titled(QStringLiteral("Pokusy"), attemptsView_));
    splitter->addWidget(titled(QStringLiteral("Pořadí"), rankingView_));
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({650, 350});
    setCentralWidget(splitter);

    sizeColumns(false);

    buildActions();
    resize(1000, 700);
    openLog(logPath);
}

ResultsWindow::~ResultsWindow() = default;

// With a start list a category column stands first and the team column moves one over.
void ResultsWindow::sizeColumns(bool categories) {
    const int time = textWidth(this, QStringLiteral("00:00:00:000"));
    const int teamWidth = fontMetrics().averageCharWidth() * 14;
    const QStringList attemptTitles = TableTexts::attemptTitles();
    QList<int> attempts{textWidth(this, QStringLiteral("99999")),
                        teamWidth,
                        std::max(time, textWidth(this, attemptTitles[2])),
                        std::max(time, textWidth(this, attemptTitles[3])),
                        std::max(time, textWidth(this, attemptTitles[4])),
                        widestState(this)};
    QList<int> ranking{textWidth(this, QStringLiteral("místo")), teamWidth,
                       std::max(time, textWidth(this, QStringLiteral("výsledek")))};
    const int shift = categories ? 1 : 0;
    if (categories) {
        const int categoryWidth = fontMetrics().averageCharWidth() * 10;
        attempts.prepend(categoryWidth);
        ranking.prepend(categoryWidth);
    }
    setWidths(attemptsView_, attempts, AttemptsModel::Team + shift);
    setWidths(rankingView_, ranking, RankingModel::Team + shift);
}

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
    QScrollBar* scroll = attemptsView_->verticalScrollBar();
    const bool followingEnd = scroll->value() == scroll->maximum();
    const qsizetype rowsBefore = attemptsModel_->rows().size();
    const bool categories = follower_->hasCategories();
    if (categories != attemptsModel_->categories()) {
        attemptsModel_->setCategories(categories, TableTexts::attemptTitles(categories));
        rankingModel_->setCategories(categories, TableTexts::rankingTitles(categories));
        sizeColumns(categories);
    }
    attemptsModel_->setRows(follower_->attempts());
    rankingModel_->setRows(follower_->ranking());
    // Stay with the newest attempt unless the user has scrolled away from it.
    if (followingEnd && attemptsModel_->rows().size() > rowsBefore) {
        attemptsView_->scrollToBottom();
    }
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

bool ResultsWindow::refuseLogFile(const QString& path, QString& error) const {
    const QFileInfo target(path);
    const QFileInfo log(logPath());
    if (target == log || target.absoluteFilePath() == log.absoluteFilePath()) {
        error = QStringLiteral("Do záznamu závodu %1 se nezapisuje. Zvolte jiný soubor.")
                    .arg(log.fileName());
        return true;
    }
    return false;
}

bool ResultsWindow::saveCsv(const QString& path, const QByteArray& csv, QString& error) {
    if (refuseLogFile(path, error)) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool ResultsWindow::saveAttemptsCsv(const QString& path, QString& error) {
    return saveCsv(path, CsvWriter::attempts(follower_->attempts(), follower_->hasCategories()),
                   error);
}

bool ResultsWindow::saveRankingCsv(const QString& path, QString& error) {
    return saveCsv(path, CsvWriter::ranking(follower_->ranking(), follower_->hasCategories()),
                   error);
}

QString ResultsWindow::documentTitle() const {
    return QStringLiteral("Výsledky – %1").arg(QFileInfo(logPath()).fileName());
}

bool ResultsWindow::savePdf(const QString& path, QString& error) {
    if (refuseLogFile(path, error)) {
        return false;
    }
    if (!saveResultsPdf(path, resultsHtml(documentTitle(), follower_->attempts(),
                                          follower_->ranking(), follower_->hasCategories()))) {
        error = QStringLiteral("Soubor %1 nelze zapsat.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
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
    printer.setDocName(documentTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Tisk výsledků"));
    if (dialog.exec() == QDialog::Accepted) {
        printResults(printer, resultsHtml(documentTitle(), follower_->attempts(),
                                          follower_->ranking(), follower_->hasCategories()));
    }
}
