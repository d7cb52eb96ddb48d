#pragma once

#include <QString>

// Every text the program shows, in one table built once. Numbers and names go in through the
// numbered placeholders ("%1", "%2") with QString::arg.
struct Texts
{
    // Program and window
    const QString windowTitle = QStringLiteral("Scorewright: футбольная статистика");
    const QString aboutTitle = QStringLiteral("О программе Scorewright");
    const QString startPage = QStringLiteral(
        "<h1 align=\"center\">Scorewright</h1>"
        "<p>Путь к файлу со статистикой: <b>%1</b>.</p><p>Матчей в базе: <b>%2</b>.</p>");
    const QString allTournaments = QStringLiteral("<Все турниры>");
    const QString considerId = QStringLiteral("&Учитывать ID");
    const QString back = QStringLiteral("&Назад");
    const QString refresh = QStringLiteral("&Обновить");
    const QString fromLabel = QStringLiteral("С:");
    const QString tillLabel = QStringLiteral("По:");

    // Menus and actions
    const QString menuFile = QStringLiteral("Файл");
    const QString menuStatistics = QStringLiteral("Статистика");
    const QString menuPlayers = QStringLiteral("Игроки");
    const QString menuTeams = QStringLiteral("Команды");
    const QString menuMatches = QStringLiteral("Матчи");
    const QString menuStadiums = QStringLiteral("Стадионы");
    const QString menuReferees = QStringLiteral("Судьи");
    const QString menuCoaches = QStringLiteral("Тренеры");
    const QString menuCheck = QStringLiteral("Проверка");
    const QString menuSearch = QStringLiteral("Поиск");
    const QString menuEdit = QStringLiteral("Редактировать");
    const QString menuHelp = QStringLiteral("Справка");
    const QString actionNew = QStringLiteral("Создать новый swb файл");
    const QString actionOpen = QStringLiteral("Открыть swb файл");
    const QString actionSave = QStringLiteral("Сохранить");
    const QString actionSaveAs = QStringLiteral("Сохранить в swb файл");
    const QString actionImport = QStringLiteral("Импортировать XML файлы");
    const QString actionSaveAsText = QStringLiteral("Сохранить таблицу как текст");
    const QString actionExit = QStringLiteral("Выход");
    const QString actionGoals = QStringLiteral("Список бомбардиров");
    const QString actionPlayers = QStringLiteral("Статистика по игрокам");
    const QString actionTeams = QStringLiteral("Статистика по командам");
    const QString actionTable = QStringLiteral("Турнирная таблица");
    const QString actionMatches = QStringLiteral("Список матчей");
    const QString actionStadiums = QStringLiteral("Статистика по стадионам");
    const QString actionReferees = QStringLiteral("Статистика по судьям");
    const QString actionCoaches = QStringLiteral("Статистика по тренерам");
    const QString actionVerifyPlayers = QStringLiteral("В команде не 11 игроков");
    const QString actionVerifyAttendance = QStringLiteral("Не указано число зрителей");
    const QString actionVerifyPlayers2 = QStringLiteral("Одна фамилия, но разный ID");
    const QString actionFindPlayer = QStringLiteral("Найти игрока");
    const QString actionFindCoach = QStringLiteral("Найти тренера");
    const QString actionAddReport = QStringLiteral("Добавить матч");
    const QString actionEditReport = QStringLiteral("Редактировать матч");
    const QString actionAbout = QStringLiteral("О программе");

    // Mode buttons (tool tips)
    const QString modeStart = QStringLiteral("Начальная страница");
    const QString modeTable = QStringLiteral("Таблица");
    const QString modeTeams = QStringLiteral("Командная статистика");
    const QString modeReferees = QStringLiteral("Судейская статистика");
    const QString modePlayers = QStringLiteral("Личная статистика игроков");
    const QString modeMatches = QStringLiteral("Результаты матчей");
    const QString modeGoals = QStringLiteral("Бомбардиры");
    const QString modeCoaches = QStringLiteral("Тренерская статистика");
    const QString modeStadiums = QStringLiteral("Статистика по стадионам");

