#pragma once

#include "app/datefield.h"
#include "app/pageview.h"
#include "dialogs/dialogprovider.h"
#include "history/documenthistory.h"
#include "model/competitionrules.h"
#include "model/document.h"
#include "model/matchstore.h"
#include "pages/pagerunner.h"

#include <QDate>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QFileSystemWatcher;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QSaveFile;
class QScrollArea;
class QStatusBar;
class QTableWidget;
class QTextBrowser;
class QUrl;
class SeasonChart;
class TableData;
struct DatabaseResult;
struct PageCodeEntry;
struct TableSnapshot;

// The program's one top-level window: the filter row, the result table, the report view, the
// column of mode buttons and the menus. It is a view of the open database (a Document and its
// undo history) and keeps the navigation state of the pages.
class MainWindow : public QMainWindow
{
    Q_OBJECT

    friend class MainWindowTest;
    friend class FileCommandsTest;
    friend class DocumentWindowTest;

public:
    explicit MainWindow(QWidget *parent = nullptr);
    // A window whose questions go to dialogs from the start (tests answer the start-up messages).
    explicit MainWindow(DialogProvider *dialogs, QWidget *parent = nullptr);
    // The program's window: it opens startFile (a database named on the command line) or else
    // the one the settings name, once the event loop runs, so that it shows while reading; as at
    // any start, a damaged file is reported and a missing one is named on the start page.
    MainWindow(const QString &startFile, DialogProvider *dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Replaces the modal dialogs and message boxes; null restores the standard ones. The provider
    // is not owned and must outlive its use.
    void setDialogProvider(DialogProvider *dialogs);
    DialogProvider *dialogs() const;

    const MatchStore &matchStore() const { return store; }
    QString databaseFile() const { return databasePath; }
    const Document &openDocument() const { return document; }
    QUndoStack &undoStack() { return history.stack(); }

    // The database differs from its file, apart from the undo history (which keeps this itself):
    // cleared when the database is read, created or saved.
    void markModified()
    {
        document.setModified(true);
        updateModifiedMarker();
    }
    bool isModified() const { return document.isModified(); }

public Q_SLOTS:
    void import();
    void openSwb();
    void newSwb();
    void save();
    void saveAsText();
    void saveAsSwb();
    void addReport();
    void editReport();
    void about();
    void callCalculateGoals();
    void callCalculateMatches();
    void callCalculateReferies();
    void callCalculateCoaches();
    void callCalculateTable();
    void callCalculateStadiums();
    void callCalculatePlayers();
    void callCalculateTeams();
    void callVerifyPlayers();
    void callVerifyPlayers2();
    void callVerifyAttendance();
    void callFindPlayer();
    void callFindCoach();
    void selectMode0();
    void selectMode1();
    void selectMode2();
    void selectMode3();
    void selectMode4();
    void selectMode5();
    void selectMode6();
    void selectMode7();
    void selectMode8();
    void linkActivated(const QUrl &link);
    void cellSelected(int row, int column);
    void refresh();
    void back();
    void changeTournaments(int index);
    // A change of the dates, the tournament, the round or the ID choice recomputes the shown page.
    void filterChanged();
    void contextMenu(const QPoint &pos);
    void editRules();
    // Deletes the report shown, or the matches of the selected rows, after a question naming
    // their number.
    void deleteMatches();
    void undo();
    void redo();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // deferred: the database is read once the event loop runs, so that the window shows first.
    void init(DialogProvider *dialogs, const QString &startFile = QString(), bool deferred = false);
    void buildForm();
    void buildMenus();
    void buildModeButtons();
    void connectSignals();
    void centreWindow();

    // The page dispatcher: records the one-step history, then shows what the link's code names.
    void showPage(const QString &link, const QString &menuChoice);
    // Runs builder over the filtered matches and shows its table.
    void runTablePage(PageBuilder builder, const QString &argument);
    void showMatchReport(const QString &fileName);
    void showStartPage();
    void showTable(const TableData &data);
    MatchFilter currentFilter() const;

    // The person searches (the search dialog, then the players or coaches page).
    void findPerson(const PageCodeEntry &entry);
    // Runs the report editor on the current page under title; after a change, re-shows the page.
    void runReportEditor(const QString &title, const QString &fileName);
    // Widens the filter dates and the tournament choice to cover an edited report.
    void catchUpWithReport(const QString &fileName);

    // Reads path as the open database. On failure the database that was open stays as it was;
    // the message names the file and the reason (a missing file is silent at start-up). A file
    // another program holds is opened read-only, or anyway, as the user chooses.
    bool loadDatabase(const QString &path, bool atStartUp);
    // Writes the database to path (its own file, or a new one for Save As); a failure is
    // reported and leaves the old file intact. A file another program changed since it was read
    // is not written over without the user's word.
    bool writeTo(const QString &path);
    // Reports a save's result; true when the database is saved.
    bool finishSave(const Document::SaveResult &result, const QString &path);
    // Saves under the current path, or asks for one when the database has no file yet.
    bool saveCurrent();
    bool saveUnderNewName();
    // The database has a file to be saved to without asking: its own, or the name given to it
    // when it was created.
    bool hasOwnTarget() const;
    // With unsaved changes: asks whether to save them. False when the user cancelled or the save
    // failed, so the caller must not close or replace the database.
    bool maybeSaveChanges();
    void resetDateRange();
    void setDateRange(const QDate &from, const QDate &till);
    // Refills comboTournaments from the store ("<Все турниры>" first) without re-running a page.
    void rebuildTournamentChoice();
    QString databaseErrorText(const QString &path, const DatabaseResult &result) const;
    void writeSettings() const;

    // The competition rules kept beside the database (mainwindow_rules.cpp).
    void buildRulesMenu();
    // Reports a rules file that could not be read when the database at path was opened.
    void reportRulesFile(const QString &path, const RulesFileResult &result);
    // Shows the rules caption and the table's footnote under the table; empty texts hide it.
    void showFootnote(const QString &caption, const QString &footnote);

    // The analysis pages (mainwindow_analysis.cpp): the round choice beside the tournament, their
    // menu entries, the season chart, and the context-menu entries that lead to other pages.
    void buildAnalysis();
    // Refills comboRounds with the rounds of the chosen tournament, "<Все туры>" chosen unless
    // keepChoice and the chosen round is still there.
    void fillRounds(bool keepChoice = false);
    void showSeasonChart();
    // Head-to-head of team (asked for when empty) with an opponent the user chooses.
    void chooseHeadToHead(const QString &team);
    // Follows a context-menu entry whose code names a page; false when the code names none.
    bool followMenuCode(const QString &code, const QString &rowLink);
    QComboBox *comboRounds = nullptr;
    QCheckBox *checkUpToRound = nullptr; // the chosen round and every round before it
    SeasonChart *seasonChart = nullptr;

    // The table's surroundings and the window's habits (mainwindow_table.cpp): the caption above
    // the table, the row filter, the CSV export, the shortcuts, the recent files, the modified
    // marker in the title, and long file work that keeps the window painted.
    void buildTableTools();
    void showCaption(const QString &caption);
    // With "С" later than "По": says so in place of the page, which would be empty; true then.
    bool showReversedDates();
    // Hides the rows that do not contain the filter text and shows the count in the status bar.
    void applyRowFilter();
    // The shown rows and columns of the table as they are displayed, for the text exports.
    TableSnapshot shownTable() const;
    void saveAsCsv();
    // The title names the open file and carries the modified marker of the store.
    void updateModifiedMarker();
    void rememberRecentFile(const QString &path);
    void rebuildRecentMenu();
    void openRecentFile(const QString &path);
    // Runs work in a worker thread while the window stays painted, with message in the status bar.
    void runInBackground(const QString &message, const std::function<void()> &work);
    // The caption, filter and the page text of the shown page.
    QLabel *caption = nullptr;
    QLineEdit *rowFilter = nullptr;
    QAction *actionSaveAsCsv = nullptr;
    QMenu *menuRecent = nullptr;
    QList<int> fittedWidths; // the columns' widths before the last one stretches

    // Reports in and out (mainwindow_reports.cpp): the XML export of the selection or of the
    // report shown, and the CSV results import.
    void buildReportsMenu();
    void exportXml();
    void saveReportXml();
    void importCsv();
    QAction *actionExportXml = nullptr;
    QAction *actionSaveReportXml = nullptr;
    QAction *actionImportCsv = nullptr;

    // Printing and PDF of the table or report shown (mainwindow_print.cpp).
    void buildPrintMenu();
    void printShown();
    void exportPdf();
    // The file a table is saved to, with the choice of a caption line first (remembered).
    QString askTableFile(const QString &filter, bool &withCaption);
    QAction *actionPrint = nullptr;
    QAction *actionExportPdf = nullptr;

    // The answer of the person search dialog.
    QString searchText;

    // The open database and its undo history (mainwindow_files.cpp); the views read the
    // document's matches, path and competition rules through the references below.
    Document document;
    DocumentHistory history{document};
    MatchStore &store = document.store();
    const QString &databasePath = document.path();
    const RuleBook &rules = document.rules();
    // A database named at start-up that was not there: the start page says so while the empty
    // database that stands for it has no file.
    QString missingFile;
    // The database named at start-up while it is being opened.
    QString openingFile;
    // Notices another program changing the open file.
    QFileSystemWatcher *watcher = nullptr;
    bool writingFile = false;
    void watchFile();
    void fileChangedOnDisk();
    // The undo history's and the deletion's part of the "Редактировать" menu.
    void buildHistoryMenu();
    // After an undo or a redo: the choices and the page follow the database.
    void catchUpWithHistory();
    // The file names of the matches the selected rows lead to, or the report shown.
    QStringList selectedMatches() const;
    QAction *actionUndo = nullptr;
    QAction *actionRedo = nullptr;
    QAction *actionDeleteMatch = nullptr;

    QString footnoteText;

    // Navigation state: a one-step history and the result table's context-menu entries.
    QString currentLink;
    QString currentMenuChoice;
    QString previousLink;
    QString previousMenuChoice;
    PageView previousView; // the sort, filter and scroll of the page "Назад" returns to
    QStringList menuLabels;
    QStringList menuCodes;

    DialogProvider *dialogProvider = nullptr;
    mutable StandardDialogProvider standardDialogs;

    // The form.
    QWidget *centralwidget = nullptr;
    QHBoxLayout *horizontalLayout = nullptr;
    QGridLayout *gridLayout = nullptr;
    QScrollArea *scrollArea = nullptr;
    QWidget *scrollAreaWidgetContents = nullptr;
    QPushButton *pushButton_0 = nullptr;
    QPushButton *pushButton_1 = nullptr;
    QPushButton *pushButton_2 = nullptr;
    QPushButton *pushButton_3 = nullptr;
    QPushButton *pushButton_4 = nullptr;
    QPushButton *pushButton_5 = nullptr;
    QPushButton *pushButton_6 = nullptr;
    QPushButton *pushButton_7 = nullptr;
    QPushButton *pushButton_8 = nullptr;
    QLabel *label = nullptr;
    QLabel *label_2 = nullptr;
    DateField *dateEditFrom = nullptr;
    DateField *dateEditTill = nullptr;
    QComboBox *comboTournaments = nullptr;
    QPushButton *pushRefresh = nullptr;
    QPushButton *pushBack = nullptr;
    QCheckBox *checkBoxID = nullptr;
    QTableWidget *table = nullptr;
    QTextBrowser *text = nullptr;
    QMenuBar *menubar = nullptr;
    QStatusBar *statusbar = nullptr;
    QLabel *footnote = nullptr;
    QMenu *menuTournament = nullptr;
    QAction *actionRules = nullptr;

    QMenu *menuFile = nullptr;
    QMenu *menu = nullptr;
    QMenu *menu_2 = nullptr;
    QMenu *menu_3 = nullptr;
    QMenu *menu_4 = nullptr;
    QMenu *menu_5 = nullptr;
    QMenu *menu_6 = nullptr;
    QMenu *menu_7 = nullptr;
    QMenu *menu_8 = nullptr;
    QMenu *menu_9 = nullptr;
    QMenu *menu_10 = nullptr;
    QMenu *menu_11 = nullptr;

    QAction *actionExit = nullptr;
    QAction *actionCalculateTable = nullptr;
    QAction *actionCalculateGoals = nullptr;
    QAction *actionCalculateReferies = nullptr;
    QAction *actionCalculateMatches = nullptr;
    QAction *actionSaveAsText = nullptr;
    QAction *actionImport = nullptr;
    QAction *actionAbout = nullptr;
    QAction *actionCalculateCoaches = nullptr;
    QAction *actionCalculateStadiums = nullptr;
    QAction *actionCalculatePlayers = nullptr;
    QAction *actionCalculateTeams = nullptr;
    QAction *actionVerifyPlayers = nullptr;
    QAction *actionVerifyAttendance = nullptr;
    QAction *actionVerifyPlayers2 = nullptr;
    QAction *actionFindPlayer = nullptr;
    QAction *actionFindCoach = nullptr;
    QAction *actionSaveAsSwb = nullptr;
    QAction *actionOpenSwb = nullptr;
    QAction *actionAddReport = nullptr;
    QAction *actionEditReport = nullptr;
    QAction *actionNewSwb = nullptr;
    QAction *actionSave = nullptr;
};
