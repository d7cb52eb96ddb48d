#pragma once

#include "pages/analysis.h"

#include <QWidget>

#include <functional>

class QChart;
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

private:
    void savePngAs();
    void saveSvgAs();
    QChartView *currentView() const;
    void fillTeamChart(QChart *chart, bool position);
    void fillGoalsChart(QChart *chart);

    FileNameQuestion m_askFileName;
    SeasonRace m_race;
    QString m_title;
    QString m_highlighted;
    QTabWidget *m_tabs = nullptr;
    QChartView *m_views[3] = {};
    QLabel *m_empty = nullptr;
    QPushButton *m_savePng = nullptr;
    QPushButton *m_saveSvg = nullptr;
};