    // Status bar and message boxes
    const QString progress = QStringLiteral("%1 (%2 %3)");
    const QString readingDisk = QStringLiteral("Читаем с диска...");
    const QString readingMemory = QStringLiteral("Читаем из памяти...");
    const QString elapsed = QStringLiteral("Время: %1 мс.");
    const QString noDataTitle = QStringLiteral("Нет данных");
    const QString noDataText = QStringLiteral("Нет данных. Выберите файл с результатами.");
    const QString chooseDirectory = QStringLiteral("Выберите директорий");
    const QString chooseFileName = QStringLiteral("Выберите имя файла");
    const QString saveChangesTitle = QStringLiteral("Сохранить изменения");
    const QString saveChangesText = QStringLiteral("Сохранить изменения?");

    // Event kinds, exactly as reports and the database file carry them
    const QString goal = QStringLiteral("Гол");
    const QString penaltyGoal = QStringLiteral("Гол с пенальти");
    const QString ownGoal = QStringLiteral("Гол в свои ворота");
    const QString missedPenalty = QStringLiteral("Незабитый пенальти");
    const QString substitution = QStringLiteral("Замена");
    const QString caution = QStringLiteral("Предупреждение");
    const QString sendingOff = QStringLiteral("Удаление");
    const QString secondCaution = QStringLiteral("Удаление и предупреждение");

    // Context menu entries
    const QString menuDetails = QStringLiteral("Подробности");
    const QString menuAllMatches = QStringLiteral("Все матчи");
    const QString menuPenaltyMatches = QStringLiteral("Матчи с пенальти");

    // Column headers
    const QString hDate = QStringLiteral("Дата");
    const QString hHome = QStringLiteral("Хозяева");
    const QString hAway = QStringLiteral("Гости");
    const QString hScore = QStringLiteral("Счёт");
    const QString hCity = QStringLiteral("Город");
    const QString hBalls = QStringLiteral("Мячей");
    const QString hTeam = QStringLiteral("Команда");
    const QString hGames = QStringLiteral("И");
    const QString hWins = QStringLiteral("В");
    const QString hDraws = QStringLiteral("Н");
    const QString hLosses = QStringLiteral("П");
    const QString hScored = QStringLiteral("Заб.");
    const QString hConceded = QStringLiteral("Проп.");
    const QString hPoints = QStringLiteral("О");
    const QString hPlayer = QStringLiteral("Игрок");
    const QString hGoals = QStringLiteral("Голы");
    const QString hPenalties = QStringLiteral("Пенальти");
    const QString hMatches = QStringLiteral("Матчей");
    const QString hRed = QStringLiteral("Красная");
    const QString hSecondYellow = QStringLiteral("Ж+Кр");
    const QString hYellow = QStringLiteral("Жёлтая");
    const QString hPenScored = QStringLiteral("Пен(заб)");
    const QString hPenMissed = QStringLiteral("Пен(не заб)");
    const QString hOwnGoals = QStringLiteral("Автогол");
    const QString hPlayersCount = QStringLiteral("Игроков");
    const QString hPenOpponent = QStringLiteral("Пен(соперн)");
    const QString hReferee = QStringLiteral("Судья");
    const QString hPlayed = QStringLiteral("Игр");
    const QString hCoach = QStringLiteral("Тренер");
    const QString hStadium = QStringLiteral("Стадион");
    const QString hAttendanceMax = QStringLiteral("Зрит(макс)");
    const QString hAttendanceMin = QStringLiteral("Зрит(мин)");
    const QString hAttendanceAvg = QStringLiteral("Зрит(средн)");
    const QString hSurname = QStringLiteral("Фамилия");
    const QString hTime = QStringLiteral("Время");
    const QString hEventType = QStringLiteral("Тип события");
    const QString hComment = QStringLiteral("Комментарий");
    const QString hPlayerOff = QStringLiteral("Вышедш.игрок");

    // Match report page
    const QString reportTournament = QStringLiteral("<h1 align='center'>%1</h1>");
    const QString reportRound = QStringLiteral("<h2 align='center'>%1</h2>");
    const QString reportRoundNumber = QStringLiteral("<h2 align='center'>Тур: %1</h2>");
    const QString reportTeams = QStringLiteral("<h2 align='center'>%1 - %2 - %3</h2>");
    const QString reportCity = QStringLiteral("%1. ");
    // The place, referee and date of a report whose every field is given; a report with empty
    // fields leaves their words out (see placeLines in pages/matchreport.cpp).
    const QString reportPlace =
        QStringLiteral("%1. %2 зрителей<br><b>Судья:</b> %3 (%4)<br>%6 %5</p>");
    const QString reportCoaches =
        QStringLiteral("<tr><td><b>Тренер:</b> %1</td><td><b>Тренер:</b> %2</td></tr>");
    const QString reportEvent =
        QStringLiteral("<tr><td>%1'</td><td>%2 %3</td><td>%4</td><td>%5</td></tr>");
    const QString reportSubstitution =
        QStringLiteral("<tr><td>%1'</td><td>%2 %3</td><td>%4</td><td>%5 - %6</td></tr>");
    const QString reportOtherEvent =
        QStringLiteral("<tr><td>%1'</td><td>%2</td><td>%3</td><td>%4</td></tr>");
    const QString reportOtherEventTwoPlayers =
        QStringLiteral("<tr><td>%1'</td><td>%2</td><td>%3</td><td>%4 - %5</td></tr>");

