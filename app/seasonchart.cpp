#include "app/seasonchart.h"

#include "pages/seasons.h"
#include "strings/texts.h"
#include "strings/windowtexts.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCursor>
#include <QDateTimeAxis>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QSignalBlocker>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

QDateTime dayTime(const QDate &date)
{
    return date.startOfDay();
}

QString dayText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

SeasonChart::SeasonChart(FileNameQuestion askFileName, QWidget *parent)
    : QWidget(parent), m_askFileName(std::move(askFileName))
{
    const Texts &t = texts();
    setObjectName(QStringLiteral("seasonChart"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("seasonTabs"));
    const QString titles[3] = {t.chartPoints, t.chartPosition, t.chartGoals};
    for (int i = 0; i < 3; ++i) {
        m_views[i] = new QChartView(new QChart(), m_tabs);
        m_views[i]->setRenderHint(QPainter::Antialiasing);
        m_tabs->addTab(m_views[i], titles[i]);
    }
    m_empty = new QLabel(t.chartEmpty, this);
    m_empty->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_tabs);
    layout->addWidget(m_empty);

    auto *buttons = new QHBoxLayout();
    m_seasonLabel = new QLabel(windowTexts().chartSeason, this);
    m_season = new QComboBox(this);
    m_season->setObjectName(QStringLiteral("season"));
    m_season->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_seasonLabel->setBuddy(m_season);
    m_seasonLabel->hide();
    m_season->hide();
    buttons->addWidget(m_seasonLabel);
    buttons->addWidget(m_season);
    buttons->addStretch();
    connect(m_season, &QComboBox::currentIndexChanged, this, &SeasonChart::chooseSeason);
    m_savePng = new QPushButton(t.chartSavePng, this);
    m_savePng->setObjectName(QStringLiteral("savePng"));
    m_saveSvg = new QPushButton(t.chartSaveSvg, this);
    m_saveSvg->setObjectName(QStringLiteral("saveSvg"));
    buttons->addWidget(m_savePng);
    buttons->addWidget(m_saveSvg);
    layout->addLayout(buttons);
    connect(m_savePng, &QPushButton::clicked, this, &SeasonChart::savePngAs);
    connect(m_saveSvg, &QPushButton::clicked, this, &SeasonChart::saveSvgAs);
}

void SeasonChart::setSeasons(const QList<DateSpan> &seasons, SeasonSource race,
                             const QString &title)
{
    m_seasons = seasons;
    m_source = std::move(race);
    m_baseTitle = title;
    const WindowTexts &w = windowTexts();
    {
        const QSignalBlocker blocker(m_season);
        m_season->clear();
        for (const DateSpan &season : seasons)
            m_season->addItem(w.chartSeasonItem.arg(seasonName(season), dayText(season.from),
                                                    dayText(season.till)));
        m_season->setCurrentIndex(int(seasons.size()) - 1);
    }
    const bool choice = seasons.size() > 1;
    m_season->setVisible(choice);
    m_seasonLabel->setVisible(choice);
    chooseSeason(m_season->currentIndex());
}

void SeasonChart::chooseSeason(int index)
{
    if (!m_source)
        return;
    if (m_seasons.size() <= 1 || index < 0 || index >= m_seasons.size()) {
        setRace(m_source(m_seasons.value(0)), m_baseTitle);
        return;
    }
    const DateSpan &season = m_seasons.at(index);
    setRace(m_source(season), m_baseTitle + QStringLiteral(", ") +
                                  windowTexts().chartSeasonTitle.arg(seasonName(season)));
}

QPen SeasonChart::teamPen(int n)
{
    // Twelve hues that stay apart on screen and in print, then the same dashed.
    static const QRgb colours[12] = {0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b,
                                     0xe377c2, 0x17becf, 0xbcbd22, 0x393b79, 0x7f7f7f, 0x000000};
    QPen pen(QColor(colours[n % 12]));
    pen.setWidth(2);
    pen.setStyle((n / 12) % 2 == 0 ? Qt::SolidLine : Qt::DashLine);
    return pen;
}

QChart *SeasonChart::chart(int tab) const
{
    return tab >= 0 && tab < 3 ? m_views[tab]->chart() : nullptr;
}

