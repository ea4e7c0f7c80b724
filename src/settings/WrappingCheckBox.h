#pragma once

#include <QCheckBox>

// A check box whose text wraps onto as many lines as its width needs,
// centred beside the box. The whole area toggles it.
class WrappingCheckBox final : public QCheckBox
{
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
};