    // Report editor
    const QString editReportTitle = QStringLiteral("Редактировать отчёт");
    const QString newReportTitle = QStringLiteral("Новый отчёт");
    const QString tabGeneral = QStringLiteral("Результат");
    const QString tabLineups = QStringLiteral("Состав");
    const QString tabEvents = QStringLiteral("События");
    const QString tabComments = QStringLiteral("Комментарии");
    const QString lTournament = QStringLiteral("Чемпионат");
    const QString lRound = QStringLiteral("Тур/Раунд");
    const QString lFirstTeam = QStringLiteral("Первая команда");
    const QString lSecondTeam = QStringLiteral("Вторая команда");
    const QString lExtra = QStringLiteral("(д.в.");
    const QString lPenalties = QStringLiteral(", пен.");
    const QString lSpectators = QStringLiteral("Зрителей");
    const QString lCoaches = QStringLiteral("Тренеры:");
    const QString lLineups = QStringLiteral("Стартовые составы:");
    const QString lEvents = QStringLiteral("События в матче:");
    const QString lComments = QStringLiteral("Комментарии:");
    const QString spectatorsSuffix = QStringLiteral(" зрителей");
    const QString roundPrefix = QStringLiteral("Тур: ");
    // Editor: the score line's separators and the date check on OK
    const QString lScoreColon = QStringLiteral(":");
    const QString lScoreClose = QStringLiteral(")");
    const QString editorWindowTitle = QStringLiteral("EditReport");
    const QString badDateTitle = QStringLiteral("Неверная дата");
    const QString badDateText = QStringLiteral(
        "Дата «%1» не существует или записана не в виде ДД.ММ.ГГГГ (например, 14.03.2009). "
        "Исправьте дату или оставьте поле пустым, если она неизвестна.");
    const QString notDigitsText = QStringLiteral(
        "В поле «%1» допустимы только цифры, а записано «%2». Исправьте значение или оставьте "
        "поле пустым.");
    const QString fieldExtra = QStringLiteral("Дополнительное время");
    const QString fieldPenalties = QStringLiteral("Серия пенальти");

    // Data checks: the ID columns of the same-name check
    const QString hId1 = QStringLiteral("ID1");
    const QString hId2 = QStringLiteral("ID2");

