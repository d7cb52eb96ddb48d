#pragma once

#include "model/matchstore.h"
#include "pages/analysis.h"

#include <QWidget>

#include <functional>

class QChart;
class QComboBox;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QTabWidget;

// The course of a season drawn: each team's points and its league position after each of its
// matches, and the goals per match over the season, one chart a tab. Hovering a point names the
// match; clicking a team in the legend singles it out; the shown chart saves as PNG or SVG.
class SeasonChart : public QWidget
{
    Q_OBJECT

public:
    // askFileName(caption, filter) names the file to save to; empty means cancelled.
    using FileNameQuestion = std::function<QString(const QString &, const QString &)>;

    explicit SeasonChart(FileNameQuestion askFileName, QWidget *parent = nullptr);

    void setRace(const SeasonRace &race, const QString &title);
    // A tournament of several seasons is drawn one season at a time: race(season) computes the
    // season chosen, the last one first. With one season or none there is no choice.
    using SeasonSource = std::function<SeasonRace(const DateSpan &season)>;
    void setSeasons(const QList<DateSpan> &seasons, SeasonSource race, const QString &title);
    QComboBox *seasonChoice() const { return m_season; }
    // Where a failed save is reported (path, reason); unset, it goes unreported.
    void setFailureSink(std::function<void(const QString &)> sink) { m_failed = std::move(sink); }
    // The pen of the n-th team (from 0): 12 colours told apart, solid for the first 12 teams and
    // dashed for the next 12.
    static QPen teamPen(int n);
    const SeasonRace &race() const { return m_race; }

    QTabWidget *tabs() const { return m_tabs; }
    QChart *chart(int tab) const;
    // The team singled out, or empty.
    QString highlighted() const { return m_highlighted; }
    void highlight(const QString &team);
    // The tool tip of a point of a team's line (number = its match number), or of a match day of
    // the goals chart (team empty, number = the day's index from 1).
    QString pointText(const QString &team, int number) const;

    bool savePng(const QString &path) const;
    bool saveSvg(const QString &path) const;
    // The name to save to: path, with the format's extension added unless it ends with it.
    static QString withExtension(const QString &path, const QString &extension);

private:
    void savePngAs();
    void saveSvgAs();
    QChartView *currentView() const;
    void fillTeamChart(QChart *chart, bool position);
    void fillGoalsChart(QChart *chart);
    void chooseSeason(int index);

    FileNameQuestion m_askFileName;
    SeasonRace m_race;
    QString m_title;
    QString m_highlighted;
    QTabWidget *m_tabs = nullptr;
    QChartView *m_views[3] = {};
    QLabel *m_empty = nullptr;
    QPushButton *m_savePng = nullptr;
    QPushButton *m_saveSvg = nullptr;
    QLabel *m_seasonLabel = nullptr;
    QComboBox *m_season = nullptr;
    QList<DateSpan> m_seasons;
    SeasonSource m_source;
    QString m_baseTitle;
    std::function<void(const QString &)> m_failed;
};