void SeasonChart::setRace(const SeasonRace &race, const QString &title)
{
    m_race = race;
    m_title = title;
    m_highlighted.clear();
    const bool empty = race.steps.isEmpty();
    m_tabs->setVisible(!empty);
    m_empty->setVisible(empty);
    m_savePng->setEnabled(!empty);
    m_saveSvg->setEnabled(!empty);
    for (int i = 0; i < 3; ++i) {
        // A new chart each time: the old one and its series go with the view's replacement.
        auto *chart = new QChart();
        chart->setTitle(title.toHtmlEscaped()); // the title is rich text: "<Все турниры>"
        chart->legend()->setAlignment(Qt::AlignRight);
        if (i < 2)
            fillTeamChart(chart, i == 1);
        else
            fillGoalsChart(chart);
        QChart *old = m_views[i]->chart();
        m_views[i]->setChart(chart);
        delete old;
    }
}

void SeasonChart::fillTeamChart(QChart *chart, bool position)
{
    const Texts &t = texts();
    int longest = 1;
    int most = 1;
    // The steps come team by team in the order of the teams: one walk over them.
    qsizetype next = 0;
    for (int n = 0; n < m_race.teams.size(); ++n) {
        const QString team = m_race.teams.at(n);
        auto *series = new QLineSeries(chart);
        series->setName(team);
        series->setPen(teamPen(n));
        // The points drawn over the line answer the mouse: each names its match.
        auto *dots = new QScatterSeries(chart);
        dots->setName(team);
        dots->setMarkerSize(7);
        dots->setColor(teamPen(n).color());
        dots->setBorderColor(teamPen(n).color());
        for (; next < m_race.steps.size() && m_race.steps.at(next).team == team; ++next) {
            const RaceStep &step = m_race.steps.at(next);
            series->append(step.number, position ? step.position : step.points);
            dots->append(step.number, position ? step.position : step.points);
            longest = std::max(longest, step.number);
            most = std::max(most, step.points);
        }
        chart->addSeries(series);
        chart->addSeries(dots);
        const auto tip = [this, team](const QPointF &point, bool on) {
            if (on)
                QToolTip::showText(QCursor::pos(), pointText(team, qRound(point.x())));
            else
                QToolTip::hideText();
        };
        connect(series, &QLineSeries::hovered, this, tip);
        connect(dots, &QScatterSeries::hovered, this, tip);
    }

    auto *x = new QValueAxis(chart);
    x->setTitleText(t.chartMatchNumber);
    x->setLabelFormat(QStringLiteral("%d"));
    x->setRange(1, std::max(2, longest));
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(1);
    x->setTickInterval(longest > 20 ? 5 : 1);
    auto *y = new QValueAxis(chart);
    y->setTitleText(position ? t.chartPosition : t.chartPoints);
    y->setLabelFormat(QStringLiteral("%d"));
    if (position) {
        y->setRange(1, std::max(2, m_race.teamCount()));
        y->setReverse(true);
        y->setTickType(QValueAxis::TicksDynamic);
        y->setTickAnchor(1);
        y->setTickInterval(m_race.teamCount() > 20 ? 5 : 1);
    } else {
        y->setRange(0, most);
        y->applyNiceNumbers();
    }
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }

    // One legend entry a team: the points' own entries are hidden.
    for (QAbstractSeries *series : chart->series()) {
        const bool dots = qobject_cast<QScatterSeries *>(series);
        for (QLegendMarker *marker : chart->legend()->markers(series)) {
            if (dots) {
                marker->setVisible(false);
                continue;
            }
            const QString team = marker->label();
            connect(marker, &QLegendMarker::clicked, this,
                    [this, team] { highlight(m_highlighted == team ? QString() : team); });
        }
    }
}

void SeasonChart::fillGoalsChart(QChart *chart)
{
    const Texts &t = texts();
    auto *daily = new QLineSeries(chart);
    daily->setName(t.chartDailyAverage);
    daily->setPointsVisible(true);
    auto *running = new QLineSeries(chart);
    running->setName(t.chartRunningAverage);
    double most = 1;
    for (const GoalsDay &day : std::as_const(m_race.days)) {
        const qreal x = qreal(dayTime(day.date).toMSecsSinceEpoch());
        daily->append(x, day.average);
        running->append(x, day.running);
        most = std::max(most, day.average);
    }
    chart->addSeries(daily);
    chart->addSeries(running);
    for (QLineSeries *series : {daily, running}) {
        connect(series, &QLineSeries::hovered, this, [this](const QPointF &point, bool on) {
            if (!on) {
                QToolTip::hideText();
                return;
            }
            // The match day nearest the point.
            int nearest = 0;
            qint64 best = -1;
            for (int i = 0; i < m_race.days.size(); ++i) {
                const qint64 d =
                    qAbs(dayTime(m_race.days.at(i).date).toMSecsSinceEpoch() - qint64(point.x()));
                if (best < 0 || d < best) {
                    best = d;
                    nearest = i;
                }
            }
            QToolTip::showText(QCursor::pos(), pointText(QString(), nearest + 1));
        });
    }

    auto *x = new QDateTimeAxis(chart);
    x->setFormat(QStringLiteral("dd.MM"));
    if (!m_race.days.isEmpty())
        x->setRange(dayTime(m_race.days.constFirst().date),
                    dayTime(m_race.days.constLast().date.addDays(1)));
    auto *y = new QValueAxis(chart);
    y->setTitleText(t.chartGoals);
    y->setRange(0, most);
    y->applyNiceNumbers();
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QLineSeries *series : {daily, running}) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
}