    // Main window: the about box, and what went wrong with a database or export file
    const QString aboutText = QStringLiteral(
        "<h2>Scorewright</h2><p>Scorewright %1 ведёт базу отчётов о футбольных матчах и считает по "
        "ней турнирные таблицы, бомбардиров и статистику игроков, команд, судей, тренеров и "
        "стадионов. Авторы: команда Scorewright, "
        "<a href=\"https://scorewright.example.org/\">scorewright.example.org</a>.</p>");
    const QString openFailedTitle = QStringLiteral("Не удалось открыть базу");
    const QString saveFailedTitle = QStringLiteral("Не удалось сохранить");
    const QString fileMissing = QStringLiteral("Файл «%1» не найден.");
    const QString fileNotRegular = QStringLiteral("«%1» — не файл.");
    const QString fileCannotRead = QStringLiteral("Не удалось прочитать файл «%1»: %2.");
    const QString fileNotDatabase = QStringLiteral("Файл «%1» не является базой матчей (swb).");
    const QString fileUnsupportedVersion =
        QStringLiteral("Файл «%1» записан в формате версии %2, которую эта программа не читает.");
    const QString fileDamaged =
        QStringLiteral("Файл «%1» повреждён: чтение остановилось на байте %2.");
    const QString fileCutShort = QStringLiteral(
        "Файл «%1» повреждён: в нём объявлено матчей: %2, но он обрывается после %3 (чтение "
        "остановилось на байте %4).");
    const QString fileChanged = QStringLiteral(
        "Файл «%1» изменился, пока его читали (его записывает другая программа?). Попробуйте "
        "открыть его ещё раз.");
    // The common causes of a failed read or write in the window's own words
    const QString causeMissing = QStringLiteral("файл или папка не существует");
    const QString causeNoPermission = QStringLiteral("нет прав доступа");
    const QString causeNoSpace = QStringLiteral("на диске нет свободного места");
    const QString causeReadOnly = QStringLiteral("файловая система доступна только для чтения");
    const QString causeIsDirectory = QStringLiteral("это папка, а не файл");
    const QString databaseKept = QStringLiteral("Открытая база не изменилась.");
    const QString fileCannotWrite = QStringLiteral("Не удалось записать файл «%1»: %2.");
    const QString fileKept = QStringLiteral("Прежний файл не изменён.");
    const QString importFailedTitle = QStringLiteral("Не удалось импортировать");
    const QString unreadableReports = QStringLiteral("Не удалось прочитать отчётов: %1.");
    const QString unreadableReport = QStringLiteral("«%1»: %2");
    const QString notRegularReason = QStringLiteral("это не обычный файл");
    const QString moreUnreadable = QStringLiteral("… и ещё %1");
    const QString importDuplicates =
        QStringLiteral("Пропущено повторов: %1 (такие матчи в базе уже есть).");
    const QString directoryMissing = QStringLiteral("Папка «%1» не найдена.");

    // Person search
    const QString findLabel = QStringLiteral("Фамилия:");
    const QString findButton = QStringLiteral("Найти");

    // Competition rules: criteria, presets, the standings' deductions, the rules dialog and the
    // rules file's problems
    const QString tbPoints = QStringLiteral("очки");
    const QString tbDifference = QStringLiteral("разница мячей");
    const QString tbAverage = QStringLiteral("соотношение мячей");
    const QString tbScored = QStringLiteral("забитые");
    const QString tbAwayScored = QStringLiteral("забитые в гостях");
    const QString tbWins = QStringLiteral("победы");
    const QString tbH2hPoints = QStringLiteral("личные встречи: очки");
    const QString tbH2hDifference = QStringLiteral("личные встречи: разница мячей");
    const QString tbH2hScored = QStringLiteral("личные встречи: забитые");
    const QString tbName = QStringLiteral("название");
    const QString presetStandard = QStringLiteral("3-1-0, разница мячей");
    const QString presetTwoPoints = QStringLiteral("2-1-0 (до 1995)");
    const QString presetGoalAverage = QStringLiteral("2-1-0, соотношение мячей (до 1970-х)");
    const QString presetUefa = QStringLiteral("УЕФА: личные встречи");
    const QString presetLaLiga = QStringLiteral("Ла Лига: личные встречи");
    const QString presetCustom = QStringLiteral("Свои правила");
    const QString rulesCustomName = QStringLiteral("%1; %2");
    const QString hDeducted = QStringLiteral("Снято");
    const QString deductionsFootnote = QStringLiteral("Снято очков: %1.");
    const QString deductionItem = QStringLiteral("%1 — %2");
    const QString deductionDetails = QStringLiteral(" (%1)");
    const QString deductionSince = QStringLiteral("с %1");
    const QString rulesCaption = QStringLiteral("Правила: %1");
    const QString menuTournament = QStringLiteral("Турнир");
    const QString actionRules = QStringLiteral("Правила…");
    const QString rulesTitle = QStringLiteral("Правила турнира");
    const QString lRulesTournament = QStringLiteral("Турнир:");
    const QString lRulesPreset = QStringLiteral("Набор правил:");
    const QString lRulesPoints = QStringLiteral("Очки за победу, ничью, поражение:");
    const QString lRulesChain =
        QStringLiteral("При равенстве очков решают (отмеченные, сверху вниз):");
    const QString rulesUp = QStringLiteral("Выше");
    const QString rulesDown = QStringLiteral("Ниже");
    const QString lRulesDeductions = QStringLiteral("Снятие очков:");
    const QString hDeductionTeam = QStringLiteral("Команда");
    const QString hDeductionPoints = QStringLiteral("Очки");
    const QString hDeductionReason = QStringLiteral("Причина");
    const QString hDeductionFrom = QStringLiteral("С даты (ДД.ММ.ГГГГ)");
    const QString rulesAddDeduction = QStringLiteral("Добавить");
    const QString rulesRemoveDeduction = QStringLiteral("Удалить");
    const QString rulesNoTournament =
        QStringLiteral("В базе нет турниров: правила задаются для турнира.");
    const QString badDeductionTitle = QStringLiteral("Неверное снятие очков");
    const QString badDeductionText = QStringLiteral(
        "Строка %1: нужны команда, целое число очков от 1 до 999 и дата в виде ДД.ММ.ГГГГ "
        "(или пустое поле даты).");
    const QString rulesFileTitle = QStringLiteral("Правила турниров не прочитаны");
    const QString rulesFileText = QStringLiteral(
        "Файл правил «%1» не удалось прочитать: %2. Таблицы считаются по стандартным правилам; "
        "файл останется как есть, пока вы не измените правила.");
    const QString rulesCannotRead = QStringLiteral("%1");
    const QString rulesMalformed = QStringLiteral("это не файл правил (%1)");
    const QString rulesUnknownCriterion = QStringLiteral("неизвестный критерий «%1»");
    const QString rulesBadValue = QStringLiteral("неверное значение в %1");
    const QString rulesSaveFailed =
        QStringLiteral("База сохранена, но файл правил «%1» записать не удалось: %2.");

