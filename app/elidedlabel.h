#pragma once

#include <QLabel>

// A one-line label that never asks for more width than it gets: a text too long for it is shown
// cut with "…", the whole text in its tool tip. text() stays the whole text.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
    // Whether the text is cut at the label's present width.
    bool isElided() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateToolTip();
};