void SeasonChart::highlight(const QString &team)
{
    m_highlighted = team;
    for (int i = 0; i < 2; ++i) {
        const QList<QAbstractSeries *> all = chart(i)->series();
        for (QAbstractSeries *abstract : all) {
            const bool chosen = abstract->name() == team;
            const int alpha = team.isEmpty() || chosen ? 255 : 40;
            if (auto *dots = qobject_cast<QScatterSeries *>(abstract)) {
                QColor color = dots->color();
                color.setAlpha(alpha);
                dots->setColor(color);
                dots->setBorderColor(color);
                dots->setMarkerSize(chosen ? 9 : 7);
            } else if (auto *series = qobject_cast<QLineSeries *>(abstract)) {
                QPen pen = series->pen();
                QColor color = pen.color();
                color.setAlpha(alpha);
                pen.setColor(color);
                pen.setWidth(chosen ? 4 : 2);
                series->setPen(pen);
            }
            if (chosen)
                abstract->setVisible(true);
        }
    }
}

QString SeasonChart::pointText(const QString &team, int number) const
{
    const Texts &t = texts();
    if (team.isEmpty()) {
        if (number < 1 || number > m_race.days.size())
            return QString();
        const GoalsDay &day = m_race.days.at(number - 1);
        return t.chartGoalsTip.arg(dayText(day.date), QString::number(day.matches),
                                   QString::number(day.goals), QString::number(day.average, 'f', 2),
                                   QString::number(day.running, 'f', 2));
    }
    for (const RaceStep &step : m_race.steps) {
        if (step.team != team || step.number != number)
            continue;
        const QString home = (step.home ? step.team : step.opponent).toHtmlEscaped();
        const QString away = (step.home ? step.opponent : step.team).toHtmlEscaped();
        const QString score = step.home
                                  ? QStringLiteral("%1:%2").arg(step.scored).arg(step.conceded)
                                  : QStringLiteral("%1:%2").arg(step.conceded).arg(step.scored);
        return t.chartPointTip.arg(team.toHtmlEscaped(), QString::number(number),
                                   dayText(step.date), home, away, score,
                                   QString::number(step.points), QString::number(step.position));
    }
    return QString();
}

QChartView *SeasonChart::currentView() const
{
    return m_views[std::clamp(m_tabs->currentIndex(), 0, 2)];
}

bool SeasonChart::savePng(const QString &path) const
{
    return currentView()->grab().save(path, "PNG");
}

bool SeasonChart::saveSvg(const QString &path) const
{
    QChartView *view = currentView();
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(view->size());
    generator.setViewBox(view->rect());
    generator.setTitle(m_title);
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    view->render(&painter);
    painter.end();
    return QFileInfo(path).size() > 0;
}

QString SeasonChart::withExtension(const QString &path, const QString &extension)
{
    if (path.isEmpty() || path.endsWith(u'.' + extension, Qt::CaseInsensitive))
        return path;
    return path + u'.' + extension;
}

void SeasonChart::savePngAs()
{
    const QString path = withExtension(m_askFileName(texts().chartSavePng, texts().pngFilter),
                                       QStringLiteral("png"));
    if (!path.isEmpty() && !savePng(path) && m_failed)
        m_failed(path);
}

void SeasonChart::saveSvgAs()
{
    const QString path = withExtension(m_askFileName(texts().chartSaveSvg, texts().svgFilter),
                                       QStringLiteral("svg"));
    if (!path.isEmpty() && !saveSvg(path) && m_failed)
        m_failed(path);
}