    // Analysis pages: round filter, report checks, duplicates, head-to-head, home and away, form,
    // and the course of the season
    const QString allRounds = QStringLiteral("<Все туры>");
    const QString actionCheckReports = QStringLiteral("Проверка отчётов");
    const QString actionDuplicates = QStringLiteral("Возможные дубликаты");
    const QString actionHeadToHead = QStringLiteral("Личные встречи…");
    const QString actionHomeTable = QStringLiteral("Таблица: дома");
    const QString actionAwayTable = QStringLiteral("Таблица: в гостях");
    const QString menuForm = QStringLiteral("Форма");
    const QString actionFormLast = QStringLiteral("Последние %1");
    const QString actionSeasonChart = QStringLiteral("Ход турнира");
    const QString actionSeasonRace = QStringLiteral("Ход турнира: таблица");
    const QString actionSeasonGoals = QStringLiteral("Голы по игровым дням");
    const QString menuHeadToHead = QStringLiteral("Личные встречи с…");
    const QString menuHome = QStringLiteral("Дома");
    const QString menuAway = QStringLiteral("В гостях");
    const QString chooseTeamTitle = QStringLiteral("Личные встречи");
    const QString chooseFirstTeam = QStringLiteral("Первая команда:");
    const QString chooseOpponent = QStringLiteral("Соперник команды «%1»:");
    const QString noOpponents =
        QStringLiteral("У команды «%1» нет матчей в выбранных турнирах и датах.");
    const QString hProblem = QStringLiteral("Проблема");
    const QString hFile = QStringLiteral("Файл");
    const QString hGroup = QStringLiteral("Группа");
    const QString hTournament = QStringLiteral("Турнир");
    const QString hRound = QStringLiteral("Тур");
    const QString hForm = QStringLiteral("Форма");
    const QString hNumber = QStringLiteral("№");
    const QString hOpponent = QStringLiteral("Соперник");
    const QString hVenue = QStringLiteral("Поле");
    const QString hPosition = QStringLiteral("Место");
    const QString hGoalsPerMatch = QStringLiteral("За матч");
    const QString hRunningAverage = QStringLiteral("С начала");
    const QString venueHome = QStringLiteral("д");
    const QString venueAway = QStringLiteral("г");
    const QString formWin = QStringLiteral("В");
    const QString formDraw = QStringLiteral("Н");
    const QString formLoss = QStringLiteral("П");
    const QString problemScore =
        QStringLiteral("голы в событиях (%1:%2) не сходятся со счётом %3:%4");
    const QString problemExtraScore = QStringLiteral(
        "голы в событиях дополнительного времени (%1:%2) не сходятся с его счётом %3:%4");
    const QString problemExtraExceeds =
        QStringLiteral("голов в дополнительное время (%1) больше, чем всего (%2), у команды «%3»");
    const QString problemShootoutNotLevel =
        QStringLiteral("серия пенальти (%1:%2) после неничейного счёта %3:%4");
    const QString problemShootoutLevel = QStringLiteral("серия пенальти закончилась вничью %1:%2");
    const QString problemSentOffLater =
        QStringLiteral("%1 («%2») удалён на %3', но упомянут в событии на %4'");
    const QString problemOffNotInLineup =
        QStringLiteral("замена на %1': %2 («%3») уходит, но его нет в стартовом составе");
    const QString problemOffAlreadyReplaced =
        QStringLiteral("замена на %1': %2 («%3») уходит, но уже был заменён");
    const QString problemOffSentOff =
        QStringLiteral("замена на %1': %2 («%3») уходит, но уже был удалён");
    const QString problemOnAlreadyPlayed =
        QStringLiteral("замена на %1': %2 («%3») выходит, но уже играл");
    const QString problemBothLineups = QStringLiteral("%1 в стартовых составах обеих команд");
    const QString problemTwiceInLineup = QStringLiteral("%1 дважды в стартовом составе «%2»");
    const QString problemLineupSize = QStringLiteral("в стартовом составе «%1» %2");
    const QString problemBadMinute = QStringLiteral("событие «%1»: минута «%2» не число");
    const QString problemForeignTeam =
        QStringLiteral("событие «%1» на %2' у команды «%3», которая не играла в матче");
    const QString chartPoints = QStringLiteral("Очки");
    const QString chartPosition = QStringLiteral("Место");
    const QString chartGoals = QStringLiteral("Голы за матч");
    const QString chartMatchNumber = QStringLiteral("Матч команды");
    const QString chartDailyAverage = QStringLiteral("В среднем за игровой день");
    const QString chartRunningAverage = QStringLiteral("В среднем с начала турнира");
    const QString chartPointTip =
        QStringLiteral("<b>%1</b>, матч %2 (%3)<br>%4 – %5 %6<br>Очков: %7, место: %8");
    const QString chartGoalsTip =
        QStringLiteral("<b>%1</b><br>Матчей: %2, голов: %3<br>За матч: %4, с начала: %5");
    const QString chartSavePng = QStringLiteral("Сохранить PNG…");
    const QString chartSaveSvg = QStringLiteral("Сохранить SVG…");
    const QString chartEmpty = QStringLiteral("Нет матчей со счётом в выбранных турнирах и датах.");
    const QString pngFilter = QStringLiteral("Изображения PNG (*.png)");
    const QString svgFilter = QStringLiteral("Изображения SVG (*.svg)");

    // Window: the caption above the table, the filter box, the table's CSV export, the report's
    // extra time and shoot-out, recent files, the start page's missing file, progress
    const QString captionScope = QStringLiteral("%1 — %2");
    const QString captionAllTournaments = QStringLiteral("все турниры");
    const QString captionRound = QStringLiteral("тур %1");
    const QString captionDates = QStringLiteral("%1–%2");
    const QString captionRules = QStringLiteral(" (правила: %1)");
    const QString captionNamesakes =
        QStringLiteral(" (однофамильцы вместе: «Учитывать ID» выключено)");
    const QString captionStadiumMatches = QStringLiteral("Матчи на стадионе «%1»");
    const QString captionRefereeMatches = QStringLiteral("Матчи судьи «%1»");
    const QString captionCoachMatches = QStringLiteral("Матчи тренера «%1»");
    const QString captionPlayerMatches = QStringLiteral("Матчи игрока «%1»");
    const QString captionPlayerGoals = QStringLiteral("Голы игрока «%1»");
    const QString captionTeamPlayers = QStringLiteral("Игроки команды «%1»");
    const QString captionTeamMatches = QStringLiteral("Матчи команды «%1»");
    const QString captionFindPlayer = QStringLiteral("Игроки: поиск «%1»");
    const QString captionFindCoach = QStringLiteral("Тренеры: поиск «%1»");
    const QString captionHeadToHead = QStringLiteral("Личные встречи: «%1» и «%2»");
    const QString captionForm = QStringLiteral("Форма: последние %1");
    const QString filterPlaceholder = QStringLiteral("Фильтр строк (Ctrl+F)");
    const QString filterCount = QStringLiteral("Строк: %1 из %2");
    const QString actionSaveAsCsv = QStringLiteral("Сохранить таблицу как CSV");
    const QString csvFilter = QStringLiteral("Таблицы CSV (*.csv)");
    const QString reportExtra = QStringLiteral("д.в. %1:%2");
    const QString reportShootout = QStringLiteral("пен. %1:%2");
    const QString reportScoreDetails = QStringLiteral("%1 (%2)");
    const QString menuRecent = QStringLiteral("Недавние файлы");
    const QString recentMissing =
        QStringLiteral("Файл «%1» не найден; он убран из списка недавних файлов.");
    const QString startPageMissing =
        QStringLiteral("<p><b>Файл «%1» не найден — открыта пустая база.</b></p>");
    const QString opening = QStringLiteral("Открываем «%1»…");
    const QString saving = QStringLiteral("Сохраняем «%1»…");
    const QString saved = QStringLiteral("Сохранено: «%1».");
    const QString untitled = QStringLiteral("Новая база");
    const QString titleWithFile = QStringLiteral("%1[*] — %2");
    const QString menuView = QStringLiteral("Вид");
    const QString actionRefresh = QStringLiteral("Обновить");
    const QString actionBack = QStringLiteral("Назад");
    const QString actionFilterRows = QStringLiteral("Фильтр строк");

    // Reports in and out: XML export, CSV import, the editor's tables
    const QString actionExportXml = QStringLiteral("Экспортировать отчёты в XML");
    const QString actionSaveReportXml = QStringLiteral("Сохранить отчёт как XML");
    const QString actionImportCsv = QStringLiteral("Импортировать CSV файл");
    const QString exportDirectoryCaption = QStringLiteral("Папка для отчётов XML");
    const QString exportDone = QStringLiteral("Записано отчётов: %1 (папка «%2»).");
    const QString exportAltered =
        QStringLiteral(" В %1 из них были символы, которых XML не допускает; они пропущены.");
    const QString exportFailedTitle = QStringLiteral("Не удалось экспортировать");
    const QString exportFailed = QStringLiteral("Не удалось записать «%1»: %2");
    const QString exportNothing = QStringLiteral("В выбранном турнире и датах нет матчей.");
    const QString xmlFilter = QStringLiteral("Отчёты XML (*.xml)");
    const QString csvCaption = QStringLiteral("Выберите CSV файл");
    const QString csvOpenFilter = QStringLiteral("Таблицы CSV (*.csv *.txt);;Все файлы (*)");
    const QString csvDone = QStringLiteral(
        "«%1»: прочитано строк %2, добавлено матчей %3, повторов %4, отклонено строк %5.");
    const QString csvFailedTitle = QStringLiteral("Не удалось импортировать CSV");
    const QString csvCannotRead = QStringLiteral("Не удалось прочитать «%1»: %2");
    const QString csvMissing = QStringLiteral("В файле «%1» нет столбцов: %2.");
    const QString csvMissingDate = QStringLiteral("дата");
    const QString csvMissingHome = QStringLiteral("хозяева");
    const QString csvMissingAway = QStringLiteral("гости");
    const QString csvMissingGoals = QStringLiteral("голы");
    const QString csvRefusedTitle = QStringLiteral("Отклонённые строки");
    const QString csvRefusedText =
        QStringLiteral("Строки файла «%1», которые не стали матчами:\n%2");
    const QString csvRefusedMore = QStringLiteral("… и ещё %1");
    const QString csvLine = QStringLiteral("строка %1: %2");
    const QString csvBadDate = QStringLiteral("«%1» — не дата");
    const QString csvNoHome = QStringLiteral("нет хозяев");
    const QString csvNoAway = QStringLiteral("нет гостей");
    const QString csvBadGoals = QStringLiteral("«%1» — не счёт");
    const QString csvUnclosedQuote = QStringLiteral("кавычка не закрыта до конца файла");
    const QString hPlayerId = QStringLiteral("ID");
    const QString hPlayer2Id = QStringLiteral("ID вышедш.");
    const QString editAddRow = QStringLiteral("Добавить");
    const QString editRemoveRows = QStringLiteral("Удалить");
    const QString editMoveUp = QStringLiteral("Выше");
    const QString editMoveDown = QStringLiteral("Ниже");
    const QString editCheckTitle = QStringLiteral("Проверьте отчёт");
    const QString editBadMinute =
        QStringLiteral("События, строка %1: минута «%2» — не число (добавленное время: «45+2»).");
    const QString editForeignTeam =
        QStringLiteral("События, строка %1: команда «%2» не играла в матче.");
    const QString editNoPlayerOn =
        QStringLiteral("События, строка %1: в замене не указан вышедший игрок.");
};

// The one table of texts, built on first use.
const Texts &texts();

// The cause of a failed read or write in the window's words: the common error numbers in Russian,
// the system's own text for the rest.
QString systemCauseText(int errorNumber, const QString &systemText);
